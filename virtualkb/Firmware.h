#pragma once
// The virtual keyboard's firmware: takes one 64-byte request and gives the answer the keyboard would
// send, changing its stored contents as the command says. It knows nothing of time or transport.
//
// It is strict where a keyboard may be: a request with another report identifier, a wrong checksum,
// an unknown command or a length that does not fit the command is answered 0xFF; a well-formed request
// it cannot carry out (an address range outside the area, a write outside a begin ... end group, an
// active profile above 2) is answered 0xFE. Of a written settings block it keeps only the active
// profile: the macro capacity and the effect list are its own.
#include "device/CommandFrame.h"
#include "virtualkb/StoredContents.h"

#include <span>

namespace kw::virtualkb {

inline constexpr uint8_t kStatusDone = 0x01;

struct FirmwareReply {
    bool answered = false;
    device::CommandFrame::Bytes answer{};
    bool enteredBoot = false;
    bool changed = false;  // the stored contents were written
    bool commit = false;   // the stored contents reached a point worth keeping
};

class KeyboardFirmware {
public:
    explicit KeyboardFirmware(StoredContents contents) : m_contents(std::move(contents)) {}

    FirmwareReply Handle(std::span<const uint8_t, device::kFrameBytes> request);

    const StoredContents& Contents() const { return m_contents; }
    StoredContents& Contents() { return m_contents; }
    bool GroupOpen() const { return m_groupOpen; }
    int TestCount() const { return m_tests; }

private:
    StoredContents m_contents;
    bool m_groupOpen = false;
    int m_tests = 0;
};

}  // namespace kw::virtualkb
