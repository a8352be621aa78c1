#include "virtualkb/VirtualKeyboard.h"

#include "device/CommandProtocol.h"
#include "device/HidDevice.h"
#include "tests/virtualkb/TempFolder.h"
#include "virtualkb/BusFile.h"
#include "virtualkb/HolderLock.h"
#include "virtualkb/HostFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kw::virtualkb {
namespace {

using namespace std::chrono_literals;
using test::TempFolder;

const device::KeyboardModel& Model(int keys) { return *ModelWithKeys(keys); }

std::unique_ptr<VirtualKeyboard> Hold(const std::filesystem::path& file, int keys = 128) {
    std::string error;
    auto keyboard = VirtualKeyboard::OpenStateFile(file, Model(keys), error);
    EXPECT_NE(keyboard, nullptr) << error;
    return keyboard;
}

// The command protocol on a held keyboard.
struct Session {
    explicit Session(VirtualKeyboard& keyboard)
        : device(keyboard), protocol(device, lock, state, device::ProtocolTimings{1000, 100, 4, 10}) {
        state.SetGeometry(*ModelWithKeys(keyboard.Contents().model.keyCount));
        EXPECT_TRUE(device.Open(keyboard.Paths().vendor, true, true, true, false));
        state.SetConnected(true);
    }
    device::HidDevice device;
    device::DeviceLock lock;
    device::KeyboardState state;
    device::CommandProtocol protocol;
};

void WriteText(const std::filesystem::path& file, const std::string& text) {
    ASSERT_TRUE(ReplaceWholeFile(file, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size())));
}

void Age(const std::filesystem::path& file, std::chrono::seconds by) {
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() - by);
}

TEST(StateFileTest, AMissingStateFileIsMadeWithTheAskedModelAndKeepsItsModelAfterwards) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    {
        auto keyboard = Hold(file, 126);
        ASSERT_TRUE(keyboard);
        EXPECT_TRUE(std::filesystem::exists(file));
        EXPECT_EQ(keyboard->Contents().model.productId, 0x5004);
    }
    auto again = Hold(file, 128);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Contents().model.productId, 0x5004) << "the model of a new file only";
}

TEST(StateFileTest, StoredContentsSurviveTheProgram) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    std::vector<uint8_t> map(512);
    for (size_t i = 0; i < map.size(); ++i) map[i] = static_cast<uint8_t>(i * 3);
    const uint8_t colours[] = {1, 2, 3};
    {
        auto keyboard = Hold(file);
        Session s(*keyboard);
        ASSERT_EQ(s.protocol.CMD_BEGIN(), 1);
        ASSERT_EQ(s.protocol.CMD_WRITE_KEYMAP(2, map), 1);
        ASSERT_EQ(s.protocol.CMD_END(), 1);
        device::SettingsBlock settings{};
        ASSERT_EQ(s.protocol.CMD_READ_SETTINGS(settings), 1);
        settings[device::kSettingsActiveProfileAt] = 1;
        ASSERT_EQ(s.protocol.CMD_WRITE_SETTINGS(settings), 1);
        // A group the program never closed is kept when the keyboard is closed cleanly.
        ASSERT_EQ(s.protocol.CMD_BEGIN(), 1);
        ASSERT_EQ(s.protocol.CMD_WRITE_KEY_COLOURS(3, colours), 1);
    }
    auto keyboard = Hold(file);
    const auto c = keyboard->Contents();
    const auto held = c.KeyMap(2);
    EXPECT_TRUE(std::equal(held.begin(), held.end(), map.begin()));
    EXPECT_EQ(c.ActiveProfile(), 1);
    EXPECT_EQ(c.keyColours[3], 1);
    EXPECT_EQ(c.keyColours[5], 3);
}

