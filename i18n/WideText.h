#pragma once
// Conversions between the program's wide strings and UTF-8, and file-system paths from wide
// strings. wchar_t holds UTF-16 code units on Windows and whole code points elsewhere; both are
// handled, so nothing here depends on its size.
#include <filesystem>
#include <string>
#include <string_view>

namespace kw::i18n {

// Malformed input never fails: each bad sequence (or lone surrogate) becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

// The path a wide string names: as is on Windows, through UTF-8 elsewhere.
std::filesystem::path PathFromWide(const std::wstring& path);

}  // namespace kw::i18n
