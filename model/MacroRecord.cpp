#include "model/MacroRecord.h"

#include <algorithm>
#include <string>

namespace kw::model {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

size_t MacroNameLength(const MacroRecord& record) {
    const auto end = record.name.begin() + kMaxMacroNameLength;
    return static_cast<size_t>(std::find(record.name.begin(), end, u'\0') - record.name.begin());
}

std::u16string_view MacroName(const MacroRecord& record) {
    return std::u16string_view(record.name.data(), MacroNameLength(record));
}

std::u16string_view CutUtf16(std::u16string_view text, size_t maxUnits) {
    if (text.size() <= maxUnits) return text;
    size_t n = maxUnits;
    // Half a pair would leave an unpaired surrogate that no text control shows sensibly.
    if (n > 0 && IsHighSurrogate(text[n - 1])) --n;
    return text.substr(0, n);
}

bool SetMacroName(MacroRecord& record, std::u16string_view name) {
    // A NUL inside the text ends the name there, as it would for any reader of the record.
    const std::u16string_view upToNul = name.substr(0, std::min(name.find(u'\0'), name.size()));
    const std::u16string_view kept = CutUtf16(upToNul, kMaxMacroNameLength);
    record.name.fill(u'\0');
    std::copy(kept.begin(), kept.end(), record.name.begin());
    return kept.size() != upToNul.size();
}

std::u16string NumberedMacroName(std::u16string_view prefix, int number) {
    const std::string digits = std::to_string(number);
    std::u16string name(CutUtf16(prefix, kMaxMacroNameLength - digits.size()));
    name.append(digits.begin(), digits.end());
    return name;
}

uint16_t MacroActionCount(const MacroRecord& record) {
    return std::min(record.actionCount, kMaxMacroActions);
}

MacroRecordRepairs RepairMacroRecord(MacroRecord& record) {
    MacroRecordRepairs repairs;
    if (record.actionCount > kMaxMacroActions) {
        record.actionCount = kMaxMacroActions;
        repairs.actionCountCut = true;
    }
    if (std::find(record.name.begin(), record.name.end(), u'\0') == record.name.end()) {
        record.name[kMaxMacroNameLength] = u'\0';
        // Do not leave the first half of a pair at the new end.
        if (IsHighSurrogate(record.name[kMaxMacroNameLength - 1])) record.name[kMaxMacroNameLength - 1] = u'\0';
        repairs.nameCut = true;
    }
    for (uint16_t i = 0; i < record.actionCount; ++i) {
        MacroAction& action = record.actions[i];
        if (!MacroDelayFitsDevice(action.delay)) {
            action.delay = kMaxEncodableDelayMs;
            ++repairs.delaysClamped;
        }
    }
    return repairs;
}

}  // namespace kw::model
