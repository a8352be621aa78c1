#include "tools/kwctl/AssignmentText.h"

#include "i18n/WideText.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace kw::kwctl {

namespace {

using model::AssignmentKind;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<uint32_t> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string Utf8(std::u16string_view text) {
    std::wstring wide(text.begin(), text.end());
    return i18n::Utf8FromWide(wide);
}

std::u16string Utf16(std::string_view text) {
    const std::wstring wide = i18n::WideFromUtf8(text);
    std::u16string out;
    for (const wchar_t c : wide) {
        const auto code = static_cast<uint32_t>(c);
        if (code > 0xFFFF) {  // 32-bit wchar_t: make a surrogate pair
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

// Kinds that take no value, and the prefixes of those that do.
struct KindRow {
    AssignmentKind kind;
    const char* word;
    uint32_t valueLimit;  // values 0 to limit - 1; 0 for no value
};
constexpr std::array kKinds{
    KindRow{AssignmentKind::Default, "default", 0},
    KindRow{AssignmentKind::Disabled, "disabled", 0},
    KindRow{AssignmentKind::Key, "key", 0},
    KindRow{AssignmentKind::LaunchProgram, "program", 0},
    KindRow{AssignmentKind::Macro, "macro", model::kMaxMacros + 1},
    KindRow{AssignmentKind::StopMacro, "stop-macro", 0},
    KindRow{AssignmentKind::TextBlock, "text", 0},
    KindRow{AssignmentKind::Multimedia, "media", model::kMediaPositions},
    KindRow{AssignmentKind::Function, "function", model::kFunctionPositions},
};

const KindRow* KindOf(uint16_t kind) {
    for (const KindRow& row : kKinds)
        if (static_cast<uint16_t>(row.kind) == kind) return &row;
    return nullptr;
}

}  // namespace

std::optional<model::KeyId> ParseKey(std::string_view text) {
    const std::string wanted = Lower(text);
    for (size_t index = 1; index < model::kKeyRecordCount; ++index) {
        const model::KeyInfo& info = model::KeyRecordAt(index);
        if (model::IsEmptyRecord(info) || info.label.empty()) continue;
        if (Lower(i18n::Utf8FromWide(info.label)) == wanted) return model::KeyIdOf(static_cast<model::KeyIndex>(index));
    }
    const auto number = ParseNumber(text);
    if (!number || *number == 0 || *number > 0xFFFF) return std::nullopt;
    const auto id = static_cast<model::KeyId>(*number);
    if (model::IsEmptyRecord(model::KeyRecordOf(id))) return std::nullopt;
    return id;
}

std::string KeyText(model::KeyId id) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%03X", static_cast<unsigned>(id));
    const auto& info = model::KeyRecordOf(id);
    const std::string label = model::IsEmptyRecord(info) ? std::string("unknown key") : i18n::Utf8FromWide(info.label);
    return label + " (" + number + ")";
}

std::optional<ParsedAssignment> ParseAssignment(std::string_view text, std::string& error) {
    const size_t colon = text.find(':');
    const std::string word = Lower(text.substr(0, colon));
    const std::string_view rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    for (const KindRow& row : kKinds) {
        if (word != row.word) continue;
        ParsedAssignment parsed;
        parsed.record.kind = static_cast<uint16_t>(row.kind);
        switch (row.kind) {
        case AssignmentKind::Key: {
            const auto key = ParseKey(rest);
            if (!key) {
                error = "no key is called \"" + std::string(rest) + "\"";
                return std::nullopt;
            }
            parsed.record.value = *key;
            return parsed;
        }
        case AssignmentKind::LaunchProgram:
        case AssignmentKind::TextBlock:
            if (rest.empty()) {
                error = std::string(row.word) + ": needs a text after the colon";
                return std::nullopt;
            }
            parsed.text = Utf16(rest);
            return parsed;
        default:
            break;
        }
        if (row.valueLimit == 0) {
            if (colon != std::string_view::npos) {
                error = std::string(row.word) + " takes no value";
                return std::nullopt;
            }
            return parsed;
        }
        const auto value = ParseNumber(rest);
        const uint32_t first = row.kind == AssignmentKind::Macro ? 1 : 0;
        if (!value || *value < first || *value >= row.valueLimit) {
            error = std::string(row.word) + ": the value is a number from " + std::to_string(first) + " to " +
                    std::to_string(row.valueLimit - 1);
            return std::nullopt;
        }
        parsed.record.value = *value;
        if (row.kind == AssignmentKind::Macro) parsed.record.tag = 1;
        return parsed;
    }
    // Appended piece by piece: GCC 12 misjudges the overlap of a chain of + on 32-bit targets.
    error.assign(1, '"');
    error.append(text);
    error.append("\" is not an assignment");
    return std::nullopt;
}

std::string AssignmentText(const model::KeyAssignment& record, std::u16string_view text) {
    const KindRow* row = KindOf(record.kind);
    if (!row) return "unknown kind " + std::to_string(record.kind);
    switch (static_cast<AssignmentKind>(record.kind)) {
    case AssignmentKind::Key:
        return "key " + KeyText(static_cast<model::KeyId>(record.value));
    case AssignmentKind::LaunchProgram:
        return "program " + Utf8(text);
    case AssignmentKind::TextBlock:
        return "text " + Utf8(text);
    case AssignmentKind::Macro:
        return "macro " + std::to_string(record.value);
    case AssignmentKind::Multimedia:
        if (record.value < model::kMediaPositions) {
            return "media " + std::to_string(record.value) + ", " +
                   KeyText(model::MediaUsageTable[record.value].key);
        }
        return "media " + std::to_string(record.value);
    case AssignmentKind::Function:
        return "function " + std::to_string(record.value);
    default:
        return row->word;
    }
}

std::string MacroText(const model::MacroRecord& record) {
    std::ostringstream out;
    out << "name " << Utf8(model::MacroName(record)) << "\n";
    out << "cycles " << static_cast<int>(record.cycleCount) << "\n";
    const uint16_t count = model::MacroActionCount(record);
    for (uint16_t i = 0; i < count; ++i) {
        const model::MacroAction& a = record.actions[i];
        const auto& info = model::KeyRecordOf(a.keyId);
        std::string key = model::IsEmptyRecord(info) ? "0x" : i18n::Utf8FromWide(info.label);
        if (model::IsEmptyRecord(info)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(a.keyId));
            key += hex;
        }
        out << (a.direction == model::kMacroRelease ? "release " : "press ") << key << " " << a.delay << "\n";
    }
    return out.str();
}

std::optional<model::MacroRecord> ParseMacro(std::string_view text, std::string& error) {
    model::MacroRecord record;
    record.cycleCount = 1;
    bool named = false;
    std::istringstream in{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        line.erase(0, start);
        const size_t space = line.find(' ');
        const std::string word = Lower(line.substr(0, space));
        const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
        const std::string where = "line " + std::to_string(number) + ": ";
        if (word == "name") {
            model::SetMacroName(record, Utf16(rest));
            named = true;
        } else if (word == "cycles") {
            const auto n = ParseNumber(rest);
            if (!n || *n < 1 || *n > 255) {
                error = where + "cycles is a number from 1 to 255";
                return std::nullopt;
            }
            record.cycleCount = static_cast<uint8_t>(*n);
        } else if (word == "press" || word == "release") {
            const size_t last = rest.rfind(' ');
            uint32_t delay = 0;
            bool hasDelay = false;
            if (last != std::string::npos) {
                if (const auto number = ParseNumber(std::string_view(rest).substr(last + 1))) {
                    delay = *number;
                    hasDelay = true;
                }
            }
            const auto key = ParseKey(last == std::string::npos ? rest : rest.substr(0, last));
            if (!key || !hasDelay) {
                error = where + "an action is \"press KEY DELAY\" or \"release KEY DELAY\"";
                return std::nullopt;
            }
            if (delay > model::kMaxMacroDelayMs) {
                error = where + "a delay is at most " + std::to_string(model::kMaxMacroDelayMs) + " ms";
                return std::nullopt;
            }
            if (record.actionCount >= model::kMaxMacroActions) {
                error = where + "a macro has at most " + std::to_string(model::kMaxMacroActions) + " actions";
                return std::nullopt;
            }
            model::MacroAction& a = record.actions[record.actionCount++];
            a.keyId = *key;
            a.direction = word == "press" ? model::kMacroPress : model::kMacroRelease;
            a.delay = delay;
        } else {
            error = where + "expected name, cycles, press or release";
            return std::nullopt;
        }
    }
    if (!named || model::MacroNameLength(record) == 0) {
        error = "the macro needs a name line";
        return std::nullopt;
    }
    return record;
}

}  // namespace kw::kwctl
