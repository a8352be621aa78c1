#pragma once
// Putting a name or a number into a language text. Language texts are never used as printf
// formats: a stray "%s" or "%n" in a language file would read or write arbitrary memory. Only the
// one placeholder a caller expects is replaced, everything else in the text is shown as written.
//
// The language files use "%s" for a name or a path and "%d" for a number.
#include <concepts>
#include <string>
#include <string_view>

namespace kw::i18n {

inline constexpr std::wstring_view kNamePlaceholder = L"%s";
inline constexpr std::wstring_view kNumberPlaceholder = L"%d";

// Every occurrence of `placeholder` in `text` becomes `argument`; the argument itself is not
// searched again. An empty placeholder leaves the text as it is.
std::wstring FormatText(std::wstring_view text, std::wstring_view placeholder, std::wstring_view argument);

// The same with a number in decimal.
template <std::integral Number>
    requires(!std::same_as<Number, bool> && !std::same_as<Number, wchar_t> && !std::same_as<Number, char>)
std::wstring FormatText(std::wstring_view text, std::wstring_view placeholder, Number number) {
    return FormatText(text, placeholder, std::wstring_view(std::to_wstring(number)));
}

}  // namespace kw::i18n
