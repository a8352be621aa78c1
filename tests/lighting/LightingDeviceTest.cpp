#include "model/LightingDevice.h"

#include "tests/device/ProtocolRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kw::model {
namespace {

using device::CommandCode;
using Bytes = std::vector<std::uint8_t>;

// A copy: the keyboard's contents are handed out by value.
std::vector<std::uint8_t> KeyColoursOf(const test::ProtocolRig& rig, int profile) {
    const auto contents = rig.keyboard.Contents();
    const auto c = contents.KeyColours(profile);
    return {c.begin(), c.end()};
}

uint8_t CommandOf(const device::CommandFrame::Bytes& f) { return f[device::kFrameCommandAt]; }
constexpr uint8_t Code(CommandCode c) { return static_cast<uint8_t>(c); }

LightingRecord RecordWith(std::initializer_list<std::pair<size_t, uint8_t>> bytes) {
    LightingRecord r{};
    for (const auto& [at, v] : bytes) r[at] = v;
    return r;
}

// Writes a record of the profile through the model and reads all three back, on both keyboards.
TEST(LightingDeviceTest, RecordsWrittenAreReadBackForEveryProfile) {
    for (const auto* model : {&test::Model126(), &test::Model128()}) {
        test::ProtocolRig rig(*model);
        LightingRecords written{};
        for (int p = 0; p < device::kOnBoardProfiles; ++p) {
            auto& r = written[static_cast<size_t>(p)];
            for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<uint8_t>(p * 50 + i);
            ASSERT_EQ(WriteLightingField(rig.protocol, p, {0, std::span(r).first(35)}), device::kResultSuccess);
            ASSERT_EQ(WriteLightingField(rig.protocol, p, {35, std::span(r).subspan(35)}), device::kResultSuccess);
        }
        for (int p = 0; p < device::kOnBoardProfiles; ++p) {
            LightingRecords read{};
            EffectSlots effects{};
            LightingState state;
            state.profile = p;
            ASSERT_EQ(ReadLighting(rig.protocol, read, effects, state), device::kResultSuccess);
            EXPECT_EQ(read, written) << model->keyCount;
            const auto& mine = written[static_cast<size_t>(p)];
            EXPECT_EQ(state.effect, mine[0]);
            EXPECT_EQ(state.colour, MakeColour(mine[5], mine[6], mine[7]));
            EXPECT_EQ(state.secondColour, MakeColour(mine[25], mine[26], mine[27]));
            EXPECT_EQ(state.thirdColour, MakeColour(mine[30], mine[31], mine[32]));
            EXPECT_EQ(EffectPositionOf(effects, 20), 18);
        }
    }
}

TEST(LightingDeviceTest, ReadIsOneGroupOfThree56ByteReads) {
    test::ProtocolRig rig;
    LightingRecords records{};
    EffectSlots effects{};
    LightingState state;
    int inside = 0;
    ASSERT_EQ(ReadLighting(rig.protocol, records, effects, state, [&](device::CommandProtocol&) { ++inside; }),
              device::kResultSuccess);
    EXPECT_EQ(inside, 1);
    const auto r = rig.Requests();
    const std::vector<uint8_t> expected{Code(CommandCode::ReadSettings), Code(CommandCode::Begin), Code(CommandCode::ReadMem),
                                        Code(CommandCode::ReadMem), Code(CommandCode::ReadMem), Code(CommandCode::End)};
    ASSERT_EQ(r.size(), expected.size());
    for (size_t i = 0; i < r.size(); ++i) EXPECT_EQ(CommandOf(r[i]), expected[i]) << i;
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(test::AddressOf(r[2 + static_cast<size_t>(p)]), 42 * p);
        EXPECT_EQ(r[2 + static_cast<size_t>(p)][device::kFrameLengthAt], 56);
    }
}

struct DecodeCase {
    const char* name;
    LightingRecord record;
    void (*check)(const LightingState&);
};

