#pragma once
// Every text the owner reads is looked up by key in the language file beside the executable, afresh
// on each lookup. Callers pass CurrentLanguageIndex() as the language index.
//
// A missing file or key reads "#Error"; a key with an empty value reads as an empty text. Texts
// are at most 259 characters. A text that takes a name or a number goes through FormatText
// (i18n/TextFormat.h), never through a printf format.
#include "i18n/LanguageMessage.h"

#include <cstdint>
#include <string>

namespace kw::i18n {

// The language in force: the value "dwLanguageId" of the program key, or, while that is 0, the
// detected system language (English variants and unsupported languages give 0x0409), stored there.
uint32_t CurrentLanguageId();
// The position of CurrentLanguageId among the supported languages; 0 when it is not one of them.
int CurrentLanguageIndex();

// Captions, prompts, menu items and key names (section "TEXT").
std::wstring LangText(const std::wstring& key, int languageIndex);
// Labels of the lighting panel (section "LIGHT").
std::wstring LightText(const std::wstring& key, int languageIndex);
// Names of the lighting effects (section "MODE"), by the effect code as decimal text ...
std::wstring ModeText(const std::wstring& key, int languageIndex);
// ... or by the code itself.
std::wstring ModeText(int effectCode, int languageIndex);

}  // namespace kw::i18n
