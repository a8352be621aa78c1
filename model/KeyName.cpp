// Localised key names, looked up afresh on every call so that a language change shows at once.
#include <algorithm>
#include <cstdio>

#include "i18n/Language.h"
#include "model/KeyCatalogue.h"

namespace kw::model {
namespace {

constexpr wchar_t kUnknownKey[] = L"UNKNOWN_KEY";
constexpr int kLargestField = 64;  // width or precision honoured in a language text

std::wstring CurrentLanguageText(const std::wstring& key) {
    return kw::i18n::LangText(key, kw::i18n::CurrentLanguageIndex());
}

bool IsFlag(wchar_t c) { return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0'; }

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads digits at pos into value; false when the number is larger than a field may be.
bool ReadNumber(std::wstring_view text, std::size_t& pos, int& value) {
    value = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        value = value * 10 + (text[pos] - L'0');
        if (value > kLargestField) return false;
        ++pos;
    }
    return true;
}

// One integer conversion starting at the '%' at pos. On success appends the formatted id and
// moves pos past the conversion.
bool FormatConversion(std::wstring_view text, std::size_t& pos, unsigned id, std::wstring& out) {
    std::string conversionText = "%";
    std::size_t p = pos + 1;
    while (p < text.size() && IsFlag(text[p])) conversionText += static_cast<char>(text[p++]);
    int width = 0;
    const std::size_t widthStart = p;
    if (!ReadNumber(text, p, width)) return false;
    if (p > widthStart) conversionText += std::to_string(width);
    if (p < text.size() && text[p] == L'.') {
        ++p;
        int precision = 0;
        if (!ReadNumber(text, p, precision)) return false;
        conversionText += '.';
        conversionText += std::to_string(precision);
    }
    // Length modifiers change nothing for a 16-bit id passed as an int.
    while (p < text.size() && (text[p] == L'h' || text[p] == L'l')) ++p;
    if (p >= text.size()) return false;
    const wchar_t conversion = text[p];
    if (std::wstring_view(L"diuxXo").find(conversion) == std::wstring_view::npos) return false;
    conversionText += static_cast<char>(conversion);
    char number[2 * kLargestField + 8];
    const int n = std::snprintf(number, sizeof number, conversionText.c_str(), id);
    if (n < 0) return false;
    out.append(number, number + std::min<std::size_t>(static_cast<std::size_t>(n), sizeof number - 1));
    pos = p + 1;
    return true;
}

}  // namespace

std::wstring FormatWithKeyId(std::wstring_view format, KeyId id) {
    std::wstring out;
    bool used = false;
    std::size_t pos = 0;
    while (pos < format.size()) {
        const wchar_t c = format[pos];
        if (c != L'%') {
            out += c;
            ++pos;
        } else if (pos + 1 < format.size() && format[pos + 1] == L'%') {
            out += L'%';
            pos += 2;
        } else if (!used && FormatConversion(format, pos, id, out)) {
            used = true;
        } else {
            out += c;
            ++pos;
        }
    }
    return out;
}

std::wstring KeyNameWith(KeyId id, const TextLookup& lookup) {
    const KeyInfo& record = KeyRecordOf(id);
    std::wstring name;
    if (!record.nameId.empty()) name = lookup(std::wstring(record.nameId));
    if (name.empty()) name = FormatWithKeyId(lookup(kUnknownKey), id);
    return name;
}

void KeyNameOf(KeyId id, wchar_t* buffer, std::size_t capacity) {
    if (buffer == nullptr || capacity == 0) return;
    const std::wstring name = KeyNameWith(id, CurrentLanguageText);
    const std::size_t n = std::min(name.size(), capacity - 1);
    std::copy_n(name.begin(), n, buffer);
    buffer[n] = L'\0';
}

std::wstring KeyNameOfKeyCodeWith(std::uint16_t keyCode, const TextLookup& lookup) {
    const KeyId id = KeyIdOfKeyCode(keyCode);
    if (id == 0) return {};
    const KeyInfo& record = KeyRecordOf(id);
    if (record.nameId.empty()) return {};
    return lookup(std::wstring(record.nameId));
}

std::wstring KeyNameOfKeyCode(std::uint16_t keyCode) { return KeyNameOfKeyCodeWith(keyCode, CurrentLanguageText); }

}  // namespace kw::model
