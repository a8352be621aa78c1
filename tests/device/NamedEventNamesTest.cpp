#include "device/NamedEventNames.h"

#include <gtest/gtest.h>

#include <set>

namespace kw::device {
namespace {

TEST(NamedEventNamesTest, AtLeastTwoDigitsAndNoNamespacePrefix) {
    const std::pair<int, const wchar_t*> cases[] = {
        {1, L"Keyweave_Event_Main_01"},   {7, L"Keyweave_Event_Main_07"},   {10, L"Keyweave_Event_Main_10"},
        {99, L"Keyweave_Event_Main_99"},  {100, L"Keyweave_Event_Main_100"}, {212, L"Keyweave_Event_Main_212"},
    };
    for (const auto& [n, name] : cases) EXPECT_EQ(NamedEventName(n), name) << n;
}

TEST(NamedEventNamesTest, AllTwoHundredTwelveAreDistinct) {
    std::set<std::wstring> names;
    for (int n = 1; n <= kNamedEventCount; ++n) names.insert(NamedEventName(n));
    EXPECT_EQ(names.size(), 212u);
}

}  // namespace
}  // namespace kw::device
