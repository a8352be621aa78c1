#pragma once
// The system's default language identifier (GetSystemDefaultLangID on Windows).
#include <cstdint>

namespace kw::i18n {

class SystemLanguage {
public:
    virtual ~SystemLanguage() = default;
    virtual uint16_t DefaultLanguageId() const = 0;

protected:
    SystemLanguage() = default;
    SystemLanguage(const SystemLanguage&) = default;
    SystemLanguage& operator=(const SystemLanguage&) = default;
};

// A system language given once, for systems that have no such setting of their own.
class FixedSystemLanguage final : public SystemLanguage {
public:
    explicit FixedSystemLanguage(uint16_t id) : m_id(id) {}
    uint16_t DefaultLanguageId() const override { return m_id; }

private:
    uint16_t m_id;
};

}  // namespace kw::i18n
