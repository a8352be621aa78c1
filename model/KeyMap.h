#pragma once
// A profile's key map as the keyboard holds it: one three-byte slot code per slot of its switch
// matrix. The program learns which key sits in a slot only from the slot's factory code in the
// default key map read from the keyboard at connection, so both directions take that map.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "model/ConfigStore.h"
#include "model/KeyAssignment.h"
#include "model/KeyCatalogue.h"

namespace kw::model {

inline constexpr std::size_t kSlotCodeSize = 3;
inline constexpr std::size_t kKeyMapCapacity = 512;  // every key-map buffer is this long

struct SlotCode {
    std::uint8_t type = 0;
    std::uint8_t sub = 0;    // sub-type, or the low byte of a usage
    std::uint8_t value = 0;  // value, or the high byte of a usage
    bool operator==(const SlotCode&) const = default;
};

using KeyMapBytes = std::array<std::uint8_t, kKeyMapCapacity>;

// Slot count and key-map size of the connected model: 126 slots in 378 bytes, or 128 in 512.
struct KeyMapGeometry {
    int slotCount = 0;
    int keyMapBytes = 0;
};

// The connected keyboard's factory key map. Until it has been read from the keyboard nothing can
// be encoded or decoded: every slot would look as if it belonged to no key.
struct DefaultKeyMap {
    KeyMapGeometry geometry;
    std::span<const std::uint8_t> bytes;  // at least geometry.keyMapBytes long
    bool read = false;
};

enum class KeyMapStatus {
    Ok,
    DefaultMapNotRead,  // no factory map from this connection yet
    BadGeometry,        // slot count or key-map size impossible for a 512-byte map
    ShortBuffer,        // a map shorter than the key-map size
    BadProfile,         // not one of the keyboard's three profiles
};

// The 0-based position of the macro with this id in the macro set, 0 when there is none.
using MacroPositionLookup = std::function<std::size_t(std::uint32_t macroId)>;

// The key a factory or read-back slot code stands for, 0 when it names no key.
KeyId KeyIdOfSlot(const SlotCode& code);

// The slot code the keyboard gets for a record, given the slot's factory code.
SlotCode EncodeKeySlot(const KeyAssignment& record, const SlotCode& factory, const MacroPositionLookup& macroPosition);

// Whether the geometry and the map can be used; Ok when they can.
KeyMapStatus CheckDefaultKeyMap(const DefaultKeyMap& defaults);

// The key map of a profile block: the default map with every slot that belongs to a key written
// from that key's record. On any status but Ok, out is left untouched.
KeyMapStatus EncodeKeyMap(const ProfileBlock& block, const DefaultKeyMap& defaults,
                          const MacroPositionLookup& macroPosition, KeyMapBytes& out);
// The same for profile 0-2 of a store, read under the store's lock.
KeyMapStatus EncodeKeyMap(int profile, ConfigStore& store, const DefaultKeyMap& defaults,
                          const MacroPositionLookup& macroPosition, KeyMapBytes& out);

// The profile block of a key map read back from the keyboard. The block is reset first, so on any
// status but Ok it holds the default configuration.
KeyMapStatus DecodeKeyMap(std::span<const std::uint8_t> keyMap, const DefaultKeyMap& defaults, ProfileBlock& block);

}  // namespace kw::model
