#include "model/LightingRecord.h"

#include <algorithm>
#include <iterator>

namespace kw::model {

const std::array<std::uint8_t, kDefaultLightingBytes> DefaultLightingRecord{0x01, 0x04, 0x02, 0x00,
                                                                             0xFF, 0xFF, 0xFF, 0xFF};

const std::array<Colour, 8> PresetColours{
    MakeColour(235, 99, 30),  MakeColour(255, 0, 0),   MakeColour(0, 126, 255), MakeColour(90, 255, 0),
    MakeColour(234, 255, 0),  MakeColour(255, 192, 0), MakeColour(255, 0, 180), MakeColour(174, 0, 255),
};

std::array<std::uint8_t, 3> ColourBytes(Colour c) { return {RedOf(c), GreenOf(c), BlueOf(c)}; }

namespace {

Colour ColourFrom(const LightingRecord& r, std::size_t at) { return MakeColour(r[at], r[at + 1], r[at + 2]); }

}  // namespace

void DecodeLightingRecord(const LightingRecord& r, LightingState& s) {
    s.effect = r[kEffectAt];
    s.brightness = std::min(r[kBrightnessAt], kMaxBrightness);
    s.speed = std::min(r[kSpeedAt], kMaxSpeed);
    // Only two directions have pictures; anything but forward is backward.
    s.direction = r[kDirectionAt] == kDirectionForward ? kDirectionForward : kDirectionBackward;
    s.colour = ColourFrom(r, kColourAt);
    s.reportRate = std::min(r[kReportRateAt], kMaxReportRate);
    s.palette = std::min(r[kPaletteAt], kMaxPalette);
    s.colourful = r[kColourfulAt] != 0;
    if (s.effect == kEffectWithSecondFlag && r[kEffect7FlagAt] <= 1) s.effect7Flag = r[kEffect7FlagAt] == 1;
    if (r[kTriggerAt] <= 1) s.trigger = r[kTriggerAt];
    s.secondColour = ColourFrom(r, kSecondColourAt);
    s.secondColourful = r[kSecondFlagAt] != 0;
    s.thirdColour = ColourFrom(r, kThirdColourAt);
    s.thirdColourful = r[kThirdFlagAt] != 0;
}

EffectSlots EffectSlotsOf(const device::SettingsBlock& block) {
    EffectSlots slots{};
    std::copy_n(block.begin() + device::kSettingsEffectListAt, slots.size(), slots.begin());
    return slots;
}

std::vector<std::uint8_t> EffectCodes(const EffectSlots& slots) {
    std::vector<std::uint8_t> codes;
    std::copy_if(slots.begin(), slots.end(), std::back_inserter(codes), [](std::uint8_t c) { return c != 0; });
    return codes;
}

int EffectPositionOf(const EffectSlots& slots, std::uint8_t code) {
    if (code == 0) return -1;
    const auto codes = EffectCodes(slots);
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

bool OffersEffect(const EffectSlots& slots, std::uint8_t code) { return EffectPositionOf(slots, code) >= 0; }

bool LedColourTable::Set(int profile, int led, Colour colour) {
    if (profile < 0 || profile >= device::kOnBoardProfiles || led < 0 || led >= kLedSlots) return false;
    const auto bytes = ColourBytes(colour);
    std::copy(bytes.begin(), bytes.end(),
              m_bytes.begin() + static_cast<std::ptrdiff_t>(profile * device::kKeyColourProfileBytes + 3 * led));
    return true;
}

Colour LedColourTable::Get(int profile, int led) const {
    if (profile < 0 || profile >= device::kOnBoardProfiles || led < 0 || led >= kLedSlots) return 0;
    const std::size_t at = static_cast<std::size_t>(profile) * device::kKeyColourProfileBytes + 3 * static_cast<std::size_t>(led);
    return MakeColour(m_bytes[at], m_bytes[at + 1], m_bytes[at + 2]);
}

std::span<const std::uint8_t> LedColourTable::Profile(int profile) const {
    if (profile < 0 || profile >= device::kOnBoardProfiles) return {};
    return std::span<const std::uint8_t>(m_bytes).subspan(static_cast<std::size_t>(profile) * device::kKeyColourProfileBytes,
                                                          device::kKeyColourProfileBytes);
}

}  // namespace kw::model
