// Names and numbers go into language texts without the texts ever being used as printf formats.
#include "i18n/TextFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw::i18n {
namespace {

TEST(TextFormatTest, ReplacesOnlyTheExpectedPlaceholder) {
    struct Case {
        const wchar_t* text;
        const wchar_t* placeholder;
        const wchar_t* argument;
        const wchar_t* expected;
    };
    const std::vector<Case> cases = {
        {L"The file %s is not a profile file.", L"%s", L"C:\\a.kwp", L"The file C:\\a.kwp is not a profile file."},
        {L"%s", L"%s", L"x", L"x"},
        {L"no placeholder", L"%s", L"x", L"no placeholder"},
        {L"%s and %s", L"%s", L"x", L"x and x"},
        // Stray printf directives are shown as written, never interpreted.
        {L"%n%x%p %s %d %%", L"%s", L"name", L"%n%x%p name %d %%"},
        // The argument is not searched again, so a name holding "%s" stays as it is.
        {L"[%s]", L"%s", L"%s%s", L"[%s%s]"},
        {L"%", L"%s", L"x", L"%"},
        {L"abc", L"", L"x", L"abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text);
        EXPECT_EQ(FormatText(c.text, c.placeholder, c.argument), c.expected);
    }
}

TEST(TextFormatTest, PutsNumbersInDecimal) {
    EXPECT_EQ(FormatText(L"At most %d macros.", kNumberPlaceholder, 100), L"At most 100 macros.");
    EXPECT_EQ(FormatText(L"%d ms", kNumberPlaceholder, 40000u), L"40000 ms");
    EXPECT_EQ(FormatText(L"Key %d", kNumberPlaceholder, static_cast<uint16_t>(0xFFFF)), L"Key 65535");
    EXPECT_EQ(FormatText(L"%d", kNumberPlaceholder, -1), L"-1");
    EXPECT_EQ(FormatText(L"%s %d", kNumberPlaceholder, 7), L"%s 7");
}

}  // namespace
}  // namespace kw::i18n
