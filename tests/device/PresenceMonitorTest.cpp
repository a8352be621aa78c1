#include "app/AppGlobals.h"
#include "device/DeviceMatch.h"
#include "device/InputReportReader.h"
#include "device/PresenceMonitor.h"
#include "tests/support/FakeHidBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kw::device {
namespace {

using namespace std::chrono_literals;
using test::FakeHidBackend;
using test::FakeInterface;

// Records what the device threads ask of the user interface, in order.
class RecordingUi final : public MonitorUi {
public:
    void KeyboardReady() override { Add("ready"); }
    void KeyboardGone() override { Add("gone"); }
    void OpenMainWindow() override { Add("open"); }
    void ShowMessage(const std::wstring& key) override { Add("message:" + std::string(key.begin(), key.end())); }
    void SetTrayIcon(int id) override { Add("icon:" + std::to_string(id)); }
    void ShowActivity(bool active) override { Add(active ? "activity:on" : "activity:off"); }
    void StartTimer(unsigned id) override { Add("timer:" + std::to_string(id)); }

    std::vector<std::string> Events() const {
        std::lock_guard<std::mutex> g(m_lock);
        return m_events;
    }
    int Count(const std::string& e) const {
        const auto events = Events();
        return static_cast<int>(std::count(events.begin(), events.end(), e));
    }
    // Waits until the event has been seen n times; false after two seconds.
    bool WaitFor(const std::string& e, int n = 1) const {
        for (int i = 0; i < 400; ++i) {
            if (Count(e) >= n) return true;
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }

private:
    void Add(std::string e) {
        std::lock_guard<std::mutex> g(m_lock);
        m_events.push_back(std::move(e));
    }
    mutable std::mutex m_lock;
    std::vector<std::string> m_events;
};

class FakeCommands final : public ConnectionCommands {
public:
    std::atomic<int> defaultMapResult{1};
    std::atomic<int> settingsResult{1};
    uint8_t capacityUnits = 200;
    int ReadSettings(SettingsBlock& block) override {
        block.fill(0);
        block[11] = capacityUnits;
        return settingsResult;
    }
    int ReadDefaultKeyMap(std::span<uint8_t> keyMap) override {
        for (size_t i = 0; i < keyMap.size(); ++i) keyMap[i] = static_cast<uint8_t>(i * 7);
        lastMapSize = keyMap.size();
        return defaultMapResult;
    }
    std::atomic<size_t> lastMapSize{0};
};

FakeInterface Interface(uint16_t vid, uint16_t pid, uint16_t page, uint16_t usage) {
    FakeInterface info;
    info.attributes = {vid, pid, 1};
    info.caps.usagePage = page;
    info.caps.usage = usage;
    info.caps.inputReportByteLength = 9;
    if (page == 0x000C) info.buttons.push_back({0x000C, 3, 0x0001, 0x1FFF, 4});
    return info;
}

const std::wstring kVendor128 = L"\\\\?\\hid#vid_320f&pid_5000&mi_02#7&1&0000#{4d1e55b2}";
const std::wstring kKeys128 = L"\\\\?\\hid#vid_320f&pid_5000&mi_00#7&1&0000#{4d1e55b2}";
const std::wstring kConsumer128 = L"\\\\?\\hid#VID_320F&PID_5000&MI_01#7&1&0000#{4d1e55b2}";
const std::wstring kVendor126 = L"\\\\?\\hid#vid_0c45&pid_5004&mi_02#8&2&0000#{4d1e55b2}";

class PresenceMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (Slot s : {Slot::StartHidden, Slot::ActiveProfile, Slot::MacroCapacity, Slot::KeyboardReady,
                       Slot::ConnectionChanging})
            AppGlobals::Set(s, 0);
        AppGlobals::Set(Slot::ActiveProfile, 5);
    }
    void Plug128() {
        backend.Add(kKeys128, Interface(0x320F, 0x5000, 0x0001, 0x0006));
        backend.Add(kVendor128, Interface(0x320F, 0x5000, 0xFF1C, 0x92));
    }
    void StartMonitor() {
        monitor = std::make_unique<PresenceMonitor>(backend, device, keyboard, commands, ui,
                                                    MonitorTiming{5ms, 20ms});
        monitor->Start();
    }

    FakeHidBackend backend;
    HidDevice device{backend};
    KeyboardState keyboard;
    FakeCommands commands;
    RecordingUi ui;
    std::unique_ptr<PresenceMonitor> monitor;
};

