#include "model/LightingControls.h"

#include "model/LightingDevice.h"
#include "tests/device/ProtocolRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kw::model {
namespace {

namespace lc = lighting_control;
using Bytes = std::vector<std::uint8_t>;

LightingState Panel() {
    LightingState s;
    s.brightness = 3;
    s.speed = 2;
    s.colourful = true;
    s.trigger = 0;
    return s;
}

struct ControlCase {
    std::string name;
    ControlInput input;
    LightingWrite expected;
};

const Colour kTeal = MakeColour(0x10, 0x80, 0x90);

// From the panel above: what each control writes to its profile's record, in order.
const std::vector<ControlCase> kControlCases{
    {"effect3_goes_with_its_flag", {lc::kEffectCombo, 3}, {{0, {3}}, {4, {1}}}},
    {"effect7_goes_with_its_flag", {lc::kEffectCombo, 7}, {{0, {7}}, {4, {1}}}},
    {"effect4_alone", {lc::kEffectCombo, 4}, {{0, {4}}}},
    {"effect20_alone", {lc::kEffectCombo, 20}, {{0, {20}}}},
    {"effect19_sends_nothing", {lc::kEffectCombo, 19}, {}},
    {"brightness_changed", {lc::kBrightnessSlider, 5}, {{1, {5}}}},
    {"brightness_unchanged", {lc::kBrightnessSlider, 3}, {}},
    {"brightness_past_the_slider", {lc::kBrightnessSlider, 6}, {}},
    {"speed_slider_left_end", {lc::kSpeedSlider, 0}, {{2, {5}}}},
    {"speed_slider_right_end", {lc::kSpeedSlider, 5}, {{2, {0}}}},
    {"speed_slider_unchanged", {lc::kSpeedSlider, 3}, {}},
    {"speed_past_the_slider", {lc::kSpeedSlider, -1}, {}},
    {"direction_backward", {lc::kDirectionBackward}, {{3, {0xFF}}}},
    {"direction_forward", {lc::kDirectionForward}, {{3, {0x00}}}},
    {"colour_button_1", {lc::kColourButton1, 0, kTeal}, {{4, {0}}, {5, {0x10, 0x80, 0x90}}}},
    {"colour_button_2", {lc::kColourButton2, 0, kTeal}, {{4, {0}}, {5, {0x10, 0x80, 0x90}}}},
    {"colour_button_3_colour_only", {lc::kColourButton3, 0, kTeal}, {{5, {0x10, 0x80, 0x90}}}},
    {"first_preset", {lc::kFirstPreset}, {{4, {0}}, {5, {235, 99, 30}}}},
    {"last_preset", {lc::kFirstPreset + 7}, {{4, {0}}, {5, {174, 0, 255}}}},
    {"colourful_off", {lc::kColourfulToggle}, {{4, {0}}}},
    {"colourful_off_with_effect7", {lc::kColourfulToggle7}, {{4, {0}}}},
    {"report_rate_0", {lc::kReportRate0}, {{15, {0}}}},
    {"report_rate_3", {lc::kReportRate3}, {{15, {3}}}},
    {"palette_0", {lc::kPalette0}, {{17, {0}}}},
    {"palette_3", {lc::kPalette0 + 3}, {{17, {3}}}},
    {"trigger_grid", {lc::kTriggerGrid}, {{19, {1}}}},
    {"trigger_single_already", {lc::kTriggerSingle}, {}},
    {"second_colour", {lc::kSecondColourButton, 0, kTeal}, {{28, {0}}, {25, {0x10, 0x80, 0x90}}}},
    {"third_colour", {lc::kThirdColourButton, 0, kTeal}, {{33, {0}}, {30, {0x10, 0x80, 0x90}}}},
    {"second_flag_on", {lc::kSecondColourToggle}, {{28, {1}}}},
    {"third_flag_on", {lc::kThirdColourToggle}, {{33, {1}}}},
};

class ControlBytesTest : public testing::TestWithParam<ControlCase> {};

TEST_P(ControlBytesTest, WritesTheRecordBytes) {
    LightingState state = Panel();
    const auto write = PlanLightingControl(state, GetParam().input);
    ASSERT_TRUE(write.has_value());
    EXPECT_EQ(*write, GetParam().expected);
}

// Whatever the control wrote, the panel state decoded from the written record must agree with the
// state the control left: the two never drift apart.
TEST_P(ControlBytesTest, StateMatchesTheRecordItWrote) {
    LightingState state = Panel();
    LightingRecord record{};
    record[kBrightnessAt] = state.brightness;
    record[kSpeedAt] = state.speed;
    record[kColourfulAt] = 1;
    record[kEffectAt] = state.effect;
    record[kColourAt] = record[kColourAt + 1] = record[kColourAt + 2] = 0xFF;
    const auto write = PlanLightingControl(state, GetParam().input);
    ASSERT_TRUE(write.has_value());
    for (const auto& f : *write) std::copy(f.bytes.begin(), f.bytes.end(), record.begin() + static_cast<long>(f.offset));
    LightingState decoded = state;
    DecodeLightingRecord(record, decoded);
    EXPECT_EQ(decoded.brightness, state.brightness);
    EXPECT_EQ(decoded.speed, state.speed);
    // Colour button 1158 writes the colour alone, so only a written flag can be compared.
    const bool flagWritten = std::any_of(write->begin(), write->end(), [](const FieldBytes& f) { return f.offset == kColourfulAt; });
    if (flagWritten) {
        EXPECT_EQ(decoded.colourful, state.colourful);
    }
    EXPECT_EQ(decoded.colour, state.colour);
    EXPECT_EQ(decoded.reportRate, state.reportRate);
    EXPECT_EQ(decoded.palette, state.palette);
    EXPECT_EQ(decoded.trigger, state.trigger);
    EXPECT_EQ(decoded.secondColourful, state.secondColourful);
    EXPECT_EQ(decoded.thirdColourful, state.thirdColourful);
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlBytesTest, testing::ValuesIn(kControlCases),
                         [](const auto& info) { return info.param.name; });

TEST(LightingControlTest, TogglesFlipAndTheEffect7FlagFollows) {
    LightingState s = Panel();
    s.effect7Flag = false;
    PlanLightingControl(s, {lc::kColourfulToggle7});
    EXPECT_FALSE(s.colourful);
    EXPECT_TRUE(s.effect7Flag);
    const auto again = PlanLightingControl(s, {lc::kColourfulToggle});
    EXPECT_EQ(*again, (LightingWrite{{4, {1}}}));
    EXPECT_TRUE(s.effect7Flag);
}

TEST(LightingControlTest, OtherControlsAreNotLightingControls) {
    LightingState s = Panel();
    for (int id : {0, 1145, 1160, 1162, 1198, 1219}) {
        EXPECT_FALSE(IsLightingControl(id)) << id;
        EXPECT_FALSE(PlanLightingControl(s, {id}).has_value()) << id;
    }
}

struct WireCase {
    const char* name;
    ControlInput input;
    uint16_t address;
    Bytes bytes;
};

// With profile 2 current, every write lands in the third record (84-125), as one group.
TEST(LightingControlTest, Profile2WritesLandInTheThirdRecord) {
    const WireCase cases[]{
        {"palette", {lc::kPalette0 + 2}, 101, {0x02}},
        {"trigger", {lc::kTriggerGrid}, 103, {0x01}},
        {"colour", {lc::kColourButton3, 0, kTeal}, 89, {0x10, 0x80, 0x90}},
        {"speed", {lc::kSpeedSlider, 0}, 86, {0x05}},
    };
    for (const auto& c : cases) {
        test::ProtocolRig rig;
        LightingState state = Panel();
        state.profile = 2;
        ASSERT_EQ(ApplyLightingControl(rig.protocol, state, c.input), device::kResultSuccess) << c.name;
        const auto requests = rig.Requests();
        ASSERT_EQ(requests.size(), 3u) << c.name;
        EXPECT_EQ(requests[0][device::kFrameCommandAt], static_cast<uint8_t>(device::CommandCode::Begin));
        EXPECT_EQ(requests[1][device::kFrameCommandAt], static_cast<uint8_t>(device::CommandCode::WriteMem));
        EXPECT_EQ(requests[2][device::kFrameCommandAt], static_cast<uint8_t>(device::CommandCode::End));
        EXPECT_EQ(test::AddressOf(requests[1]), c.address) << c.name;
        ASSERT_EQ(requests[1][device::kFrameLengthAt], c.bytes.size()) << c.name;
        const auto memory = rig.keyboard.Contents().memory;
        EXPECT_EQ(Bytes(memory.begin() + c.address, memory.begin() + c.address + static_cast<long>(c.bytes.size())), c.bytes)
            << c.name;
    }
}

TEST(LightingControlTest, ColourChoiceSendsFlagThenColourInOneGroup) {
    test::ProtocolRig rig;
    LightingState state = Panel();
    state.profile = 1;
    ASSERT_EQ(ApplyLightingControl(rig.protocol, state, {lc::kColourButton1, 0, kTeal}), device::kResultSuccess);
    const auto requests = rig.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(test::AddressOf(requests[1]), 42 + 4);
    EXPECT_EQ(test::AddressOf(requests[2]), 42 + 5);
    EXPECT_EQ(requests[3][device::kFrameCommandAt], static_cast<uint8_t>(device::CommandCode::End));
}

TEST(LightingControlTest, NothingToSendSendsNothing) {
    test::ProtocolRig rig;
    LightingState state = Panel();
    EXPECT_EQ(ApplyLightingControl(rig.protocol, state, {lc::kEffectCombo, 19}), device::kResultSuccess);
    EXPECT_EQ(ApplyLightingControl(rig.protocol, state, {lc::kBrightnessSlider, 3}), device::kResultSuccess);
    EXPECT_TRUE(rig.Requests().empty());
}

// A failed write is not retried; the panel keeps the value the owner chose.
TEST(LightingControlTest, RefusedWriteKeepsThePanelValue) {
    test::ProtocolRig rig;
    rig.keyboard.InjectFault({virtualkb::FaultKind::StatusFE, device::CommandCode::WriteMem, 0, 10});
    LightingState state = Panel();
    EXPECT_NE(ApplyLightingControl(rig.protocol, state, {lc::kBrightnessSlider, 1}), device::kResultSuccess);
    EXPECT_EQ(state.brightness, 1);
    EXPECT_EQ(rig.keyboard.Contents().memory[1], 4);  // the factory brightness stays on the keyboard
    EXPECT_EQ(rig.Requests().back()[device::kFrameCommandAt], static_cast<uint8_t>(device::CommandCode::End));
}

}  // namespace
}  // namespace kw::model
