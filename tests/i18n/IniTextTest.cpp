// The program's own INI editing: what the shared read and write cases cannot show because the
// system rewrites files in its own layout.
#include "i18n/IniText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw::i18n::ini {
namespace {

TEST(IniTextTest, EditingKeepsCommentsBlankLinesAndTheKeysSpelling) {
    const std::wstring before = L"; user colours\n[Mode0]\nTool = 0\n\n; next mode\n[Mode1]\ntool=1\n";
    EXPECT_EQ(WithValue(before, L"mode0", L"tool", L"1"),
              L"; user colours\r\n[Mode0]\r\nTool=1\r\n\r\n; next mode\r\n[Mode1]\r\ntool=1\r\n");
    // A new key goes after the section's last line, before the blank line that ends it.
    EXPECT_EQ(WithValue(L"[A]\r\na=1\r\n\r\n[B]\r\n", L"A", L"b", L"2"), L"[A]\r\na=1\r\nb=2\r\n\r\n[B]\r\n");
}

TEST(IniTextTest, EachEncodingRoundTrips) {
    const std::wstring text = L"[S]\r\nk=\u00E9\u20AC\u4E2D\U0001F600\r\n";
    for (const Encoding e : {Encoding::Utf16Le, Encoding::Utf16Be, Encoding::Utf8}) {
        const std::vector<uint8_t> image = Encode(text, e);
        const Document back = Decode(image);
        EXPECT_EQ(back.encoding, e);
        EXPECT_EQ(back.text, text);
    }
    // 8-bit text keeps what Windows-1252 holds and writes '?' for the rest, as the system does.
    const Document ansi = Decode(Encode(text, Encoding::Ansi));
    EXPECT_EQ(ansi.encoding, Encoding::Ansi);
    EXPECT_EQ(ansi.text, L"[S]\r\nk=\u00E9\u20AC??\r\n");
}

TEST(IniTextTest, LoneSurrogatesAndBrokenUtf8DoNotStopDecoding) {
    const std::vector<uint8_t> utf16 = {0xFF, 0xFE, 0x00, 0xD8, 'a', 0, 0x37, 0xDC, 'b', 0};
    const std::wstring decoded = Decode(utf16).text;
    ASSERT_EQ(decoded.size(), 4u);
    EXPECT_EQ(decoded[1], L'a');
    EXPECT_EQ(decoded[3], L'b');

    const std::vector<uint8_t> utf8 = {0xEF, 0xBB, 0xBF, 'a', 0xC3, 'b', 0xF8, 0xE2, 0x82};
    EXPECT_EQ(Decode(utf8).text, L"a\uFFFDb\uFFFD\uFFFD");
}

}  // namespace
}  // namespace kw::i18n::ini
