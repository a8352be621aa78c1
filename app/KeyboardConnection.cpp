#include "app/KeyboardConnection.h"

#include "device/CommandChannel.h"
#include "device/KeyboardState.h"

namespace kw::app {

namespace {
// While waiting for a device thread, answer what it sends the window, so neither waits for the other.
void AnswerSentMessages() {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}
}  // namespace

KeyboardConnection::KeyboardConnection() : m_commands(device::Commands()) {}

KeyboardConnection::~KeyboardConnection() { Stop(); }

void KeyboardConnection::Start(HWND mainWindow) {
    if (m_monitor) return;
    m_link = std::make_unique<MainWindowLink>(mainWindow);
    m_reader = std::make_unique<device::InputReportReader>(device::ProcessHidBackend(), *m_link);
    m_monitor = std::make_unique<device::PresenceMonitor>(device::ProcessHidBackend(), device::CommandDevice(),
                                                          device::TheKeyboard(), m_commands, *m_link);
    m_reader->Start();
    m_monitor->Start();
}

void KeyboardConnection::Stop() {
    if (!m_monitor) return;
    m_link->Detach();
    m_monitor->RequestStop();
    m_reader->RequestStop();
    m_monitor->Stop(AnswerSentMessages);
    m_reader->Stop(AnswerSentMessages);
    device::CommandDevice().Close();
    device::TheKeyboard().SetConnected(false);
    m_monitor.reset();
    m_reader.reset();
    m_link.reset();
}

}  // namespace kw::app
