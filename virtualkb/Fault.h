#pragma once
// Misbehaviour the virtual keyboard can be told to show on its command interface, to see how the
// program copes with a keyboard that is slow, refuses, mumbles or goes away.
#include "device/CommandFrame.h"

#include <chrono>
#include <cstddef>
#include <optional>

namespace kw::virtualkb {

enum class FaultKind {
    NoAnswer,     // the request is lost: nothing is done and nothing answered
    SlowAnswer,   // the request is carried out, but its answer arrives `delay` later than usual
    StatusFF,     // answered with status 0xFF, nothing done
    StatusFE,     // answered with status 0xFE, nothing done
    ShortAnswer,  // carried out, but only the first `answerBytes` bytes of the answer arrive
    BareAnswer,   // carried out; the answer's bytes 0 to 6 (report identifier, checksum, echo) are 0
    WriteFails,   // the request cannot be written
    Unplug,       // the keyboard is pulled out as the request arrives; it is not carried out
};

struct Fault {
    FaultKind kind = FaultKind::NoAnswer;
    std::optional<device::CommandCode> command;  // only requests of this command; any when empty
    int skip = 0;   // matching requests let through first
    int times = 1;  // matching requests it then hits
    std::chrono::milliseconds delay{400};  // for SlowAnswer
    size_t answerBytes = 6;                // for ShortAnswer
};

}  // namespace kw::virtualkb
