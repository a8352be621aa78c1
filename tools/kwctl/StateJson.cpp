#include "tools/kwctl/StateJson.h"

#include <cstdio>
#include <sstream>

namespace kw::kwctl {

namespace {

std::string Hex(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * bytes.size() + 2);
    text += '"';
    for (uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    text += '"';
    return text;
}

std::string HexNumber(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "\"0x%0*X\"", digits, value);
    return text;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

template <class Each>
std::string List(int count, Each each) {
    std::string text = "[";
    for (int i = 0; i < count; ++i) text += (i ? ", " : "") + each(i);
    return text + "]";
}

}  // namespace

std::string StateJson(const std::string& file, const virtualkb::StoredContents& c, const virtualkb::BusState& bus,
                      const std::optional<virtualkb::LockHolder>& holder) {
    const int profiles = device::kOnBoardProfiles;
    std::ostringstream j;
    j << "{\n";
    j << "  \"file\": " << Quoted(file) << ",\n";
    j << "  \"variant\": {\"vendorId\": " << HexNumber(c.model.vendorId, 4) << ", \"productId\": "
      << HexNumber(c.model.productId, 4) << ", \"keys\": " << c.model.keyCount
      << ", \"keyMapBytes\": " << c.model.keyMapBytes << "},\n";
    j << "  \"plugged\": " << (bus.plugged ? "true" : "false") << ",\n";
    j << "  \"bootMode\": " << (c.inBoot ? "true" : "false") << ",\n";
    if (holder) {
        j << "  \"holder\": {\"processId\": " << holder->processId << ", \"world\": " << Quoted(holder->world)
          << ", \"secondsSinceRefresh\": " << holder->age.count() << ", \"stale\": " << (holder->stale ? "true" : "false")
          << "},\n";
    } else {
        j << "  \"holder\": null,\n";
    }
    j << "  \"settings\": " << Hex(c.settings) << ",\n";
    j << "  \"activeProfile\": " << c.ActiveProfile() << ",\n";
    j << "  \"macroCapacity\": " << c.MacroCapacity() << ",\n";
    std::string effects = "[";
    for (size_t i = 0; i < device::kSettingsEffectSlots; ++i) {
        const uint8_t code = c.settings[device::kSettingsEffectListAt + i];
        if (code != 0) effects += (effects.size() > 1 ? ", " : "") + std::to_string(code);
    }
    j << "  \"effects\": " << effects << "],\n";
    j << "  \"defaultKeyMap\": " << Hex(c.defaultKeyMap) << ",\n";
    j << "  \"keyMaps\": " << List(profiles, [&](int p) { return Hex(c.KeyMap(p)); }) << ",\n";
    j << "  \"lightingRecords\": " << List(profiles, [&](int p) { return Hex(c.LightingRecord(p)); }) << ",\n";
    j << "  \"keyColours\": " << List(profiles, [&](int p) { return Hex(c.KeyColours(p)); }) << ",\n";
    j << "  \"memory\": " << Hex(c.memory) << ",\n";
    j << "  \"macroArea\": " << Hex(c.macroArea) << ",\n";
    j << "  \"queuedPresses\": " << List(static_cast<int>(bus.presses.size()), [&](int i) {
        const auto& press = bus.presses[static_cast<size_t>(i)];
        return "{\"sequence\": " + std::to_string(press.sequence) + ", \"usage\": " + HexNumber(press.usage, 4) + "}";
    }) << "\n";
    j << "}\n";
    return j.str();
}

}  // namespace kw::kwctl
