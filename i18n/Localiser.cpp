#include "i18n/Localiser.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace kw::i18n {

namespace {

// The supported language of an identifier, or nothing. The empty slot is not a language: a system
// that reports identifier 0 must not select it, or every text would come from "Lang0000.ini".
int IndexOfLanguage(uint32_t id) {
    for (size_t i = 0; i < kSupportedLanguages.size(); ++i)
        if (kSupportedLanguages[i] != 0 && kSupportedLanguages[i] == id) return static_cast<int>(i);
    return -1;
}

uint16_t DetectedLanguage(uint16_t system) {
    if (std::ranges::find(kEnglishVariants, system) != kEnglishVariants.end()) system = kDefaultLanguage;
    return IndexOfLanguage(system) >= 0 ? system : kDefaultLanguage;
}

}  // namespace

Localiser::Localiser(const IniFiles& files, RegistryKey& programKey, const SystemLanguage& system,
                     std::wstring executableFolder)
    : m_files(files), m_programKey(programKey), m_system(system), m_folder(std::move(executableFolder)) {}

uint32_t Localiser::CurrentLanguageId() const {
    // A missing value, or one of another type, counts as 0 and is replaced by the detected language.
    const auto stored = m_programKey.QueryDword(kLanguageValueName);
    if (stored && *stored != 0) return *stored;

    // When the key is not open nothing can be stored, and detection runs again next time.
    const uint16_t detected = DetectedLanguage(m_system.DefaultLanguageId());
    m_programKey.SetDword(kLanguageValueName, detected);
    return detected;
}

int Localiser::CurrentLanguageIndex() const { return std::max(IndexOfLanguage(CurrentLanguageId()), 0); }

std::wstring Localiser::LangText(const std::wstring& key, int languageIndex) const {
    return Text(L"TEXT", key, languageIndex);
}
std::wstring Localiser::LightText(const std::wstring& key, int languageIndex) const {
    return Text(L"LIGHT", key, languageIndex);
}
std::wstring Localiser::ModeText(const std::wstring& key, int languageIndex) const {
    return Text(L"MODE", key, languageIndex);
}

std::wstring Localiser::LanguageFilePath(int languageIndex) const {
    const bool usable = languageIndex >= 0 && static_cast<size_t>(languageIndex) < kSupportedLanguages.size() &&
                        kSupportedLanguages[static_cast<size_t>(languageIndex)] != 0;
    const uint16_t id = kSupportedLanguages[usable ? static_cast<size_t>(languageIndex) : 0];
    wchar_t name[16];
    std::swprintf(name, std::size(name), L"Lang%04X.ini", static_cast<unsigned>(id));
    return m_folder + name;
}

std::wstring Localiser::Text(const wchar_t* section, const std::wstring& key, int languageIndex) const {
    return m_files.ReadString(LanguageFilePath(languageIndex), section, key, kMissingText, kTextCapacity);
}

}  // namespace kw::i18n
