#include "model/MacroStore.h"

#include "app/AppGlobals.h"
#include "i18n/Language.h"
#include "tests/model/MacroTestKeys.h"

#include <gtest/gtest.h>

#include <vector>

namespace kw::model {
namespace {

std::vector<MacroRecord> WithIds(std::initializer_list<uint16_t> ids) {
    std::vector<MacroRecord> set;
    for (const uint16_t id : ids) {
        MacroRecord& r = set.emplace_back();
        r.id = id;
        r.cycleCount = 1;
        const char16_t name[] = {u'M', static_cast<char16_t>(u'0' + id % 10), u'\0'};
        SetMacroName(r, name);
    }
    return set;
}

TEST(MacroStoreTest, PositionsAndIdsAreLookedUpInSetOrder) {
    ConfigStore store;
    ASSERT_TRUE(ReplaceMacroSet(store, WithIds({5, 9, 7, 9})));
    struct IdCase {
        uint16_t id;
        uint16_t position;
    };
    for (const IdCase c : {IdCase{5, 0}, IdCase{9, 1}, IdCase{7, 2}, IdCase{3, 0}, IdCase{0, 0}}) {
        EXPECT_EQ(FindMacroPosition(store, c.id), c.position) << c.id;
    }
    struct PositionCase {
        int position;
        uint16_t id;
    };
    for (const PositionCase c : {PositionCase{0, 5}, PositionCase{3, 9}, PositionCase{4, 0}, PositionCase{-1, 0},
                                 PositionCase{-65536, 0}, PositionCase{65536, 0}}) {
        EXPECT_EQ(MacroIdAt(store, c.position), c.id) << c.position;
    }
    FreeMacroSet(store);
    EXPECT_EQ(store.macros.Count(), 0);
    EXPECT_EQ(MacroIdAt(store, 0), 0);
    FreeMacroSet(store);  // nothing to free
    EXPECT_EQ(store.macros.Count(), 0);
}

TEST(MacroStoreTest, ASetNeverHoldsMoreThanAHundredMacros) {
    ConfigStore store;
    ASSERT_TRUE(ReplaceMacroSet(store, WithIds({1, 2})));
    EXPECT_FALSE(ReplaceMacroSet(store, std::vector<MacroRecord>(kMaxMacros + 1)));
    EXPECT_EQ(store.macros.Count(), 2);
    EXPECT_TRUE(ReplaceMacroSet(store, std::vector<MacroRecord>(kMaxMacros)));
    EXPECT_EQ(store.macros.Count(), kMaxMacros);
}

TEST(MacroStoreTest, KeysFollowTheirMacroThroughASendAndReadBack) {
    // A key that played id 7, the third macro, plays position 2 on the keyboard; after reading the
    // block back the same macro has id 3, at the same position.
    ConfigStore working;
    ConfigStore applied;
    ASSERT_TRUE(ReplaceMacroSet(working, WithIds({5, 9, 7})));
    ASSERT_TRUE(CopyMacroSet(working, applied));
    EXPECT_EQ(applied.macros.Count(), 3);
    const uint16_t position = FindMacroPosition(applied, 7);
    EXPECT_EQ(position, 2);

    const test::TestKeys keys;
    const MacroBlockBuild build = BuildMacroBlockForCapacity(applied, 1280, keys);
    ASSERT_EQ(build.error, MacroBlockError::None);
    EXPECT_TRUE(build.namesIncluded);
    EXPECT_EQ(build.bytes.size(), MeasureMacroBlock(applied).withNames);

    MacroBlockParse back = ParseMacroBlock(build.bytes, keys);
    ASSERT_EQ(back.error, MacroBlockError::None);
    ASSERT_TRUE(ReplaceMacroSet(working, std::move(back.records)));
    EXPECT_EQ(MacroIdAt(working, position), 3);
    EXPECT_EQ(FindMacroPosition(working, 3), position);
    EXPECT_EQ(MacroName(working.macros.Records()[2]), u"M7");
}

TEST(MacroStoreTest, UnnamedMacrosReadBackUnderTheLanguagePrefix) {
    ConfigStore applied;
    ASSERT_TRUE(ReplaceMacroSet(applied, WithIds({4, 8})));
    const test::TestKeys keys;
    const MacroBlockBuild build = BuildMacroBlock(applied, false, keys);
    const MacroBlockParse back = ParseMacroBlock(build.bytes, keys);
    ASSERT_EQ(back.records.size(), 2u);
    const std::wstring prefix = i18n::LangText(L"MACRO_NEW_PREFIX", i18n::CurrentLanguageIndex());
    const std::u16string expected(prefix.begin(), prefix.end());  // the texts here are plain ASCII
    EXPECT_EQ(MacroName(back.records[0]), expected + u"1");
    EXPECT_EQ(MacroName(back.records[1]), expected + u"2");
}

TEST(MacroStoreTest, CapacityComesFromTheKeyboardSlot) {
    const intptr_t saved = AppGlobals::Get(Slot::MacroCapacity);
    struct Case {
        intptr_t slot;
        uint32_t capacity;
    };
    for (const Case c : {Case{0, 0}, Case{-1, 0}, Case{1280, 1280}, Case{255 * 128, 32640}, Case{0x10000, 0xFFFF}}) {
        AppGlobals::Set(Slot::MacroCapacity, c.slot);
        EXPECT_EQ(KeyboardMacroCapacity(), c.capacity) << c.slot;
    }

    ConfigStore applied;
    ASSERT_TRUE(ReplaceMacroSet(applied, WithIds({1, 2})));
    const MacroBlockSizes sizes = MeasureMacroBlock(applied);
    AppGlobals::Set(Slot::MacroCapacity, sizes.withoutNames);
    const MacroBlockBuild tight = BuildMacroBlockForKeyboard(applied);
    EXPECT_EQ(tight.bytes.size(), sizes.withoutNames);
    EXPECT_TRUE(tight.namesDropped);
    AppGlobals::Set(Slot::MacroCapacity, 0);
    EXPECT_EQ(BuildMacroBlockForKeyboard(applied).error, MacroBlockError::BeyondCapacity);
    AppGlobals::Set(Slot::MacroCapacity, saved);
}

}  // namespace
}  // namespace kw::model
