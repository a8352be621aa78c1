#pragma once
// What a hyperlink may open, and what it tells the owner when opening fails.
#include <string>
#include <string_view>

namespace kw::skin {

// Only web addresses are opened: "http://" or "https://" (any letter case) followed by a host,
// with no blanks, quotes or control characters anywhere. Blanks around the address are ignored.
// Anything else (a program path, a "file:" or "javascript:" address, a command line) is refused.
bool IsWebAddress(std::wstring_view address);
// The address without the blanks around it.
std::wstring_view TrimAddress(std::wstring_view address);

// The shell's error code for an address that was refused without asking the shell.
inline constexpr int kRefusedAddressCode = 5;

// "Unable to open hyperlink:\n\n" followed by the text for the shell's error code.
std::wstring HyperlinkFailureText(int code);

}  // namespace kw::skin
