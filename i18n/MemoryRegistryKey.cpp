#include "i18n/MemoryRegistryKey.h"

namespace kw::i18n {

std::optional<uint32_t> MemoryRegistryKey::QueryDword(const std::wstring& name) const {
    const auto it = m_values.find(name);
    if (!m_open || it == m_values.end() || it->second.type != RegistryType::Dword || it->second.data.size() != 4)
        return std::nullopt;
    const auto& d = it->second.data;
    return static_cast<uint32_t>(d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<uint32_t>(d[3]) << 24));
}

bool MemoryRegistryKey::SetDword(const std::wstring& name, uint32_t value) {
    if (!m_open) return false;
    SetValue(name, RegistryType::Dword,
             {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
              static_cast<uint8_t>(value >> 24)});
    return true;
}

void MemoryRegistryKey::SetValue(const std::wstring& name, RegistryType type, std::vector<uint8_t> data) {
    if (m_open) m_values.insert_or_assign(name, Value{type, std::move(data)});
}

}  // namespace kw::i18n
