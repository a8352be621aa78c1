#pragma once
// A small key vocabulary for the macro tests, shaped like the catalogue's: each key's class and
// device usage, the eight modifier keys with their HID bits, lookups that take the first match.
#include "model/MacroKeyCodes.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace kw::model::test {

struct TestKey {
    uint16_t id;
    uint16_t page;
    uint16_t usage;
    uint8_t modifierBit;
};

inline constexpr TestKey kTestKeys[] = {
    {0x01E, 7, 0x04, 0},     // A
    {0x030, 7, 0x05, 0},     // B
    {0x001, 7, 0x29, 0},     // Esc
    {0x130, 7, 0xC0, 0},     // Volume Up, a media action
    {0x01D, 7, 0xE0, 0x01},  // left Ctrl
    {0x02A, 7, 0xE1, 0x02},  // left Shift
    {0x038, 7, 0xE2, 0x04},  // left Alt
    {0x15B, 7, 0xE3, 0x08},  // left Windows
    {0x11D, 7, 0xE4, 0x10},  // right Ctrl
    {0x036, 7, 0xE5, 0x20},  // right Shift
    {0x138, 7, 0xE6, 0x40},  // right Alt
    {0x15C, 7, 0xE7, 0x80},  // right Windows
    {0x171, 2, 0xF1, 0},     // mouse left
    {0x172, 2, 0xF2, 0},     // mouse right
    {0x173, 2, 0xF3, 0},     // mouse middle
    {0x161, 2, 0xF4, 0},     // wheel up
    {0x162, 2, 0xF5, 0},     // wheel down
    {0x15E, 1, 0x81, 0},     // Power
    {0x15F, 1, 0x82, 0},     // Sleep
    {0x163, 1, 0x83, 0},     // Wake
    {0x176, 0, 0x00, 0},     // Copy: no device usage
    {0x17E, 2, 0xF6, 0},     // a mouse usage no row describes
};

class TestKeys : public MacroKeyVocabulary {
public:
    MacroKeyUsage DeviceUsageOf(uint16_t keyId) const override {
        const TestKey* k = Find([&](const TestKey& t) { return t.id == keyId; });
        return k ? MacroKeyUsage{k->page, k->usage} : MacroKeyUsage{};
    }
    uint16_t KeyIdOfUsage(uint16_t page, uint16_t usage) const override {
        const TestKey* k = Find([&](const TestKey& t) { return t.page == page && t.usage == usage; });
        return k ? k->id : 0;
    }
    uint8_t ModifierBitOf(uint16_t keyId) const override {
        const TestKey* k = Find([&](const TestKey& t) { return t.id == keyId; });
        return k ? k->modifierBit : 0;
    }
    uint16_t KeyIdOfModifierBits(uint8_t bits) const override {
        const auto lowest = static_cast<uint8_t>(bits & -bits);
        const TestKey* k = Find([&](const TestKey& t) { return lowest != 0 && t.modifierBit == lowest; });
        return k ? k->id : 0;
    }

private:
    template <class Pred>
    static const TestKey* Find(Pred pred) {
        const auto* it = std::find_if(std::begin(kTestKeys), std::end(kTestKeys), pred);
        return it == std::end(kTestKeys) ? nullptr : it;
    }
};

}  // namespace kw::model::test