TEST(StateFileTest, OneHolderAtATime) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    const auto lock = CompanionFiles::For(file).lock;
    auto first = Hold(file);
    ASSERT_TRUE(first);
    EXPECT_TRUE(std::filesystem::exists(lock));
    std::string error;
    EXPECT_EQ(VirtualKeyboard::OpenStateFile(file, Model(128), error), nullptr);
    EXPECT_NE(error.find("held by process " + std::to_string(ThisProcessId())), std::string::npos) << error;
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(lock)) << "a clean close leaves no lock behind";
    EXPECT_TRUE(Hold(file));
}

struct LockCase {
    const char* name;
    std::string text;
    std::chrono::seconds age;
    bool taken;
};

TEST(StateFileTest, LocksLeftBehindAreTakenOverOnlyWhenTheirHolderIsGone) {
    const std::string here = ThisProcessWorld();
    const std::string deadHere = "pid=2147483000\nworld=" + here + "\n";
    const std::string otherWorld = "pid=4242\nworld=windows:ELSEWHERE:/prefix\n";
    const LockCase cases[] = {
        {"holder of this world no longer runs", deadHere, 0s, true},
        {"live holder elsewhere", otherWorld, 0s, false},
        {"holder elsewhere silent for a minute", otherWorld, 60s, true},
        {"this very process", "pid=" + std::to_string(ThisProcessId()) + "\nworld=" + here + "\n", 0s, false},
        {"this very process, quiet for a minute",
         "pid=" + std::to_string(ThisProcessId()) + "\nstarted=" + std::to_string(ProcessStartTime(ThisProcessId()).value_or(0)) +
             "\nworld=" + here + "\n",
         60s, !ProcessStartTime(ThisProcessId()).has_value()},
        {"its identifier, since given to this process",
         "pid=" + std::to_string(ThisProcessId()) + "\nstarted=1\nworld=" + here + "\n", 0s, true},
        {"names nobody, fresh", "", 0s, false},
        {"names nobody, old", "", 60s, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const auto file = folder / "kb.state";
        const auto lock = CompanionFiles::For(file).lock;
        WriteText(lock, c.text);
        if (c.age > 0s) Age(lock, c.age);
        std::string error;
        auto keyboard = VirtualKeyboard::OpenStateFile(file, Model(128), error);
        EXPECT_EQ(keyboard != nullptr, c.taken) << error;
        if (!c.taken) {
            EXPECT_TRUE(std::filesystem::exists(lock)) << "a live holder's lock stays";
        }
    }
}

TEST(StateFileTest, TheHolderKeepsItsLockFresh) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    auto keyboard = Hold(file);
    const auto lock = CompanionFiles::For(file).lock;
    Age(lock, 60s);
    std::this_thread::sleep_for(HolderLock::kRefreshEvery + 500ms);
    const auto holder = HolderLock::Inspect(lock);
    ASSERT_TRUE(holder.has_value());
    EXPECT_LT(holder->age, 5s);
    EXPECT_FALSE(holder->stale);
}

TEST(StateFileTest, PresenceAndPressesComeFromTheBusFile) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    const auto files = CompanionFiles::For(file);
    std::string error;
    // A press queued before the program started is not sent to it.
    ASSERT_TRUE(ChangeBus(files, [](BusState& b) { QueuePress(b, 0x1811); }, error)) << error;
    auto keyboard = Hold(file);
    device::HidDevice reader(*keyboard);
    ASSERT_TRUE(reader.Open(keyboard->Paths().consumer, true, false, true, false));
    std::vector<uint8_t> report(3);
    size_t got = 0;
    EXPECT_FALSE(reader.ReadReport(report.data(), report.size(), &got, 100));

    ASSERT_TRUE(ChangeBus(files, [](BusState& b) { QueuePress(b, 0x0402); }, error)) << error;
    ASSERT_TRUE(reader.ReadReport(report.data(), report.size(), &got, 1000)) << "a waiting read sees the queue";
    EXPECT_EQ(report[1] | (report[2] << 8), 0x0402);

    ASSERT_TRUE(ChangeBus(files, [](BusState& b) { SetPlugged(b, false); }, error)) << error;
    std::vector<std::wstring> paths;
    EXPECT_TRUE(keyboard->Enumerate(paths));
    EXPECT_TRUE(paths.empty());
    EXPECT_FALSE(keyboard->Probe(keyboard->Paths().vendor));
    ASSERT_TRUE(ChangeBus(files, [](BusState& b) { SetPlugged(b, true); }, error)) << error;
    EXPECT_TRUE(keyboard->Probe(keyboard->Paths().vendor));

    // The holder's own unplugging goes through the same file, so everyone sees it.
    keyboard->Unplug();
    const auto bus = ReadBus(files.bus);
    ASSERT_TRUE(bus.has_value());
    EXPECT_FALSE(bus->plugged);
}

