#include "skin/HyperlinkText.h"

#include <array>
#include <cwctype>

namespace kw::skin {

namespace {

struct ErrorText {
    int code;
    const wchar_t* text;
};

constexpr std::array<ErrorText, 13> kErrorTexts = {{
    {0, L"The operating system is out\nof memory or resources."},
    {2, L"The specified file was not found."},
    {3, L"The specified path was not found."},
    {5, L"The operating system denied\naccess to the specified file."},
    {8, L"There was not enough memory to complete the operation."},
    {11, L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, L"A sharing violation occurred. "},
    {27, L"The filename association is\nincomplete or invalid."},
    {28, L"The DDE transaction could not\nbe completed because the request timed out."},
    {29, L"The DDE transaction failed."},
    {30, L"The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, L"There is no application associated\nwith the given filename extension."},
    {32, L"The specified dynamic-link library was not found."},
}};

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::towlower(static_cast<wint_t>(text[i])) != static_cast<wint_t>(prefix[i])) return false;
    }
    return true;
}

}  // namespace

std::wstring_view TrimAddress(std::wstring_view address) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
    while (!address.empty() && blank(address.front())) address.remove_prefix(1);
    while (!address.empty() && blank(address.back())) address.remove_suffix(1);
    return address;
}

bool IsWebAddress(std::wstring_view address) {
    address = TrimAddress(address);
    size_t hostStart = 0;
    if (StartsWithNoCase(address, L"https://")) {
        hostStart = 8;
    } else if (StartsWithNoCase(address, L"http://")) {
        hostStart = 7;
    } else {
        return false;
    }
    if (address.size() <= hostStart || address[hostStart] == L'/') return false;
    for (wchar_t c : address) {
        if (c < 0x20 || c == 0x7F || c == L' ' || c == L'"' || c == L'\\') return false;
    }
    return true;
}

std::wstring HyperlinkFailureText(int code) {
    std::wstring text = L"Unable to open hyperlink:\n\n";
    for (const ErrorText& row : kErrorTexts) {
        if (row.code == code) return text + row.text;
    }
    return text + L"Unknown Error (" + std::to_wstring(code) + L") occurred.";
}

}  // namespace kw::skin
