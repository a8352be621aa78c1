#include "framework/RegKey.h"

#include <vector>

namespace kw::fw {

bool RegKey::Open(HKEY parent, const std::wstring& subKey, REGSAM access) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(parent, subKey.c_str(), 0, access, &key) != ERROR_SUCCESS) {
        m_key.reset();
        return false;
    }
    m_key.reset(key);
    return true;
}

bool RegKey::Create(HKEY parent, const std::wstring& subKey, REGSAM access) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                          &key, nullptr) != ERROR_SUCCESS) {
        m_key.reset();
        return false;
    }
    m_key.reset(key);
    return true;
}

std::optional<DWORD> RegKey::QueryDword(const wchar_t* name) const {
    if (!m_key) return std::nullopt;
    DWORD type = 0, value = 0, size = sizeof(value);
    if (::RegQueryValueExW(m_key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return value;
}

bool RegKey::SetDword(const wchar_t* name, DWORD value) const {
    return m_key && ::RegSetValueExW(m_key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                     sizeof(value)) == ERROR_SUCCESS;
}

std::optional<std::wstring> RegKey::QueryString(const wchar_t* name) const {
    if (!m_key) return std::nullopt;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(m_key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(m_key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) !=
        ERROR_SUCCESS)
        return std::nullopt;
    buf.back() = L'\0';  // a stored string need not be terminated
    return std::wstring(buf.data());
}

bool RegKey::SetString(const wchar_t* name, const std::wstring& value) const {
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return m_key && ::RegSetValueExW(m_key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     bytes) == ERROR_SUCCESS;
}

}  // namespace kw::fw
