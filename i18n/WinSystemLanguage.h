#pragma once
// The system's default language as Windows reports it. Windows only.
#include "i18n/SystemLanguage.h"

namespace kw::i18n {

class WinSystemLanguage final : public SystemLanguage {
public:
    uint16_t DefaultLanguageId() const override;
};

}  // namespace kw::i18n