TEST_F(PresenceMonitorTest, PresentAtStartOpensTheWindowOnceAndFollowsRemovalAndReturn) {
    Plug128();
    StartMonitor();
    ASSERT_TRUE(ui.WaitFor("ready"));
    EXPECT_TRUE(keyboard.Connected());
    EXPECT_EQ(keyboard.KeyCount(), 128);
    EXPECT_EQ(keyboard.KeyMapBytes(), 512);
    EXPECT_EQ(commands.lastMapSize.load(), 512u);
    ASSERT_TRUE(keyboard.DefaultKeyMapRead());
    EXPECT_EQ((*keyboard.DefaultKeyMap())[3], 21);
    EXPECT_EQ(AppGlobals::Get(Slot::MacroCapacity), 200 * 128);
    ASSERT_TRUE(ui.WaitFor("open"));
    EXPECT_EQ(AppGlobals::Get(Slot::KeyboardReady), 1);

    backend.Remove(kVendor128);
    backend.Remove(kKeys128);
    ASSERT_TRUE(ui.WaitFor("gone"));
    EXPECT_FALSE(keyboard.Connected());
    EXPECT_FALSE(keyboard.DefaultKeyMapRead());
    EXPECT_EQ(AppGlobals::Get(Slot::ActiveProfile), -1);
    EXPECT_TRUE(ui.WaitFor("icon:128"));

    Plug128();
    ASSERT_TRUE(ui.WaitFor("ready", 2));
    monitor->Stop();
    EXPECT_EQ(ui.Count("open"), 1) << "the window opens at most once per run";
    const auto events = ui.Events();
    const std::vector<std::string> firstConnection(events.begin(), events.begin() + 3);
    EXPECT_EQ(firstConnection, (std::vector<std::string>{"ready", "icon:141", "open"}));
}

// The first pass ends by marking the run as started hidden when no keyboard was found.
void WaitForFirstPass() {
    for (int i = 0; i < 400 && AppGlobals::Get(Slot::StartHidden) == 0; ++i) std::this_thread::sleep_for(5ms);
}

TEST_F(PresenceMonitorTest, AbsentAtStartNeverOpensTheWindowLater) {
    StartMonitor();
    WaitForFirstPass();
    ASSERT_EQ(AppGlobals::Get(Slot::StartHidden), 1);
    EXPECT_EQ(ui.Count("icon:128"), 0) << "nothing changed: the tray keeps its first icon";
    Plug128();
    ASSERT_TRUE(ui.WaitFor("icon:141"));
    monitor->Stop();
    EXPECT_EQ(ui.Count("open"), 0);
    EXPECT_EQ(ui.Count("gone"), 0) << "nothing was lost that had been there";
}

TEST_F(PresenceMonitorTest, StartHiddenKeepsTheWindowClosed) {
    AppGlobals::Set(Slot::StartHidden, 1);
    Plug128();
    StartMonitor();
    ASSERT_TRUE(ui.WaitFor("ready"));
    std::this_thread::sleep_for(50ms);
    monitor->Stop();
    EXPECT_EQ(ui.Count("open"), 0);
}

TEST_F(PresenceMonitorTest, SmallerModelGetsItsOwnGeometry) {
    backend.Add(kVendor126, Interface(0x0C45, 0x5004, 0xFF1C, 0x92));
    StartMonitor();
    ASSERT_TRUE(ui.WaitFor("ready"));
    monitor->Stop();
    EXPECT_EQ(keyboard.KeyCount(), 126);
    EXPECT_EQ(keyboard.KeyMapBytes(), 378);
    EXPECT_EQ(commands.lastMapSize.load(), 378u);
}

TEST_F(PresenceMonitorTest, UnreadableDefaultKeyMapIsReportedAndNeverUsed) {
    commands.defaultMapResult = 0;
    Plug128();
    StartMonitor();
    ASSERT_TRUE(ui.WaitFor("ready"));
    monitor->Stop();
    EXPECT_EQ(ui.Count("message:MAIN_DEFAULT_MATRIX_PROMPT"), 1);
    EXPECT_FALSE(keyboard.DefaultKeyMapRead());
    EXPECT_FALSE(keyboard.DefaultKeyMap().has_value());
}

TEST_F(PresenceMonitorTest, ImpostorsAreOpenedRejectedAndClosed) {
    // Right path, wrong attributes; right path and attributes, wrong usage.
    backend.Add(L"\\\\?\\hid#vid_320f&pid_5000&mi_03#x", Interface(0x1234, 0x5678, 0xFF1C, 0x92));
    backend.Add(kKeys128, Interface(0x320F, 0x5000, 0x0001, 0x0006));
    backend.Add(L"\\\\?\\hid#vid_046d&pid_c52b#y", Interface(0x320F, 0x5000, 0xFF1C, 0x92));
    StartMonitor();
    WaitForFirstPass();
    std::this_thread::sleep_for(60ms);
    monitor->Stop();
    EXPECT_FALSE(keyboard.Connected());
    EXPECT_EQ(ui.Count("ready"), 0);
    EXPECT_GE(backend.OpenCount(L"\\\\?\\hid#vid_320f&pid_5000&mi_03#x"), 1);
    EXPECT_GE(backend.OpenCount(kKeys128), 1);
    EXPECT_EQ(backend.OpenCount(L"\\\\?\\hid#vid_046d&pid_c52b#y"), 0) << "a path of another device is not opened";
    EXPECT_EQ(backend.bus.openConnections, 0) << "every rejected interface is closed again";
}

