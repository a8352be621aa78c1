// A keyboard whose macro area holds any bytes at all: the read-back must stay inside what it read,
// accept only a block that holds together, and leave the caller's image alone when it refuses.
// Run longer with: build/<folder>/tests/fuzz/readback_fuzzer -max_total_time=600 tests/fuzz/corpus/readback_fuzzer
#include "device/CommandProtocol.h"
#include "device/HidDevice.h"
#include "model/ConfigTransfer.h"
#include "model/MacroCatalogueKeys.h"
#include "virtualkb/VirtualKeyboard.h"

#include <algorithm>
#include <cstdlib>

namespace {

using namespace kw;

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte is the keyboard's macro capacity in units of 128 bytes, the rest its macro area.
    const auto& model = device::kSupportedKeyboards[size % 2];
    virtualkb::StoredContents contents = virtualkb::FactoryContents(model);
    const uint8_t units = std::max<uint8_t>(data[0], 1);
    contents.settings[device::kSettingsMacroUnitsAt] = units;
    contents.macroArea.assign(static_cast<size_t>(units) * device::kMacroUnitBytes, 0);
    std::copy_n(data + 1, std::min(size - 1, contents.macroArea.size()), contents.macroArea.begin());
    const bool magic = contents.macroArea[0] == 0xAA && contents.macroArea[1] == 0x55;

    virtualkb::VirtualKeyboard keyboard(contents);
    device::HidDevice hid(keyboard);
    device::DeviceLock lock;
    device::KeyboardState state;
    state.SetGeometry(model);
    state.SetDefaultKeyMap(contents.defaultKeyMap);
    Require(hid.Open(keyboard.Paths().vendor, true, true, true, false));
    state.SetConnected(true);
    device::CommandProtocol protocol(hid, lock, state, device::ProtocolTimings{1000, 50, 1, 0});
    const model::TransferLink link{protocol, state, static_cast<uint32_t>(contents.macroArea.size()), 0,
                                   model::CatalogueMacroKeys()};

    model::ReadBackImage image;
    image.macros.resize(1);
    image.macros[0].id = 77;
    const model::TransferResult result = model::ReadBackConfiguration(link, image);
    if (!result.Ok()) {
        Require(image.macros.size() == 1 && image.macros[0].id == 77);
        Require(magic);  // an area without the magic is simply empty, never an error
        return 0;
    }
    if (!magic) Require(image.macros.empty());
    Require(image.macros.size() <= model::kMaxMacros);
    for (size_t i = 0; i < image.macros.size(); ++i) {
        Require(image.macros[i].actionCount <= model::kMaxMacroActions);
        Require(image.macros[i].id == i + 1);
    }
    return 0;
}
