#include "tools/kwctl/Subcommand.h"

#include <iomanip>

namespace kw::kwctl {

namespace {

bool AsksForHelp(const std::string& arg) { return arg == "--help" || arg == "-h" || arg == "help"; }

void Overview(std::ostream& out) {
    out << "Usage: kwctl SUBCOMMAND [ARGUMENTS...]\n"
           "       kwctl SUBCOMMAND --help\n\n"
           "Keyweave's command-line companion.\n\nSubcommands:\n";
    for (const auto& sub : Subcommands()) out << "  " << std::left << std::setw(12) << sub.name << sub.summary << "\n";
    out << "\n";
    for (const auto& sub : Subcommands()) out << sub.usage << "\n";
}

}  // namespace

int RunKwctl(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        Overview(err);
        return kExitUsage;
    }
    if (AsksForHelp(args[0])) {
        if (args.size() > 1) {
            for (const auto& sub : Subcommands())
                if (args[1] == sub.name) {
                    out << sub.usage;
                    return kExitOk;
                }
        }
        Overview(out);
        return kExitOk;
    }
    for (const auto& sub : Subcommands()) {
        if (args[0] != sub.name) continue;
        const Arguments rest(args.begin() + 1, args.end());
        if (!rest.empty() && AsksForHelp(rest[0])) {
            out << sub.usage;
            return kExitOk;
        }
        return sub.run(rest, out, err);
    }
    err << "kwctl: unknown subcommand \"" << args[0] << "\"; see kwctl --help\n";
    return kExitUsage;
}

}  // namespace kw::kwctl
