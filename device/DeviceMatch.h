#pragma once
// Recognising the keyboard's interfaces: first by the vendor and product in the interface path, then
// by what the opened interface says of itself.
#include "device/HidDevice.h"
#include "device/KeyboardState.h"

#include <optional>
#include <string>

namespace kw::device {

struct InterfaceUsage {
    uint16_t usagePage;
    uint16_t usage;
};
inline constexpr InterfaceUsage kVendorInterface{0xFF1C, 0x92};
inline constexpr InterfaceUsage kConsumerInterface{0x000C, 0x0001};

// The hexadecimal number after "vid_" (or "pid_"), found without regard to case; its low 16 bits.
std::optional<uint16_t> PathNumberAfter(const std::wstring& path, const wchar_t* tag);
// True when the path names one of the supported keyboards.
bool IsCandidatePath(const std::wstring& path);
// The supported keyboard the open device confirms to be, with the wanted interface usage; null when
// it is another device or another interface of the keyboard.
const KeyboardModel* ConfirmOpenDevice(const HidDevice& device, InterfaceUsage wanted);

// Walks the listed paths, opening each candidate on the device with the given access and keeping
// the first one confirmed open. Every unconfirmed candidate is closed again. Null when none matched.
const KeyboardModel* OpenFirstMatching(HidDevice& device, InterfaceUsage wanted, bool read, bool write);

}  // namespace kw::device
