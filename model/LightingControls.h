#pragma once
// How each control of the lighting panel changes the panel state and the current profile's record.
// The controls are rows of one table keyed by control id; what a row does follows from its kind.
#include "device/CommandProtocol.h"
#include "model/LightingRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kw::model {

// Control ids of the lighting panel on the main window.
namespace lighting_control {
inline constexpr int kEffectCombo = 1146;
inline constexpr int kBrightnessSlider = 1178;
inline constexpr int kSpeedSlider = 1179;
inline constexpr int kDirectionBackward = 1149;
inline constexpr int kDirectionForward = 1150;
inline constexpr int kColourButton1 = 1152;
inline constexpr int kColourButton2 = 1155;
inline constexpr int kColourButton3 = 1158;
inline constexpr int kColourfulToggle = 1156;
inline constexpr int kColourfulToggle7 = 1175;
inline constexpr int kReportRate0 = 1147;
inline constexpr int kReportRate1 = 1168;
inline constexpr int kReportRate2 = 1169;
inline constexpr int kReportRate3 = 1170;
inline constexpr int kPalette0 = 1194;
inline constexpr int kTriggerSingle = 1183;
inline constexpr int kTriggerGrid = 1180;
inline constexpr int kSecondColourButton = 1187;
inline constexpr int kSecondColourToggle = 1188;
inline constexpr int kThirdColourButton = 1191;
inline constexpr int kThirdColourToggle = 1192;
inline constexpr int kFirstPreset = 1211;
inline constexpr int kSliderPositions = 6;  // 0-5
}  // namespace lighting_control

// What the owner did: the control, and the combo's effect code or the slider's position (value), or
// the colour button's colour (its chosen colour, or its automatic colour when none is chosen).
struct ControlInput {
    int control = 0;
    int value = 0;
    Colour colour = 0;
};

struct FieldBytes {
    std::size_t offset;
    std::vector<std::uint8_t> bytes;
    bool operator==(const FieldBytes&) const = default;
};
// The writes of one group, in order; empty when the change sends nothing.
using LightingWrite = std::vector<FieldBytes>;

bool IsLightingControl(int control);
// Changes the state as the control does and gives the bytes to write; nothing for a control that is
// not the lighting panel's. A slider position outside 0-5 changes nothing and sends nothing.
std::optional<LightingWrite> PlanLightingControl(LightingState& state, const ControlInput& input);
// PlanLightingControl, then the writes in one group for the state's profile. The state keeps its new
// value even when the keyboard does not take it; the next ReadLighting shows what it holds.
int ApplyLightingControl(device::CommandProtocol& protocol, LightingState& state, const ControlInput& input);

}  // namespace kw::model
