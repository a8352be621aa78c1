#pragma once
// The language in force and the texts of the language file, given the outside world they come
// from: the INI files, the program's registry key, the system language and the executable's
// folder. Nothing is kept between calls: every lookup reads the registry value and the file afresh,
// so the object may be used from any thread.
#include "i18n/IniFiles.h"
#include "i18n/RegistryKey.h"
#include "i18n/SystemLanguage.h"

#include <array>
#include <cstdint>
#include <string>

namespace kw::i18n {

// Languages the program ships texts for, by language index; 0 marks an empty slot.
inline constexpr std::array<uint16_t, 2> kSupportedLanguages = {0x0409, 0};
// System languages that count as English (United States) when the language is first detected.
inline constexpr std::array<uint16_t, 10> kEnglishVariants = {0x0809, 0x0C09, 0x1009, 0x1409, 0x1809,
                                                              0x1C09, 0x2009, 0x2409, 0x2809, 0x2C09};
inline constexpr uint16_t kDefaultLanguage = 0x0409;
// The REG_DWORD in the program key that keeps the chosen language; 0 means none chosen yet.
inline constexpr const wchar_t* kLanguageValueName = L"dwLanguageId";
// What a lookup shows when the file or the key is missing.
inline constexpr const wchar_t* kMissingText = L"#Error";
// Texts are read into buffers of this many characters, so a text keeps at most 259 of them.
inline constexpr size_t kTextCapacity = 260;

class Localiser {
public:
    // `executableFolder` is the executable's drive and directory, ending in a separator.
    Localiser(const IniFiles& files, RegistryKey& programKey, const SystemLanguage& system,
              std::wstring executableFolder);

    // The stored language; when none is stored (or the value is not a REG_DWORD), the detected one,
    // which is stored for the next time. A stored identifier is kept even when the program has no
    // texts for it.
    uint32_t CurrentLanguageId() const;
    // The position of CurrentLanguageId in kSupportedLanguages; 0 when it is not there.
    int CurrentLanguageIndex() const;

    // Texts of the sections "TEXT", "LIGHT" and "MODE" of the language file of a language index.
    std::wstring LangText(const std::wstring& key, int languageIndex) const;
    std::wstring LightText(const std::wstring& key, int languageIndex) const;
    std::wstring ModeText(const std::wstring& key, int languageIndex) const;

    // The language file of an index: "Lang" + four upper-case hexadecimal digits + ".ini" in the
    // executable's folder. An index outside the table, or of an empty slot, means index 0.
    std::wstring LanguageFilePath(int languageIndex) const;

private:
    std::wstring Text(const wchar_t* section, const std::wstring& key, int languageIndex) const;

    const IniFiles& m_files;
    RegistryKey& m_programKey;
    const SystemLanguage& m_system;
    std::wstring m_folder;
};

}  // namespace kw::i18n
