#include <gtest/gtest.h>

#include <map>
#include <string>

#include "i18n/Language.h"
#include "model/KeyCatalogue.h"

namespace kw::model {
namespace {

// A language file in memory; a missing key reads as the empty text.
class FakeLanguage {
public:
    explicit FakeLanguage(std::map<std::wstring, std::wstring> texts) : m_texts(std::move(texts)) {}
    TextLookup Lookup() const {
        return [this](const std::wstring& key) {
            const auto it = m_texts.find(key);
            return it == m_texts.end() ? std::wstring() : it->second;
        };
    }

private:
    std::map<std::wstring, std::wstring> m_texts;
};

const FakeLanguage kLanguage({
    {L"IDS_KEYBOARD_ESC", L"Escape"},
    {L"IDS_KEYBOARD_RSHIFT", L"Right Shift"},
    {L"IDS_KEYBOARD_A", L"A"},
    {L"MEDIA_V_ADD_7", L""},  // present but empty
    {L"UNKNOWN_KEY", L"Key %04X"},
});

TEST(KeyName, NamesComeFromTheLanguageAndFallBackToTheUnknownKeyText) {
    const struct {
        KeyId id;
        const wchar_t* expected;
    } cases[] = {
        {0x001, L"Escape"},
        {0x036, L"Right Shift"},
        {0x136, L"Right Shift"},  // both Right Shift records
        {0x130, L"Key 0130"},     // the text exists but is empty
        {0x064, L"Key 0064"},     // F13 has no name id
        {0x002, L"Key 0002"},     // the name id is missing from the file
        {0x200, L"Key 0200"},     // G keys have no record
        {0x1A0, L"Key 01A0"},     // nor do ids from 0x180
        {0x000, L"Key 0000"},
    };
    for (const auto& c : cases) EXPECT_EQ(KeyNameWith(c.id, kLanguage.Lookup()), c.expected) << c.id;
}

TEST(KeyName, NameOfKeyCodeHasNoFallback) {
    EXPECT_EQ(KeyNameOfKeyCodeWith(0x0000, kLanguage.Lookup()), L"A");
    EXPECT_EQ(KeyNameOfKeyCodeWith(0x0025, kLanguage.Lookup()), L"Escape");
    EXPECT_EQ(KeyNameOfKeyCodeWith(0x802D, kLanguage.Lookup()), L"");  // F13: no name id
    EXPECT_EQ(KeyNameOfKeyCodeWith(0x006A, kLanguage.Lookup()), L"");  // no record
    EXPECT_EQ(KeyNameOfKeyCodeWith(kNoKeyCode, kLanguage.Lookup()), L"");
}

TEST(KeyName, TheUnknownKeyTextHonoursOneIntegerConversionOnly) {
    // The text comes from a file that anyone can edit: a stray conversion must not reach printf.
    const struct {
        const wchar_t* format;
        const wchar_t* expected;
    } cases[] = {
        {L"Key %04X", L"Key 0200"},
        {L"Key %d", L"Key 512"},
        {L"%#x", L"0x200"},
        {L"%-6u|", L"512   |"},
        {L"%hu", L"512"},
        {L"100%% %x", L"100% 200"},
        {L"%x %x", L"200 %x"},          // a second conversion stays text
        {L"%s", L"%s"},                 // strings are never read
        {L"%n", L"%n"},                 // nothing is written through an argument
        {L"%1$x", L"%1$x"},
        {L"%99999999d", L"%99999999d"},  // no field wider than a name may be
        {L"%.99999d", L"%.99999d"},
        {L"%", L"%"},
        {L"key %", L"key %"},
        {L"no number", L"no number"},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatWithKeyId(c.format, 0x200), c.expected) << c.format;
}

TEST(KeyName, KeyNameOfCutsToTheCapacityAndTerminates) {
    const std::wstring whole =
        KeyNameWith(0x001, [](const std::wstring& key) { return kw::i18n::LangText(key, kw::i18n::CurrentLanguageIndex()); });
    ASSERT_FALSE(whole.empty());
    for (std::size_t capacity : {std::size_t{1}, std::size_t{2}, std::size_t{4}, kKeyNameCapacity}) {
        std::wstring buffer(capacity + 4, L'#');
        KeyNameOf(0x001, buffer.data(), capacity);
        const std::size_t n = std::min(whole.size(), capacity - 1);
        EXPECT_EQ(buffer.substr(0, n), whole.substr(0, n)) << capacity;
        EXPECT_EQ(buffer[n], L'\0') << capacity;
        EXPECT_EQ(buffer.substr(capacity), L"####") << capacity;  // nothing past the capacity
    }
    wchar_t untouched = L'#';
    KeyNameOf(0x001, &untouched, 0);
    EXPECT_EQ(untouched, L'#');
    KeyNameOf(0x001, nullptr, 10);
}

}  // namespace
}  // namespace kw::model
