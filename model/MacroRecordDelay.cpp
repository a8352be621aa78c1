#include "model/MacroRecordDelay.h"

#include "i18n/Language.h"

#include <climits>
#include <string_view>

namespace kw::model {

namespace {

std::wstring RecordDelayValueName() {
    return i18n::LangText(L"MACRO_ACTION_RECORD_DELAY", i18n::CurrentLanguageIndex());
}

int ParseDecimal(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

}  // namespace

int ReadRecordDelaySetting(const MacroSettingStore& settings, const std::wstring& valueName) {
    return ParseDecimal(settings.GetProfileString(kRecordDelaySection, valueName, L"0"));
}

int ReadRecordDelaySetting(const MacroSettingStore& settings) {
    return ReadRecordDelaySetting(settings, RecordDelayValueName());
}

int WriteRecordDelaySetting(MacroSettingStore& settings, const std::wstring& valueName, int value) {
    const int normalised = value == 1 ? 1 : 0;
    settings.WriteProfileString(kRecordDelaySection, valueName, std::to_wstring(normalised));
    return normalised;
}

int WriteRecordDelaySetting(MacroSettingStore& settings, int value) {
    return WriteRecordDelaySetting(settings, RecordDelayValueName(), value);
}

}  // namespace kw::model
