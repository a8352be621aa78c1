#include "model/MacroKeyCodes.h"

#include <algorithm>

namespace kw::model {

namespace {

constexpr uint16_t kPageNone = 0;
constexpr uint16_t kPageSystem = 1;
constexpr uint16_t kPageMouse = 2;
constexpr uint16_t kPageKeyboard = 7;

// First detail byte of a keyboard action: how to read the second one.
constexpr uint8_t kDetailModifierBit = 1;
constexpr uint8_t kDetailUsage = 2;

struct MouseRow {
    uint8_t usage;   // the catalogue's mouse device usage
    uint16_t keyId;  // the catalogue's mouse key
    uint8_t first;   // 1 button mask, 5 wheel step
    uint8_t second;
};

// The mouse usages 0xF6 to 0xF8 belong to no key, so they have no row and travel as no key.
constexpr MouseRow kMouseRows[] = {
    {0xF1, 0x171, 1, 0x01},  // left button
    {0xF2, 0x172, 1, 0x02},  // right button
    {0xF3, 0x173, 1, 0x04},  // middle button
    {0xF4, 0x161, 5, 0x01},  // wheel up
    {0xF5, 0x162, 5, 0xFF},  // wheel down
};

constexpr uint8_t kPressBit = 0x80;  // bit 15 of the first word
constexpr int kTypeShift = 4;        // bits 12-14 of the first word, in its high byte

}  // namespace

MacroDeviceCode MacroDeviceCodeOf(uint16_t keyId, const MacroKeyVocabulary& keys) {
    const auto type = [](MacroActionType t) { return static_cast<uint8_t>(t); };
    // The modifier keys have keyboard usages too, but the keyboard wants them as modifier bits.
    if (const uint8_t bit = keys.ModifierBitOf(keyId); bit != 0) {
        return {type(MacroActionType::Keyboard), kDetailModifierBit, bit};
    }
    const MacroKeyUsage u = keys.DeviceUsageOf(keyId);
    const auto usage = static_cast<uint8_t>(u.usage);
    switch (u.page) {
    case kPageSystem:
        return {type(MacroActionType::SystemControl), usage, 0};
    case kPageMouse: {
        const auto* row = std::find_if(std::begin(kMouseRows), std::end(kMouseRows),
                                       [&](const MouseRow& r) { return r.usage == usage; });
        if (row == std::end(kMouseRows)) return {};
        return {type(MacroActionType::Mouse), row->first, row->second};
    }
    case kPageKeyboard:
        return {type(MacroActionType::Keyboard), kDetailUsage, usage};
    case kPageNone:
    default:
        return {};
    }
}

uint16_t KeyIdOfMacroDeviceCode(const MacroDeviceCode& code, const MacroKeyVocabulary& keys) {
    switch (static_cast<MacroActionType>(code.type)) {
    case MacroActionType::Mouse: {
        const auto* row = std::find_if(std::begin(kMouseRows), std::end(kMouseRows), [&](const MouseRow& r) {
            return r.first == code.first && r.second == code.second;
        });
        return row == std::end(kMouseRows) ? 0 : row->keyId;
    }
    case MacroActionType::Keyboard:
        if (code.first == kDetailUsage) return keys.KeyIdOfUsage(kPageKeyboard, code.second);
        return keys.KeyIdOfModifierBits(code.second);
    case MacroActionType::SystemControl:
        return keys.KeyIdOfUsage(kPageSystem, code.first);
    case MacroActionType::None:
    default:
        return 0;
    }
}

std::array<uint8_t, 4> EncodeMacroAction(const MacroAction& action, const MacroKeyVocabulary& keys,
                                         bool* delayClamped) {
    const bool clamped = !MacroDelayFitsDevice(action.delay);
    const uint32_t steps = clamped ? kMaxMacroDelaySteps : action.delay / kMacroDelayStepMs;
    if (delayClamped != nullptr) *delayClamped = clamped;

    const MacroDeviceCode code = MacroDeviceCodeOf(action.keyId, keys);
    auto high = static_cast<uint8_t>((steps >> 8) | ((code.type & 0x07) << kTypeShift));
    if (action.direction == kMacroPress) high |= kPressBit;
    return {static_cast<uint8_t>(steps), high, code.first, code.second};
}

MacroAction DecodeMacroAction(std::span<const uint8_t, 4> encoded, const MacroKeyVocabulary& keys) {
    const uint8_t high = encoded[1];
    const MacroDeviceCode code{static_cast<uint8_t>((high >> kTypeShift) & 0x07), encoded[2], encoded[3]};
    MacroAction action;
    action.delay = static_cast<uint32_t>(encoded[0] | ((high & 0x0F) << 8)) * kMacroDelayStepMs;
    action.direction = (high & kPressBit) != 0 ? kMacroPress : kMacroRelease;
    action.keyId = KeyIdOfMacroDeviceCode(code, keys);
    return action;
}

}  // namespace kw::model
