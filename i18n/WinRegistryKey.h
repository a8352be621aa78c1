#pragma once
// The values of a key held by the framework's registry key object. Windows only.
#include "framework/RegKey.h"
#include "i18n/RegistryKey.h"

namespace kw::i18n {

class WinRegistryKey final : public RegistryKey {
public:
    // `key` may be null or hold no open key: nothing is then read or stored.
    explicit WinRegistryKey(const fw::RegKey* key) : m_key(key) {}

    std::optional<uint32_t> QueryDword(const std::wstring& name) const override;
    bool SetDword(const std::wstring& name, uint32_t value) override;

private:
    const fw::RegKey* m_key;
};

}  // namespace kw::i18n
