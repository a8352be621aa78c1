#include "model/MacroKeyCodes.h"
#include "tests/model/MacroTestKeys.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

namespace kw::model {
namespace {

using Bytes = std::array<uint8_t, 4>;

struct EncodeCase {
    const char* what;
    MacroAction action;
    Bytes expected;
    bool clamped;
};

const EncodeCase kEncodeCases[] = {
    {"left Windows press, 50 ms", {50, 0x15B, kMacroPress}, {0x05, 0xA0, 0x01, 0x08}, false},
    {"A release, 0 ms", {0, 0x01E, kMacroRelease}, {0x00, 0x20, 0x02, 0x04}, false},
    {"Volume Up press, 10 ms", {10, 0x130, kMacroPress}, {0x01, 0xA0, 0x02, 0xC0}, false},
    {"left Ctrl", {0, 0x01D, kMacroPress}, {0x00, 0xA0, 0x01, 0x01}, false},
    {"left Shift", {0, 0x02A, kMacroPress}, {0x00, 0xA0, 0x01, 0x02}, false},
    {"left Alt", {0, 0x038, kMacroPress}, {0x00, 0xA0, 0x01, 0x04}, false},
    {"right Ctrl", {0, 0x11D, kMacroPress}, {0x00, 0xA0, 0x01, 0x10}, false},
    {"right Shift", {0, 0x036, kMacroPress}, {0x00, 0xA0, 0x01, 0x20}, false},
    {"right Alt", {0, 0x138, kMacroPress}, {0x00, 0xA0, 0x01, 0x40}, false},
    {"right Windows release", {0, 0x15C, kMacroRelease}, {0x00, 0x20, 0x01, 0x80}, false},
    {"mouse left", {0, 0x171, kMacroPress}, {0x00, 0x90, 0x01, 0x01}, false},
    {"mouse right", {0, 0x172, kMacroPress}, {0x00, 0x90, 0x01, 0x02}, false},
    {"mouse middle release", {0, 0x173, kMacroRelease}, {0x00, 0x10, 0x01, 0x04}, false},
    {"wheel up", {0, 0x161, kMacroPress}, {0x00, 0x90, 0x05, 0x01}, false},
    {"wheel down", {0, 0x162, kMacroPress}, {0x00, 0x90, 0x05, 0xFF}, false},
    {"Power, a system control", {0, 0x15E, kMacroPress}, {0x00, 0xC0, 0x81, 0x00}, false},
    {"Wake release", {0, 0x163, kMacroRelease}, {0x00, 0x40, 0x83, 0x00}, false},
    {"Copy has no device usage", {0, 0x176, kMacroPress}, {0x00, 0x80, 0x00, 0x00}, false},
    {"unknown key", {0, 0x1FF, kMacroRelease}, {0x00, 0x00, 0x00, 0x00}, false},
    {"mouse usage without a key", {0, 0x17E, kMacroPress}, {0x00, 0x80, 0x00, 0x00}, false},
    {"5 ms rounds down to 0", {5, 0x01E, kMacroRelease}, {0x00, 0x20, 0x02, 0x04}, false},
    {"40000 ms is 4000 steps", {40000, 0x01E, kMacroRelease}, {0xA0, 0x2F, 0x02, 0x04}, false},
    {"40959 ms still fits", {40959, 0x01E, kMacroRelease}, {0xFF, 0x2F, 0x02, 0x04}, false},
    {"40960 ms is clamped", {40960, 0x01E, kMacroRelease}, {0xFF, 0x2F, 0x02, 0x04}, true},
    {"a huge delay does not spill into the type", {0xFFFFFFFF, 0x01E, kMacroPress}, {0xFF, 0xAF, 0x02, 0x04}, true},
    {"any direction but press is a release", {0, 0x01E, 7}, {0x00, 0x20, 0x02, 0x04}, false},
};

TEST(MacroActionEncodingTest, EncodesEveryKindOfKeyAndDelay) {
    const test::TestKeys keys;
    for (const EncodeCase& c : kEncodeCases) {
        bool clamped = !c.clamped;
        EXPECT_EQ(EncodeMacroAction(c.action, keys, &clamped), c.expected) << c.what;
        EXPECT_EQ(clamped, c.clamped) << c.what;
    }
}

TEST(MacroActionEncodingTest, EveryKeyComesBackWithItsDirectionAndDelay) {
    const test::TestKeys keys;
    for (const test::TestKey& k : test::kTestKeys) {
        const bool travels = DecodeMacroAction(EncodeMacroAction({0, k.id, kMacroPress}, keys), keys).keyId != 0;
        const bool hasCode = k.page != 0 && k.usage != 0xF6;
        EXPECT_EQ(travels, hasCode) << std::hex << k.id;
        if (!hasCode) continue;
        for (const uint16_t direction : {kMacroPress, kMacroRelease}) {
            const MacroAction in{12345, k.id, direction};
            const MacroAction out = DecodeMacroAction(EncodeMacroAction(in, keys), keys);
            EXPECT_EQ(out.keyId, k.id) << std::hex << k.id;
            EXPECT_EQ(out.direction, direction) << std::hex << k.id;
            EXPECT_EQ(out.delay, 12340u) << std::hex << k.id;
        }
    }
}

struct DecodeCase {
    const char* what;
    Bytes encoded;
    MacroAction expected;
};

// Codes this program never sends but a keyboard could hold.
const DecodeCase kDecodeCases[] = {
    {"type 0 is no key", {0x00, 0x80, 0x02, 0x04}, {0, 0, kMacroPress}},
    {"type 3 is unknown", {0x00, 0xB0, 0x02, 0x04}, {0, 0, kMacroPress}},
    {"type 5 is unknown", {0x00, 0xD0, 0x02, 0x04}, {0, 0, kMacroPress}},
    {"type 7 with the longest delay", {0xFF, 0x7F, 0x01, 0x01}, {40950, 0, kMacroRelease}},
    {"a mouse mask that is no button", {0x00, 0x90, 0x01, 0x08}, {0, 0, kMacroPress}},
    {"a wheel step of 2", {0x00, 0x90, 0x05, 0x02}, {0, 0, kMacroPress}},
    {"several modifier bits: the lowest wins", {0x00, 0xA0, 0x01, 0x06}, {0, 0x02A, kMacroPress}},
    {"no modifier bit", {0x00, 0xA0, 0x01, 0x00}, {0, 0, kMacroPress}},
    {"an unknown first detail reads as modifier bits", {0x00, 0xA0, 0x03, 0x01}, {0, 0x01D, kMacroPress}},
    {"a usage no key has", {0x00, 0xA0, 0x02, 0x99}, {0, 0, kMacroPress}},
    {"a modifier sent as a usage", {0x00, 0xA0, 0x02, 0xE0}, {0, 0x01D, kMacroPress}},
    {"a system control usage no key has", {0x00, 0xC0, 0x84, 0x00}, {0, 0, kMacroPress}},
};

TEST(MacroActionEncodingTest, DecodesCodesTheEncoderNeverProduces) {
    const test::TestKeys keys;
    for (const DecodeCase& c : kDecodeCases) {
        const MacroAction a = DecodeMacroAction(c.encoded, keys);
        EXPECT_EQ(a.keyId, c.expected.keyId) << c.what;
        EXPECT_EQ(a.direction, c.expected.direction) << c.what;
        EXPECT_EQ(a.delay, c.expected.delay) << c.what;
    }
}

}  // namespace
}  // namespace kw::model