// Values a keyboard may hold outside what the panel can show are brought into range; the trigger
// and the effect-7 flag keep the panel's value unless the byte is 0 or 1.
TEST(LightingDeviceTest, DecodingHoldsValuesInRange) {
    const DecodeCase cases[]{
        {"rate7", RecordWith({{15, 7}}), [](const LightingState& s) { EXPECT_EQ(s.reportRate, 3); }},
        {"rate2", RecordWith({{15, 2}}), [](const LightingState& s) { EXPECT_EQ(s.reportRate, 2); }},
        {"brightness200", RecordWith({{1, 200}}), [](const LightingState& s) { EXPECT_EQ(s.brightness, 5); }},
        {"speed6", RecordWith({{2, 6}}), [](const LightingState& s) { EXPECT_EQ(s.speed, 5); }},
        {"direction7", RecordWith({{3, 7}}), [](const LightingState& s) { EXPECT_EQ(s.direction, 0xFF); }},
        {"direction0", RecordWith({{3, 0}}), [](const LightingState& s) { EXPECT_EQ(s.direction, 0); }},
        {"palette9", RecordWith({{17, 9}}), [](const LightingState& s) { EXPECT_EQ(s.palette, 3); }},
        {"trigger2", RecordWith({{19, 2}}), [](const LightingState& s) { EXPECT_EQ(s.trigger, 1); }},
        {"trigger0", RecordWith({{19, 0}}), [](const LightingState& s) { EXPECT_EQ(s.trigger, 0); }},
        {"effect7flag", RecordWith({{0, 7}, {18, 0}}), [](const LightingState& s) { EXPECT_FALSE(s.effect7Flag); }},
        {"effect7flag5", RecordWith({{0, 7}, {18, 5}}), [](const LightingState& s) { EXPECT_TRUE(s.effect7Flag); }},
        {"otherEffectFlag", RecordWith({{0, 8}, {18, 0}}), [](const LightingState& s) { EXPECT_TRUE(s.effect7Flag); }},
        {"colourful9", RecordWith({{4, 9}, {28, 2}}),
         [](const LightingState& s) { EXPECT_TRUE(s.colourful && s.secondColourful && !s.thirdColourful); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LightingState s;
        s.trigger = 1;
        s.effect7Flag = true;
        DecodeLightingRecord(c.record, s);
        c.check(s);
    }
}

TEST(LightingDeviceTest, ReadClampsWhatTheKeyboardHolds) {
    test::ProtocolRig rig;
    const Bytes wild{0x05, 0xF0, 0x09, 0x42, 0x00, 1, 2, 3};
    ASSERT_EQ(WriteLightingField(rig.protocol, 1, {0, wild}), device::kResultSuccess);
    LightingRecords records{};
    EffectSlots effects{};
    LightingState state;
    state.profile = 1;
    ASSERT_EQ(ReadLighting(rig.protocol, records, effects, state), device::kResultSuccess);
    EXPECT_EQ(records[1][1], 0xF0);  // the record keeps what the keyboard said
    EXPECT_EQ(state.brightness, 5);
    EXPECT_EQ(state.speed, 5);
    EXPECT_EQ(state.direction, 0xFF);
}

// Without the settings block, or with any record unread, the panel and the records stay as they were.
TEST(LightingDeviceTest, FailedReadsKeepThePreviousRecordsAndState) {
    struct FailCase {
        const char* name;
        virtualkb::Fault fault;
    };
    const FailCase cases[]{
        {"settings", {virtualkb::FaultKind::StatusFF, CommandCode::ReadSettings, 0, 10}},
        {"first record", {virtualkb::FaultKind::StatusFE, CommandCode::ReadMem, 0, 10}},
        {"last record", {virtualkb::FaultKind::StatusFF, CommandCode::ReadMem, 2, 10}},
        {"unplugged", {virtualkb::FaultKind::Unplug, CommandCode::ReadMem, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::ProtocolRig rig;
        LightingRecords records{};
        records[0].fill(0x33);
        records[2].fill(0x44);
        const auto before = records;
        EffectSlots effects{};
        LightingState state;
        state.brightness = 1;
        state.effect = 9;
        rig.keyboard.InjectFault(c.fault);
        EXPECT_NE(ReadLighting(rig.protocol, records, effects, state), device::kResultSuccess);
        EXPECT_EQ(records, before);
        EXPECT_EQ(state.brightness, 1);
        EXPECT_EQ(state.effect, 9);
    }
}

TEST(LightingDeviceTest, ResetWritesTheDefaultAndLeavesTheRecordTail) {
    test::ProtocolRig rig;
    const Bytes tail(7, 0xAB);
    ASSERT_EQ(WriteLightingField(rig.protocol, 1, {35, tail}), device::kResultSuccess);
    const Bytes dirty(35, 0x77);
    ASSERT_EQ(WriteLightingField(rig.protocol, 1, {0, dirty}), device::kResultSuccess);
    rig.keyboard.ResetTraffic();
    const auto before = rig.Requests().size();
    ASSERT_EQ(ResetLighting(rig.protocol, 1), device::kResultSuccess);
    const auto r = rig.Requests();
    ASSERT_EQ(r.size() - before, 3u);
    EXPECT_EQ(test::AddressOf(r[before + 1]), 42);
    EXPECT_EQ(r[before + 1][device::kFrameLengthAt], 35);
    const auto memory = rig.keyboard.Contents().memory;
    const Bytes head{0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Bytes(memory.begin() + 42, memory.begin() + 50), head);
    EXPECT_TRUE(std::all_of(memory.begin() + 50, memory.begin() + 77, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(Bytes(memory.begin() + 77, memory.begin() + 84), tail);
    EXPECT_EQ(memory[0], 0x01);  // profile 0 untouched: its factory effect
}

TEST(LightingDeviceTest, LedTableGoesInEightChunksOf54Bytes) {
    for (const auto* model : {&test::Model126(), &test::Model128()}) {
        for (int p = 0; p < device::kOnBoardProfiles; ++p) {
            test::ProtocolRig rig(*model);
            LedColourTable table;
            for (int led = 0; led < kLedSlots; ++led) table.Set(p, led, MakeColour(static_cast<uint8_t>(led), 7, static_cast<uint8_t>(p)));
            ASSERT_EQ(WriteLedTable(rig.protocol, table, p, model->keyCount), device::kResultSuccess);
            const auto r = rig.Requests();
            ASSERT_EQ(r.size(), 10u);
            EXPECT_EQ(CommandOf(r.front()), Code(CommandCode::Begin));
            EXPECT_EQ(CommandOf(r.back()), Code(CommandCode::End));
            for (int c = 0; c < 8; ++c) {
                const auto& f = r[static_cast<size_t>(c) + 1];
                EXPECT_EQ(CommandOf(f), Code(CommandCode::WriteKeyColours));
                EXPECT_EQ(f[device::kFrameLengthAt], 54);
                EXPECT_EQ(test::AddressOf(f), p * 512 + 54 * c);
            }
            const auto stored = KeyColoursOf(rig, p);
            const auto mine = table.Profile(p);
            EXPECT_TRUE(std::equal(mine.begin(), mine.begin() + 432, stored.begin()));
            // LED 144 onwards is not sent: the keyboard keeps its own.
            EXPECT_EQ(stored[432], Bytes(virtualkb::FactoryContents(*model).keyColours)[static_cast<size_t>(p) * 512 + 432]);
        }
    }
}

TEST(LightingDeviceTest, OneLedColourGoesToItsAddress) {
    test::ProtocolRig rig;
    ASSERT_EQ(WriteLedColour(rig.protocol, 2, 110, MakeColour(1, 2, 3)), device::kResultSuccess);
    const auto r = rig.Requests();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(test::AddressOf(r[1]), 2 * 512 + 330);
    EXPECT_EQ(r[1][device::kFrameLengthAt], 3);
    const auto stored = KeyColoursOf(rig, 2);
    EXPECT_EQ(Bytes(stored.begin() + 330, stored.begin() + 333), (Bytes{1, 2, 3}));
}

TEST(LightingDeviceTest, RefusedArgumentsSendNothing) {
    test::ProtocolRig rig;
    const Bytes one{1};
    const Bytes tooMany(36, 0);
    LedColourTable table;
    EXPECT_EQ(WriteLightingField(rig.protocol, 3, {0, one}), device::kResultWriteFailed);
    EXPECT_EQ(WriteLightingField(rig.protocol, -1, {0, one}), device::kResultWriteFailed);
    EXPECT_EQ(WriteLightingField(rig.protocol, 0, {42, one}), device::kResultWriteFailed);
    EXPECT_EQ(WriteLightingField(rig.protocol, 0, {0, tooMany}), device::kResultWriteFailed);
    EXPECT_EQ(WriteLightingField(rig.protocol, 0, {0, {}}), device::kResultWriteFailed);
    EXPECT_EQ(WriteLedColour(rig.protocol, 0, kLedSlots, 0), device::kResultWriteFailed);
    EXPECT_EQ(WriteLedTable(rig.protocol, table, 3, 128), device::kResultWriteFailed);
    EXPECT_TRUE(rig.Requests().empty());
}

TEST(LightingDeviceTest, EffectPositions) {
    EffectSlots slots{};
    const uint8_t codes[]{0, 4, 0, 20, 7, 4};
    std::copy(std::begin(codes), std::end(codes), slots.begin());
    EXPECT_EQ(EffectCodes(slots), (Bytes{4, 20, 7, 4}));
    EXPECT_EQ(EffectPositionOf(slots, 4), 0);
    EXPECT_EQ(EffectPositionOf(slots, 20), 1);
    EXPECT_EQ(EffectPositionOf(slots, 7), 2);
    EXPECT_EQ(EffectPositionOf(slots, 19), -1);
    EXPECT_EQ(EffectPositionOf(slots, 0), -1);
}

}  // namespace
}  // namespace kw::model
