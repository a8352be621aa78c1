#include "tools/kwctl/VirtualCommand.h"

#include "tools/kwctl/StateJson.h"
#include "virtualkb/BusFile.h"
#include "virtualkb/HolderLock.h"
#include "virtualkb/HostFiles.h"
#include "virtualkb/StoredContents.h"
#include "virtualkb/VirtualKeyboard.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <functional>

namespace kw::kwctl {

namespace {

using virtualkb::BusState;
using virtualkb::CompanionFiles;

struct Action {
    const char* name;
    int extraArguments;     // after FILE
    int optionalArguments;  // of those, how many may be left out
    bool needsKeyboard;     // FILE must exist already
    int (*run)(const CompanionFiles& files, const Arguments& extra, std::ostream& out, std::ostream& err);
};

int Create(const CompanionFiles& files, const Arguments& extra, std::ostream& out, std::ostream& err) {
    const std::string model = extra.empty() ? "128" : extra[0];
    const auto* known = virtualkb::ModelWithKeys(model == "126" ? 126 : model == "128" ? 128 : 0);
    if (!known) {
        err << "kwctl virtual create: the model is 126 or 128, not \"" << model << "\"\n";
        return kExitUsage;
    }
    std::error_code ec;
    if (std::filesystem::exists(files.state, ec)) {
        err << "kwctl virtual create: " << virtualkb::PathText(files.state) << " exists already\n";
        return kExitFailed;
    }
    // Holding it for a moment makes it exactly as the program would, lock and all.
    std::string error;
    if (!virtualkb::VirtualKeyboard::OpenStateFile(files.state, *known, error)) {
        err << "kwctl virtual create: " << error << "\n";
        return kExitFailed;
    }
    out << "created a " << known->keyCount << "-key keyboard in " << virtualkb::PathText(files.state) << "\n";
    return kExitOk;
}

int Dump(const CompanionFiles& files, const Arguments&, std::ostream& out, std::ostream& err) {
    std::vector<uint8_t> image;
    if (!virtualkb::ReadWholeFile(files.state, image)) {
        err << "kwctl virtual: cannot read " << virtualkb::PathText(files.state) << "\n";
        return kExitFailed;
    }
    std::string reason;
    const auto contents = virtualkb::DecodeContents(image, &reason);
    if (!contents) {
        err << "kwctl virtual: " << virtualkb::PathText(files.state) << ": " << reason << "\n";
        return kExitFailed;
    }
    const auto bus = virtualkb::ReadBus(files.bus);
    if (!bus) {
        err << "kwctl virtual: cannot understand " << virtualkb::PathText(files.bus) << "\n";
        return kExitFailed;
    }
    out << StateJson(virtualkb::PathText(files.state), *contents, *bus, virtualkb::HolderLock::Inspect(files.lock));
    return kExitOk;
}

int Change(const CompanionFiles& files, const std::function<void(BusState&)>& change, std::ostream& err) {
    std::string error;
    if (!virtualkb::ChangeBus(files, change, error)) {
        err << "kwctl virtual: " << error << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

int Plug(const CompanionFiles& files, const Arguments&, std::ostream& out, std::ostream& err) {
    const int result = Change(files, [](BusState& bus) { virtualkb::SetPlugged(bus, true); }, err);
    if (result == kExitOk) out << "plugged in\n";
    return result;
}

int Unplug(const CompanionFiles& files, const Arguments&, std::ostream& out, std::ostream& err) {
    const int result = Change(files, [](BusState& bus) { virtualkb::SetPlugged(bus, false); }, err);
    if (result == kExitOk) out << "unplugged\n";
    return result;
}

int Press(const CompanionFiles& files, const Arguments& extra, std::ostream& out, std::ostream& err) {
    std::string_view text = extra[0];
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    uint32_t usage = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), usage, 16);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || usage == 0 || usage > 0xFFFF) {
        err << "kwctl virtual press: USAGE must be a hexadecimal number from 1 to FFFF, not \"" << extra[0] << "\"\n";
        return kExitUsage;
    }
    uint32_t sequence = 0;
    const int result = Change(files, [&](BusState& bus) {
        virtualkb::QueuePress(bus, static_cast<uint16_t>(usage));
        sequence = bus.LastSequence();
    }, err);
    if (result == kExitOk) {
        char line[64];
        std::snprintf(line, sizeof line, "queued usage 0x%04X as report %u\n", usage, sequence);
        out << line;
    }
    return result;
}

constexpr std::array<Action, 5> kActions{{
    {"create", 1, 1, false, &Create},
    {"dump", 0, 0, true, &Dump},
    {"unplug", 0, 0, true, &Unplug},
    {"plug", 0, 0, true, &Plug},
    {"press", 1, 0, true, &Press},
}};

}  // namespace

int RunVirtual(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2) {
        err << kVirtualUsage;
        return kExitUsage;
    }
    for (const auto& action : kActions) {
        if (args[0] != action.name) continue;
        const size_t extra = args.size() - 2;
        if (extra > static_cast<size_t>(action.extraArguments) ||
            extra < static_cast<size_t>(action.extraArguments - action.optionalArguments)) {
            err << kVirtualUsage;
            return kExitUsage;
        }
        const auto files = CompanionFiles::For(virtualkb::HostPath(args[1]));
        // The bus belongs to a keyboard: a mistyped FILE must not make a new bus beside nothing.
        std::error_code ec;
        if (action.needsKeyboard && !std::filesystem::exists(files.state, ec)) {
            err << "kwctl virtual: no virtual keyboard at " << virtualkb::PathText(files.state)
                << " (the program creates it when KEYWEAVE_VIRTUAL_KEYBOARD names it)\n";
            return kExitFailed;
        }
        return action.run(files, Arguments(args.begin() + 2, args.end()), out, err);
    }
    err << "kwctl virtual: unknown action \"" << args[0] << "\"\n" << kVirtualUsage;
    return kExitUsage;
}

}  // namespace kw::kwctl
