// Reading and writing INI files by the rules of the Windows profile functions. Every case runs
// against each implementation the platform has (under Windows the system's own functions as well),
// so the program's own reader is shown to agree with the system.
#include "IniImplementations.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw::i18n::test {
namespace {

using namespace std::string_literals;

const std::wstring kFallback = L"#Error";

class IniFilesTest : public testing::TestWithParam<IniImplementation> {
protected:
    std::unique_ptr<IniFiles> files = GetParam().make();
    TempFolder folder;
};

struct ReadCase {
    const char* what;
    std::string bytes;
    std::wstring section, key;
    size_t capacity;
    std::wstring expected;
};

const std::vector<ReadCase>& ReadCases() {
    static const std::vector<ReadCase> cases = {
        {"plain value", "[TEXT]\r\nMAIN_CAPTION=Keyweave\r\n", L"TEXT", L"MAIN_CAPTION", 260, L"Keyweave"},
        {"names ignore case", "[Text]\r\nMain_Caption=x\r\n", L"TEXT", L"main_caption", 260, L"x"},
        {"first of two equal keys", "[T]\r\nk=first\r\nK=second\r\n", L"T", L"k", 260, L"first"},
        {"only the first section of a name is searched", "[T]\r\na=1\r\n[t]\r\nb=2\r\n", L"T", L"b", 260, kFallback},
        {"key of another section", "[A]\r\nk=a\r\n[B]\r\nk=b\r\n", L"B", L"k", 260, L"b"},
        {"blanks around names and values", "  [ T ]  \r\n \t k \t= \t v w \t\r\n", L"T", L"k", 260, L"v w"},
        {"blanks around the asked names", "[T]\r\nk=v\r\n", L" T ", L" k ", 260, L"v"},
        {"enclosing double quotes go, inner blanks stay", "[T]\r\nk=\"  a b  \"\r\n", L"T", L"k", 260, L"  a b  "},
        {"enclosing single quotes go", "[T]\r\nk='a'\r\n", L"T", L"k", 260, L"a"},
        {"unmatched quotes stay", "[T]\r\nk=\"a'\r\n", L"T", L"k", 260, L"\"a'"},
        {"a lone quote stays", "[T]\r\nk=\"\r\n", L"T", L"k", 260, L"\""},
        {"empty quotes give empty text", "[T]\r\nk=\"\"\r\n", L"T", L"k", 260, L""},
        {"empty value is empty, not the fallback", "[T]\r\nk=\r\n", L"T", L"k", 260, L""},
        {"a key without '=' has no value", "[T]\r\nk\r\n", L"T", L"k", 260, kFallback},
        {"missing key", "[T]\r\nk=v\r\n", L"T", L"other", 260, kFallback},
        {"missing section", "[T]\r\nk=v\r\n", L"U", L"k", 260, kFallback},
        {"value keeps later '='", "[T]\r\nk = a = b\r\n", L"T", L"k", 260, L"a = b"},
        {"value cut to capacity - 1", "[T]\r\nk="s + std::string(300, 'x') + "\r\n", L"T", L"k", 260,
         std::wstring(259, L'x')},
        {"small buffer", "[T]\r\nk=abcdef\r\n", L"T", L"k", 4, L"abc"},
        {"fallback cut too", "", L"T", L"k", 3, L"#E"},
        {"LF and CR line ends", "[T]\nk1=1\nk2=2\rk3=3\r", L"T", L"k3", 260, L"3"},
        {"no line end at the end", "[T]\r\nk=v", L"T", L"k", 260, L"v"},
        {"a NUL ends the value", "[T]\r\nk=a\0b\r\n"s, L"T", L"k", 260, L"a"},
        {"text after ']' is ignored", "[T] note\r\nk=v\r\n", L"T", L"k", 260, L"v"},
        {"a broken header line is ignored", "[T]\r\n[broken\r\nk=v\r\n", L"T", L"k", 260, L"v"},
        {"lines above the first header belong to no section", "k=v\r\n[T]\r\n", L"T", L"k", 260, kFallback},
        {"UTF-16 LE with byte-order mark", "\xFF\xFE[\0T\0]\0\r\0\n\0k\0=\0\xE9\0\x2D\x4E\x01\xD8\x37\xDC\r\0\n\0"s,
         L"T", L"k", 260, L"\u00E9\u4E2D\U00010437"},
        {"UTF-16 BE with byte-order mark", "\xFE\xFF\0[\0T\0]\0\n\0k\0=\0\xE9"s, L"T", L"k", 260, L"\u00E9"},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF[T]\r\nk=\xC3\xA9\xE2\x82\xAC\r\n", L"T", L"k", 260,
         L"\u00E9\u20AC"},
        {"8-bit text is Windows-1252", "[T]\r\nk=\xE9\x80\x9F\r\n", L"T", L"k", 260, L"\u00E9\u20AC\u0178"},
        {"names ignore the case of A to Z", "[T]\r\n\xC9t\xE9=v\r\n", L"t", L"\u00C9T\u00E9", 260, L"v"},
        {"other letters match only as written", "[T]\r\n\xC9t\xE9=v\r\n", L"T", L"\u00E9t\u00E9", 260, kFallback},
    };
    return cases;
}

