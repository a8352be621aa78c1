#include "i18n/IniText.h"

#include "i18n/TextCase.h"
#include "i18n/WideText.h"

#include <array>

namespace kw::i18n::ini {

namespace {

// Windows-1252 bytes 0x80-0x9F; the five bytes the code page leaves open map to the same value,
// as the system maps them.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsBlank(wchar_t c) { return c == L' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A; }

std::wstring_view TrimLeft(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}
std::wstring_view TrimRight(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}
std::wstring_view Trim(std::wstring_view s) { return TrimRight(TrimLeft(s)); }

// The system keeps names and values as C strings: whatever follows a NUL is not seen.
std::wstring_view UpToNul(std::wstring_view s) {
    const size_t nul = s.find(L'\0');
    return nul == std::wstring_view::npos ? s : s.substr(0, nul);
}

bool NamesMatch(std::wstring_view inFile, std::wstring_view wanted) {
    return EqualsIgnoringCase(UpToNul(inFile), Trim(UpToNul(wanted)));
}

std::wstring DecodeUtf16(std::span<const uint8_t> bytes, bool littleEndian) {
    std::wstring out;
    out.reserve(bytes.size() / 2);
    const auto unitAt = [&](size_t i) -> char32_t {
        return littleEndian ? static_cast<char32_t>(bytes[i] | (bytes[i + 1] << 8))
                            : static_cast<char32_t>((bytes[i] << 8) | bytes[i + 1]);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unitAt(i);
        if constexpr (sizeof(wchar_t) != 2) {
            // Code points go whole into a 32-bit wchar_t; a lone surrogate stays as it is.
            if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
                const char32_t low = unitAt(i + 2);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
            }
        }
        out += static_cast<wchar_t>(c);
    }
    return out;
}

std::wstring DecodeCp1252(std::span<const uint8_t> bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (const uint8_t b : bytes)
        out += (b >= 0x80 && b <= 0x9F) ? static_cast<wchar_t>(kCp1252High[b - 0x80]) : static_cast<wchar_t>(b);
    return out;
}

// Code points of a wide text, whatever the width of wchar_t; a lone surrogate passes as it is.
template <class F>
void ForEachCodePoint(std::wstring_view text, F&& f) {
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
        f(c);
    }
}

void PutUtf16(std::vector<uint8_t>& out, char32_t unit, bool littleEndian) {
    const auto lo = static_cast<uint8_t>(unit & 0xFF), hi = static_cast<uint8_t>((unit >> 8) & 0xFF);
    out.push_back(littleEndian ? lo : hi);
    out.push_back(littleEndian ? hi : lo);
}

uint8_t Cp1252ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<uint8_t>(c);
    for (size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] == c) return static_cast<uint8_t>(0x80 + i);
    return '?';
}

// One line of INI text, classified.
struct Line {
    enum Kind { Blank, Section, Entry, Ignored } kind = Blank;
    std::wstring_view name;                  // section or key name, trimmed
    std::optional<std::wstring_view> value;  // entries with '=' only
};

Line Classify(std::wstring_view raw) {
    const std::wstring_view t = Trim(raw);
    Line line;
    if (t.empty()) return line;
    if (t.front() == L'[') {
        const size_t close = t.rfind(L']');
        if (close == std::wstring_view::npos || close < 2) {
            line.kind = Line::Ignored;
        } else {
            line.kind = Line::Section;
            line.name = Trim(t.substr(1, close - 1));
        }
        return line;
    }
    line.kind = Line::Entry;
    const size_t eq = t.find(L'=');
    if (eq == std::wstring_view::npos) {
        line.name = t;
    } else {
        line.name = TrimRight(t.substr(0, eq));
        line.value = TrimLeft(t.substr(eq + 1));
    }
    return line;
}

// Calls f(line) for every line of the text; a line ends at CR LF, CR or LF.
template <class F>
void ForEachLine(std::wstring_view text, F&& f) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != L'\r' && text[end] != L'\n') ++end;
        if (!f(text.substr(start, end - start))) return;
        if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ++end;
        start = end + 1;
    }
}

bool HasLineBreakOrNul(std::wstring_view s) {
    return s.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring_view::npos;
}

}  // namespace

