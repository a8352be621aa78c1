#include "virtualkb/VirtualKeyboard.h"

#include "device/CommandProtocol.h"
#include "device/DeviceMatch.h"
#include "device/HidDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace kw::virtualkb {
namespace {

using namespace std::chrono_literals;
using device::HidDevice;

struct InterfaceCase {
    const wchar_t* name;
    std::wstring InterfacePaths::*path;
    uint16_t usagePage;
    uint16_t usage;
    uint16_t inputBytes;
};

const InterfaceCase kInterfaceCases[] = {
    {L"keyboard", &InterfacePaths::keyboard, 0x0001, 0x0006, 9},
    {L"consumer control", &InterfacePaths::consumer, 0x000C, 0x0001, 3},
    {L"vendor", &InterfacePaths::vendor, 0xFF1C, 0x0092, 64},
};

TEST(VirtualKeyboardTest, ShowsThreeInterfacesOfItsModelWithRealLookingPaths) {
    for (const auto& model : device::kSupportedKeyboards) {
        VirtualKeyboard keyboard(FactoryContents(model));
        std::vector<std::wstring> paths;
        ASSERT_TRUE(keyboard.Enumerate(paths));
        ASSERT_EQ(paths.size(), 3u);
        for (const auto& c : kInterfaceCases) {
            SCOPED_TRACE(c.name);
            const auto& path = keyboard.Paths().*c.path;
            EXPECT_NE(std::find(paths.begin(), paths.end(), path), paths.end());
            EXPECT_EQ(device::PathNumberAfter(path, L"vid_"), model.vendorId);
            EXPECT_EQ(device::PathNumberAfter(path, L"pid_"), model.productId);
            HidDevice dev(keyboard);
            ASSERT_TRUE(dev.Open(path, true, false, true, false));
            EXPECT_EQ(dev.Caps().usagePage, c.usagePage);
            EXPECT_EQ(dev.Caps().usage, c.usage);
            EXPECT_EQ(dev.Caps().inputReportByteLength, c.inputBytes);
            EXPECT_EQ(dev.Attributes().vendorId, model.vendorId);
            EXPECT_EQ(dev.Attributes().productId, model.productId);
        }
        EXPECT_EQ(paths.front(), keyboard.Paths().keyboard) << "the interface to reject comes first";
    }
}

TEST(VirtualKeyboardTest, TheScanRejectsAndClosesTheKeyboardInterface) {
    VirtualKeyboard keyboard(FactoryContents(device::kSupportedKeyboards[0]));
    HidDevice dev(keyboard);
    ASSERT_TRUE(dev.Enumerate());
    const auto* model = device::OpenFirstMatching(dev, device::kVendorInterface, true, true);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->keyCount, 126);
    EXPECT_EQ(dev.OpenedPath(), keyboard.Paths().vendor);
    EXPECT_EQ(keyboard.OpenConnections(), 1) << "only the vendor interface stays open";
}

TEST(VirtualKeyboardTest, ConsumerReportsDecodeToTheKeyboardsSignals) {
    VirtualKeyboard keyboard(FactoryContents(device::kSupportedKeyboards[1]));
    HidDevice reader(keyboard);
    ASSERT_TRUE(reader.Open(keyboard.Paths().consumer, true, false, true, false));
    for (uint16_t usage : {uint16_t{0x0401}, uint16_t{0x0402}, uint16_t{0x1810}, uint16_t{0x1811}}) {
        SCOPED_TRACE(usage);
        keyboard.Press(usage);
        for (uint16_t expected : {usage, uint16_t{0}}) {  // the press, then its release
            auto& report = reader.InputReportBuffer();
            size_t got = 0;
            ASSERT_TRUE(reader.ReadReport(report.data(), report.size(), &got, device::kInfinite));
            auto items = reader.InputItems();
            ASSERT_TRUE(reader.UnpackInputReport(report.data(), got, items));
            ASSERT_FALSE(items.empty());
            EXPECT_TRUE(items[0].isButtonData);
            EXPECT_TRUE(items[0].isDataSet);
            EXPECT_EQ(items[0].usages[0], expected);
        }
    }
}

