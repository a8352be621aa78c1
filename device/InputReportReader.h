#pragma once
// The input-report reader: listens on the keyboard's consumer-control interface and turns the
// keyboard's own usages into actions of the main window.
#include "device/HidDevice.h"
#include "device/MonitorLinks.h"
#include "device/WorkerThread.h"

#include <chrono>
#include <functional>

namespace kw::device {

// What the keyboard reports on its consumer-control interface, and what each asks of the program.
enum class KeyboardSignal : uint16_t {
    RefreshPanels = 0x0401,
    ReloadUserLighting = 0x0402,
    ActivityEnded = 0x1810,
    ActivityStarted = 0x1811,
};

class InputReportReader {
public:
    InputReportReader(HidBackend& backend, MonitorUi& ui,
                      std::chrono::milliseconds rescanPause = std::chrono::milliseconds(1000));
    ~InputReportReader();
    InputReportReader(const InputReportReader&) = delete;
    InputReportReader& operator=(const InputReportReader&) = delete;

    void Start();
    // Asks the thread to end and releases a read waiting for the keyboard.
    void RequestStop();
    bool Finished() const { return m_worker.Finished(); }
    void Stop(const std::function<void()>& pump = {});

    // The usage the report asks to act on: the first usage of the first button item that this report
    // filled; 0 when there is none.
    static uint16_t UsageToActOn(const std::vector<HidItem>& items);
    // Does what the usage asks of the main window; other usages do nothing.
    void Act(uint16_t usage);

private:
    void Run();
    void ReadUntilGone();

    HidDevice m_device;
    MonitorUi& m_ui;
    std::chrono::milliseconds m_rescanPause;
    WorkerThread m_worker;  // last: it stops before the rest goes
};

}  // namespace kw::device
