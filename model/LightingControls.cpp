#include "model/LightingControls.h"

#include "model/LightingDevice.h"

#include <algorithm>
#include <array>

namespace kw::model {

namespace {

namespace lc = lighting_control;

enum class Kind {
    Effect,
    Brightness,
    Speed,
    Direction,         // parameter: the direction byte
    Colour,            // flag off, then the colour
    ColourOnly,        // the colour alone
    Preset,            // parameter: preset index
    Colourful,         // byte 4 toggles
    ColourfulWith7,    // byte 4 toggles, and so does the effect-7 flag
    ReportRate,        // parameter: rate index
    Palette,           // parameter: palette choice
    Trigger,           // parameter: trigger variant
    ExtraColour,       // parameter: 2 or 3
    ExtraColourful,    // parameter: 2 or 3
};

struct ControlRow {
    int control;
    Kind kind;
    int parameter;
};

constexpr std::array kControls{
    ControlRow{lc::kEffectCombo, Kind::Effect, 0},
    ControlRow{lc::kBrightnessSlider, Kind::Brightness, 0},
    ControlRow{lc::kSpeedSlider, Kind::Speed, 0},
    ControlRow{lc::kDirectionBackward, Kind::Direction, kDirectionBackward},
    ControlRow{lc::kDirectionForward, Kind::Direction, kDirectionForward},
    ControlRow{lc::kColourButton1, Kind::Colour, 0},
    ControlRow{lc::kColourButton2, Kind::Colour, 0},
    ControlRow{lc::kColourButton3, Kind::ColourOnly, 0},
    ControlRow{lc::kColourfulToggle, Kind::Colourful, 0},
    ControlRow{lc::kColourfulToggle7, Kind::ColourfulWith7, 0},
    ControlRow{lc::kReportRate0, Kind::ReportRate, 0},
    ControlRow{lc::kReportRate1, Kind::ReportRate, 1},
    ControlRow{lc::kReportRate2, Kind::ReportRate, 2},
    ControlRow{lc::kReportRate3, Kind::ReportRate, 3},
    ControlRow{lc::kPalette0, Kind::Palette, 0},
    ControlRow{lc::kPalette0 + 1, Kind::Palette, 1},
    ControlRow{lc::kPalette0 + 2, Kind::Palette, 2},
    ControlRow{lc::kPalette0 + 3, Kind::Palette, 3},
    ControlRow{lc::kTriggerSingle, Kind::Trigger, 0},
    ControlRow{lc::kTriggerGrid, Kind::Trigger, 1},
    ControlRow{lc::kSecondColourButton, Kind::ExtraColour, 2},
    ControlRow{lc::kSecondColourToggle, Kind::ExtraColourful, 2},
    ControlRow{lc::kThirdColourButton, Kind::ExtraColour, 3},
    ControlRow{lc::kThirdColourToggle, Kind::ExtraColourful, 3},
    ControlRow{lc::kFirstPreset + 0, Kind::Preset, 0},
    ControlRow{lc::kFirstPreset + 1, Kind::Preset, 1},
    ControlRow{lc::kFirstPreset + 2, Kind::Preset, 2},
    ControlRow{lc::kFirstPreset + 3, Kind::Preset, 3},
    ControlRow{lc::kFirstPreset + 4, Kind::Preset, 4},
    ControlRow{lc::kFirstPreset + 5, Kind::Preset, 5},
    ControlRow{lc::kFirstPreset + 6, Kind::Preset, 6},
    ControlRow{lc::kFirstPreset + 7, Kind::Preset, 7},
};

// Effects whose colourful flag goes with them, and effects that are sent alone; others send nothing.
constexpr std::array<std::uint8_t, 10> kEffectsWithFlag{1, 2, 3, 5, 7, 8, 9, 13, 14, 15};
constexpr std::array<std::uint8_t, 9> kEffectsAlone{4, 6, 10, 11, 12, 16, 17, 18, 20};

const ControlRow* RowOf(int control) {
    const auto* it = std::find_if(kControls.begin(), kControls.end(), [&](const ControlRow& r) { return r.control == control; });
    return it == kControls.end() ? nullptr : it;
}

template <std::size_t N>
bool Contains(const std::array<std::uint8_t, N>& list, int code) {
    return std::find(list.begin(), list.end(), code) != list.end();
}

FieldBytes Byte(std::size_t offset, int value) { return {offset, {static_cast<std::uint8_t>(value)}}; }
FieldBytes ColourField(std::size_t offset, Colour c) {
    const auto b = ColourBytes(c);
    return {offset, {b.begin(), b.end()}};
}
bool SliderPosition(int q) { return q >= 0 && q < lc::kSliderPositions; }

}  // namespace

bool IsLightingControl(int control) { return RowOf(control) != nullptr; }

std::optional<LightingWrite> PlanLightingControl(LightingState& s, const ControlInput& in) {
    const ControlRow* row = RowOf(in.control);
    if (!row) return std::nullopt;
    const int p = row->parameter;
    switch (row->kind) {
        case Kind::Effect:
            if (in.value < 0 || in.value > 0xFF) return LightingWrite{};
            if (Contains(kEffectsWithFlag, in.value)) {
                s.effect = static_cast<std::uint8_t>(in.value);
                return LightingWrite{Byte(kEffectAt, in.value), Byte(kColourfulAt, s.colourful ? 1 : 0)};
            }
            s.effect = static_cast<std::uint8_t>(in.value);
            if (Contains(kEffectsAlone, in.value)) return LightingWrite{Byte(kEffectAt, in.value)};
            return LightingWrite{};
        case Kind::Brightness:
            if (!SliderPosition(in.value) || in.value == s.brightness) return LightingWrite{};
            s.brightness = static_cast<std::uint8_t>(in.value);
            return LightingWrite{Byte(kBrightnessAt, in.value)};
        case Kind::Speed: {
            if (!SliderPosition(in.value)) return LightingWrite{};
            const int speed = kMaxSpeed - in.value;
            if (speed == s.speed) return LightingWrite{};
            s.speed = static_cast<std::uint8_t>(speed);
            return LightingWrite{Byte(kSpeedAt, speed)};
        }
        case Kind::Direction:
            s.direction = static_cast<std::uint8_t>(p);
            return LightingWrite{Byte(kDirectionAt, p)};
        case Kind::Colour:
            s.colour = in.colour;
            s.colourful = false;
            return LightingWrite{Byte(kColourfulAt, 0), ColourField(kColourAt, in.colour)};
        case Kind::ColourOnly:
            s.colour = in.colour;
            s.colourful = false;
            return LightingWrite{ColourField(kColourAt, in.colour)};
        case Kind::Preset: {
            const Colour c = PresetColours[static_cast<std::size_t>(p)];
            // The record now holds the preset with the flag off; the state says so too.
            s.colour = c;
            s.colourful = false;
            return LightingWrite{Byte(kColourfulAt, 0), ColourField(kColourAt, c)};
        }
        case Kind::Colourful:
            s.colourful = !s.colourful;
            return LightingWrite{Byte(kColourfulAt, s.colourful ? 1 : 0)};
        case Kind::ColourfulWith7:
            s.colourful = !s.colourful;
            s.effect7Flag = !s.effect7Flag;
            return LightingWrite{Byte(kColourfulAt, s.colourful ? 1 : 0)};
        case Kind::ReportRate:
            s.reportRate = static_cast<std::uint8_t>(p);
            return LightingWrite{Byte(kReportRateAt, p)};
        case Kind::Palette:
            s.palette = static_cast<std::uint8_t>(p);
            return LightingWrite{Byte(kPaletteAt, p)};
        case Kind::Trigger:
            if (s.trigger == p) return LightingWrite{};
            s.trigger = static_cast<std::uint8_t>(p);
            return LightingWrite{Byte(kTriggerAt, p)};
        case Kind::ExtraColour: {
            const bool second = p == 2;
            (second ? s.secondColour : s.thirdColour) = in.colour;
            (second ? s.secondColourful : s.thirdColourful) = false;
            return LightingWrite{Byte(second ? kSecondFlagAt : kThirdFlagAt, 0),
                                 ColourField(second ? kSecondColourAt : kThirdColourAt, in.colour)};
        }
        case Kind::ExtraColourful: {
            const bool second = p == 2;
            bool& flag = second ? s.secondColourful : s.thirdColourful;
            flag = !flag;
            return LightingWrite{Byte(second ? kSecondFlagAt : kThirdFlagAt, flag ? 1 : 0)};
        }
    }
    return std::nullopt;
}

int ApplyLightingControl(device::CommandProtocol& protocol, LightingState& state, const ControlInput& input) {
    const auto write = PlanLightingControl(state, input);
    if (!write) return device::kResultWriteFailed;
    const auto field = [](const FieldBytes& f) { return LightingField{f.offset, f.bytes}; };
    switch (write->size()) {
        case 0: return device::kResultSuccess;
        case 1: return WriteLightingField(protocol, state.profile, field((*write)[0]));
        default: return WriteLightingFields(protocol, state.profile, field((*write)[0]), field((*write)[1]));
    }
}

}  // namespace kw::model
