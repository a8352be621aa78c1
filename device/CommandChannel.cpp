#include "device/CommandChannel.h"

#include "device/HidBackendFactory.h"
#include "device/KeyboardState.h"

#include <memory>

namespace kw::device {

namespace {

struct ChosenBackend {
    std::unique_ptr<HidBackend> backend;
    std::string error;
};

ChosenBackend& Chosen() {
    static ChosenBackend chosen = [] {
        ChosenBackend c;
        c.backend = MakeHidBackend(&c.error);
        return c;
    }();
    return chosen;
}

}  // namespace

HidBackend& ProcessHidBackend() { return *Chosen().backend; }

const std::string& ProcessHidBackendError() { return Chosen().error; }

HidDevice& CommandDevice() {
    static HidDevice device(ProcessHidBackend());
    return device;
}

DeviceLock& TheDeviceLock() {
    static DeviceLock lock;
    return lock;
}

CommandProtocol& Commands() {
    static CommandProtocol protocol(CommandDevice(), TheDeviceLock(), TheKeyboard());
    return protocol;
}

}  // namespace kw::device
