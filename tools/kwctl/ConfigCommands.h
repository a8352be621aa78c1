#pragma once
// kwctl's subcommands on the keyboard's configuration: each reads what it needs from the keyboard
// first and sends a change as the program's Apply does. They talk to the keyboard the environment
// names (KEYWEAVE_VIRTUAL_KEYBOARD) or to the machine's own, never to one the program holds.
#include "tools/kwctl/Subcommand.h"

namespace kw::kwctl {

inline constexpr const char* kKeysUsage =
    "kwctl keys                      list the key catalogue: id, English name, device usage (page:usage)\n";

inline constexpr const char* kKeymapUsage =
    "kwctl keymap show [--profile N] print every key of on-board profile N (1-3; the active one when not\n"
    "                                given) whose assignment differs from the default, kind and value in words\n"
    "kwctl keymap set KEY ASSIGNMENT [--profile N]\n"
    "                                assign a key in profile N and send that profile's key map and the macros\n"
    "\n"
    "ASSIGNMENT is one of: default, disabled, stop-macro, key:KEY, program:PATH, macro:ID,\n"
    "text:TEXT, media:N (0-17), function:N (0-10). KEY is a key's English name (as \"kwctl keys\"\n"
    "lists it, without regard to case) or its id (0x1E or 30). Program and text assignments stay with\n"
    "the program: the keyboard keeps the key's own function for them.\n";

inline constexpr const char* kMacroUsage =
    "kwctl macro list                the keyboard's macros: id, name, cycles, actions\n"
    "kwctl macro show ID             one macro as text\n"
    "kwctl macro set ID FILE         replace macro ID, or add it when ID is one more than the last,\n"
    "                                from a text file (\"-\" reads the standard input), and send\n"
    "kwctl macro delete ID           remove a macro no key uses, and send\n"
    "\n"
    "A macro as text, one item per line (lines starting with # are skipped):\n"
    "  name NAME\n"
    "  cycles N                      plays per trigger, 1-255\n"
    "  press KEY DELAY               a key goes down, then DELAY milliseconds pass\n"
    "  release KEY DELAY             a key comes up, then DELAY milliseconds pass\n";

inline constexpr const char* kProfileUsage =
    "kwctl profile export FILE       write the keyboard's three profiles and its macros to a profile file\n"
    "kwctl profile import FILE       check a profile file, save it as the profile and send all three\n"
    "                                profiles and the macros to the keyboard; a damaged file changes nothing\n"
    "\n"
    "Changes made by keymap set, macro set and macro delete are also saved to the profile file of the user\n"
    "data folder: on Windows the program's, elsewhere kwctl's own under the XDG data home.\n";

int RunProfile(const Arguments& args, std::ostream& out, std::ostream& err);
int RunKeys(const Arguments& args, std::ostream& out, std::ostream& err);
int RunKeymap(const Arguments& args, std::ostream& out, std::ostream& err);
int RunMacro(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace kw::kwctl
