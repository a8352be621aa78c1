#pragma once
// INI files read and written with the program's own code (i18n/IniText.h) by the rules of the
// Windows profile functions; 8-bit files are Windows-1252.
#include "i18n/IniFiles.h"

namespace kw::i18n {

class PortableIniFiles final : public IniFiles {
protected:
    std::wstring Read(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                      const std::wstring& fallback, size_t capacity) const override;
    bool Write(const std::wstring& path, const std::wstring& section, const std::wstring& key,
               const std::wstring& value) const override;
};

}  // namespace kw::i18n
