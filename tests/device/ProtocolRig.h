#pragma once
// The command protocol on the vendor interface of a virtual keyboard, connected and with the model's
// geometry, recording every request the keyboard receives.
#include "device/CommandProtocol.h"
#include "virtualkb/VirtualKeyboard.h"

#include <gtest/gtest.h>

namespace kw::test {

inline const device::KeyboardModel& Model126() { return device::kSupportedKeyboards[0]; }
inline const device::KeyboardModel& Model128() { return device::kSupportedKeyboards[1]; }

// Short read time-outs keep the fault tests quick; the tries are what they test.
inline constexpr device::ProtocolTimings kQuickTimings{1000, 60, 4, 10};

struct ProtocolRig {
    explicit ProtocolRig(const device::KeyboardModel& model = Model128(), device::ProtocolTimings timings = kQuickTimings)
        : keyboard(virtualkb::FactoryContents(model)), device(keyboard), protocol(device, lock, state, timings) {
        state.SetGeometry(model);
        EXPECT_TRUE(device.Open(keyboard.Paths().vendor, true, true, true, false));
        state.SetConnected(true);
        keyboard.RecordRequests(true);
    }

    std::vector<device::CommandFrame::Bytes> Requests() const { return keyboard.RecordedRequests(); }

    virtualkb::VirtualKeyboard keyboard;
    device::HidDevice device;
    device::DeviceLock lock;
    device::KeyboardState state;
    device::CommandProtocol protocol;
};

inline uint16_t AddressOf(const device::CommandFrame::Bytes& frame) {
    return static_cast<uint16_t>(frame[device::kFrameAddressAt] | (frame[device::kFrameAddressAt + 1] << 8));
}

}  // namespace kw::test
