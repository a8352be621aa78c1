#pragma once
// How the device threads reach the rest of the program: the user interface (whose calls may wait
// for the window to handle them) and the two keyboard commands they need at connection.
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace kw::device {

inline constexpr size_t kSettingsBlockBytes = 44;
using SettingsBlock = std::array<uint8_t, kSettingsBlockBytes>;

// Tray icons the device threads ask for.
inline constexpr int kIconDisconnected = 128;
inline constexpr int kIconConnected = 141;
inline constexpr int kIconActivity = 142;

// One-shot timers the input-report reader starts on the main window.
inline constexpr unsigned kTimerRefreshPanels = 1051;
inline constexpr unsigned kTimerReloadUserLighting = 1053;

class MonitorUi {
public:
    virtual ~MonitorUi() = default;
    // The keyboard became ready: reload the profile view. Waits until the window has done so.
    virtual void KeyboardReady() = 0;
    // The keyboard went away: close the editors and hide the window. Waits likewise.
    virtual void KeyboardGone() = 0;
    // First connection of the run: open the main window (does not wait).
    virtual void OpenMainWindow() = 0;
    // Show a language text to the owner (the key is looked up when shown).
    virtual void ShowMessage(const std::wstring& textKey) = 0;
    // Show a tray icon: a connection-state icon (128 or 141) is remembered as the last one.
    virtual void SetTrayIcon(int iconId) = 0;
    // Show the activity icon (142), or go back to the last connection-state icon.
    virtual void ShowActivity(bool active) = 0;
    // Start a one-shot main-window timer.
    virtual void StartTimer(unsigned timerId) = 0;
};

class ConnectionCommands {
public:
    virtual ~ConnectionCommands() = default;
    // Both return the command result code: 1 on success.
    virtual int ReadSettings(SettingsBlock& block) = 0;
    virtual int ReadDefaultKeyMap(std::span<uint8_t> keyMap) = 0;
};

}  // namespace kw::device
