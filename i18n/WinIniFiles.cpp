#include "i18n/WinIniFiles.h"

#include <windows.h>

#include <vector>

namespace kw::i18n {

std::wstring WinIniFiles::Read(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                               const std::wstring& fallback, size_t capacity) const {
    std::vector<wchar_t> buffer(capacity, L'\0');
    const DWORD n = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                               static_cast<DWORD>(buffer.size()), path.c_str());
    return std::wstring(buffer.data(), n < buffer.size() ? n : buffer.size() - 1);
}

bool WinIniFiles::Write(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                        const std::wstring& value) const {
    return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

}  // namespace kw::i18n
