#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace kw::app {
namespace {

struct SwitchCase {
    const char* name;
    std::vector<std::wstring> args;
    bool runningCopy;
    bool startHidden;
    bool endProcess;
    int killCalls;
    friend void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }
};

class ApplySwitchesTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(ApplySwitchesTest, Outcome) {
    const auto& c = GetParam();
    int calls = 0;
    const auto out = ApplySwitches(c.args, [&] {
        ++calls;
        return c.runningCopy;
    });
    EXPECT_EQ(out.startHidden, c.startHidden);
    EXPECT_EQ(out.endProcess, c.endProcess);
    EXPECT_EQ(calls, c.killCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ApplySwitchesTest,
    ::testing::Values(
        SwitchCase{"none", {}, true, false, false, 0},
        SwitchCase{"killWithCopy", {L"/Kill"}, true, false, true, 1},
        SwitchCase{"killAnyCase", {L"/kILL"}, true, false, true, 1},
        SwitchCase{"killWithoutCopyStartsNormally", {L"/KILL"}, false, false, false, 1},
        SwitchCase{"startAnyCase", {L"/sTaRt"}, true, true, false, 0},
        SwitchCase{"startBeforeKillStillCounts", {L"/Start", L"/Kill"}, true, true, true, 1},
        SwitchCase{"argumentsAfterAFoundKillAreNotExamined", {L"/Kill", L"/Start"}, true, false, true, 1},
        SwitchCase{"failedKillMovesOn", {L"/Kill", L"/Start", L"/Kill"}, false, true, false, 2},
        SwitchCase{"wholeArgumentOnly", {L"/Killer", L"/Start2", L"Start", L"-start"}, true, false, false, 0},
        SwitchCase{"othersIgnored", {L"foo", L"/Start", L"bar"}, true, true, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kw::app
