// The firmware takes any 64 bytes a program writes: it must answer them without reading or writing
// outside its areas, and keep every area its size.
#include "virtualkb/Firmware.h"

#include <algorithm>
#include <array>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kw::virtualkb;
    if (size == 0) return 0;
    const auto* model = ModelWithKeys((data[0] & 1) ? 126 : 128);
    KeyboardFirmware firmware(FactoryContents(*model));
    const auto sizes = [&] {
        const auto& c = firmware.Contents();
        return std::array<size_t, 5>{c.memory.size(), c.keyMaps.size(), c.defaultKeyMap.size(), c.macroArea.size(),
                                     c.keyColours.size()};
    };
    const auto before = sizes();
    for (size_t at = 1; at + kw::device::kFrameBytes <= size; at += kw::device::kFrameBytes) {
        kw::device::CommandFrame::Bytes request;
        std::copy_n(data + at, request.size(), request.begin());
        const auto reply = firmware.Handle(request);
        if (reply.answered == reply.enteredBoot) std::abort();  // every request but boot is answered
        if (firmware.Contents().ActiveProfile() > 2) std::abort();
    }
    if (sizes() != before) std::abort();
    return 0;
}
