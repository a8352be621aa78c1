#pragma once
// The two device threads and their link to the main window, over the process-wide command device
// and protocol. The main window owns one for its whole life and stops the threads before anything
// they use goes away.
#include "app/MainWindowLink.h"
#include "device/InputReportReader.h"
#include "device/PresenceMonitor.h"
#include "device/ProtocolConnectionCommands.h"

#include <memory>

namespace kw::app {

class KeyboardConnection {
public:
    KeyboardConnection();
    ~KeyboardConnection();
    KeyboardConnection(const KeyboardConnection&) = delete;
    KeyboardConnection& operator=(const KeyboardConnection&) = delete;

    // Starts the input-report reader, then the presence monitor, both reporting to the window.
    void Start(HWND mainWindow);
    // Stops both threads and waits for them, answering what they send the window meanwhile.
    void Stop();

private:
    device::ProtocolConnectionCommands m_commands;
    std::unique_ptr<MainWindowLink> m_link;
    std::unique_ptr<device::InputReportReader> m_reader;
    std::unique_ptr<device::PresenceMonitor> m_monitor;
};

}  // namespace kw::app
