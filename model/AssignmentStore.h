#pragma once
// Reading and writing one key's assignment in a store, under the store's lock. SetAssignment is
// the editors' writer and keeps the records' invariants.
#include <cstdint>
#include <string_view>

#include "model/ConfigStore.h"
#include "model/KeyAssignment.h"

namespace kw::model {

// The record of key index 0-511 in profile block 0-3; a reset record when either is out of range.
KeyAssignment GetAssignment(ConfigStore& store, int profile, int keyIndex);

// Writes kind, tag and value (mark and reserved keep theirs) and, for a launch-program or
// text-block kind, the text. A key mapped to nothing or to itself keeps its default. False, and
// nothing written, for an index out of range or a kind the program does not know; false also when
// the text could not be stored, in which case the record is written without it.
bool SetAssignment(ConfigStore& store, int profile, int keyIndex, std::uint16_t kind, std::uint16_t tag,
                   std::uint32_t value, std::u16string_view text = {});

}  // namespace kw::model
