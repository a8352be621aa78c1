#pragma once
// Whether the macro recorder keeps the measured time between keystrokes: a 0 or 1 kept in the
// program's "PROFILES" settings under a value named by the current language's
// "MACRO_ACTION_RECORD_DELAY" text. The settings themselves come in through MacroSettingStore, so
// that the model needs no window framework.
#include <string>

namespace kw::model {

// The framework's profile strings (registry section and value names).
class MacroSettingStore {
public:
    virtual ~MacroSettingStore() = default;
    virtual std::wstring GetProfileString(const std::wstring& section, const std::wstring& entry,
                                          const std::wstring& defaultValue) const = 0;
    virtual bool WriteProfileString(const std::wstring& section, const std::wstring& entry,
                                    const std::wstring& value) = 0;
};

inline constexpr wchar_t kRecordDelaySection[] = L"PROFILES";

// The stored text read as a decimal number, as the C runtime reads one: leading blanks and a sign,
// digits up to the first other character, 0 when there are none, held at the int range ("0" when
// nothing is stored). Any number comes back as stored; the dialog writes it back normalised.
int ReadRecordDelaySetting(const MacroSettingStore& settings, const std::wstring& valueName);
int ReadRecordDelaySetting(const MacroSettingStore& settings);
// Values other than 0 and 1 become 0; stores and returns the result.
int WriteRecordDelaySetting(MacroSettingStore& settings, const std::wstring& valueName, int value);
int WriteRecordDelaySetting(MacroSettingStore& settings, int value);

}  // namespace kw::model
