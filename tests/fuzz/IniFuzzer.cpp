// INI files as anyone could have left them beside the program: decoding and looking a key up must
// stay inside the bytes and end, whatever they are; every encoding must give back what it was given;
// and a key written into the text must read back as written.
#include "i18n/IniText.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

namespace {

using namespace kw::i18n::ini;

void Require(bool condition) {
    if (!condition) std::abort();
}

constexpr std::wstring_view kSections[] = {L"TEXT", L"LIGHT", L"MODE", L"Mode0", L"S"};
constexpr std::wstring_view kKeys[] = {L"MAIN_CAPTION", L"12", L"Usb", L"tool", L"k"};

bool IsBlank(wchar_t c) { return c == L' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A; }

std::wstring Trimmed(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return std::wstring(s);
}

// Takes up to `count` bytes as Latin-1 characters.
std::wstring TakeName(std::span<const uint8_t>& data, size_t count) {
    std::wstring name;
    while (count-- > 0 && !data.empty()) {
        name += static_cast<wchar_t>(data.front());
        data = data.subspan(1);
    }
    return name;
}

}  // namespace

// Input: a mode byte, then either two indexes into the tables of names above or two lengths and the
// names themselves, then one byte for the buffer size, then the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::span<const uint8_t> data(bytes, size);
    if (data.size() < 4) return 0;
    const uint8_t mode = data[0];
    std::wstring section, key;
    if (mode & 1) {
        const size_t sectionLength = data[1] % 16, keyLength = data[2] % 16;
        data = data.subspan(3);
        section = TakeName(data, sectionLength);
        key = TakeName(data, keyLength);
    } else {
        section = std::wstring(kSections[data[1] % std::size(kSections)]);
        key = std::wstring(kKeys[data[2] % std::size(kKeys)]);
        data = data.subspan(3);
    }
    if (data.empty()) return 0;
    const size_t capacity = data[0];
    data = data.subspan(1);

    const Document document = Decode(data);
    const auto value = FindValue(document.text, section, key);
    if (value) Require(BufferText(*value, capacity).size() < (capacity == 0 ? 1 : capacity));

    for (const Encoding e : {Encoding::Utf16Le, Encoding::Utf16Be}) {
        const Document again = Decode(Encode(document.text, e));
        Require(again.encoding == e && again.text == document.text);
    }
    const std::wstring ansi = Decode(Encode(document.text, Encoding::Ansi)).text;
    Require(Decode(Encode(ansi, Encoding::Ansi)).text == ansi);

    // The value written is the start of the file's own text, so writes meet every kind of line.
    const std::wstring written = document.text.substr(0, mode >> 2);
    if (IsWritable(section, key, written)) {
        const std::wstring edited = WithValue(document.text, section, key, written);
        const auto back = FindValue(edited, section, key);
        Require(back.has_value() && *back == Trimmed(written));
    }
    return 0;
}
