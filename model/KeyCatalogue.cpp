// Conversions between the key's identities: id, index, key code, device usage, virtual-key code,
// scan code, window message and main-window button.
#include "model/KeyCatalogue.h"

#include <algorithm>

namespace kw::model {
namespace {

struct ModifierKey {
    std::uint8_t bit;
    KeyId key;
};
// HID modifier byte layout, lowest bit first.
constexpr std::array<ModifierKey, 8> kModifierKeys{{
    {0x01, 0x01D},  // left Ctrl
    {0x02, 0x02A},  // left Shift
    {0x04, 0x038},  // left Alt
    {0x08, 0x15B},  // left Win
    {0x10, 0x11D},  // right Ctrl
    {0x20, 0x036},  // right Shift
    {0x40, 0x138},  // right Alt
    {0x80, 0x15C},  // right Win
}};

struct MouseMessageKey {
    unsigned message;
    KeyId key;
    bool buttonUp;
};
constexpr std::array<MouseMessageKey, 6> kMouseMessages{{
    {0x0201, 0x171, false},  // left down
    {0x0202, 0x171, true},   // left up
    {0x0204, 0x172, false},  // right down
    {0x0205, 0x172, true},   // right up
    {0x0207, 0x173, false},  // middle down
    {0x0208, 0x173, true},   // middle up
}};

constexpr std::array<KeyId, 4> kSingleEventKeys{0x054, 0x071, 0x072, 0x137};

constexpr KeyId kPauseId = 0x045;
constexpr KeyId kNumLockId = 0x145;
constexpr KeyId kRightShiftId = 0x036;
constexpr unsigned kE0Flag = 2;
constexpr unsigned kE1Flag = 4;

constexpr std::uint8_t kFirstMediaUsage = 0xC0;

// First record, in index order, with this device usage.
KeyId KeyIdOfDeviceUsage(std::uint8_t deviceUsage) {
    for (std::size_t i = 0; i < KeyCatalogue.size(); ++i)
        if (KeyCatalogue[i].deviceUsage == deviceUsage) return KeyIdOf(static_cast<KeyIndex>(i));
    return 0;
}

// The key index a VK stands for. The private action codes carry an index byte that is no key index
// (0x8B would read as Insert), so only catalogue keys count.
KeyIndex KeyIndexOfVk(unsigned vk) {
    if (vk >= VirtualKeyTable.size() || VirtualKeyTable[vk].flag != kVkSupported) return 0;
    return VirtualKeyTable[vk].index;
}

}  // namespace

bool IsEmptyRecord(const KeyInfo& info) { return info.keyCode == kNoKeyCode; }

const KeyInfo& KeyRecordOf(KeyId id) { return KeyRecordAt(KeyIndexOf(id)); }

KeyIndex KeyIndexOf(KeyId id) {
    if (id < 0x100) return id;
    if (id < 0x200) return static_cast<KeyIndex>(id - 0x80);
    return static_cast<KeyIndex>(id - 0x100);
}

KeyId KeyIdOf(KeyIndex index) {
    if (index < 128) return index;
    if (index < 256) return static_cast<KeyId>(index + 0x80);
    return static_cast<KeyId>(index + 0x100);
}

std::uint16_t KeyCodeOf(KeyId id) { return KeyRecordOf(id).keyCode; }

KeyId KeyIdOfKeyCode(std::uint16_t keyCode) {
    if (keyCode == kNoKeyCode) return 0;
    for (std::size_t i = 0; i < KeyCatalogue.size(); ++i)
        if (KeyCatalogue[i].keyCode == keyCode) return KeyIdOf(static_cast<KeyIndex>(i));
    return 0;
}

DeviceUsage DeviceUsageOf(KeyId id) {
    const std::uint8_t d = KeyRecordOf(id).deviceUsage;
    if (d == 0x00 || d == 0xFF) return {0, 0};
    if (d >= 0x81 && d <= 0x83) return {1, d};
    if (d >= 0xF1 && d <= 0xF8) return {2, d};
    return {7, d};
}

KeyId KeyIdOfUsage(std::uint16_t page, std::uint16_t usage) {
    switch (page) {
        case 7:
            return KeyIdOfDeviceUsage(static_cast<std::uint8_t>(usage & 0xFF));
        case 1:
            return usage >= 0x81 && usage <= 0x83 ? KeyIdOfDeviceUsage(static_cast<std::uint8_t>(usage)) : 0;
        case 12: {
            // The table's unused tail is zero; usage 0 is "unassigned", not media code 0xC0 + 18.
            if (usage == 0) return 0;
            const auto it = std::find(ConsumerUsageTable.begin(), ConsumerUsageTable.end(), usage);
            if (it == ConsumerUsageTable.end()) return 0;
            return KeyIdOfDeviceUsage(static_cast<std::uint8_t>(kFirstMediaUsage + (it - ConsumerUsageTable.begin())));
        }
        default:
            return 0;
    }
}

KeyId KeyIdOfModifierBits(std::uint8_t mask) {
    for (const ModifierKey& m : kModifierKeys)
        if (mask & m.bit) return m.key;
    return 0;
}

std::uint8_t ModifierBitOf(KeyId id) {
    for (const ModifierKey& m : kModifierKeys)
        if (m.key == id) return m.bit;
    return 0;
}

KeyId KeyIdFromVk(unsigned vk) { return KeyIdOf(KeyIndexOfVk(vk)); }

KeyId KeyIdFromKeyMessage(unsigned vk, std::intptr_t lParam) {
    const auto bits = static_cast<std::uintptr_t>(lParam);
    const auto c = static_cast<KeyId>((bits >> 16) & 0x1FF);
    const KeyId v = KeyIdFromVk(vk);
    if (c == kRightShiftId) return kRightShiftId;
    if (vk == 0xFF) return c;
    if (((bits >> 16) & 0xFF) == 0) return v;
    // An id from 0x180 up has no record: KeyRecordOf reads it as empty, not past the table.
    const KeyInfo& record = KeyRecordOf(c);
    const bool vkOfRecord = vk == record.vk || vk == record.altVk;
    const bool indexOfVk = (c & 0xFF) == KeyIndexOfVk(vk);
    return vkOfRecord || indexOfVk ? c : v;
}

KeyId KeyIdFromMouseMessage(unsigned message) {
    for (const MouseMessageKey& m : kMouseMessages)
        if (m.message == message) return m.key;
    return 0;
}

bool IsButtonUpMessage(unsigned message) {
    for (const MouseMessageKey& m : kMouseMessages)
        if (m.message == message) return m.buttonUp;
    return false;
}

std::uint8_t ScanCodeOf(KeyId id) {
    if (id == kNumLockId) return 0x45;
    if (id == kPauseId) return 0x1D;
    return static_cast<std::uint8_t>(id & 0xFF);
}

unsigned ScanPrefixFlags(KeyId id, unsigned flags) {
    if (id == kNumLockId) return flags;
    if (id == kPauseId) return flags | kE1Flag;
    if (id & 0x100) return flags | kE0Flag;
    return flags;
}

KeyId KeyIdOfScan(std::uint8_t scanCode, unsigned flags) {
    if (flags & kE0Flag) return static_cast<KeyId>(scanCode | 0x100);
    if (flags & kE1Flag) return kPauseId;
    if (scanCode == 0x45) return kNumLockId;
    return scanCode;
}

bool IsSingleEventKey(KeyId id) {
    return std::find(kSingleEventKeys.begin(), kSingleEventKeys.end(), id) != kSingleEventKeys.end();
}

int LedOfButton(int buttonId) {
    for (const KeyButton& b : MainKeyButtonTable)
        if (b.buttonId == buttonId) return b.led;
    for (const KeyButton& b : GKeyButtonTable)
        if (b.buttonId == buttonId) return b.led;
    if (buttonId == kFnButton.buttonId) return kFnButton.led;
    return 0;
}

}  // namespace kw::model