TEST(VirtualKeyboardTest, UnpluggingEndsWaitingReadsAndOpenConnections) {
    VirtualKeyboard keyboard(FactoryContents(device::kSupportedKeyboards[1]));
    HidDevice reader(keyboard);
    ASSERT_TRUE(reader.Open(keyboard.Paths().consumer, true, false, true, false));
    auto waiting = std::async(std::launch::async, [&] {
        std::vector<uint8_t> report(3);
        size_t got = 0;
        return reader.ReadReport(report.data(), report.size(), &got, device::kInfinite);
    });
    std::this_thread::sleep_for(20ms);
    keyboard.Unplug();
    ASSERT_EQ(waiting.wait_for(1s), std::future_status::ready);
    EXPECT_EQ(waiting.get(), 0);

    std::vector<std::wstring> paths;
    EXPECT_TRUE(keyboard.Enumerate(paths));
    EXPECT_TRUE(paths.empty());
    EXPECT_FALSE(keyboard.Probe(keyboard.Paths().vendor));
    HidDevice other(keyboard);
    EXPECT_FALSE(other.Open(keyboard.Paths().vendor, true, true, true, false));
    keyboard.Press(0x0401);  // nobody hears a keyboard that is not there

    keyboard.Plug();
    EXPECT_TRUE(keyboard.Probe(keyboard.Paths().vendor));
    std::vector<uint8_t> report(3);
    size_t got = 0;
    EXPECT_FALSE(reader.ReadReport(report.data(), report.size(), &got, 10)) << "a handle from before stays dead";
    ASSERT_TRUE(reader.Open(keyboard.Paths().consumer, true, false, true, false));
    EXPECT_FALSE(reader.ReadReport(report.data(), report.size(), &got, 10)) << "the press while away is lost";
    keyboard.Press(0x0402);
    EXPECT_TRUE(reader.ReadReport(report.data(), report.size(), &got, 1000));
}

TEST(VirtualKeyboardTest, BootModeLastsUntilTheKeyboardIsPluggedInAgain) {
    VirtualKeyboard keyboard(FactoryContents(device::kSupportedKeyboards[1]));
    HidDevice dev(keyboard);
    ASSERT_TRUE(dev.Open(keyboard.Paths().vendor, true, true, true, false));
    device::CommandFrame boot;
    boot.bytes()[3] = boot.bytes()[4] = 0xEE;
    size_t written = 0;
    ASSERT_TRUE(dev.WriteReport(boot.bytes().data(), boot.bytes().size(), &written, 1000));
    EXPECT_FALSE(keyboard.Present());
    keyboard.Plug();  // it never left the socket
    EXPECT_FALSE(keyboard.Present());
    EXPECT_TRUE(keyboard.Contents().inBoot);
    keyboard.Unplug();
    keyboard.Plug();
    EXPECT_TRUE(keyboard.Present());
    EXPECT_FALSE(keyboard.Contents().inBoot);
}

TEST(VirtualKeyboardTest, LatencyModelChargesAMillisecondEachWay) {
    VirtualKeyboard keyboard(FactoryContents(device::kSupportedKeyboards[1]));
    keyboard.SetReportLatency(1ms);
    HidDevice dev(keyboard);
    ASSERT_TRUE(dev.Open(keyboard.Paths().vendor, true, true, true, false));
    const device::CommandFrame test(device::CommandCode::Test);
    std::vector<uint8_t> answer(64);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) {
        size_t n = 0;
        ASSERT_TRUE(dev.WriteReport(test.bytes().data(), 64, &n, 1000));
        ASSERT_TRUE(dev.ReadReport(answer.data(), 64, &n, 300));
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, 40ms);
}

TEST(VirtualKeyboardTest, OnlyTheVendorInterfaceTakesRequestsAndOnlyWholeOnes) {
    VirtualKeyboard keyboard(FactoryContents(device::kSupportedKeyboards[1]));
    const device::CommandFrame test(device::CommandCode::Test);
    size_t n = 0;
    HidDevice consumer(keyboard);
    ASSERT_TRUE(consumer.Open(keyboard.Paths().consumer, true, true, true, false));
    EXPECT_FALSE(consumer.WriteReport(test.bytes().data(), 64, &n, 100));
    HidDevice vendor(keyboard);
    ASSERT_TRUE(vendor.Open(keyboard.Paths().vendor, true, true, true, false));
    EXPECT_FALSE(vendor.WriteReport(test.bytes().data(), 63, &n, 100));
    HidDevice readOnly(keyboard);
    ASSERT_TRUE(readOnly.Open(keyboard.Paths().vendor, true, false, true, false));
    EXPECT_FALSE(readOnly.WriteReport(test.bytes().data(), 64, &n, 100));
    EXPECT_EQ(keyboard.TrafficSeen().requests, 0u);
}

}  // namespace
}  // namespace kw::virtualkb
