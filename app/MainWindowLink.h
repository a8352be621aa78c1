#pragma once
// How the device threads reach the main window: messages that wait for the window where the window
// must act before the thread goes on, posted messages everywhere else. Timers and tray icons belong
// to the window's own thread, so those requests are posted to it.
#include "device/MonitorLinks.h"

#include <windows.h>

#include <atomic>

namespace kw::app {

// Private messages of the main window for requests from the device threads.
inline constexpr UINT kMsgStartTimer = WM_APP + 0x51;     // wParam: timer id
inline constexpr UINT kMsgTrayIcon = WM_APP + 0x52;       // wParam: icon id (128, 141 or 142)

inline constexpr UINT kMsgKeyboardReady = 0x5452;
inline constexpr WPARAM kCodeProf = 0x50524F46;  // "PROF"
inline constexpr UINT kMsgKeyboardGone = 0x4753;

class MainWindowLink final : public device::MonitorUi {
public:
    explicit MainWindowLink(HWND mainWindow) : m_window(mainWindow) {}

    // Once closing, nothing more is sent to the window, so a device thread never waits for a window
    // that is no longer answering.
    void Detach() { m_detached = true; }

    void KeyboardReady() override;
    void KeyboardGone() override;
    void OpenMainWindow() override;
    void ShowMessage(const std::wstring& textKey) override;
    void SetTrayIcon(int iconId) override;
    void ShowActivity(bool active) override;
    void StartTimer(unsigned timerId) override;

private:
    HWND m_window;
    std::atomic<bool> m_detached{false};
    std::atomic<int> m_lastConnectionIcon{device::kIconDisconnected};
};

}  // namespace kw::app
