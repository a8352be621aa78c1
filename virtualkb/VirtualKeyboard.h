#pragma once
// A keyboard that exists only in software, seen through the same device seam as a real one. It shows
// three HID interfaces with "vid_"/"pid_" paths: the keyboard's own (which the program must open,
// reject and close), the consumer-control interface that reports the keyboard's signals, and the
// vendor interface that answers the command protocol through its firmware model.
//
// Kept in memory only, or backed by a state file: then its stored contents survive the program, one
// process at a time holds it (a lock file beside the state file), and its presence and queued reports
// come from a bus file that `kwctl virtual` changes while the program runs.
#include "device/CommandFrame.h"
#include "device/HidBackend.h"
#include "device/KeyboardState.h"
#include "virtualkb/Fault.h"
#include "virtualkb/StoredContents.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kw::virtualkb {

// Report identifier and length of the consumer-control interface's input reports: the identifier,
// then one 16-bit usage (0 when released).
inline constexpr uint8_t kConsumerReportId = 0x03;
inline constexpr size_t kConsumerReportBytes = 3;

struct InterfacePaths {
    std::wstring keyboard;
    std::wstring consumer;
    std::wstring vendor;
};

// Requests seen on the vendor interface.
struct Traffic {
    uint64_t requests = 0;
    uint64_t answers = 0;
    std::array<uint32_t, 256> byCommand{};
};

class VirtualKeyboard final : public device::HidBackend {
public:
    // Kept in memory: nothing is stored, presence changes only through Plug and Unplug.
    explicit VirtualKeyboard(StoredContents contents);
    // Backed by a state file, created with the factory contents of newModel when missing. Null, with a
    // reason, when another process holds it or the file cannot be read or created.
    static std::unique_ptr<VirtualKeyboard> OpenStateFile(const std::filesystem::path& stateFile,
                                                          const device::KeyboardModel& newModel, std::string& error);
    ~VirtualKeyboard() override;
    VirtualKeyboard(const VirtualKeyboard&) = delete;
    VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;

    // The device seam.
    bool Enumerate(std::vector<std::wstring>& paths) override;
    std::unique_ptr<device::HidConnection> Open(const std::wstring& path, const device::HidOpenOptions& options) override;
    bool Probe(const std::wstring& path) override;

    // Pulling the keyboard out ends every open connection; plugging it back in also ends boot mode.
    // For a file-backed keyboard these change the bus file, as kwctl does.
    void Plug();
    void Unplug();
    bool Present() const;
    // Queues one consumer-control report with this usage, followed by its release.
    void Press(uint16_t usage);

    void InjectFault(const Fault& fault);
    void ClearFaults();
    // Models a full-speed interrupt endpoint: every report takes this long each way (0: no delay).
    void SetReportLatency(std::chrono::microseconds perReport);

    StoredContents Contents() const;
    const InterfacePaths& Paths() const;
    Traffic TrafficSeen() const;
    void ResetTraffic();
    // Keeps a copy of every request from now on (off by default: a running program would pile them up).
    void RecordRequests(bool on);
    std::vector<device::CommandFrame::Bytes> RecordedRequests() const;
    int OpenConnections() const;
    int TestCommandsSeen() const;
    // Writes the state file now (file-backed only); the firmware also does so at the end of every
    // group of writes, after a settings write, on entering boot mode and when the keyboard is closed.
    bool Save(std::string* error = nullptr);

    struct Core;

private:
    std::shared_ptr<Core> m_core;  // shared with the open connections, which may outlive this object
};

// The paths under which a keyboard of this model shows its interfaces; the instance part tells
// keyboards of different state files apart.
InterfacePaths MakeInterfacePaths(const device::KeyboardModel& model, uint32_t instance);

}  // namespace kw::virtualkb
