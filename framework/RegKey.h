#pragma once
// A registry key wrapper in the manner of the classic CRegKey: one handle, no transaction.
#include "framework/Handles.h"

#include <optional>
#include <string>

namespace kw::fw {

class RegKey {
public:
    RegKey() = default;
    // Opens with the given access; false (and no key) when it cannot be opened.
    bool Open(HKEY parent, const std::wstring& subKey, REGSAM access);
    // Creates (or opens) with the given access.
    bool Create(HKEY parent, const std::wstring& subKey, REGSAM access);
    void Close() { m_key.reset(); }

    HKEY get() const { return m_key.get(); }
    explicit operator bool() const { return static_cast<bool>(m_key); }

    // Reads a REG_DWORD; nothing when the value is missing or of another type.
    std::optional<DWORD> QueryDword(const wchar_t* name) const;
    bool SetDword(const wchar_t* name, DWORD value) const;
    std::optional<std::wstring> QueryString(const wchar_t* name) const;
    bool SetString(const wchar_t* name, const std::wstring& value) const;

private:
    UniqueHKey m_key;
};

}  // namespace kw::fw
