#pragma once
// "kwctl virtual": looks at a virtual keyboard's state file and changes what its surroundings say
// about it (plugged in or not, signal keys pressed). Apart from creating a new one, it never changes
// the stored contents, so it is safe while the program holds the keyboard.
#include "tools/kwctl/Subcommand.h"

namespace kw::kwctl {

inline constexpr const char* kVirtualUsage =
    "kwctl virtual create FILE [126|128]\n"
    "                                make a factory-fresh keyboard of that model (128 when not given);\n"
    "                                refused when FILE exists\n"
    "kwctl virtual dump FILE         print the keyboard's state as JSON: model, plugged, boot mode, holder,\n"
    "                                settings block, active profile, effects, key maps, macro area, lighting\n"
    "                                records, key colours (byte blocks as hexadecimal strings)\n"
    "kwctl virtual unplug FILE       pull the keyboard out; a program holding it notices at its next look\n"
    "kwctl virtual plug FILE         plug it back in (this also ends boot mode)\n"
    "kwctl virtual press FILE USAGE  queue one consumer-control report with the hexadecimal USAGE\n"
    "                                (0401 refresh panels, 0402 reload lighting, 1811/1810 activity on/off)\n"
    "\n"
    "FILE is the state file named by KEYWEAVE_VIRTUAL_KEYBOARD; the program creates it at its first run.\n";

int RunVirtual(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace kw::kwctl
