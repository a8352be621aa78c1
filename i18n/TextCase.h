#pragma once
// Names in INI files and in the registry are matched without regard to the case of the letters A
// to Z, as the system's profile functions match them; other letters match only as written.
#include <string_view>

namespace kw::i18n {

constexpr wchar_t FoldCase(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + (L'a' - L'A'));
    return c;
}

constexpr bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

// A strict weak order for maps keyed by such names.
struct LessIgnoringCase {
    bool operator()(std::wstring_view a, std::wstring_view b) const {
        const size_t n = a.size() < b.size() ? a.size() : b.size();
        for (size_t i = 0; i < n; ++i) {
            const wchar_t x = FoldCase(a[i]), y = FoldCase(b[i]);
            if (x != y) return x < y;
        }
        return a.size() < b.size();
    }
};

}  // namespace kw::i18n
