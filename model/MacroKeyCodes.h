#pragma once
// How one macro step travels to the keyboard: four bytes holding the delay in steps of 10 ms, the
// press or release, and the key as a three-byte device code (an action type and two detail bytes,
// the codes key slots use). The key catalogue's conversions come in through MacroKeyVocabulary so
// that the encoding can be exercised with any key set.
#include "model/MacroRecord.h"

#include <array>
#include <cstdint>
#include <span>

namespace kw::model {

// A key's class and code as the catalogue reports them: page 0 none, 1 system control, 2 mouse,
// 7 keyboard usage or media action; usage is the one-byte device usage.
struct MacroKeyUsage {
    uint16_t page = 0;
    uint16_t usage = 0;
};

// The key catalogue's conversions that the macro encoding needs.
class MacroKeyVocabulary {
public:
    virtual ~MacroKeyVocabulary() = default;
    virtual MacroKeyUsage DeviceUsageOf(uint16_t keyId) const = 0;
    // The key with that usage; 0 when there is none.
    virtual uint16_t KeyIdOfUsage(uint16_t page, uint16_t usage) const = 0;
    // The HID modifier bit of the eight modifier keys; 0 for every other key.
    virtual uint8_t ModifierBitOf(uint16_t keyId) const = 0;
    // The modifier key of the lowest set bit; 0 for no bit.
    virtual uint16_t KeyIdOfModifierBits(uint8_t bits) const = 0;
};

enum class MacroActionType : uint8_t {
    None = 0,
    Mouse = 1,
    Keyboard = 2,
    SystemControl = 4,
};

struct MacroDeviceCode {
    uint8_t type = 0;  // a MacroActionType; other values come only from the keyboard
    uint8_t first = 0;
    uint8_t second = 0;
    bool operator==(const MacroDeviceCode&) const = default;
};

MacroDeviceCode MacroDeviceCodeOf(uint16_t keyId, const MacroKeyVocabulary& keys);
// The key a device code stands for; 0 when no key has it.
uint16_t KeyIdOfMacroDeviceCode(const MacroDeviceCode& code, const MacroKeyVocabulary& keys);

// The four bytes of one action. A delay longer than the field holds is sent as the longest one;
// delayClamped tells the caller so.
std::array<uint8_t, 4> EncodeMacroAction(const MacroAction& action, const MacroKeyVocabulary& keys,
                                         bool* delayClamped = nullptr);
MacroAction DecodeMacroAction(std::span<const uint8_t, 4> encoded, const MacroKeyVocabulary& keys);

}  // namespace kw::model
