// The real program, started as an owner starts it: single instance, hand-over, "/Kill", "/Start",
// its registry names.
#include "framework/Handles.h"
#include "framework/RegKey.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using kw::fw::UniqueHandle;

constexpr LONG_PTR kMainMark = 0x4D41494E;

// A path of this build's tree as this (Windows) program sees it. The build may have run on Linux,
// where Wine shows the root of the file system as drive Z:.
std::wstring BuildPath(const std::string& dir) {
    std::wstring path = dir.starts_with("/") ? L"Z:" : L"";
    for (char c : dir) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
}

// The distributable folder of this build.
std::wstring DistFolder() { return BuildPath(KW_DIST_DIR) + L"\\"; }

class Program {
public:
    explicit Program(const std::wstring& args, const std::wstring& exe = DistFolder() + L"Keyweave.exe") {
        std::wstring commandLine = L"\"" + exe + L"\" " + args;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   DistFolder().c_str(), &si, &pi) != FALSE;
        if (started) {
            process.reset(pi.hProcess);
            ::CloseHandle(pi.hThread);
            pid = pi.dwProcessId;
        }
    }
    // No copy outlives its test: close it the way "/Kill" does, or end it.
    ~Program() {
        if (!process || WaitExit(0)) return;
        if (HWND main = WaitForMainWindow(0)) {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(main, 0x4D4B, 0x4C4C494B, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        }
        if (!WaitExit(10000)) ::TerminateProcess(process.get(), 99);
        WaitExit(5000);
    }

    // The exit code, or nothing when the process still runs after the wait.
    std::optional<DWORD> WaitExit(DWORD ms) const {
        if (::WaitForSingleObject(process.get(), ms) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(process.get(), &code);
        return code;
    }

    // A top-level window of this process that matches; polls for up to the given time.
    HWND WaitForWindow(const std::function<bool(HWND)>& pred, DWORD ms) const {
        const ULONGLONG until = ::GetTickCount64() + ms;
        do {
            Search search{pid, &pred, nullptr};
            ::EnumWindows(&Program::CheckWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
            ::Sleep(50);
        } while (::GetTickCount64() < until);
        return nullptr;
    }

    HWND WaitForMainWindow(DWORD ms = 30000) const {
        return WaitForWindow([](HWND h) { return ::GetWindowLongPtrW(h, GWLP_USERDATA) == kMainMark; }, ms);
    }
    // A visible message box (dialog class) other than the main window.
    HWND WaitForMessageBox(DWORD ms) const {
        return WaitForWindow([](HWND h) {
            wchar_t cls[16] = {};
            ::GetClassNameW(h, cls, 16);
            return std::wstring(cls) == L"#32770" && ::IsWindowVisible(h) &&
                   ::GetWindowLongPtrW(h, GWLP_USERDATA) != kMainMark;
        }, ms);
    }

    bool started = false;
    UniqueHandle process;
    DWORD pid = 0;

private:
    struct Search {
        DWORD pid;
        const std::function<bool(HWND)>* pred;
        HWND found;
    };
    static BOOL CALLBACK CheckWindow(HWND h, LPARAM lp) {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        if (owner == s->pid && (*s->pred)(h)) {
            s->found = h;
            return FALSE;
        }
        return TRUE;
    }
};

class StartupTest : public ::testing::Test {};

TEST_F(StartupTest, FirstCopyRunsHiddenInTheTrayAndOwnsTheInstanceMutex) {
    Program first(L"");
    ASSERT_TRUE(first.started);
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the main window is marked for a second copy to find";
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(main)) << "the window opens hidden";
    EXPECT_TRUE(::GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no taskbar button in the tray";
    UniqueHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, L"QT07M41C"));
    EXPECT_TRUE(mutex) << "the single-instance mutex exists while the program runs";
    EXPECT_FALSE(first.WaitExit(0).has_value()) << "the missing KbDaemon.exe does not stop start-up";
    for (const wchar_t* name : {L"Keyweave_Event_Main_01", L"Keyweave_Event_Main_07", L"Keyweave_Event_Main_212"}) {
        UniqueHandle event(::OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, name));
        EXPECT_TRUE(event) << "another process opens the published event";
    }

    // Escape and Enter never close the main window.
    ::PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(first.WaitExit(500).has_value());
}

TEST_F(StartupTest, SecondCopyHandsOverWithoutWaitingForTheFirstCopysMessage) {
    Program first(L"");
    ASSERT_NE(first.WaitForMainWindow(), nullptr);

    Program second(L"");
    ASSERT_TRUE(second.started);
    // With no keyboard the first copy answers with a message box; the second must not wait for it.
    EXPECT_EQ(second.WaitExit(20000), std::optional<DWORD>(0));
    HWND box = first.WaitForMessageBox(20000);
    EXPECT_NE(box, nullptr) << "the first copy says that no keyboard is connected";
    EXPECT_FALSE(first.WaitExit(0).has_value());
    if (box) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(StartupTest, KillInAnyLetterCaseClosesTheRunningCopy) {
    for (const wchar_t* kill : {L"/Kill", L"/KILL", L"/kIlL"}) {
        Program first(L"");
        ASSERT_NE(first.WaitForMainWindow(), nullptr) << "before " << testing::PrintToString(std::wstring(kill));
        Program killer(kill);
        EXPECT_EQ(killer.WaitExit(20000), std::optional<DWORD>(0));
        EXPECT_EQ(first.WaitExit(20000), std::optional<DWORD>(0)) << "the running copy closes";
        UniqueHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, L"QT07M41C"));
        EXPECT_FALSE(mutex) << "the mutex goes with the program";
        UniqueHandle event(::OpenEventW(SYNCHRONIZE, FALSE, L"Keyweave_Event_Main_100"));
        EXPECT_FALSE(event) << "the published events go with the program";
    }
}

