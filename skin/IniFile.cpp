#include "skin/IniFile.h"

#include <windows.h>

#include <vector>

namespace kw::skin {

namespace {
std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                               const std::wstring& defaultValue, size_t bufferLength) {
    std::vector<wchar_t> buffer(bufferLength, L'\0');
    const DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                                    static_cast<DWORD>(buffer.size()), path.c_str());
    return std::wstring(buffer.data(), std::min<size_t>(length, buffer.size() - 1));
}
}  // namespace

void CIniFile::SetPath(const std::wstring& path) { m_path = path.substr(0, kPathLength - 1); }

std::wstring CIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& defaultValue) const {
    return ReadProfileString(m_path, section, key, defaultValue, kValueBufferLength);
}

bool CIniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) const {
    return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), m_path.c_str()) != FALSE;
}

Placement ReadPlacement(const std::wstring& iniPath, const std::wstring& section, const std::wstring& key) {
    return ParsePlacement(ReadProfileString(iniPath, section, key, std::wstring(kDefaultPlacement),
                                            static_cast<size_t>(kPlacementBufferLength)));
}

}  // namespace kw::skin
