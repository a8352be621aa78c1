#pragma once
// "kwctl lighting": shows and changes the keyboard's lighting records, per-key colours and
// user modes through the same model code the program runs, so `kwctl virtual dump` shows the result.
#include "tools/kwctl/Subcommand.h"

namespace kw::kwctl {

inline constexpr const char* kLightingUsage =
    "kwctl lighting show [OPTIONS]              the profile's lighting record in words and the effect list\n"
    "kwctl lighting set FIELD VALUE [OPTIONS]   change one field as the lighting panel does:\n"
    "    effect CODE          a code of the keyboard's effect list\n"
    "    brightness 0-5       speed 0-5 (5 fastest sliders left)   rate 0-3   palette 0-3\n"
    "    direction forward|backward    trigger single|grid    preset 1-8\n"
    "    colour R,G,B         colour2 R,G,B         colour3 R,G,B  (each turns its colourful flag off)\n"
    "    colourful on|off     colourful2 on|off     colourful3 on|off\n"
    "kwctl lighting reset [OPTIONS]             write the default record\n"
    "kwctl lighting key LED R,G,B [OPTIONS]     one key light's colour (LED 0-169, fn, g); with --folder it\n"
    "                                           is also saved in the current user mode\n"
    "kwctl lighting mode --folder DIR [OPTIONS] the user modes: current mode, names, tool and colours\n"
    "kwctl lighting mode select M|name M TEXT|base R,G,B|reset [TEMPLATE]|perkey on|off --folder DIR\n"
    "                                           choose (and send) a mode, rename it, change its base\n"
    "                                           colour, copy the template over the file, set the per-key switch\n"
    "\n"
    "OPTIONS: --profile N (0-2; the keyboard's active profile when not given)\n"
    "         --keyboard FILE (the virtual keyboard's state file; KEYWEAVE_VIRTUAL_KEYBOARD when not given)\n"
    "         --folder DIR (the user data folder holding wskb.ini and UserDengColor_N.userd)\n";

int RunLighting(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace kw::kwctl
