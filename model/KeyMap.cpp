// Encoding and decoding of key maps against the keyboard's factory map.
#include "model/KeyMap.h"

#include <algorithm>
#include <mutex>

namespace kw::model {
namespace {

constexpr std::uint8_t kMouseType = 0x01;
constexpr std::uint8_t kKeyboardType = 0x02;
constexpr std::uint8_t kConsumerType = 0x03;
constexpr std::uint8_t kDesktopType = 0x04;
constexpr std::uint8_t kMacroType = 0x05;
constexpr std::uint8_t kGKeyType = 0x06;

constexpr std::uint8_t kMouseButtons = 0x01;
constexpr std::uint8_t kMouseWheel = 0x05;
constexpr std::uint8_t kModifierBits = 0x01;
constexpr std::uint8_t kKeyboardUsage = 0x02;
constexpr std::uint8_t kPlayMacro = 0x01;
constexpr std::uint8_t kStopMacro = 0x02;
constexpr std::uint8_t kFunction = 0x05;
constexpr std::uint8_t kGKeySub = 0xA2;

struct MouseCode {
    KeyId key;
    std::uint8_t sub;
    std::uint8_t value;
};
// The mouse keys and the slot codes that carry them.
constexpr std::array<MouseCode, 5> kMouseCodes{{
    {0x171, kMouseButtons, 0x01},  // left button
    {0x172, kMouseButtons, 0x02},  // right button
    {0x173, kMouseButtons, 0x04},  // middle button
    {0x161, kMouseWheel, 0x01},    // wheel up
    {0x162, kMouseWheel, 0xFF},    // wheel down
}};

KeyId MouseKeyOf(std::uint8_t sub, std::uint8_t value) {
    for (const MouseCode& m : kMouseCodes)
        if (m.sub == sub && m.value == value) return m.key;
    return 0;
}

const MouseCode* MouseCodeOf(KeyId key) {
    for (const MouseCode& m : kMouseCodes)
        if (m.key == key) return &m;
    return nullptr;
}

std::uint16_t UsageOf(const SlotCode& code) { return static_cast<std::uint16_t>(code.sub | code.value << 8); }

SlotCode SlotAt(std::span<const std::uint8_t> map, int slot) {
    const std::size_t at = static_cast<std::size_t>(slot) * kSlotCodeSize;
    return {map[at], map[at + 1], map[at + 2]};
}

void PutSlot(KeyMapBytes& map, int slot, const SlotCode& code) {
    const std::size_t at = static_cast<std::size_t>(slot) * kSlotCodeSize;
    map[at] = code.type;
    map[at + 1] = code.sub;
    map[at + 2] = code.value;
}

SlotCode KeySlotOf(KeyId key) {
    if (const std::uint8_t bit = ModifierBitOf(key)) return {kKeyboardType, kModifierBits, bit};
    if (const MouseCode* m = MouseCodeOf(key)) return {kMouseType, m->sub, m->value};
    const DeviceUsage usage = DeviceUsageOf(key);
    return {kKeyboardType, kKeyboardUsage, usage.page == 7 ? static_cast<std::uint8_t>(usage.usage & 0xFF) : std::uint8_t{0}};
}

// The record a read-back slot code gives the slot's key, from a reset record.
void DecodeSlot(const SlotCode& code, KeyAssignment& record) {
    record.kind = static_cast<std::uint16_t>(AssignmentKind::Disabled);
    auto set = [&](AssignmentKind kind, std::uint32_t value) {
        record.kind = static_cast<std::uint16_t>(kind);
        record.value = value;
    };
    switch (code.type) {
        case kMacroType:
            if (code.sub == kPlayMacro) set(AssignmentKind::Macro, code.value + 1u);  // ids follow read-back order
            else if (code.sub == kStopMacro) set(AssignmentKind::StopMacro, 0);
            else if (code.sub == kFunction) set(AssignmentKind::Function, code.value);
            break;
        case kConsumerType: {
            const std::uint16_t usage = UsageOf(code);
            const auto it = std::find_if(MediaUsageTable.begin(), MediaUsageTable.end(),
                                         [&](const MediaUsage& m) { return m.usage == usage; });
            if (it != MediaUsageTable.end())
                set(AssignmentKind::Multimedia, static_cast<std::uint32_t>(it - MediaUsageTable.begin()));
            break;
        }
        case kMouseType:
            if (const KeyId key = MouseKeyOf(code.sub, code.value)) set(AssignmentKind::Key, key);
            break;
        case kKeyboardType:
            if (code.sub == kKeyboardUsage) {
                if (const KeyId key = KeyIdOfUsage(7, code.value)) set(AssignmentKind::Key, key);
            } else if (code.sub == kModifierBits) {
                set(AssignmentKind::Key, KeyIdOfModifierBits(code.value));
            }
            break;
        default:
            break;
    }
}

}  // namespace

KeyId KeyIdOfSlot(const SlotCode& code) {
    switch (code.type) {
        case kMouseType:
            return MouseKeyOf(code.sub, code.value);
        case kKeyboardType:
            return code.sub == kKeyboardUsage ? KeyIdOfUsage(7, code.value) : KeyIdOfModifierBits(code.value);
        case kConsumerType:
            return KeyIdOfUsage(12, UsageOf(code));
        case kDesktopType:
            return KeyIdOfUsage(1, UsageOf(code));
        case kGKeyType:
            // Only the eighteen G-key slots have records; G0 or G19 and up would address records
            // that belong to no key.
            if (code.sub != kGKeySub || code.value < 1 || code.value > kGKeySlots) return 0;
            return static_cast<KeyId>(kFirstGKeyId - 1 + code.value);
        default:
            return 0;
    }
}

SlotCode EncodeKeySlot(const KeyAssignment& record, const SlotCode& factory, const MacroPositionLookup& macroPosition) {
    switch (static_cast<AssignmentKind>(record.kind)) {
        case AssignmentKind::Default:
        case AssignmentKind::LaunchProgram:
            return factory;
        case AssignmentKind::Disabled:
        case AssignmentKind::TextBlock:
            return {};
        case AssignmentKind::Key:
            return KeySlotOf(record.value > 0xFFFF ? KeyId{0} : static_cast<KeyId>(record.value));
        case AssignmentKind::Macro: {
            const std::size_t position = macroPosition ? macroPosition(record.value) : 0;
            return {kMacroType, kPlayMacro, static_cast<std::uint8_t>(position & 0xFF)};
        }
        case AssignmentKind::StopMacro:
            return {kMacroType, kStopMacro, 0};
        case AssignmentKind::Multimedia: {
            // A position from a file may lie outside the pick list: keep the key's own function.
            if (record.value >= MediaUsageTable.size()) return factory;
            const std::uint16_t usage = MediaUsageTable[record.value].usage;
            return {kConsumerType, static_cast<std::uint8_t>(usage & 0xFF), static_cast<std::uint8_t>(usage >> 8)};
        }
        case AssignmentKind::Function:
            return {kMacroType, kFunction, static_cast<std::uint8_t>(record.value & 0xFF)};
    }
    // Kinds above 8 come only from files written elsewhere; the key keeps its factory function.
    return factory;
}

KeyMapStatus CheckDefaultKeyMap(const DefaultKeyMap& defaults) {
    if (!defaults.read) return KeyMapStatus::DefaultMapNotRead;
    const KeyMapGeometry& g = defaults.geometry;
    if (g.slotCount <= 0 || g.keyMapBytes <= 0 || g.keyMapBytes > static_cast<int>(kKeyMapCapacity) ||
        static_cast<std::size_t>(g.slotCount) * kSlotCodeSize > static_cast<std::size_t>(g.keyMapBytes))
        return KeyMapStatus::BadGeometry;
    if (defaults.bytes.size() < static_cast<std::size_t>(g.keyMapBytes)) return KeyMapStatus::ShortBuffer;
    return KeyMapStatus::Ok;
}

KeyMapStatus EncodeKeyMap(const ProfileBlock& block, const DefaultKeyMap& defaults,
                          const MacroPositionLookup& macroPosition, KeyMapBytes& out) {
    if (const KeyMapStatus status = CheckDefaultKeyMap(defaults); status != KeyMapStatus::Ok) return status;
    KeyMapBytes map{};
    std::copy_n(defaults.bytes.begin(), defaults.geometry.keyMapBytes, map.begin());
    for (int slot = 0; slot < defaults.geometry.slotCount; ++slot) {
        const SlotCode factory = SlotAt(defaults.bytes, slot);
        const KeyId key = KeyIdOfSlot(factory);
        if (key == 0) continue;
        const KeyIndex index = KeyIndexOf(key);
        if (!IsRecordIndex(index)) continue;
        PutSlot(map, slot, EncodeKeySlot(block[index], factory, macroPosition));
    }
    out = map;
    return KeyMapStatus::Ok;
}

KeyMapStatus EncodeKeyMap(int profile, ConfigStore& store, const DefaultKeyMap& defaults,
                          const MacroPositionLookup& macroPosition, KeyMapBytes& out) {
    if (profile < 0 || profile >= kKeyboardProfiles) return KeyMapStatus::BadProfile;
    std::lock_guard<std::recursive_mutex> hold(store.lock);
    return EncodeKeyMap(store.configuration.blocks[static_cast<std::size_t>(profile)], defaults, macroPosition, out);
}

KeyMapStatus DecodeKeyMap(std::span<const std::uint8_t> keyMap, const DefaultKeyMap& defaults, ProfileBlock& block) {
    ResetProfileBlock(block);
    if (const KeyMapStatus status = CheckDefaultKeyMap(defaults); status != KeyMapStatus::Ok) return status;
    if (keyMap.size() < static_cast<std::size_t>(defaults.geometry.keyMapBytes)) return KeyMapStatus::ShortBuffer;
    for (int slot = 0; slot < defaults.geometry.slotCount; ++slot) {
        const SlotCode factory = SlotAt(defaults.bytes, slot);
        const SlotCode read = SlotAt(keyMap, slot);
        if (read == factory) continue;
        const KeyId key = KeyIdOfSlot(factory);
        if (key == 0) continue;
        const KeyIndex index = KeyIndexOf(key);
        if (!IsRecordIndex(index)) continue;
        DecodeSlot(read, block[index]);
    }
    return KeyMapStatus::Ok;
}

}  // namespace kw::model
