// Whatever the vendor interface sends back, a command ends with one of its result codes and never
// reads or writes past a buffer.
#include "device/CommandProtocol.h"
#include "tests/support/FakeHidBackend.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kw;
    test::FakeHidBackend backend;
    test::FakeInterface vendor;
    vendor.attributes = {0x320F, 0x5000, 0x0100};
    vendor.caps.usagePage = 0xFF1C;
    vendor.caps.usage = 0x92;
    vendor.caps.inputReportByteLength = 64;
    vendor.caps.outputReportByteLength = 64;
    backend.Add(L"\\\\?\\hid#vid_320f&pid_5000&mi_02", vendor);
    // The input is a run of reports, each a length byte (up to 80) and that many bytes.
    for (size_t at = 0; at < size;) {
        const size_t length = std::min<size_t>(data[at] % 81, size - at - 1);
        backend.bus.Push(std::vector<uint8_t>(data + at + 1, data + at + 1 + length));
        at += 1 + length;
    }
    device::HidDevice dev(backend);
    if (!dev.Open(L"\\\\?\\hid#vid_320f&pid_5000&mi_02", true, true, true, false)) std::abort();
    device::KeyboardState state;
    state.SetGeometry(device::kSupportedKeyboards[1]);
    state.SetConnected(true);
    device::DeviceLock lock;
    device::CommandProtocol protocol(dev, lock, state, device::ProtocolTimings{1, 0, 4, 0});

    device::SettingsBlock settings{};
    device::MemoryChunk chunk{};
    std::vector<uint8_t> map(512);
    const int results[] = {protocol.CMD_READ_SETTINGS(settings), protocol.CMD_READ_MEM(0, 56, chunk),
                           protocol.CMD_READ_KEYMAP(0, map), protocol.CMD_TEST(), protocol.CMD_READ_MACROS(map)};
    for (int r : results)
        if (r != device::kResultSuccess && r != device::kResultNoAnswer && r != device::kResultStatusFF &&
            r != device::kResultStatusFE)
            std::abort();
    return 0;
}
