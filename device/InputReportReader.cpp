#include "device/InputReportReader.h"

#include "device/DeviceMatch.h"

#include <array>
#include <utility>

namespace kw::device {

namespace {
struct SignalAction {
    KeyboardSignal signal;
    void (*act)(MonitorUi&);
};
constexpr std::array<SignalAction, 4> kSignalActions{{
    {KeyboardSignal::RefreshPanels, [](MonitorUi& ui) { ui.StartTimer(kTimerRefreshPanels); }},
    {KeyboardSignal::ReloadUserLighting, [](MonitorUi& ui) { ui.StartTimer(kTimerReloadUserLighting); }},
    {KeyboardSignal::ActivityEnded, [](MonitorUi& ui) { ui.ShowActivity(false); }},
    {KeyboardSignal::ActivityStarted, [](MonitorUi& ui) { ui.ShowActivity(true); }},
}};
}  // namespace

InputReportReader::InputReportReader(HidBackend& backend, MonitorUi& ui, std::chrono::milliseconds rescanPause)
    : m_device(backend), m_ui(ui), m_rescanPause(rescanPause) {}

InputReportReader::~InputReportReader() { Stop(); }

void InputReportReader::Start() {
    m_worker.Start([this] { Run(); });
}

void InputReportReader::RequestStop() {
    m_worker.RequestStop();
    // Closing releases a read that waits with no time-out; the thread checks the stop request after
    // every open, so it cannot start a new wait afterwards.
    m_device.Close();
}

void InputReportReader::Stop(const std::function<void()>& pump) {
    RequestStop();
    m_worker.Stop(pump);
}

uint16_t InputReportReader::UsageToActOn(const std::vector<HidItem>& items) {
    for (const auto& item : items) {
        if (!item.isButtonData || !item.isDataSet) continue;
        return item.usages.empty() ? 0 : item.usages.front();
    }
    return 0;
}

void InputReportReader::Act(uint16_t usage) {
    for (const auto& action : kSignalActions) {
        if (static_cast<uint16_t>(action.signal) == usage) {
            action.act(m_ui);
            return;
        }
    }
}

void InputReportReader::ReadUntilGone() {
    std::vector<HidItem> items = m_device.InputItems();
    std::vector<uint8_t> report(m_device.Caps().inputReportByteLength, 0);
    if (report.empty()) return;
    for (;;) {
        size_t got = 0;
        if (!m_device.ReadReport(report.data(), report.size(), &got, kInfinite) || m_worker.StopRequested()) return;
        for (auto& item : items) item.isDataSet = false;  // only what this report fills counts
        m_device.UnpackInputReport(report.data(), got, items);
        if (const uint16_t usage = UsageToActOn(items)) Act(usage);
    }
}

void InputReportReader::Run() {
    while (!m_worker.StopRequested()) {
        if (!m_device.Enumerate()) return;
        if (OpenFirstMatching(m_device, kConsumerInterface, true, false)) {
            if (m_worker.StopRequested()) break;
            ReadUntilGone();
            m_device.Close();
        }
        m_device.FreePathList();
        if (m_worker.WaitFor(m_rescanPause)) break;
    }
    m_device.Close();
}

}  // namespace kw::device
