#pragma once
// INI files through the system's profile functions (GetPrivateProfileStringW and
// WritePrivateProfileStringW). Windows only.
#include "i18n/IniFiles.h"

namespace kw::i18n {

class WinIniFiles final : public IniFiles {
protected:
    std::wstring Read(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback, size_t capacity) const override;
    bool Write(const std::wstring& path, const std::wstring& section, const std::wstring& key,
               const std::wstring& value) const override;
};

}  // namespace kw::i18n
