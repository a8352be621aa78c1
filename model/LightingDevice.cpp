#include "model/LightingDevice.h"

#include <algorithm>

namespace kw::model {

namespace {

using device::kResultSuccess;
using device::kResultWriteFailed;

bool ValidProfile(int profile) { return profile >= 0 && profile < device::kOnBoardProfiles; }

bool ValidField(const LightingField& f) {
    return !f.bytes.empty() && f.bytes.size() <= kDefaultLightingBytes && f.offset + f.bytes.size() <= kLightingRecordBytes;
}

int FirstFailure(int sofar, int result) { return sofar == kResultSuccess ? result : sofar; }

// Runs the body inside a group; the group is closed whenever it was opened.
template <typename Body>
int InGroup(device::CommandProtocol& protocol, Body body) {
    const int begun = protocol.CMD_BEGIN();
    if (begun != kResultSuccess) return begun;
    const int result = body();
    return FirstFailure(result, protocol.CMD_END());
}

int WriteField(device::CommandProtocol& protocol, int profile, const LightingField& f) {
    return protocol.CMD_WRITE_MEM(LightingAddress(profile, f.offset), f.bytes);
}

}  // namespace

std::uint16_t LightingAddress(int profile, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<std::size_t>(profile) * kLightingRecordBytes + offset);
}

int WriteLightingField(device::CommandProtocol& protocol, int profile, const LightingField& field) {
    if (!ValidProfile(profile) || !ValidField(field)) return kResultWriteFailed;
    return InGroup(protocol, [&] { return WriteField(protocol, profile, field); });
}

int WriteLightingFields(device::CommandProtocol& protocol, int profile, const LightingField& first,
                        const LightingField& second) {
    if (!ValidProfile(profile) || !ValidField(first) || !ValidField(second)) return kResultWriteFailed;
    return InGroup(protocol, [&] {
        const int a = WriteField(protocol, profile, first);
        return FirstFailure(a, WriteField(protocol, profile, second));
    });
}

int ResetLighting(device::CommandProtocol& protocol, int profile) {
    return WriteLightingField(protocol, profile, {0, DefaultLightingRecord});
}

int WriteLedColour(device::CommandProtocol& protocol, int profile, int led, Colour colour) {
    if (!ValidProfile(profile) || led < 0 || led >= kLedSlots) return kResultWriteFailed;
    const auto bytes = ColourBytes(colour);
    const auto address = static_cast<std::uint16_t>(profile * static_cast<int>(device::kKeyColourProfileBytes) + 3 * led);
    return InGroup(protocol, [&] { return protocol.CMD_WRITE_KEY_COLOURS(address, bytes); });
}

int WriteLedChunks(device::CommandProtocol& protocol, const LedColourTable& table, int profile, int slotCount) {
    constexpr int kLedsPerChunk = 18;
    constexpr int kChunkBytes = 3 * kLedsPerChunk;
    if (!ValidProfile(profile) || slotCount < 0) return kResultWriteFailed;
    const auto bytes = table.Profile(profile);
    // The last chunk must still lie inside the profile's 512 bytes.
    const int chunks = std::min(slotCount / kLedsPerChunk + 1, static_cast<int>(bytes.size()) / kChunkBytes);
    int result = kResultSuccess;
    for (int c = 0; c < chunks; ++c) {
        const auto address = static_cast<std::uint16_t>(profile * static_cast<int>(device::kKeyColourProfileBytes) + kChunkBytes * c);
        result = FirstFailure(result, protocol.CMD_WRITE_KEY_COLOURS(
                                          address, bytes.subspan(static_cast<std::size_t>(kChunkBytes * c), kChunkBytes)));
    }
    return result;
}

int WriteLedTable(device::CommandProtocol& protocol, const LedColourTable& table, int profile, int slotCount) {
    if (!ValidProfile(profile) || slotCount < 0) return kResultWriteFailed;
    return InGroup(protocol, [&] { return WriteLedChunks(protocol, table, profile, slotCount); });
}

int ReadLighting(device::CommandProtocol& protocol, LightingRecords& records, EffectSlots& effects, LightingState& state,
                 const std::function<void(device::CommandProtocol&)>& insideGroup) {
    effects.fill(0);
    device::SettingsBlock block{};
    const int settings = protocol.CMD_READ_SETTINGS(block);
    if (settings != kResultSuccess) return settings;
    effects = EffectSlotsOf(block);

    LightingRecords read{};
    bool readAll = false;
    const int result = InGroup(protocol, [&] {
        if (insideGroup) insideGroup(protocol);
        for (int p = 0; p < device::kOnBoardProfiles; ++p) {
            device::MemoryChunk chunk{};
            const int got = protocol.CMD_READ_MEM(LightingAddress(p, 0), static_cast<std::uint8_t>(chunk.size()), chunk);
            if (got != kResultSuccess) return got;
            std::copy_n(chunk.begin(), kLightingRecordBytes, read[static_cast<std::size_t>(p)].begin());
        }
        readAll = true;
        return kResultSuccess;
    });
    // Records read whole are what the keyboard holds, even if closing the group then failed.
    if (!readAll) return result;
    records = read;
    if (ValidProfile(state.profile)) DecodeLightingRecord(records[static_cast<std::size_t>(state.profile)], state);
    return result;
}

}  // namespace kw::model
