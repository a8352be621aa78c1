#include "i18n/Language.h"

#include "i18n/ProgramLocaliser.h"

namespace kw::i18n {

namespace {

template <class R, class F>
R Ask(F&& question) {
    R answer{};
    WithProgramLocaliser([&](const Localiser& localiser) { answer = question(localiser); });
    return answer;
}

}  // namespace

uint32_t CurrentLanguageId() {
    return Ask<uint32_t>([](const Localiser& l) { return l.CurrentLanguageId(); });
}

int CurrentLanguageIndex() {
    return Ask<int>([](const Localiser& l) { return l.CurrentLanguageIndex(); });
}

std::wstring LangText(const std::wstring& key, int languageIndex) {
    return Ask<std::wstring>([&](const Localiser& l) { return l.LangText(key, languageIndex); });
}

std::wstring LightText(const std::wstring& key, int languageIndex) {
    return Ask<std::wstring>([&](const Localiser& l) { return l.LightText(key, languageIndex); });
}

std::wstring ModeText(const std::wstring& key, int languageIndex) {
    return Ask<std::wstring>([&](const Localiser& l) { return l.ModeText(key, languageIndex); });
}

std::wstring ModeText(int effectCode, int languageIndex) {
    return ModeText(std::to_wstring(effectCode), languageIndex);
}

}  // namespace kw::i18n
