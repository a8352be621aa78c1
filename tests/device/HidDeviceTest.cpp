#include "device/HidDevice.h"
#include "tests/support/FakeHidBackend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace kw::device {
namespace {

using namespace std::chrono_literals;
using test::FakeHidBackend;
using test::FakeInterface;

FakeInterface ConsumerControl() {
    FakeInterface info;
    info.attributes = {0x320F, 0x5000, 0x0100};
    info.caps.usagePage = 0x000C;
    info.caps.usage = 0x0001;
    info.caps.inputReportByteLength = 9;
    // Report 3: a usage list limited to 0x0400..0x1811; report 4: one value with usages 0x30..0x31.
    info.buttons.push_back({0x000C, 3, 0x0400, 0x1811, 4});
    info.values.push_back({0x0001, 4, true, 0x30, 0x31});
    return info;
}

TEST(HidDeviceListTest, EmptyBusEnumeratesNothing) {
    FakeHidBackend backend;
    HidDevice dev(backend);
    EXPECT_EQ(dev.NextPath(), nullptr) << "no list yet";
    ASSERT_TRUE(dev.Enumerate());
    EXPECT_EQ(dev.PathCount(), 0u);
    EXPECT_EQ(dev.NextPath(), nullptr);
}

TEST(HidDeviceListTest, ManyInterfacesKeepTheirOrderAndTheCursorRestarts) {
    FakeHidBackend backend;
    for (int i = 0; i < 19; ++i) backend.Add(L"\\\\?\\hid#dev" + std::to_wstring(i), ConsumerControl());
    HidDevice dev(backend);
    ASSERT_TRUE(dev.Enumerate());
    for (int i = 0; i < 19; ++i) {
        const wchar_t* p = dev.NextPath();
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(std::wstring(p), L"\\\\?\\hid#dev" + std::to_wstring(i));
    }
    EXPECT_EQ(dev.NextPath(), nullptr);
    ASSERT_TRUE(dev.Enumerate());
    EXPECT_NE(dev.NextPath(), nullptr);
    dev.FreePathList();
    EXPECT_EQ(dev.NextPath(), nullptr);
}

TEST(HidDeviceListTest, FailedEnumerationLeavesNoList) {
    FakeHidBackend backend;
    backend.Add(L"a", ConsumerControl());
    backend.failEnumeration = true;
    HidDevice dev(backend);
    EXPECT_FALSE(dev.Enumerate());
    EXPECT_EQ(dev.NextPath(), nullptr);
}

TEST(HidDeviceOpenTest, OpenBuildsTablesAndCloseReportsWhetherOpen) {
    FakeHidBackend backend;
    backend.Add(L"kbd", ConsumerControl());
    HidDevice dev(backend);
    EXPECT_FALSE(dev.Close()) << "nothing open";
    EXPECT_FALSE(dev.Open(L"missing", true, true, true, false));
    EXPECT_FALSE(dev.IsOpen());

    ASSERT_TRUE(dev.Open(L"kbd", true, true, true, false));
    EXPECT_EQ(dev.Attributes().vendorId, 0x320F);
    EXPECT_EQ(dev.Caps().usagePage, 0x000C);
    EXPECT_EQ(dev.InputReportBuffer().size(), 9u);
    // One button item, then one value item per usage of the range.
    ASSERT_EQ(dev.InputItems().size(), 3u);
    EXPECT_TRUE(dev.InputItems()[0].isButtonData);
    EXPECT_EQ(dev.InputItems()[0].usages.size(), 4u);
    EXPECT_EQ(dev.InputItems()[1].usage, 0x30);
    EXPECT_EQ(dev.InputItems()[2].usage, 0x31);

    ASSERT_TRUE(dev.Open(L"kbd", true, false, true, false)) << "reopening closes the old interface first";
    EXPECT_EQ(backend.bus.openConnections, 1);
    EXPECT_TRUE(dev.Close());
    EXPECT_EQ(backend.bus.openConnections, 0);
    EXPECT_TRUE(dev.InputItems().empty());
}

TEST(HidDeviceOpenTest, PathTooLongForTheBufferFailsCleanly) {
    FakeHidBackend backend;
    const std::wstring longest(259, L'p');
    const std::wstring tooLong(260, L'p');
    backend.Add(longest, ConsumerControl());
    backend.Add(tooLong, ConsumerControl());
    HidDevice dev(backend);
    EXPECT_TRUE(dev.Open(longest, true, true, true, false));
    EXPECT_FALSE(dev.Open(tooLong, true, true, true, false));
    EXPECT_FALSE(dev.IsOpen());
    EXPECT_TRUE(dev.OpenedPath().empty());
}

TEST(HidDeviceIoTest, TimedReadWithNothingToReadReturnsZeroAfterTheTimeOut) {
    FakeHidBackend backend;
    backend.Add(L"kbd", ConsumerControl());
    HidDevice dev(backend);
    ASSERT_TRUE(dev.Open(L"kbd", true, true, true, false));
    uint8_t buf[9] = {};
    size_t got = 99;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(dev.ReadReport(buf, sizeof buf, &got, 50), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 45ms);
    EXPECT_EQ(got, 0u);

    backend.bus.Push({3, 1, 4});
    EXPECT_NE(dev.ReadReport(buf, sizeof buf, &got, 50), 0);
    EXPECT_EQ(got, 3u);
}

TEST(HidDeviceIoTest, ReadWithoutTimeOutIsReleasedByCancel) {
    FakeHidBackend backend;
    backend.Add(L"kbd", ConsumerControl());
    HidDevice dev(backend);
    ASSERT_TRUE(dev.Open(L"kbd", true, true, true, false));
    auto reader = std::async(std::launch::async, [&] {
        uint8_t buf[9];
        size_t got = 0;
        return dev.ReadReport(buf, sizeof buf, &got, kInfinite);
    });
    EXPECT_EQ(reader.wait_for(100ms), std::future_status::timeout) << "waits while nothing arrives";
    // The reader may not have started its wait yet; cancel until it lets go.
    while (reader.wait_for(10ms) != std::future_status::ready) dev.Cancel();
    EXPECT_EQ(reader.get(), 0);
}

TEST(HidDeviceIoTest, LeftOverCancelDoesNotCutShortALaterRead) {
    FakeHidBackend backend;
    backend.Add(L"kbd", ConsumerControl());
    HidDevice dev(backend);
    ASSERT_TRUE(dev.Open(L"kbd", true, true, true, false));
    dev.Cancel();  // nobody waits: this signal must be forgotten
    backend.bus.Push({3, 2, 4});
    uint8_t buf[9];
    size_t got = 0;
    EXPECT_NE(dev.ReadReport(buf, sizeof buf, &got, 200), 0);
}

TEST(HidDeviceIoTest, CloseOnAnotherThreadReleasesAWaitingReadAndDoesNotRace) {
    FakeHidBackend backend;
    backend.Add(L"kbd", ConsumerControl());
    HidDevice dev(backend);
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(dev.Open(L"kbd", true, true, true, false));
        auto reader = std::async(std::launch::async, [&] {
            uint8_t buf[9];
            size_t got = 0;
            return dev.ReadReport(buf, sizeof buf, &got, kInfinite);
        });
        if (round % 2) std::this_thread::sleep_for(1ms);
        EXPECT_TRUE(dev.Close());
        ASSERT_EQ(reader.wait_for(5s), std::future_status::ready);
        EXPECT_EQ(reader.get(), 0);
    }
    uint8_t buf[9];
    EXPECT_EQ(dev.WriteReport(buf, sizeof buf, nullptr, 10), 0) << "closed: nothing is written";
}

