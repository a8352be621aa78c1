#pragma once
// The keyboard's lighting record (one per on-board profile), the panel state mirrored from it, the
// keyboard's effect list and the per-LED colour table that the user-defined effect shows.
#include "device/CommandProtocol.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kw::model {

// Red in the low byte, then green, then blue.
using Colour = std::uint32_t;
constexpr Colour MakeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) | (static_cast<Colour>(blue) << 16);
}
constexpr std::uint8_t RedOf(Colour c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(Colour c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(Colour c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
// The three bytes the keyboard stores: red, green, blue.
std::array<std::uint8_t, 3> ColourBytes(Colour c);

inline constexpr std::size_t kLightingRecordBytes = 42;
using LightingRecord = std::array<std::uint8_t, kLightingRecordBytes>;
using LightingRecords = std::array<LightingRecord, device::kOnBoardProfiles>;

// Where each field sits in a record.
inline constexpr std::size_t kEffectAt = 0;
inline constexpr std::size_t kBrightnessAt = 1;
inline constexpr std::size_t kSpeedAt = 2;
inline constexpr std::size_t kDirectionAt = 3;
inline constexpr std::size_t kColourfulAt = 4;
inline constexpr std::size_t kColourAt = 5;
inline constexpr std::size_t kReportRateAt = 15;
inline constexpr std::size_t kPaletteAt = 17;
inline constexpr std::size_t kEffect7FlagAt = 18;
inline constexpr std::size_t kTriggerAt = 19;
inline constexpr std::size_t kSecondColourAt = 25;
inline constexpr std::size_t kSecondFlagAt = 28;
inline constexpr std::size_t kThirdColourAt = 30;
inline constexpr std::size_t kThirdFlagAt = 33;

// Highest values the panel can show; values read back above them are taken as these.
inline constexpr std::uint8_t kMaxBrightness = 5;
inline constexpr std::uint8_t kMaxSpeed = 5;
inline constexpr std::uint8_t kMaxReportRate = 3;
inline constexpr std::uint8_t kMaxPalette = 3;
inline constexpr std::uint8_t kDirectionForward = 0x00;
inline constexpr std::uint8_t kDirectionBackward = 0xFF;

inline constexpr std::uint8_t kUserDefinedEffect = 20;
inline constexpr std::uint8_t kEffectWithSecondFlag = 7;

// Effect 1, brightness 4, speed 2, direction 0, colourful, white; bytes 35-41 are left alone.
inline constexpr std::size_t kDefaultLightingBytes = 35;
extern const std::array<std::uint8_t, kDefaultLightingBytes> DefaultLightingRecord;

// The eight preset colours in button order (1211-1218).
extern const std::array<Colour, 8> PresetColours;

struct LightingState {
    std::uint8_t effect = 1;
    std::uint8_t brightness = 4;
    std::uint8_t speed = 2;  // the value sent: 5 minus the slider position
    std::uint8_t direction = kDirectionForward;
    bool colourful = true;
    bool effect7Flag = false;
    Colour colour = MakeColour(255, 255, 255);
    std::uint8_t reportRate = 0;
    std::uint8_t palette = 0;
    std::uint8_t trigger = 0;  // 0 single-key, 1 grid
    Colour secondColour = 0;
    bool secondColourful = false;
    Colour thirdColour = 0;
    bool thirdColourful = false;
    bool perKeyMode = false;
    int profile = 0;  // the on-board profile the panel addresses, 0-2
};

// Copies a record into the panel state. Every value that later picks a picture, a slider position
// or a button is brought into its range: a keyboard may hold anything in its memory.
void DecodeLightingRecord(const LightingRecord& record, LightingState& state);

// The effect codes the keyboard offers, in the order of its settings block (0 = empty slot).
using EffectSlots = std::array<std::uint8_t, device::kSettingsEffectSlots>;
EffectSlots EffectSlotsOf(const device::SettingsBlock& block);
// The non-zero codes in block order: the effect combo box's positions.
std::vector<std::uint8_t> EffectCodes(const EffectSlots& slots);
// The first combo position showing the code, -1 when none.
int EffectPositionOf(const EffectSlots& slots, std::uint8_t code);
bool OffersEffect(const EffectSlots& slots, std::uint8_t code);

// Three profiles of 512 bytes; LED n of profile p at p x 512 + 3n, red, green, blue.
inline constexpr int kLedSlots = static_cast<int>(device::kKeyColourProfileBytes / 3);  // 170
class LedColourTable {
public:
    // False (nothing changed) for a profile or LED outside the table.
    bool Set(int profile, int led, Colour colour);
    Colour Get(int profile, int led) const;
    std::span<const std::uint8_t> Profile(int profile) const;

private:
    std::array<std::uint8_t, device::kOnBoardProfiles * device::kKeyColourProfileBytes> m_bytes{};
};

}  // namespace kw::model