TEST_P(IniFilesTest, ReadsAsTheSystemDoes) {
    for (const ReadCase& c : ReadCases()) {
        SCOPED_TRACE(c.what);
        const std::wstring path = folder.File(L"case.ini");
        TempFolder::Write(path, c.bytes);
        EXPECT_EQ(files->ReadString(path, c.section, c.key, kFallback, c.capacity), c.expected);
    }
}

TEST_P(IniFilesTest, MissingFileGivesTheFallback) {
    EXPECT_EQ(files->ReadString(folder.File(L"none.ini"), L"T", L"k", kFallback, 260), kFallback);
    EXPECT_EQ(files->ReadString(folder.File(L"none\\none.ini"), L"T", L"k", kFallback, 260), kFallback);
}

TEST_P(IniFilesTest, ReadsTheFileAfreshEachTime) {
    const std::wstring path = folder.File(L"fresh.ini");
    TempFolder::Write(path, "[T]\r\nk=old\r\n");
    ASSERT_EQ(files->ReadString(path, L"T", L"k", kFallback, 260), L"old");
    TempFolder::Write(path, "[T]\r\nk=new text\r\n");
    EXPECT_EQ(files->ReadString(path, L"T", L"k", kFallback, 260), L"new text");
}

struct Write {
    std::wstring section, key, value;
};
struct Read {
    std::wstring section, key, expected;
};
struct WriteCase {
    const char* what;
    std::string initial;  // empty: no file
    std::vector<Write> writes;
    std::vector<Read> reads;
};

const std::vector<WriteCase>& WriteCases() {
    static const std::vector<WriteCase> cases = {
        {"new file", "", {{L"S", L"k", L"v\u00E9"}}, {{L"S", L"k", L"v\u00E9"}}},
        {"replace a key, whatever its case",
         "[S]\r\nKey=old\r\nother=1\r\n",
         {{L"s", L"KEY", L"new"}},
         {{L"S", L"key", L"new"}, {L"S", L"other", L"1"}}},
        {"add a key to the first section of the name, not to a later one",
         "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n",
         {{L"A", L"n", L"2"}},
         {{L"A", L"n", L"2"}, {L"A", L"a", L"1"}, {L"B", L"n", L"#Error"}, {L"B", L"b", L"1"}}},
        {"add a section", "[A]\r\na=1\r\n", {{L"B", L"b", L"2"}}, {{L"A", L"a", L"1"}, {L"B", L"b", L"2"}}},
        {"write twice, read the last", "", {{L"S", L"k", L"1"}, {L"S", L"k", L"2"}}, {{L"S", L"k", L"2"}}},
        {"a UTF-16 file keeps characters beyond 8 bits",
         "\xFF\xFE[\0S\0]\0\r\0\n\0"s,
         {{L"S", L"k", L"\u4E2D\u6587"}},
         {{L"S", L"k", L"\u4E2D\u6587"}}},
        {"several keys and sections",
         "",
         {{L"Mode0", L"tool", L"1"}, {L"Mode0", L"64", L"0,128,255,1"}, {L"Mode1", L"tool", L"0"}},
         {{L"Mode0", L"tool", L"1"}, {L"Mode0", L"64", L"0,128,255,1"}, {L"Mode1", L"tool", L"0"}}},
    };
    return cases;
}

TEST_P(IniFilesTest, WritesWhatItReadsBack) {
    for (const WriteCase& c : WriteCases()) {
        SCOPED_TRACE(c.what);
        TempFolder own;
        const std::wstring path = own.File(L"w.ini");
        if (!c.initial.empty()) TempFolder::Write(path, c.initial);
        for (const Write& w : c.writes) EXPECT_TRUE(files->WriteString(path, w.section, w.key, w.value));
        for (const Read& r : c.reads) EXPECT_EQ(files->ReadString(path, r.section, r.key, kFallback, 260), r.expected);
    }
}

TEST_P(IniFilesTest, RefusesWritesThatWouldChangeOtherLines) {
    struct Refused {
        const char* what;
        Write write;
    };
    const std::vector<Refused> refused = {
        {"line break in the value", {L"S", L"k", L"v\r\n[S]\r\nx=injected"}},
        {"LF in the value", {L"S", L"k", L"v\nx=injected"}},
        {"'=' in the key", {L"S", L"x=injected", L"v"}},
        {"key that reads as a header", {L"S", L"[T]", L"v"}},
        {"line break in the section", {L"S]\r\nx=injected\r\n[S", L"k", L"v"}},
        {"empty key", {L"S", L"  ", L"v"}},
        {"empty section", {L"", L"k", L"v"}},
    };
    const std::wstring path = folder.File(L"r.ini");
    const std::string before = "[S]\r\nk=kept\r\n";
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.what);
        TempFolder::Write(path, before);
        EXPECT_FALSE(files->WriteString(path, r.write.section, r.write.key, r.write.value));
        EXPECT_EQ(TempFolder::Read(path), before);
    }
}

TEST_P(IniFilesTest, WriteIntoAMissingFolderFails) {
    EXPECT_FALSE(files->WriteString(folder.File(L"missing/w.ini"), L"S", L"k", L"v"));
}

INSTANTIATE_TEST_SUITE_P(Each, IniFilesTest, testing::ValuesIn(IniImplementations()), ImplementationName);

}  // namespace
}  // namespace kw::i18n::test
