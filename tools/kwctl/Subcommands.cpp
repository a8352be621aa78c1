#include "tools/kwctl/LightingCommand.h"
#include "tools/kwctl/Subcommand.h"
#include "tools/kwctl/ConfigCommands.h"
#include "tools/kwctl/VirtualCommand.h"

#include <array>

namespace kw::kwctl {

namespace {

const std::array kSubcommands{
    Subcommand{"virtual", "inspect a virtual keyboard, plug it in or out, press its signal keys", kVirtualUsage,
               &RunVirtual},
    Subcommand{"lighting", "show and change a virtual keyboard's lighting, key colours and user modes", kLightingUsage, &RunLighting},
    Subcommand{"keys", "list the key catalogue: id, English name, device usage", kKeysUsage, &RunKeys},
    Subcommand{"keymap", "show or change a profile's key map on the keyboard", kKeymapUsage, &RunKeymap},
    Subcommand{"profile", "export the keyboard's configuration to a file, or restore one", kProfileUsage, &RunProfile},
    Subcommand{"macro", "list, show, change or delete the keyboard's macros", kMacroUsage, &RunMacro},
};

}  // namespace

std::span<const Subcommand> Subcommands() { return kSubcommands; }

}  // namespace kw::kwctl
