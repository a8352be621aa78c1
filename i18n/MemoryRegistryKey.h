#pragma once
// A registry key kept in memory, with the registry's rules: value names ignore case, every value
// has a type, a REG_DWORD is four little-endian bytes. A key that is not open reads nothing and
// stores nothing, as a key that could be neither opened nor created.
#include "i18n/RegistryKey.h"
#include "i18n/TextCase.h"

#include <map>
#include <vector>

namespace kw::i18n {

// The registry's own type numbers.
enum class RegistryType : uint32_t { String = 1, ExpandString = 2, Binary = 3, Dword = 4, Qword = 11 };

class MemoryRegistryKey final : public RegistryKey {
public:
    explicit MemoryRegistryKey(bool open = true) : m_open(open) {}

    std::optional<uint32_t> QueryDword(const std::wstring& name) const override;
    bool SetDword(const std::wstring& name, uint32_t value) override;

    // Any value, as another program or the user may have left it; ignored when the key is not open.
    void SetValue(const std::wstring& name, RegistryType type, std::vector<uint8_t> data);
    bool HasValue(const std::wstring& name) const { return m_values.contains(name); }

private:
    struct Value {
        RegistryType type;
        std::vector<uint8_t> data;
    };
    bool m_open;
    std::map<std::wstring, Value, LessIgnoringCase> m_values;
};

}  // namespace kw::i18n