TEST(StateFileTest, AQuickUnplugAndPlugBetweenTwoLooksStillEndsTheConnection) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    const auto files = CompanionFiles::For(file);
    auto keyboard = Hold(file);
    Session s(*keyboard);
    std::string error;
    ASSERT_TRUE(ChangeBus(files, [](BusState& b) { SetPlugged(b, false); SetPlugged(b, true); }, error)) << error;
    EXPECT_TRUE(keyboard->Probe(keyboard->Paths().vendor));
    EXPECT_EQ(s.protocol.CMD_TEST(), device::kResultWriteFailed) << "the old handle went with the removal";
}

TEST(StateFileTest, BootModeOutlivesTheProgramUntilTheKeyboardIsReplugged) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    const auto files = CompanionFiles::For(file);
    {
        auto keyboard = Hold(file);
        Session s(*keyboard);
        ASSERT_EQ(s.protocol.CMD_ENTER_BOOT(), 1);
        EXPECT_FALSE(keyboard->Present());
    }
    {
        auto keyboard = Hold(file);
        EXPECT_FALSE(keyboard->Present()) << "still in boot mode";
    }
    std::string error;
    ASSERT_TRUE(ChangeBus(files, [](BusState& b) { SetPlugged(b, false); }, error));
    ASSERT_TRUE(ChangeBus(files, [](BusState& b) { SetPlugged(b, true); }, error));
    auto keyboard = Hold(file);
    EXPECT_TRUE(keyboard->Present());
    EXPECT_FALSE(keyboard->Contents().inBoot);
}

TEST(StateFileTest, ADamagedStateFileIsReportedAndLeftAlone) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    WriteText(file, "not a keyboard");
    std::string error;
    EXPECT_EQ(VirtualKeyboard::OpenStateFile(file, Model(128), error), nullptr);
    EXPECT_NE(error.find("kb.state"), std::string::npos) << error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "not a keyboard");
    EXPECT_FALSE(std::filesystem::exists(CompanionFiles::For(file).lock)) << "the lock is given back";
}

TEST(StateFileTest, AReaderNeverSeesAHalfWrittenStateFile) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    auto keyboard = Hold(file);
    std::atomic<bool> writing{true};
    std::thread writer([&] {
        for (int i = 0; i < 40; ++i) keyboard->Save();
        writing = false;
    });
    int reads = 0, torn = 0;
    while (writing) {
        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(file, bytes)) continue;
        ++reads;
        if (!DecodeContents(bytes)) ++torn;
    }
    writer.join();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(torn, 0);
}

TEST(StateFileTest, HostPathsAcceptLinuxPathsInEveryWorld) {
#ifdef _WIN32
    EXPECT_EQ(HostPath("/work/kb.state").native(), L"Z:\\work\\kb.state");
    EXPECT_EQ(HostPath("Z:\\work\\kb.state").native(), L"Z:\\work\\kb.state");
    EXPECT_EQ(HostPath("C:/Users/kb.state").native(), L"C:/Users/kb.state");
#else
    EXPECT_EQ(HostPath("/work/kb.state").native(), "/work/kb.state");
#endif
}

}  // namespace
}  // namespace kw::virtualkb
