#pragma once
// The 32512-byte image of a macro record as profile files carry it, little-endian field by field.
// Reading repairs what a damaged or foreign file could make unsafe to use.
#include "model/MacroRecord.h"

#include <cstdint>
#include <span>

namespace kw::model {

void WriteMacroRecordImage(const MacroRecord& record, std::span<uint8_t, kMacroRecordSize> out);

// Fills the record with every field as stored, then repairs it (RepairMacroRecord) and says what
// had to change.
MacroRecordRepairs ReadMacroRecordImage(std::span<const uint8_t, kMacroRecordSize> image, MacroRecord& out);

}  // namespace kw::model
