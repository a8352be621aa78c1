#include "i18n/WinRegistryKey.h"

namespace kw::i18n {

std::optional<uint32_t> WinRegistryKey::QueryDword(const std::wstring& name) const {
    if (!m_key || !*m_key) return std::nullopt;
    const auto value = m_key->QueryDword(name.c_str());
    return value ? std::optional<uint32_t>(static_cast<uint32_t>(*value)) : std::nullopt;
}

bool WinRegistryKey::SetDword(const std::wstring& name, uint32_t value) {
    return m_key && *m_key && m_key->SetDword(name.c_str(), static_cast<DWORD>(value));
}

}  // namespace kw::i18n
