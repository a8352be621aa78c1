#include "tools/kwctl/ConfigCommands.h"

#include "i18n/Language.h"
#include "i18n/WideText.h"
#include "model/ConfigStore.h"
#include "model/ProfileFile.h"
#include "tools/kwctl/KeyboardSession.h"

namespace kw::kwctl {

namespace {

constexpr const char* kWho = "kwctl profile";

int Export(const std::string& file, std::ostream& out, std::ostream& err) {
    std::string error;
    auto session = KeyboardSession::Open(error);
    if (!session) {
        err << kWho << ": " << error << "\n";
        return kExitFailed;
    }
    model::ConfigStore working;
    if (!ReadKeyboardInto(*session, working, kWho, err)) return kExitFailed;
    if (!model::ExportProfileFile(working, i18n::WideFromUtf8(file))) {
        err << kWho << ": " << file << " could not be written\n";
        return kExitFailed;
    }
    out << "the keyboard's three profiles and " << working.macros.Count() << " macros are in " << file << "\n";
    return kExitOk;
}

int Import(const std::string& file, std::ostream& out, std::ostream& err) {
    std::string error;
    auto session = KeyboardSession::Open(error);
    if (!session) {
        err << kWho << ": " << error << "\n";
        return kExitFailed;
    }
    model::ConfigStore working;
    // Restoring a file is the owner's own choice of what the keyboard gets: all three profiles go.
    const auto send = [&](model::ConfigStore& store) {
        const int profile = session->ActiveProfile() >= 0 ? session->ActiveProfile() : 0;
        return SendToKeyboard(*session, store, profile, true, kWho, out, err);
    };
    const model::ProfileResult result = model::ImportProfileFile(working, i18n::WideFromUtf8(file), send);
    for (const model::ProfileMessage& message : result.messages) {
        std::wstring text = model::ProfileMessageText(message, i18n::CurrentLanguageIndex());
        // Without the program's language file beside kwctl, the key and the path still tell.
        if (text.find(L"#Error") != std::wstring::npos) text = message.key + (message.path.empty() ? L"" : L": " + message.path);
        err << kWho << ": " << i18n::Utf8FromWide(text) << "\n";
    }
    if (result.status == model::ProfileStatus::SendFailed) return kExitFailed;
    if (!result.Ok()) {
        if (result.messages.empty()) err << kWho << ": " << file << " cannot be restored\n";
        return kExitFailed;
    }
    out << file << " restored: three profiles and " << working.macros.Count() << " macros sent\n";
    return kExitOk;
}

}  // namespace

int RunProfile(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 2 && args[0] == "export") return Export(args[1], out, err);
    if (args.size() == 2 && args[0] == "import") return Import(args[1], out, err);
    err << kProfileUsage;
    return kExitUsage;
}

}  // namespace kw::kwctl
