// State and bus files come from disk, where anything may have been written into them.
#include "virtualkb/BusFile.h"
#include "virtualkb/StoredContents.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kw::virtualkb;
    const std::span<const uint8_t> bytes(data, size);
    if (const auto contents = DecodeContents(bytes)) {
        // Whatever is accepted is whole: it encodes to an image that reads back the same.
        const auto again = DecodeContents(EncodeContents(*contents));
        if (!again || again->keyMaps != contents->keyMaps || again->macroArea != contents->macroArea ||
            again->settings != contents->settings)
            std::abort();
    }
    if (const auto bus = ParseBus(std::string_view(reinterpret_cast<const char*>(data), size))) {
        const auto again = ParseBus(FormatBus(*bus));
        if (!again || again->plugged != bus->plugged || again->generation != bus->generation ||
            again->presses.size() != bus->presses.size())
            std::abort();
    }
    return 0;
}
