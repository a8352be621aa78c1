#include "model/MacroList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw::model {
namespace {

TEST(MacroListTest, ANewMacroIsBlankAndTakesTheSmallestFreeId) {
    std::vector<MacroRecord> list(3);
    list[0].id = 1;
    list[1].id = 4;
    list[2].id = 2;
    list[1].newFlag = 0;
    const AddMacroResult added = AddMacro(list, u"Macro4");
    ASSERT_EQ(added.status, AddMacroStatus::Added);
    ASSERT_EQ(added.position, 3u);
    const MacroRecord& r = list[3];
    EXPECT_EQ(r.id, 3);
    EXPECT_EQ(r.cycleCount, 1);
    EXPECT_EQ(r.newFlag, 1);
    EXPECT_EQ(r.actionCount, 0);
    EXPECT_EQ(MacroName(r), u"Macro4");
    const auto after = AddMacro(list, std::u16string(300, u'm'));
    EXPECT_EQ(list[after.position].id, 5);
    EXPECT_EQ(MacroNameLength(list[after.position]), kMaxMacroNameLength);
}

TEST(MacroListTest, IdsOutsideTheRangeDoNotHideFreeOnes) {
    std::vector<MacroRecord> list(2);
    list[0].id = 0;
    list[1].id = 0xFFFF;
    EXPECT_EQ(SmallestFreeMacroId(list), 1);
    EXPECT_EQ(SmallestFreeMacroId({}), 1);
}

TEST(MacroListTest, TheHundredthMacroIsTheLast) {
    std::vector<MacroRecord> list;
    for (int i = 0; i < kMaxMacros; ++i) {
        const char16_t name[] = {u'M', static_cast<char16_t>(u'0' + i % 10), u'\0'};
        const AddMacroResult added = AddMacro(list, name);
        ASSERT_EQ(added.status, AddMacroStatus::Added) << i;
    }
    std::vector<bool> seen(kMaxMacros + 1, false);
    for (const MacroRecord& r : list) {
        ASSERT_GE(r.id, 1);
        ASSERT_LE(r.id, kMaxMacros);
        EXPECT_FALSE(seen[r.id]) << r.id;
        seen[r.id] = true;
    }
    EXPECT_EQ(SmallestFreeMacroId(list), 0);

    const AddMacroResult refused = AddMacro(list, u"One more");
    EXPECT_EQ(refused.status, AddMacroStatus::ListFull);
    EXPECT_EQ(list.size(), kMaxMacros);

    // A deleted macro frees its id for the next one.
    list.erase(list.begin() + 41);
    const AddMacroResult again = AddMacro(list, u"Again");
    ASSERT_EQ(again.status, AddMacroStatus::Added);
    EXPECT_EQ(list[again.position].id, 42);
}

}  // namespace
}  // namespace kw::model
