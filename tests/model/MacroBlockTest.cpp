#include "model/MacroBlock.h"
#include "tests/model/MacroTestKeys.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kw::model {
namespace {

using Bytes = std::vector<uint8_t>;
using test::TestKeys;

struct Step {
    uint32_t delay;
    uint16_t key;
    uint16_t direction;
};

MacroRecord& Add(std::vector<MacroRecord>& set, std::u16string_view name, uint8_t cycles, uint16_t id,
                 std::initializer_list<Step> steps = {}) {
    MacroRecord& r = set.emplace_back();
    SetMacroName(r, name);
    r.cycleCount = cycles;
    r.id = id;
    for (const Step& s : steps) r.actions[r.actionCount++] = {s.delay, s.key, s.direction};
    return r;
}

// Two macros: "Go" playing A press (50 ms) and A release three times, and an unnamed one without
// actions.
std::vector<MacroRecord> TwoMacros() {
    std::vector<MacroRecord> set;
    Add(set, u"Go", 3, 5, {{50, 0x01E, kMacroPress}, {0, 0x01E, kMacroRelease}});
    Add(set, u"", 1, 2);
    return set;
}

const Bytes kTwoMacrosWithNames = {
    0xAA, 0x55, 40, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // header
    20, 0, 36, 0,                                            // offsets
    2, 0, 3, 2, 0x05, 0xA0, 0x02, 0x04, 0x00, 0x20, 0x02, 0x04, 'G', 0, 'o', 0,
    0, 0, 1, 0,
};

const Bytes kTwoMacrosWithoutNames = {
    0xAA, 0x55, 36, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    20, 0, 32, 0,
    2, 0, 3, 0, 0x05, 0xA0, 0x02, 0x04, 0x00, 0x20, 0x02, 0x04,
    0, 0, 1, 0,
};

TEST(MacroBlockBuildTest, WritesTheDocumentedBytes) {
    const TestKeys keys;
    const auto set = TwoMacros();
    EXPECT_EQ(BuildMacroBlock(set, true, keys).bytes, kTwoMacrosWithNames);
    EXPECT_EQ(BuildMacroBlock(set, false, keys).bytes, kTwoMacrosWithoutNames);

    const Bytes empty = {0xAA, 0x55, 16, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const MacroBlockBuild build = BuildMacroBlock({}, true, keys);
    EXPECT_EQ(build.error, MacroBlockError::None);
    EXPECT_EQ(build.bytes, empty);
}

std::vector<MacroRecord> Largest(size_t macros) {
    std::vector<MacroRecord> set(macros);
    for (size_t i = 0; i < macros; ++i) {
        MacroRecord& r = set[i];
        SetMacroName(r, std::u16string(kMaxMacroNameLength, static_cast<char16_t>(u'a' + i)));
        r.cycleCount = 255;
        r.id = static_cast<uint16_t>(i + 1);
        r.actionCount = kMaxMacroActions;
        for (uint16_t a = 0; a < kMaxMacroActions; ++a) {
            r.actions[a] = {static_cast<uint32_t>(10 * ((a * 7 + i) % 4096)), test::kTestKeys[a % 20].id,
                            static_cast<uint16_t>(a % 2)};
        }
    }
    return set;
}

TEST(MacroBlockBuildTest, SizesAreMeasuredExactly) {
    struct Case {
        const char* what;
        std::vector<MacroRecord> set;
        MacroBlockSizes sizes;
    };
    std::vector<Case> cases;
    cases.push_back({"no macros", {}, {16, 16}});
    cases.push_back({"two macros", TwoMacros(), {40, 36}});
    cases.push_back({"the longest macro", Largest(1), {16 + 2 + 4 + 16000 + 498, 16 + 2 + 4 + 16000}});
    auto unterminated = TwoMacros();
    unterminated[1].name.fill(u'n');
    unterminated[1].actionCount = 0xFFFF;
    cases.push_back({"a record past its limits counts as much as it holds",
                     std::move(unterminated), {40 + 16000 + 498, 36 + 16000}});
    const TestKeys keys;
    for (const Case& c : cases) {
        EXPECT_EQ(MeasureMacroBlock(c.set), c.sizes) << c.what;
        EXPECT_EQ(BuildMacroBlock(c.set, true, keys).bytes.size(), c.sizes.withNames) << c.what;
        EXPECT_EQ(BuildMacroBlock(c.set, false, keys).bytes.size(), c.sizes.withoutNames) << c.what;
    }
}

std::vector<MacroRecord> Many() {
    std::vector<MacroRecord> set;
    for (uint16_t i = 0; i < kMaxMacros; ++i) {
        std::u16string name = u"Macro \u00E9";
        name.append(i % 30, u'x');
        MacroRecord& r = Add(set, name, static_cast<uint8_t>(1 + i), 100 - i);
        r.actionCount = static_cast<uint16_t>(i % 40);
        for (uint16_t a = 0; a < r.actionCount; ++a) {
            r.actions[a] = {static_cast<uint32_t>(10 * (a + i)), test::kTestKeys[(a + i) % 20].id,
                            static_cast<uint16_t>((a + i) % 2)};
        }
    }
    return set;
}

void ExpectSameMacros(const std::vector<MacroRecord>& in, const MacroBlockParse& out, bool names,
                      const std::string& what) {
    ASSERT_EQ(out.error, MacroBlockError::None) << what;
    ASSERT_EQ(out.records.size(), in.size()) << what;
    for (size_t i = 0; i < in.size(); ++i) {
        const MacroRecord& a = in[i];
        const MacroRecord& b = out.records[i];
        const std::string at = what + ", macro " + std::to_string(i);
        EXPECT_EQ(b.id, i + 1) << at;
        EXPECT_EQ(b.newFlag, 0) << at;
        EXPECT_EQ(b.cycleCount, a.cycleCount) << at;
        if (names) {
            EXPECT_TRUE(MacroName(b) == MacroName(a)) << at;
        } else {
            EXPECT_TRUE(MacroName(b) == NumberedMacroName(u"New ", static_cast<int>(i + 1))) << at;
        }
        ASSERT_EQ(b.actionCount, a.actionCount) << at;
        for (uint16_t k = 0; k < a.actionCount; ++k) {
            ASSERT_EQ(b.actions[k].keyId, a.actions[k].keyId) << at << ", action " << k;
            ASSERT_EQ(b.actions[k].direction, a.actions[k].direction) << at << ", action " << k;
            ASSERT_EQ(b.actions[k].delay, a.actions[k].delay) << at << ", action " << k;
        }
    }
}

TEST(MacroBlockRoundTripTest, SetsComeBackWithAndWithoutNames) {
    struct Case {
        const char* what;
        std::vector<MacroRecord> set;
    };
    std::vector<Case> cases;
    cases.push_back({"no macros", {}});
    std::vector<MacroRecord> one;
    Add(one, u"One", 9, 42, {{40000, 0x15B, kMacroPress}, {0, 0x162, kMacroPress}, {10, 0x15E, kMacroRelease}});
    cases.push_back({"one macro", std::move(one)});
    cases.push_back({"a hundred macros", Many()});
    cases.push_back({"the longest macro", Largest(1)});
    cases.push_back({"three of the longest macros", Largest(3)});
    const TestKeys keys;
    for (const Case& c : cases) {
        for (const bool names : {true, false}) {
            const MacroBlockBuild build = BuildMacroBlock(c.set, names, keys);
            ASSERT_EQ(build.error, MacroBlockError::None) << c.what;
            EXPECT_TRUE(build.clampedDelays.empty()) << c.what;
            ExpectSameMacros(c.set, ParseMacroBlock(build.bytes, u"New ", keys), names,
                             std::string(c.what) + (names ? " with names" : " without names"));
        }
    }
}

TEST(MacroBlockBuildTest, RefusesWhatTheBlockCannotAddress) {
    const TestKeys keys;
    // Four of the longest macros fill 64040 bytes without names; their names would pass 65535.
    const auto four = Largest(4);
    EXPECT_EQ(BuildMacroBlock(four, true, keys).error, MacroBlockError::BeyondCapacity);
    EXPECT_TRUE(BuildMacroBlock(four, true, keys).bytes.empty());
    const MacroBlockBuild fits = BuildMacroBlockForCapacity(four, 0x7FFFFFFF, keys);
    ASSERT_EQ(fits.error, MacroBlockError::None);
    EXPECT_EQ(fits.bytes.size(), 64040u);
    EXPECT_TRUE(fits.namesDropped);
    ExpectSameMacros(four, ParseMacroBlock(fits.bytes, u"New ", keys), false, "four of the longest");

    EXPECT_EQ(BuildMacroBlock(Largest(5), false, keys).error, MacroBlockError::BeyondCapacity);

    auto tooMany = Many();
    tooMany.emplace_back();
    EXPECT_EQ(BuildMacroBlock(tooMany, false, keys).error, MacroBlockError::TooManyMacros);
}

TEST(MacroBlockBuildTest, CapacityDecidesWhetherNamesGoAlong) {
    struct Case {
        MacroBlockSizes sizes;
        uint32_t capacity;
        MacroBlockLayout layout;
    };
    const Case cases[] = {
        {{16, 16}, 0, MacroBlockLayout::DoesNotFit},  // capacity not read yet
        {{16, 16}, 16, MacroBlockLayout::WithNames},
        {{1300, 1200}, 1280, MacroBlockLayout::WithoutNames},
        {{1280, 1200}, 1280, MacroBlockLayout::WithNames},
        {{1281, 1280}, 1280, MacroBlockLayout::WithoutNames},
        {{1282, 1281}, 1280, MacroBlockLayout::DoesNotFit},
        {{70000, 65535}, 100000, MacroBlockLayout::WithoutNames},
        {{65536, 65536}, 100000, MacroBlockLayout::DoesNotFit},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseMacroBlockLayout(c.sizes, c.capacity), c.layout)
            << c.sizes.withNames << "/" << c.sizes.withoutNames << " in " << c.capacity;
    }

    const TestKeys keys;
    const auto set = TwoMacros();  // 40 bytes with names, 36 without
    const MacroBlockBuild tight = BuildMacroBlockForCapacity(set, 38, keys);
    EXPECT_EQ(tight.bytes, kTwoMacrosWithoutNames);
    EXPECT_TRUE(tight.namesDropped);
    const MacroBlockBuild roomy = BuildMacroBlockForCapacity(set, 40, keys);
    EXPECT_EQ(roomy.bytes, kTwoMacrosWithNames);
    EXPECT_FALSE(roomy.namesDropped);
    const MacroBlockBuild none = BuildMacroBlockForCapacity(set, 0, keys);
    EXPECT_EQ(none.error, MacroBlockError::BeyondCapacity);
    EXPECT_TRUE(none.bytes.empty());
}

TEST(MacroBlockBuildTest, ClampedDelaysAreReportedWhereTheyAre) {
    const TestKeys keys;
    auto set = TwoMacros();
    Add(set, u"Slow", 1, 9, {{10, 0x030, kMacroPress}, {40950, 0x030, kMacroRelease}, {50000, 0x01E, kMacroPress}});
    const MacroBlockBuild build = BuildMacroBlock(set, false, keys);
    ASSERT_EQ(build.error, MacroBlockError::None);
    EXPECT_EQ(build.clampedDelays, (std::vector<MacroDelayClamp>{{2, 2, 50000}}));
    const MacroBlockParse back = ParseMacroBlock(build.bytes, u"", keys);
    ASSERT_EQ(back.records.size(), 3u);
    EXPECT_EQ(back.records[2].actions[2].delay, 40950u);
    EXPECT_EQ(back.records[2].actions[2].keyId, 0x01E);
}

// A one-macro block written byte by byte, for records this program would never write.
Bytes RawBlock(uint16_t actions, uint8_t nameLength, uint16_t statedSize = 0) {
    const size_t size = 16 + 2 + 4 + 4 * size_t{actions} + 2 * size_t{nameLength};
    Bytes b(size, 0);
    const auto put16 = [&b](size_t at, size_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    put16(0, 0x55AA);
    put16(2, statedSize != 0 ? statedSize : size);
    put16(4, 1);
    put16(16, 18);
    put16(18, actions);
    b[20] = 4;
    b[21] = nameLength;
    for (size_t a = 0; a < actions; ++a) {
        const size_t at = 22 + 4 * a;
        b[at + 1] = 0xA0;  // keyboard press
        b[at + 2] = 2;
        b[at + 3] = 0x05;  // B
    }
    for (size_t c = 0; c < nameLength; ++c) put16(22 + 4 * size_t{actions} + 2 * c, u'k');
    return b;
}

TEST(MacroBlockParseTest, OverlongRecordsAreCutToFitAndReported) {
    const TestKeys keys;
    const MacroBlockParse parse = ParseMacroBlock(RawBlock(4001, 255), u"", keys);
    ASSERT_EQ(parse.error, MacroBlockError::None);
    ASSERT_EQ(parse.records.size(), 1u);
    const MacroRecord& r = parse.records[0];
    EXPECT_EQ(r.actionCount, 4000);
    EXPECT_EQ(r.actions[3999].keyId, 0x030);
    EXPECT_TRUE(MacroName(r) == std::u16string(249, u'k'));
    EXPECT_EQ(r.cycleCount, 4);
    EXPECT_EQ(parse.actionsCut, 1);
    EXPECT_EQ(parse.namesCut, 1);

    const MacroBlockParse exact = ParseMacroBlock(RawBlock(4000, 249), u"", keys);
    EXPECT_EQ(exact.actionsCut, 0);
    EXPECT_EQ(exact.namesCut, 0);
}

TEST(MacroBlockParseTest, UnnamedMacrosGetNumberedNamesInBlockOrder) {
    const TestKeys keys;
    std::vector<MacroRecord> set;
    Add(set, u"", 1, 7);
    Add(set, u"Kept", 1, 3);
    Add(set, u"", 1, 1);
    const MacroBlockParse parse = ParseMacroBlock(BuildMacroBlock(set, true, keys).bytes, u"Macro", keys);
    ASSERT_EQ(parse.records.size(), 3u);
    EXPECT_TRUE(MacroName(parse.records[0]) == u"Macro1");
    EXPECT_TRUE(MacroName(parse.records[1]) == u"Kept");
    EXPECT_TRUE(MacroName(parse.records[2]) == u"Macro3");
    for (uint16_t i = 0; i < 3; ++i) EXPECT_EQ(parse.records[i].id, i + 1);
}

TEST(MacroBlockParseTest, DamagedBlocksAreRefusedWhole) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        MacroBlockError error;
    };
    const auto put16 = [](Bytes& b, size_t at, uint16_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    const Case cases[] = {
        {"sound", [](Bytes&) {}, MacroBlockError::None},
        {"shorter than a header", [](Bytes& b) { b.resize(15); }, MacroBlockError::Truncated},
        {"empty", [](Bytes& b) { b.clear(); }, MacroBlockError::Truncated},
        {"other magic", [&](Bytes& b) { put16(b, 0, 0x55AB); }, MacroBlockError::NoMagic},
        {"an erased area", [](Bytes& b) { std::fill(b.begin(), b.end(), 0xFF); }, MacroBlockError::NoMagic},
        {"stated size past the buffer", [&](Bytes& b) { put16(b, 2, 41); }, MacroBlockError::Truncated},
        {"buffer cut short", [](Bytes& b) { b.resize(39); }, MacroBlockError::Truncated},
        {"stated size below the offset table", [&](Bytes& b) { put16(b, 2, 19); }, MacroBlockError::BadSize},
        {"101 macros", [&](Bytes& b) { put16(b, 4, 101); }, MacroBlockError::TooManyMacros},
        {"65535 macros", [&](Bytes& b) { put16(b, 4, 0xFFFF); }, MacroBlockError::TooManyMacros},
        {"a count that makes records read as offsets", [&](Bytes& b) { put16(b, 4, 3); }, MacroBlockError::BadOffset},
        {"offset 0", [&](Bytes& b) { put16(b, 16, 0); }, MacroBlockError::BadOffset},
        {"offset into the offset table", [&](Bytes& b) { put16(b, 18, 18); }, MacroBlockError::BadOffset},
        {"offset past the end", [&](Bytes& b) { put16(b, 18, 0xFFFF); }, MacroBlockError::BadOffset},
        {"record header over the end", [&](Bytes& b) { put16(b, 18, 37); }, MacroBlockError::BadOffset},
        {"record past the stated size", [&](Bytes& b) { put16(b, 2, 38); }, MacroBlockError::BadOffset},
        {"actions past the end", [&](Bytes& b) { put16(b, 20, 0x4000); }, MacroBlockError::RecordPastEnd},
        {"one action too many", [&](Bytes& b) { put16(b, 20, 5); }, MacroBlockError::RecordPastEnd},
        {"name past the end", [](Bytes& b) { b[23] = 255; }, MacroBlockError::RecordPastEnd},
        {"name of the last macro past the end", [](Bytes& b) { b[39] = 1; }, MacroBlockError::RecordPastEnd},
        {"junk after the stated size", [](Bytes& b) { b.insert(b.end(), 30, 0xEE); }, MacroBlockError::None},
        {"records overlapping", [&](Bytes& b) { put16(b, 18, 20); }, MacroBlockError::None},
        {"an action type no key has", [](Bytes& b) { b[25] = 0xE0; }, MacroBlockError::None},
    };
    const TestKeys keys;
    for (const Case& c : cases) {
        Bytes block = kTwoMacrosWithNames;
        c.damage(block);
        const MacroBlockParse parse = ParseMacroBlock(block, u"", keys);
        EXPECT_EQ(parse.error, c.error) << c.what;
        EXPECT_EQ(parse.records.size(), c.error == MacroBlockError::None ? 2u : 0u) << c.what;
    }

    Bytes unknownType = kTwoMacrosWithNames;
    unknownType[25] = 0xE0;  // type 6, press
    const MacroBlockParse parse = ParseMacroBlock(unknownType, u"", keys);
    ASSERT_EQ(parse.records.size(), 2u);
    EXPECT_EQ(parse.records[0].actions[0].keyId, 0);
    EXPECT_EQ(parse.records[0].actions[0].direction, kMacroPress);
    EXPECT_EQ(parse.records[0].actions[1].keyId, 0x01E);
}

TEST(MacroBlockParseTest, TheHeaderIsCheckedAgainstTheCapacityBeforeTheBlockIsRead) {
    struct Case {
        const char* what;
        Bytes header;
        uint32_t capacity;
        MacroBlockError error;
        uint16_t size;
        uint16_t count;
    };
    const Case cases[] = {
        {"fits", {0xAA, 0x55, 0x00, 0x05, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1280, MacroBlockError::None, 1280, 3},
        {"one byte over", {0xAA, 0x55, 0x01, 0x05, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1280,
         MacroBlockError::BeyondCapacity, 0, 0},
        {"capacity unknown", {0xAA, 0x55, 0xFF, 0xFF, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, MacroBlockError::None,
         0xFFFF, 3},
        {"no block", {0x00, 0x00, 0x00, 0x05, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1280, MacroBlockError::NoMagic, 0, 0},
        {"size smaller than the table", {0xAA, 0x55, 21, 0, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1280,
         MacroBlockError::BadSize, 0, 0},
        {"too many macros", {0xAA, 0x55, 0x00, 0x05, 200, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1280,
         MacroBlockError::TooManyMacros, 0, 0},
        {"header cut short", {0xAA, 0x55, 0x00, 0x05, 3, 0}, 1280, MacroBlockError::Truncated, 0, 0},
    };
    for (const Case& c : cases) {
        MacroBlockHeader header{1, 1, 1};
        EXPECT_EQ(ReadMacroBlockHeader(c.header, c.capacity, header), c.error) << c.what;
        EXPECT_EQ(header.size, c.size) << c.what;
        EXPECT_EQ(header.count, c.count) << c.what;
    }
}

}  // namespace
}  // namespace kw::model
