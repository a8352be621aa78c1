#pragma once
// The presence monitor: finds the keyboard's command interface, follows its arrival and removal,
// learns its geometry and default key map, and tells the user interface about every change.
#include "device/HidDevice.h"
#include "device/KeyboardState.h"
#include "device/MonitorLinks.h"
#include "device/WorkerThread.h"

#include <chrono>
#include <functional>
#include <string>

namespace kw::device {

struct MonitorTiming {
    std::chrono::milliseconds connectedPoll{100};
    std::chrono::milliseconds disconnectedPoll{1000};
};

class PresenceMonitor {
public:
    PresenceMonitor(HidBackend& backend, HidDevice& commandDevice, KeyboardState& keyboard,
                    ConnectionCommands& commands, MonitorUi& ui, MonitorTiming timing = {});
    ~PresenceMonitor();
    PresenceMonitor(const PresenceMonitor&) = delete;
    PresenceMonitor& operator=(const PresenceMonitor&) = delete;

    void Start();
    // Asks the thread to end; it stops sending to the user interface at once.
    void RequestStop();
    bool Finished() const { return m_worker.Finished(); }
    // Asks the thread to end and waits for it. pump runs while waiting, so a thread that is
    // waiting for the user interface can be answered.
    void Stop(const std::function<void()>& pump = {}) { m_worker.Stop(pump); }

    // The connection routine, on the monitor thread: the new state is 0 or 1.
    void OnConnectionChanged(int state);

private:
    void Run();
    bool ProbePass();
    bool ScanForKeyboard();

    HidBackend& m_backend;
    HidDevice& m_device;
    KeyboardState& m_keyboard;
    ConnectionCommands& m_commands;
    MonitorUi& m_ui;
    MonitorTiming m_timing;
    std::wstring m_savedPath;
    WorkerThread m_worker;  // last: it stops before the rest goes
};

}  // namespace kw::device
