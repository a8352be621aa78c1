#include "tools/kwctl/Subcommand.h"
#include "tools/kwctl/VirtualCommand.h"

#include <array>

namespace kw::kwctl {

namespace {

const std::array kSubcommands{
    Subcommand{"virtual", "inspect a virtual keyboard, plug it in or out, press its signal keys", kVirtualUsage,
               &RunVirtual},
};

}  // namespace

std::span<const Subcommand> Subcommands() { return kSubcommands; }

}  // namespace kw::kwctl
