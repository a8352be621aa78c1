#pragma once
// Every text the owner reads is looked up by key in the language file beside the executable, afresh
// on each lookup.
#include <cstdint>
#include <string>

namespace kw::i18n {

inline constexpr unsigned kLanguageMessage = 0x5041;
inline constexpr uint32_t kLanguageCode = 0x4C414E47;  // "LANG"

int CurrentLanguageIndex();
std::wstring LangText(const std::wstring& key, int languageIndex);

}  // namespace kw::i18n
