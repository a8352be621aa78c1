#include "device/PresenceMonitor.h"

#include "app/AppGlobals.h"
#include "device/DeviceMatch.h"

#include <vector>

namespace kw::device {

PresenceMonitor::PresenceMonitor(HidBackend& backend, HidDevice& commandDevice, KeyboardState& keyboard,
                                 ConnectionCommands& commands, MonitorUi& ui, MonitorTiming timing)
    : m_backend(backend), m_device(commandDevice), m_keyboard(keyboard), m_commands(commands), m_ui(ui),
      m_timing(timing) {}

PresenceMonitor::~PresenceMonitor() { Stop(); }

void PresenceMonitor::Start() {
    m_worker.Start([this] { Run(); });
}

void PresenceMonitor::RequestStop() { m_worker.RequestStop(); }

bool PresenceMonitor::ProbePass() {
    if (!m_device.Enumerate()) return false;
    if (OpenFirstMatching(m_device, kVendorInterface, true, true)) {
        // Wakes the keyboard's command interface; the answer itself is not needed.
        m_keyboard.SetConnected(true);
        SettingsBlock ignored{};
        m_commands.ReadSettings(ignored);
        m_device.Close();
    }
    m_device.FreePathList();
    m_keyboard.SetConnected(false);
    return true;
}

bool PresenceMonitor::ScanForKeyboard() {
    const KeyboardModel* model = OpenFirstMatching(m_device, kVendorInterface, true, true);
    if (!model) return false;
    m_savedPath = m_device.OpenedPath();
    m_keyboard.MarkDefaultKeyMapUnread();
    m_keyboard.SetGeometry(*model);
    m_keyboard.SetConnected(true);
    OnConnectionChanged(1);
    return true;
}

void PresenceMonitor::Run() {
    if (AppGlobals::Get(Slot::StartHidden) != 0 && m_worker.WaitFor(std::chrono::milliseconds(10))) return;
    if (!ProbePass()) return;

    bool firstPass = true;
    while (!m_worker.StopRequested()) {
        if (m_keyboard.Connected()) {
            if (!m_backend.Probe(m_savedPath)) {
                m_keyboard.SetConnected(false);
                OnConnectionChanged(0);
            }
        } else {
            if (!m_device.Enumerate()) return;
            const bool found = ScanForKeyboard();
            if (firstPass) {
                firstPass = false;
                OnConnectionChanged(found ? 1 : 0);
                if (!found) AppGlobals::Set(Slot::StartHidden, 1);
            }
            m_device.FreePathList();
        }
        const auto pause = m_keyboard.Connected() ? m_timing.connectedPoll : m_timing.disconnectedPoll;
        if (m_worker.WaitFor(pause)) return;
    }
}

void PresenceMonitor::OnConnectionChanged(int state) {
    // Once the program is closing, nothing more goes to its window.
    if (m_worker.StopRequested()) return;
    const intptr_t old = AppGlobals::Get(Slot::KeyboardReady);
    AppGlobals::Set(Slot::ConnectionChanging, 1);
    if ((old != 0) == (state != 0)) {
        AppGlobals::Set(Slot::ConnectionChanging, 0);
        return;
    }
    if (state) {
        std::vector<uint8_t> keyMap(static_cast<size_t>(m_keyboard.KeyMapBytes()), 0);
        if (m_commands.ReadDefaultKeyMap(keyMap) == 1) {
            m_keyboard.SetDefaultKeyMap(keyMap);
        } else {
            m_ui.ShowMessage(L"MAIN_DEFAULT_MATRIX_PROMPT");
        }
        SettingsBlock settings{};
        if (m_commands.ReadSettings(settings) == 1) AppGlobals::Set(Slot::MacroCapacity, settings[11] * 128);
        m_ui.KeyboardReady();
        m_ui.SetTrayIcon(kIconConnected);
    } else {
        m_keyboard.MarkDefaultKeyMapUnread();
        if (old != 0) {
            AppGlobals::Set(Slot::ActiveProfile, -1);
            m_ui.KeyboardGone();
        }
        m_ui.SetTrayIcon(kIconDisconnected);
    }
    AppGlobals::Set(Slot::KeyboardReady, state);
    if (AppGlobals::Get(Slot::StartHidden) == 0) {
        if (state) m_ui.OpenMainWindow();
        AppGlobals::Set(Slot::StartHidden, 1);
    }
    AppGlobals::Set(Slot::ConnectionChanging, 0);
}

}  // namespace kw::device
