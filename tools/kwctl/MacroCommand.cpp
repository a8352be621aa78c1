#include "tools/kwctl/ConfigCommands.h"

#include "i18n/WideText.h"
#include "model/ConfigStore.h"
#include "model/MacroStore.h"
#include "tools/kwctl/AssignmentText.h"
#include "tools/kwctl/KeyboardSession.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace kw::kwctl {

namespace {

constexpr const char* kWho = "kwctl macro";

std::optional<uint16_t> ParseId(const std::string& text) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1 || value > model::kMaxMacros)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

bool ReadText(const std::string& file, std::string& text) {
    if (file == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream in(i18n::PathFromWide(i18n::WideFromUtf8(file)), std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

struct Loaded {
    std::unique_ptr<KeyboardSession> session;
    model::ConfigStore working;
};

std::unique_ptr<Loaded> Load(std::ostream& err) {
    auto loaded = std::make_unique<Loaded>();
    std::string error;
    loaded->session = KeyboardSession::Open(error);
    if (!loaded->session) {
        err << kWho << ": " << error << "\n";
        return nullptr;
    }
    if (!ReadKeyboardInto(*loaded->session, loaded->working, kWho, err)) return nullptr;
    return loaded;
}

int List(std::ostream& out, std::ostream& err) {
    const auto loaded = Load(err);
    if (!loaded) return kExitFailed;
    const auto records = loaded->working.macros.Records();
    if (records.empty()) out << "the keyboard has no macros\n";
    for (const model::MacroRecord& r : records) {
        std::istringstream text(MacroText(r));
        std::string nameLine;
        std::getline(text, nameLine);
        out << r.id << "  " << nameLine.substr(5) << "  cycles " << static_cast<int>(r.cycleCount) << ", "
            << model::MacroActionCount(r) << " actions\n";
    }
    return kExitOk;
}

int Show(uint16_t id, std::ostream& out, std::ostream& err) {
    const auto loaded = Load(err);
    if (!loaded) return kExitFailed;
    const auto records = loaded->working.macros.Records();
    if (id > records.size()) {
        err << kWho << ": the keyboard has no macro " << id << "\n";
        return kExitFailed;
    }
    out << MacroText(records[id - 1u]);
    return kExitOk;
}

// The macros are sent with the active profile's key map, as the program's Apply does; changes of
// macro positions reach every profile's key map, so those go with all three.
int Send(Loaded& loaded, bool allProfiles, std::ostream& out, std::ostream& err) {
    const int profile = loaded.session->ActiveProfile() >= 0 ? loaded.session->ActiveProfile() : 0;
    if (!SaveProfileFile(loaded.working, profile, kWho, out, err)) return kExitFailed;
    return SendToKeyboard(*loaded.session, loaded.working, profile, allProfiles, kWho, out, err) ? kExitOk : kExitFailed;
}

int Set(uint16_t id, const std::string& file, std::ostream& out, std::ostream& err) {
    std::string text;
    if (!ReadText(file, text)) {
        err << kWho << ": cannot read " << file << "\n";
        return kExitFailed;
    }
    std::string error;
    auto record = ParseMacro(text, error);
    if (!record) {
        err << kWho << ": " << file << ": " << error << "\n";
        return kExitUsage;
    }
    const auto loaded = Load(err);
    if (!loaded) return kExitFailed;
    const auto current = loaded->working.macros.Records();
    if (id > current.size() + 1) {
        err << kWho << ": the keyboard has " << current.size() << " macros; the next one is " << current.size() + 1 << "\n";
        return kExitFailed;
    }
    std::vector<model::MacroRecord> records(current.begin(), current.end());
    record->id = id;
    if (id == records.size() + 1) {
        records.push_back(*record);
    } else {
        records[id - 1u] = *record;
    }
    if (!model::ReplaceMacroSet(loaded->working, std::move(records))) {
        err << kWho << ": a profile holds at most " << model::kMaxMacros << " macros\n";
        return kExitFailed;
    }
    const int result = Send(*loaded, false, out, err);
    if (result == kExitOk) out << "macro " << id << " sent\n";
    return result;
}

int Delete(uint16_t id, std::ostream& out, std::ostream& err) {
    const auto loaded = Load(err);
    if (!loaded) return kExitFailed;
    model::ConfigStore& working = loaded->working;
    const auto current = working.macros.Records();
    if (id > current.size()) {
        err << kWho << ": the keyboard has no macro " << id << "\n";
        return kExitFailed;
    }
    const auto macroKind = static_cast<uint16_t>(model::AssignmentKind::Macro);
    for (int p = 0; p < model::kKeyboardProfiles; ++p) {
        const auto& block = working.configuration.blocks[static_cast<size_t>(p)];
        for (size_t k = 0; k < block.size(); ++k) {
            if (block[k].kind == macroKind && block[k].value == id) {
                err << kWho << ": macro " << id << " is still on " << KeyText(model::KeyIdOf(static_cast<model::KeyIndex>(k)))
                    << " in profile " << p + 1 << "; assign that key something else first\n";
                return kExitFailed;
            }
        }
    }
    // The macros after it move up one place, and so do the ids the keys know them by.
    std::vector<model::MacroRecord> records(current.begin(), current.end());
    records.erase(records.begin() + (id - 1));
    for (auto& r : records)
        if (r.id > id) --r.id;
    for (auto& block : working.configuration.blocks)
        for (auto& record : block)
            if (record.kind == macroKind && record.value > id) --record.value;
    if (!model::ReplaceMacroSet(working, std::move(records))) return kExitFailed;
    const int result = Send(*loaded, true, out, err);
    if (result == kExitOk) out << "macro " << id << " deleted\n";
    return result;
}

}  // namespace

int RunMacro(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && args[0] == "list") return List(out, err);
    if (args.size() >= 2) {
        const auto id = ParseId(args[1]);
        if (!id) {
            err << kWho << ": a macro id is a number from 1 to " << model::kMaxMacros << "\n";
            return kExitUsage;
        }
        if (args.size() == 2 && args[0] == "show") return Show(*id, out, err);
        if (args.size() == 3 && args[0] == "set") return Set(*id, args[2], out, err);
        if (args.size() == 2 && args[0] == "delete") return Delete(*id, out, err);
    }
    err << kMacroUsage;
    return kExitUsage;
}

}  // namespace kw::kwctl