TEST_F(PresenceMonitorTest, FailedEnumerationEndsTheThread) {
    backend.failEnumeration = true;
    StartMonitor();
    for (int i = 0; i < 200 && !monitor->Finished(); ++i) std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(monitor->Finished());
}

TEST(DeviceMatchTest, VendorAndProductComeFromThePathWithoutRegardToCase) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"\\\\?\\hid#vid_320f&pid_5000&mi_02#a", true},
        {L"\\\\?\\HID#VID_0C45&PID_5004#b", true},
        {L"\\\\?\\hid#vid_0c45&pid_5000#c", false},  // the pairs do not mix
        {L"\\\\?\\hid#vid_1320f&pid_5000#d", true},  // the low 16 bits count
        {L"\\\\?\\hid#pid_5000#e", false},
        {L"\\\\?\\hid#vid_&pid_5000#f", false},
        {L"", false},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(IsCandidatePath(path), expected) << testing::PrintToString(std::wstring(path));
}

// --- the input-report reader ---

class InputReportReaderTest : public ::testing::Test {
protected:
    FakeHidBackend backend;
    RecordingUi ui;
};

std::vector<uint8_t> UsageReport(uint16_t usage) {
    return {3, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8), 0, 0, 0, 0, 0, 0};
}

TEST_F(InputReportReaderTest, KeyboardSignalsReachTheirActions) {
    backend.Add(kConsumer128, Interface(0x320F, 0x5000, 0x000C, 0x0001));
    InputReportReader reader(backend, ui, 20ms);
    reader.Start();
    for (uint16_t usage : {0x0401, 0x0402, 0x1811, 0x1810, 0x1801, 0x00E9}) backend.bus.Push(UsageReport(usage));
    ASSERT_TRUE(ui.WaitFor("activity:off"));
    reader.Stop();
    EXPECT_EQ(ui.Events(),
              (std::vector<std::string>{"timer:1051", "timer:1053", "activity:on", "activity:off"}));
}

TEST_F(InputReportReaderTest, ReportsThatFillNoButtonItemAreIgnored) {
    backend.Add(kConsumer128, Interface(0x320F, 0x5000, 0x000C, 0x0001));
    InputReportReader reader(backend, ui, 20ms);
    reader.Start();
    backend.bus.Push(UsageReport(0x0401));
    ASSERT_TRUE(ui.WaitFor("timer:1051"));
    // Another report id leaves the button item unfilled: its old usage must not be acted on again.
    backend.bus.Push({7, 0x01, 0x04, 0, 0, 0, 0, 0, 0});
    backend.bus.Push(UsageReport(0));
    backend.bus.Push(UsageReport(0x1811));
    ASSERT_TRUE(ui.WaitFor("activity:on"));
    reader.Stop();
    EXPECT_EQ(ui.Count("timer:1051"), 1);
}

TEST_F(InputReportReaderTest, StopReleasesAReadWaitingForTheKeyboard) {
    backend.Add(kConsumer128, Interface(0x320F, 0x5000, 0x000C, 0x0001));
    for (int round = 0; round < 5; ++round) {
        InputReportReader reader(backend, ui, 20ms);
        reader.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(round * 3));
        const auto start = std::chrono::steady_clock::now();
        reader.Stop();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    }
    EXPECT_EQ(backend.bus.openConnections, 0);
}

TEST(InputReportReaderUsageTest, FirstButtonItemFilledByThisReport) {
    HidItem value;
    value.isDataSet = true;
    value.usage = 0x30;
    HidItem staleButton;
    staleButton.isButtonData = true;
    staleButton.usages = {0x0401, 0};
    HidItem button;
    button.isButtonData = true;
    button.isDataSet = true;
    button.usages = {0x1811, 0};
    HidItem empty;
    empty.isButtonData = true;
    empty.isDataSet = true;
    EXPECT_EQ(InputReportReader::UsageToActOn({value, staleButton, button}), 0x1811);
    EXPECT_EQ(InputReportReader::UsageToActOn({value}), 0);
    EXPECT_EQ(InputReportReader::UsageToActOn({empty, button}), 0);
    EXPECT_EQ(InputReportReader::UsageToActOn({}), 0);
}

}  // namespace
}  // namespace kw::device
