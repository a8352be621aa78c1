#pragma once
// The process-wide objects of the device link: the HID backend chosen from the environment at first
// use, the command device the presence monitor opens on the keyboard's vendor interface, the
// DeviceLock, and the command protocol over them. They live until the process ends; the device
// threads must be stopped before that.
#include "device/CommandProtocol.h"
#include "device/DeviceLock.h"
#include "device/HidBackend.h"
#include "device/HidDevice.h"

#include <string>

namespace kw::device {

HidBackend& ProcessHidBackend();
// Why the virtual keyboard the environment asks for is not available; empty when all is well.
const std::string& ProcessHidBackendError();
HidDevice& CommandDevice();
DeviceLock& TheDeviceLock();
// The protocol on the command device, judged by TheKeyboard()'s connection flag and geometry.
CommandProtocol& Commands();

}  // namespace kw::device