TEST_F(StartupTest, KillWithNoCopyRunningStartsNormally) {
    Program lone(L"/kill");
    ASSERT_TRUE(lone.started);
    EXPECT_NE(lone.WaitForMainWindow(), nullptr);
    EXPECT_FALSE(lone.WaitExit(0).has_value());
}

TEST_F(StartupTest, StartSwitchAndUnknownArgumentsStillStartTheProgram) {
    Program hidden(L"/START something-else");
    EXPECT_NE(hidden.WaitForMainWindow(), nullptr);
    EXPECT_FALSE(hidden.WaitExit(0).has_value());
}

TEST_F(StartupTest, RegistryNamesKeepTheirExactBlanks) {
    Program first(L"");
    ASSERT_NE(first.WaitForMainWindow(), nullptr);
    kw::fw::RegKey key;
    EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, L"Software\\Tarvelin    VX73LMN-5 V2", KEY_READ))
        << "the program key, four blanks after the brand word";

    HMODULE exe = ::LoadLibraryExW((DistFolder() + L"Keyweave.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    wchar_t name[128] = {};
    ::LoadStringW(exe, 57344, name, 128);
    ::FreeLibrary(exe);
    EXPECT_EQ(std::wstring(name), L"Tarvelin   VX73LMN-5 V2  Keyboard") << "three blanks, then two";
}

// The program with the virtual keyboard plugged in, as an owner without the hardware tries it.
class VirtualKeyboardStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_state = std::wstring(temp) + L"kw-startup-" + std::to_wstring(::GetCurrentProcessId()) + L".state";
        ::DeleteFileW(m_state.c_str());
        ::SetEnvironmentVariableW(L"KEYWEAVE_VIRTUAL_KEYBOARD", m_state.c_str());
    }
    void TearDown() override {
        ::SetEnvironmentVariableW(L"KEYWEAVE_VIRTUAL_KEYBOARD", nullptr);
        ::DeleteFileW(m_state.c_str());
    }
    // Runs "kwctl virtual ACTION STATE-FILE" and gives its exit code.
    std::optional<DWORD> Kwctl(const std::wstring& action) const {
        Program tool(L"virtual " + action + L" \"" + m_state + L"\"", BuildPath(KW_KWCTL_EXE));
        return tool.WaitExit(20000);
    }
    static bool WaitVisible(HWND hwnd, bool visible, DWORD ms) {
        const ULONGLONG until = ::GetTickCount64() + ms;
        while ((::IsWindowVisible(hwnd) != FALSE) != visible) {
            if (::GetTickCount64() >= until) return false;
            ::Sleep(50);
        }
        return true;
    }

private:
    std::wstring m_state;
};

TEST_F(VirtualKeyboardStartupTest, WindowOpensAtTheFirstConnection) {
    Program first(L"");
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitVisible(main, true, 20000)) << "the keyboard is found and the window opens by itself";
    EXPECT_FALSE(::GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "shown: a taskbar button again";
}

TEST_F(VirtualKeyboardStartupTest, StartKeepsTheWindowHiddenUntilAskedFor) {
    Program first(L"/Start");
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(WaitVisible(main, true, 4000)) << "\"/Start\" keeps the window in the tray";
    Program second(L"");
    EXPECT_EQ(second.WaitExit(20000), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitVisible(main, true, 10000)) << "a second start brings the window up now that the keyboard is there";
    EXPECT_EQ(first.WaitForMessageBox(0), nullptr);
}

TEST_F(VirtualKeyboardStartupTest, UnplugHidesTheWindowAndPluggingBackDoesNotReopenIt) {
    Program first(L"");
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitVisible(main, true, 20000));
    ASSERT_EQ(Kwctl(L"unplug"), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitVisible(main, false, 5000)) << "the keyboard went away: the window hides";
    ASSERT_EQ(Kwctl(L"plug"), std::optional<DWORD>(0));
    EXPECT_FALSE(WaitVisible(main, true, 4000)) << "the window opens by itself once per run only";
    Program second(L"");
    EXPECT_EQ(second.WaitExit(20000), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitVisible(main, true, 10000)) << "the keyboard is back, so the window can be shown";

    // "/Kill" never reaches for the keyboard the running copy holds.
    Program killer(L"/Kill");
    EXPECT_EQ(killer.WaitExit(20000), std::optional<DWORD>(0));
    EXPECT_EQ(first.WaitExit(20000), std::optional<DWORD>(0));
}

}  // namespace
