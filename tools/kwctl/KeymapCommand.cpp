#include "tools/kwctl/ConfigCommands.h"

#include "model/ConfigStore.h"
#include "model/KeyCatalogue.h"
#include "model/StringTable.h"
#include "tools/kwctl/AssignmentText.h"
#include "tools/kwctl/KeyboardSession.h"

#include <optional>

namespace kw::kwctl {

namespace {

// Takes "--profile N" (1-3) out of the arguments; -1 when not given, nothing when malformed.
std::optional<int> TakeProfile(Arguments& args, std::ostream& err) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--profile") continue;
        if (i + 1 >= args.size() || args[i + 1].size() != 1 || args[i + 1][0] < '1' || args[i + 1][0] > '3') {
            err << "kwctl keymap: --profile takes 1, 2 or 3\n";
            return std::nullopt;
        }
        const int profile = args[i + 1][0] - '1';
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return profile;
    }
    return -1;
}

std::unique_ptr<KeyboardSession> OpenSession(std::ostream& err) {
    std::string error;
    auto session = KeyboardSession::Open(error);
    if (!session) err << "kwctl keymap: " << error << "\n";
    return session;
}

int Show(int profile, std::ostream& out, std::ostream& err) {
    auto session = OpenSession(err);
    if (!session) return kExitFailed;
    if (profile < 0) profile = session->ActiveProfile();
    if (profile < 0) {
        err << "kwctl keymap: the keyboard does not say which profile is active; use --profile\n";
        return kExitFailed;
    }
    model::ConfigStore working;
    if (!ReadKeyboardInto(*session, working, "kwctl keymap", err)) return kExitFailed;
    out << "profile " << profile + 1 << ":\n";
    int shown = 0;
    const auto& block = working.configuration.blocks[static_cast<size_t>(profile)];
    for (size_t index = 1; index < model::kKeyRecordCount; ++index) {
        const model::KeyAssignment& record = block[index];
        if (record.kind == static_cast<uint16_t>(model::AssignmentKind::Default)) continue;
        out << "  " << KeyText(model::KeyIdOf(static_cast<model::KeyIndex>(index))) << ": " << AssignmentText(record)
            << "\n";
        ++shown;
    }
    if (shown == 0) out << "  every key does what it does from the factory\n";
    return kExitOk;
}

int Set(const std::string& keyText, const std::string& assignmentText, int profile, std::ostream& out,
        std::ostream& err) {
    const auto key = ParseKey(keyText);
    if (!key) {
        err << "kwctl keymap: no key is called \"" << keyText << "\" (see kwctl keys)\n";
        return kExitUsage;
    }
    std::string error;
    const auto parsed = ParseAssignment(assignmentText, error);
    if (!parsed) {
        err << "kwctl keymap: " << error << "\n";
        return kExitUsage;
    }
    auto session = OpenSession(err);
    if (!session) return kExitFailed;
    if (profile < 0) profile = session->ActiveProfile();
    if (profile < 0) {
        err << "kwctl keymap: the keyboard does not say which profile is active; use --profile\n";
        return kExitFailed;
    }
    model::ConfigStore working;
    if (!ReadKeyboardInto(*session, working, "kwctl keymap", err)) return kExitFailed;
    if (parsed->record.kind == static_cast<uint16_t>(model::AssignmentKind::Macro) &&
        parsed->record.value > working.macros.Count()) {
        err << "kwctl keymap: the keyboard has no macro " << parsed->record.value << " (see kwctl macro list)\n";
        return kExitFailed;
    }
    const model::KeyIndex index = model::KeyIndexOf(*key);
    working.configuration.blocks[static_cast<size_t>(profile)][index] = parsed->record;
    if (const auto entry = model::StringTable::EntryOf(profile, index)) {
        working.texts.Clear(*entry);
        if (!parsed->text.empty() && !working.texts.Set(*entry, parsed->text)) {
            err << "kwctl keymap: out of memory\n";
            return kExitFailed;
        }
    }
    if (!SaveProfileFile(working, profile, "kwctl keymap", out, err)) return kExitFailed;
    if (!SendToKeyboard(*session, working, profile, false, "kwctl keymap", out, err)) return kExitFailed;
    out << "profile " << profile + 1 << ": " << KeyText(*key) << " is now " << AssignmentText(parsed->record, parsed->text)
        << "\n";
    return kExitOk;
}

}  // namespace

int RunKeymap(const Arguments& given, std::ostream& out, std::ostream& err) {
    Arguments args = given;
    const auto profile = TakeProfile(args, err);
    if (!profile) return kExitUsage;
    if (args.size() == 1 && args[0] == "show") return Show(*profile, out, err);
    if (args.size() == 3 && args[0] == "set") return Set(args[1], args[2], *profile, out, err);
    err << kKeymapUsage;
    return kExitUsage;
}

}  // namespace kw::kwctl
