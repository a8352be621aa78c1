#pragma once
// The values of one open registry key, as the language choice needs them. On Windows the program's
// own key (WinRegistryKey); MemoryRegistryKey keeps the values in memory.
#include <cstdint>
#include <optional>
#include <string>

namespace kw::i18n {

class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // A REG_DWORD value; nothing when the key is not open, the value is missing or of another type.
    virtual std::optional<uint32_t> QueryDword(const std::wstring& name) const = 0;
    // Stores a REG_DWORD value; false when the key is not open or the write fails.
    virtual bool SetDword(const std::wstring& name, uint32_t value) = 0;

protected:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = default;
    RegistryKey& operator=(const RegistryKey&) = default;
};

}  // namespace kw::i18n
