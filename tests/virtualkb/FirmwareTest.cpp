#include "virtualkb/Firmware.h"

#include <gtest/gtest.h>

#include <functional>

namespace kw::virtualkb {
namespace {

using device::CommandCode;
using device::CommandFrame;

const device::KeyboardModel& Model(int keys) { return *ModelWithKeys(keys); }

CommandFrame Frame(CommandCode command, uint8_t length = 0, uint16_t address = 0) {
    return CommandFrame(command, length, address);
}

struct StatusCase {
    const char* name;
    int keys;
    bool inGroup;
    std::function<CommandFrame()> frame;
    uint8_t status;
};

TEST(FirmwareTest, StatusOfEachKindOfRequest) {
    constexpr uint8_t ok = kStatusDone;
    constexpr uint8_t ff = device::kStatusErrorFF;
    constexpr uint8_t fe = device::kStatusErrorFE;
    const StatusCase cases[] = {
        {"test", 128, false, [] { return Frame(CommandCode::Test); }, ok},
        {"other report identifier", 128, false, [] { auto f = Frame(CommandCode::Test); f.bytes()[0] = 0x05; return f; }, ff},
        {"wrong checksum", 128, false, [] { auto f = Frame(CommandCode::Test); f.bytes()[1] ^= 1; return f; }, ff},
        {"unknown command", 128, false, [] { return Frame(static_cast<CommandCode>(0x0C)); }, ff},
        {"settings read of 43 bytes", 128, false, [] { return Frame(CommandCode::ReadSettings, 43); }, ff},
        {"settings write of 43 bytes", 128, false, [] { return Frame(CommandCode::WriteSettings, 43); }, ff},
        {"memory read of nothing", 128, false, [] { return Frame(CommandCode::ReadMem, 0, 0); }, ff},
        {"memory read of 57 bytes", 128, false, [] { return Frame(CommandCode::ReadMem, 57, 0); }, ff},
        {"memory read up to its end", 128, false, [] { return Frame(CommandCode::ReadMem, 56, 200); }, ok},
        {"memory read past its end", 128, false, [] { return Frame(CommandCode::ReadMem, 56, 201); }, fe},
        {"memory write outside a group", 128, false, [] { return Frame(CommandCode::WriteMem, 1, 0); }, fe},
        {"memory write inside a group", 128, true, [] { return Frame(CommandCode::WriteMem, 1, 0); }, ok},
        {"last key-map chunk, 512", 128, false, [] { return Frame(CommandCode::ReadKeyMap, 56, 3 * 512 - 56); }, ok},
        {"key map past profile 3, 512", 128, false, [] { return Frame(CommandCode::ReadKeyMap, 56, 3 * 512 - 55); }, fe},
        {"last key-map chunk, 378", 126, false, [] { return Frame(CommandCode::ReadKeyMap, 42, 3 * 378 - 42); }, ok},
        {"key map past profile 3, 378", 126, false, [] { return Frame(CommandCode::ReadKeyMap, 42, 3 * 378 - 41); }, fe},
        {"key-map write outside a group", 128, false, [] { return Frame(CommandCode::WriteKeyMap, 56, 0); }, fe},
        {"default key map, 378", 126, false, [] { return Frame(CommandCode::ReadDefaultKeyMap, 42, 336); }, ok},
        {"default key map past 378", 126, false, [] { return Frame(CommandCode::ReadDefaultKeyMap, 43, 336); }, fe},
        {"macro area up to capacity", 128, false, [] { return Frame(CommandCode::ReadMacros, 56, 32640 - 56); }, ok},
        {"macro area past capacity", 128, true, [] { return Frame(CommandCode::WriteMacros, 1, 32640); }, fe},
        {"key colours up to 1536", 128, true, [] { return Frame(CommandCode::WriteKeyColours, 54, 1536 - 54); }, ok},
        {"key colours past 1536", 128, true, [] { return Frame(CommandCode::WriteKeyColours, 54, 1536 - 53); }, fe},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KeyboardFirmware firmware(FactoryContents(Model(c.keys)));
        if (c.inGroup) {
            ASSERT_EQ(firmware.Handle(Frame(CommandCode::Begin).bytes()).answer[7], ok);
        }
        const auto request = c.frame();
        const auto reply = firmware.Handle(request.bytes());
        ASSERT_TRUE(reply.answered);
        EXPECT_EQ(reply.answer[device::kAnswerStatusAt], c.status);
    }
}

TEST(FirmwareTest, AnswerEchoesTheRequestAndCarriesTheData) {
    KeyboardFirmware firmware(FactoryContents(Model(128)));
    const auto reply = firmware.Handle(Frame(CommandCode::ReadMem, 8, 42).bytes());
    const auto& a = reply.answer;
    EXPECT_EQ(a[0], device::kCommandReportId);
    EXPECT_EQ(a[3], 0x05);
    EXPECT_EQ(a[4], 8);
    EXPECT_EQ(a[5], 42);
    EXPECT_EQ(a[1] | (a[2] << 8), device::FrameChecksum(a));
    const auto record = firmware.Contents().LightingRecord(1);
    EXPECT_TRUE(std::equal(record.begin(), record.begin() + 8, a.begin() + 8));
    EXPECT_EQ(a[16], 0) << "nothing past the bytes asked for";
}

TEST(FirmwareTest, WritesLandWhereTheyAreAddressedAndOnlyThere) {
    KeyboardFirmware firmware(FactoryContents(Model(126)));
    const auto before = firmware.Contents();
    firmware.Handle(Frame(CommandCode::Begin).bytes());
    const uint8_t data[] = {9, 8, 7};
    const auto reply = firmware.Handle(CommandFrame(CommandCode::WriteKeyMap, 3, 378 + 30, data).bytes());
    EXPECT_TRUE(reply.changed);
    EXPECT_FALSE(reply.commit) << "kept until the group ends";
    const auto after = firmware.Contents();
    for (size_t i = 0; i < after.keyMaps.size(); ++i) {
        const bool written = i >= 408 && i < 411;
        EXPECT_EQ(after.keyMaps[i], written ? data[i - 408] : before.keyMaps[i]) << "byte " << i;
    }
    EXPECT_TRUE(firmware.Handle(Frame(CommandCode::End).bytes()).commit);
    EXPECT_EQ(firmware.Handle(CommandFrame(CommandCode::WriteKeyMap, 3, 0, data).bytes()).answer[7],
              device::kStatusErrorFE)
        << "the group is closed";
}

TEST(FirmwareTest, SettingsWriteChangesOnlyTheActiveProfile) {
    KeyboardFirmware firmware(FactoryContents(Model(128)));
    const auto before = firmware.Contents().settings;
    device::SettingsBlock block;
    block.fill(0x77);
    block[device::kSettingsActiveProfileAt] = 2;
    const auto reply = firmware.Handle(CommandFrame(CommandCode::WriteSettings, 44, 0, block).bytes());
    EXPECT_EQ(reply.answer[7], kStatusDone);
    EXPECT_TRUE(reply.commit);
    auto expected = before;
    expected[device::kSettingsActiveProfileAt] = 2;
    EXPECT_EQ(firmware.Contents().settings, expected);

    block[device::kSettingsActiveProfileAt] = 3;
    EXPECT_EQ(firmware.Handle(CommandFrame(CommandCode::WriteSettings, 44, 0, block).bytes()).answer[7],
              device::kStatusErrorFE);
    EXPECT_EQ(firmware.Contents().ActiveProfile(), 2);
}

TEST(FirmwareTest, BootCommandIsNotAnswered) {
    KeyboardFirmware firmware(FactoryContents(Model(128)));
    CommandFrame boot;
    boot.bytes()[3] = 0xEE;
    boot.bytes()[4] = 0xEE;
    const auto reply = firmware.Handle(boot.bytes());
    EXPECT_FALSE(reply.answered);
    EXPECT_TRUE(reply.enteredBoot);
}

}  // namespace
}  // namespace kw::virtualkb
