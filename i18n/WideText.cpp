#include "i18n/WideText.h"

#include <cstdint>

namespace kw::i18n {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || IsSurrogate(c)) c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendWide(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

}  // namespace

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t lead = static_cast<uint8_t>(text[i]);
        int length = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            length = 1, c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, c = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, c = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, c = lead & 0x07, least = 0x10000;
        } else {
            AppendWide(out, kReplacement);
            ++i;
            continue;
        }
        int taken = 1;
        while (taken < length && i + taken < text.size() &&
               (static_cast<uint8_t>(text[i + taken]) & 0xC0) == 0x80) {
            c = (c << 6) | (static_cast<uint8_t>(text[i + taken]) & 0x3F);
            ++taken;
        }
        // Short, overlong or out-of-range sequences are one bad character each.
        if (taken < length || c < least || c > 0x10FFFF || IsSurrogate(c)) c = kReplacement;
        AppendWide(out, c);
        i += static_cast<size_t>(taken);
    }
    return out;
}

std::filesystem::path PathFromWide(const std::wstring& path) {
#ifdef _WIN32
    return std::filesystem::path(path);
#else
    const std::string utf8 = Utf8FromWide(path);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#endif
}

}  // namespace kw::i18n
