// Key maps read back from the keyboard, decoded against a factory map that also came from the
// keyboard: neither may make the decoder read past a buffer or write a record no slot names, and
// what it decodes must encode again.
//
// Input: mode byte (bit 0: 128 slots in 512 bytes, else 126 in 378; bit 1: take the slot count
// from byte 1 and the key-map size from bytes 2-3 instead; bit 2: the factory map was not read),
// then up to 512 bytes of factory map, then the read-back map.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "model/KeyMap.h"

namespace {

using namespace kw::model;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint8_t mode = data[0];
    KeyMapGeometry geometry = (mode & 1) ? KeyMapGeometry{128, 512} : KeyMapGeometry{126, 378};
    if (mode & 2) geometry = {data[1], data[2] | data[3] << 8};
    const std::span<const std::uint8_t> rest(data + 4, size - 4);
    const auto factory = rest.first(std::min<std::size_t>(rest.size(), kKeyMapCapacity));
    const auto read = rest.subspan(factory.size());
    const DefaultKeyMap defaults{geometry, factory, (mode & 4) == 0};

    auto block = std::make_unique<ProfileBlock>();
    auto reset = std::make_unique<ProfileBlock>();
    ResetProfileBlock(*reset);
    const KeyMapStatus status = DecodeKeyMap(read, defaults, *block);
    if (status != KeyMapStatus::Ok) {
        Check(*block == *reset);
        return 0;
    }

    // Only records of keys that a factory slot names may change, and only their kind and value.
    std::array<bool, kProfileBlockRecords> named{};
    for (int s = 0; s < geometry.slotCount; ++s) {
        const KeyId key = KeyIdOfSlot({factory[3 * s], factory[3 * s + 1], factory[3 * s + 2]});
        if (key == 0) continue;
        Check(KeyIndexOf(key) < kFirstGKeyIndex + kGKeySlots);
        named[KeyIndexOf(key)] = true;
    }
    for (std::size_t i = 0; i < block->size(); ++i) {
        const KeyAssignment& r = (*block)[i];
        Check(r.kind <= kLastAssignmentKind);
        Check(r.tag == (*reset)[i].tag && r.mark == 0 && r.reserved == 0);
        if (!named[i]) Check(r == (*reset)[i]);
    }

    // Encoding the result sends every slot of no key, and every byte past the slots, unchanged.
    KeyMapBytes sent{};
    const MacroPositionLookup position = [](std::uint32_t id) -> std::size_t { return id == 0 ? 0 : id - 1; };
    Check(EncodeKeyMap(*block, defaults, position, sent) == KeyMapStatus::Ok);
    for (int s = 0; s < geometry.slotCount; ++s) {
        const std::size_t at = static_cast<std::size_t>(3 * s);
        if (KeyIdOfSlot({factory[at], factory[at + 1], factory[at + 2]}) == 0)
            Check(std::equal(factory.begin() + at, factory.begin() + at + 3, sent.begin() + at));
    }
    const std::size_t tail = static_cast<std::size_t>(3 * geometry.slotCount);
    const std::size_t end = static_cast<std::size_t>(geometry.keyMapBytes);
    Check(std::equal(factory.begin() + tail, factory.begin() + end, sent.begin() + tail));
    Check(std::all_of(sent.begin() + end, sent.end(), [](std::uint8_t b) { return b == 0; }));
    return 0;
}
