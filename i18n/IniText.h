#pragma once
// INI text read and edited by the rules of the Windows profile functions, for the places where the
// system's own functions are not at hand. Everything here works on memory and accepts any bytes.
//
// The rules, as the system applies them: a line ends at CR, LF or CR LF; a line "[name]" starts a
// section (text after the last ']' is ignored, a line "[" without a name is ignored); "key=value"
// lines belong to the section above them; names match without regard to case; blanks around
// names and values do not count; only the first section of a name is searched, and in it the first
// key of the name wins; a key without '=' has no value; a value ends at a NUL character.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kw::i18n::ini {

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct Document {
    std::wstring text;
    Encoding encoding = Encoding::Ansi;
};

// The byte-order mark decides: UTF-16 in either byte order and UTF-8 with a mark are decoded as
// such; anything else is 8-bit text in Windows-1252, the code page of English systems. A last odd
// byte of UTF-16 text is dropped.
Document Decode(std::span<const uint8_t> bytes);

// The file image of a text, with the encoding's byte-order mark (none for 8-bit text). Characters
// that Windows-1252 cannot hold are written as '?', as the system writes them.
std::vector<uint8_t> Encode(std::wstring_view text, Encoding encoding);

// The value of `key` in `section` as the file holds it; nothing when the section or the key is not
// there or the key has no '='.
std::optional<std::wstring> FindValue(std::wstring_view text, std::wstring_view section, std::wstring_view key);

// What a caller's buffer of `capacity` characters receives for a value found in a file: one pair of
// enclosing quotes (" or ') is removed and the text is cut to capacity - 1 characters.
std::wstring BufferText(std::wstring_view value, size_t capacity);

// Whether "key=value" can be written into "[section]" without changing the meaning of other lines:
// names must not be empty, no part may hold a line break or a NUL, a key must not hold '=' or
// begin with '['.
bool IsWritable(std::wstring_view section, std::wstring_view key, std::wstring_view value);

// The text with `key` set to `value` in `section`: the first such key is rewritten in place, a new
// key goes after the last line of the first such section, a new section goes at the end. Other
// lines, comments and blank lines stay as they were; lines end in CR LF afterwards. The caller
// checks IsWritable first.
std::wstring WithValue(std::wstring_view text, std::wstring_view section, std::wstring_view key,
                       std::wstring_view value);

}  // namespace kw::i18n::ini
