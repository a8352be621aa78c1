#include "i18n/IniFiles.h"

#include "i18n/IniText.h"

namespace kw::i18n {

bool IniFiles::WriteString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                           const std::wstring& value) const {
    // The system would write a line break into the file as it is, letting a value add sections or
    // keys of its own; such writes are refused here, for every implementation alike.
    return ini::IsWritable(section, key, value) && Write(path, section, key, value);
}

}  // namespace kw::i18n
