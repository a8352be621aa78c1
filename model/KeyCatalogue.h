#pragma once
// The fixed vocabulary of keys: where a key's program-wide id, its slot in every per-key array, the
// code the keyboard firmware knows it by and its button on the main window meet. Everything here is
// constant data and pure conversions, callable from any thread.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kw::model {

// Program-wide key identifier: the scan code plus 0x100 for E0-prefixed keys (Pause and Num Lock
// swapped), the catalogue's own actions in 0x100-0x17F, G keys from 0x200. 0 is no key.
using KeyId = std::uint16_t;
// Slot of a key in the catalogue and in every per-key array, 0-511.
using KeyIndex = std::uint16_t;

inline constexpr std::size_t kKeyRecordCount = 256;  // records of the key table (indexes 0-255)
inline constexpr KeyIndex kFirstGKeyIndex = 256;
inline constexpr int kGKeySlots = 18;                // two banks of nine
inline constexpr KeyId kFirstGKeyId = 0x200;
inline constexpr std::uint16_t kNoKeyCode = 0xFFFF;  // key code of an empty record
inline constexpr std::size_t kPickListKeys = 106;    // key codes 0-105 form the editors' pick list

struct KeyInfo {
    std::uint8_t vk;           // Windows virtual-key code, 0xFF when none
    std::uint16_t keyCode;     // pick-list position, 0x006B-0x006F mouse, 0x8000+n unlisted, 0xFFFF empty
    std::wstring_view label;   // English name
    std::uint8_t altVk;        // the navigation VK a keypad key produces with Num Lock off
    std::uint8_t deviceUsage;  // firmware code, 0x00 or 0xFF when none
    std::wstring_view nameId;  // language-file key of the localised name, empty when none
};

// The key table, addressed by KeyIndex 0-255.
extern const std::array<KeyInfo, kKeyRecordCount> KeyCatalogue;

// The record of an index or id. An index past the key table (G keys, ids 0x180 and up) reads as an
// empty record rather than past the table.
const KeyInfo& KeyRecordAt(std::size_t index);
const KeyInfo& KeyRecordOf(KeyId id);
bool IsEmptyRecord(const KeyInfo& info);

// Consumer-page usages of the media device usages 0xC0 + n.
extern const std::array<std::uint16_t, 32> ConsumerUsageTable;

struct MediaUsage {
    std::uint16_t usage;       // consumer-page usage sent to the keyboard
    KeyId key;                 // the catalogue key shown for it in the pick list
    std::wstring_view nameId;  // that key's name id
};
inline constexpr std::size_t kMediaPositions = 18;
// The editors' multimedia pick list: a multimedia assignment stores a position in this table.
extern const std::array<MediaUsage, kMediaPositions> MediaUsageTable;

struct VirtualKeyEntry {
    std::uint16_t flag;  // 1 catalogue key, 15 unsupported, 0 none or a private action code
    std::uint8_t spare;  // carried, never read
    std::uint8_t index;  // KeyIndex of the key
};
inline constexpr std::uint16_t kVkSupported = 1;
inline constexpr std::uint16_t kVkUnsupported = 15;
// Addressed by virtual-key code.
extern const std::array<VirtualKeyEntry, 256> VirtualKeyTable;

struct KeyButton {
    int buttonId;  // dialog control id on the main window
    KeyId key;     // 0 for the Fn button, which has no key
    int led;       // the key light's number on the keyboard
};
// The main window's 106 key buttons in LED order.
extern const std::array<KeyButton, 106> MainKeyButtonTable;
// The G1-G9 buttons (bank A), all on one light, and the Fn button, which only takes colours.
extern const std::array<KeyButton, 9> GKeyButtonTable;
inline constexpr KeyButton kFnButton{1174, 0, 110};
inline constexpr int kGKeyLed = 125;

struct DeviceUsage {
    std::uint16_t page;  // 0 none, 1 generic desktop, 2 mouse, 7 keyboard
    std::uint16_t usage;
    bool operator==(const DeviceUsage&) const = default;
};

KeyIndex KeyIndexOf(KeyId id);
KeyId KeyIdOf(KeyIndex index);
std::uint16_t KeyCodeOf(KeyId id);
KeyId KeyIdOfKeyCode(std::uint16_t keyCode);
DeviceUsage DeviceUsageOf(KeyId id);
KeyId KeyIdOfUsage(std::uint16_t page, std::uint16_t usage);
KeyId KeyIdOfModifierBits(std::uint8_t mask);
std::uint8_t ModifierBitOf(KeyId id);
KeyId KeyIdFromVk(unsigned vk);
KeyId KeyIdFromKeyMessage(unsigned vk, std::intptr_t lParam);
KeyId KeyIdFromMouseMessage(unsigned message);
bool IsButtonUpMessage(unsigned message);
std::uint8_t ScanCodeOf(KeyId id);
unsigned ScanPrefixFlags(KeyId id, unsigned flags);
KeyId KeyIdOfScan(std::uint8_t scanCode, unsigned flags);
bool IsSingleEventKey(KeyId id);
int LedOfButton(int buttonId);

// Localised names. The lookup reads one text of the language file's text section by key.
using TextLookup = std::function<std::wstring(const std::wstring& key)>;
inline constexpr std::size_t kKeyNameCapacity = 260;
// The key's name, or the "UNKNOWN_KEY" text formatted with the id when it has none.
std::wstring KeyNameWith(KeyId id, const TextLookup& lookup);
// KeyNameWith in the current language, cut to capacity - 1 characters and terminated.
void KeyNameOf(KeyId id, wchar_t* buffer, std::size_t capacity);
// The name of the first record with the key code; empty when there is none or it has no name id.
std::wstring KeyNameOfKeyCodeWith(std::uint16_t keyCode, const TextLookup& lookup);
std::wstring KeyNameOfKeyCode(std::uint16_t keyCode);
// Formats a language text that takes the key id as its one number. The text comes from a file, so
// only one integer conversion is honoured; anything else in it is copied as it stands.
std::wstring FormatWithKeyId(std::wstring_view format, KeyId id);

}  // namespace kw::model
