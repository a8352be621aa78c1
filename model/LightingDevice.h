#pragma once
// Lighting traffic: each change is its own CMD_BEGIN ... CMD_END group, written at once. Every
// operation returns device::kResultSuccess or the result code of the first command that failed;
// refused arguments send nothing and give device::kResultWriteFailed.
#include "device/CommandProtocol.h"
#include "model/LightingRecord.h"

#include <cstdint>
#include <functional>
#include <span>

namespace kw::model {

struct LightingField {
    std::size_t offset;                  // within the record
    std::span<const std::uint8_t> bytes;  // 1 to 35, within the record
};

// The lighting address of a byte of profile p's record.
std::uint16_t LightingAddress(int profile, std::size_t offset);

int WriteLightingField(device::CommandProtocol& protocol, int profile, const LightingField& field);
// Both writes in one group, in the order given.
int WriteLightingFields(device::CommandProtocol& protocol, int profile, const LightingField& first,
                        const LightingField& second);
// The 35-byte default record from offset 0; bytes 35-41 stay as they are.
int ResetLighting(device::CommandProtocol& protocol, int profile);

int WriteLedColour(device::CommandProtocol& protocol, int profile, int led, Colour colour);
// The chunks of 18 LEDs (54 bytes) for c = 0 ... slots / 18, without a group of their own.
int WriteLedChunks(device::CommandProtocol& protocol, const LedColourTable& table, int profile, int slotCount);
// WriteLedChunks inside its own group.
int WriteLedTable(device::CommandProtocol& protocol, const LedColourTable& table, int profile, int slotCount);

// Reads the effect list and the three records, and shows the record of state.profile in the state.
// Without a settings block (no keyboard) the records and the state are left as they were, and so
// they are when any record cannot be read: half a set of records would show one profile's old
// lighting as if the keyboard held it. `insideGroup` runs right after CMD_BEGIN, before the reads
// (the per-key colours go there when the keyboard becomes ready).
int ReadLighting(device::CommandProtocol& protocol, LightingRecords& records, EffectSlots& effects, LightingState& state,
                 const std::function<void(device::CommandProtocol&)>& insideGroup = {});

}  // namespace kw::model