struct UnpackCase {
    const char* name;
    std::vector<uint8_t> report;
    std::vector<uint16_t> expectedUsages;  // the button item's array after decoding
    bool buttonSet;
    friend void PrintTo(const UnpackCase& c, std::ostream* os) { *os << c.name; }
};

class UnpackInputReportTest : public ::testing::TestWithParam<UnpackCase> {};

TEST_P(UnpackInputReportTest, KeepsOnlyInRangeUsagesInReportOrder) {
    FakeHidBackend backend;
    backend.Add(L"kbd", ConsumerControl());
    HidDevice dev(backend);
    ASSERT_TRUE(dev.Open(L"kbd", true, false, true, false));
    auto items = dev.InputItems();
    const auto& c = GetParam();
    EXPECT_TRUE(dev.UnpackInputReport(c.report.data(), c.report.size(), items));
    EXPECT_EQ(items[0].isDataSet, c.buttonSet);
    if (c.buttonSet) {
        EXPECT_EQ(items[0].usages, c.expectedUsages);
    }
    EXPECT_FALSE(items[1].isDataSet) << "value items belong to another report";
}

INSTANTIATE_TEST_SUITE_P(
    Reports, UnpackInputReportTest,
    ::testing::Values(
        UnpackCase{"single", {3, 0x01, 0x04, 0, 0}, {0x0401, 0, 0, 0}, true},
        UnpackCase{"outOfRangeDropped", {3, 0x10, 0x00, 0x02, 0x04, 0x12, 0x18, 0x10, 0x18}, {0x0402, 0x1810, 0, 0}, true},
        UnpackCase{"allInRangeFillsTheArray", {3, 0x01, 0x04, 0x02, 0x04, 0x10, 0x18, 0x11, 0x18}, {0x0401, 0x0402, 0x1810, 0x1811}, true},
        UnpackCase{"empty", {3, 0, 0}, {0, 0, 0, 0}, true},
        UnpackCase{"otherReportLeavesItAlone", {9, 0x01, 0x04}, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UnpackInputReportValueTest, UndecodableValueStopsTheDecode) {
    FakeHidBackend backend;
    backend.Add(L"kbd", ConsumerControl());
    HidDevice dev(backend);
    ASSERT_TRUE(dev.Open(L"kbd", true, false, true, false));
    auto items = dev.InputItems();
    const std::vector<uint8_t> full{4, 0x34, 0x12, 0x78, 0x56};
    EXPECT_TRUE(dev.UnpackInputReport(full.data(), full.size(), items));
    EXPECT_EQ(items[1].value, 0x1234u);
    EXPECT_EQ(items[2].value, 0x5678u);
    EXPECT_TRUE(items[2].isDataSet);

    auto again = dev.InputItems();
    const std::vector<uint8_t> truncated{4, 0x34};
    EXPECT_FALSE(dev.UnpackInputReport(truncated.data(), truncated.size(), again));
    EXPECT_NE(again[1].status, kHidStatusSuccess);
}

}  // namespace
}  // namespace kw::device