Document Decode(std::span<const uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return {DecodeUtf16(bytes.subspan(2), true), Encoding::Utf16Le};
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return {DecodeUtf16(bytes.subspan(2), false), Encoding::Utf16Be};
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return {WideFromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()) + 3, bytes.size() - 3)),
                Encoding::Utf8};
    return {DecodeCp1252(bytes), Encoding::Ansi};
}

std::vector<uint8_t> Encode(std::wstring_view text, Encoding encoding) {
    std::vector<uint8_t> out;
    switch (encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const bool le = encoding == Encoding::Utf16Le;
        out.reserve(2 + text.size() * 2);
        PutUtf16(out, 0xFEFF, le);
        ForEachCodePoint(text, [&](char32_t c) {
            if (c >= 0x10000 && c <= 0x10FFFF) {
                c -= 0x10000;
                PutUtf16(out, 0xD800 + (c >> 10), le);
                PutUtf16(out, 0xDC00 + (c & 0x3FF), le);
            } else {
                PutUtf16(out, c > 0x10FFFF ? 0xFFFD : c, le);
            }
        });
        break;
    }
    case Encoding::Utf8: {
        const std::string utf8 = Utf8FromWide(text);
        out = {0xEF, 0xBB, 0xBF};
        out.insert(out.end(), utf8.begin(), utf8.end());
        break;
    }
    case Encoding::Ansi:
        out.reserve(text.size());
        ForEachCodePoint(text, [&](char32_t c) { out.push_back(Cp1252ByteOf(c)); });
        break;
    }
    return out;
}

std::optional<std::wstring> FindValue(std::wstring_view text, std::wstring_view section, std::wstring_view key) {
    // Lines above the first section header form a section without a name.
    bool inWanted = NamesMatch(L"", section);
    std::optional<std::wstring> found;
    ForEachLine(text, [&](std::wstring_view raw) {
        const Line line = Classify(raw);
        if (line.kind == Line::Section) {
            if (inWanted) return false;  // later sections of the same name are not searched
            inWanted = NamesMatch(line.name, section);
            return true;
        }
        if (line.kind != Line::Entry || !inWanted || !NamesMatch(line.name, key)) return true;
        if (line.value) found = std::wstring(UpToNul(*line.value));
        return false;
    });
    return found;
}

std::wstring BufferText(std::wstring_view value, size_t capacity) {
    if (capacity == 0) return {};
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::wstring(value.substr(0, capacity - 1));
}

bool IsWritable(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    if (Trim(section).empty() || Trim(key).empty()) return false;
    if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value)) return false;
    return key.find(L'=') == std::wstring_view::npos && Trim(key).front() != L'[';
}

std::wstring WithValue(std::wstring_view text, std::wstring_view section, std::wstring_view key,
                       std::wstring_view value) {
    std::vector<std::wstring_view> lines;
    ForEachLine(text, [&](std::wstring_view raw) {
        lines.push_back(raw);
        return true;
    });

    const std::wstring_view wantedSection = Trim(section), wantedKey = Trim(key);
    std::vector<std::wstring> out(lines.begin(), lines.end());
    size_t header = lines.size();
    for (size_t i = 0; i < lines.size() && header == lines.size(); ++i) {
        const Line line = Classify(lines[i]);
        if (line.kind == Line::Section && NamesMatch(line.name, wantedSection)) header = i;
    }

    const std::wstring newEntry = std::wstring(wantedKey) + L"=" + std::wstring(value);
    if (header == lines.size()) {
        out.push_back(L"[" + std::wstring(wantedSection) + L"]");
        out.push_back(newEntry);
    } else {
        size_t end = header + 1;
        bool replaced = false;
        for (; end < lines.size(); ++end) {
            const Line line = Classify(lines[end]);
            if (line.kind == Line::Section) break;
            if (!replaced && line.kind == Line::Entry && NamesMatch(line.name, wantedKey)) {
                // The file's own spelling of the key stays.
                out[end] = std::wstring(UpToNul(line.name)) + L"=" + std::wstring(value);
                replaced = true;
            }
        }
        if (!replaced) {
            size_t at = end;
            while (at > header + 1 && Classify(lines[at - 1]).kind == Line::Blank) --at;
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), newEntry);
        }
    }

    std::wstring result;
    for (const std::wstring& line : out) {
        result += line;
        result += L"\r\n";
    }
    return result;
}

}  // namespace kw::i18n::ini
