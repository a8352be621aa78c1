#pragma once
// One HID interface of the keyboard: the list of present interfaces, the open interface with its
// attributes, capabilities and input item table, and report reads and writes that a cancel (or an
// open or close on another thread) can cut short.
#include "device/HidBackend.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

namespace kw::device {

// One button or value field of the input report and its decoded state.
struct HidItem {
    bool isButtonData = false;
    uint16_t usagePage = 0;
    uint32_t status = kHidStatusSuccess;
    uint32_t reportId = 0;  // compared as its low byte
    bool isDataSet = false;
    // Button item.
    uint32_t usageMin = 0;
    uint32_t usageMax = 0;
    uint32_t maxUsageLength = 0;
    std::vector<uint16_t> usages;  // maxUsageLength entries; in-range usages first, then a 0 when there is room
    // Value item.
    uint16_t usage = 0;
    uint32_t value = 0;
    int32_t scaledValue = 0;
};

class HidDevice {
public:
    explicit HidDevice(HidBackend& backend) : m_backend(backend) {}
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Builds the list of present interface paths and resets the cursor.
    bool Enumerate();
    // The path at the cursor, then advances; null when the list is exhausted or absent.
    const wchar_t* NextPath();
    void FreePathList();
    size_t PathCount() const { return m_paths.size(); }

    bool Open(const std::wstring& path, bool read, bool write, bool overlapped, bool exclusive);
    // False when nothing was open.
    bool Close();
    bool IsOpen() const;

    // Non-zero when a report was read (written); the byte count is 0 on time-out or cancel.
    int ReadReport(uint8_t* buffer, size_t bytes, size_t* got, uint32_t timeoutMs);
    int WriteReport(const uint8_t* buffer, size_t bytes, size_t* written, uint32_t timeoutMs);
    // Releases a read or write that is waiting now.
    void Cancel();

    // Decodes one input report (first byte: report identifier) into the items of that report.
    // False only when a value item cannot be decoded.
    bool UnpackInputReport(const uint8_t* report, size_t length, std::vector<HidItem>& items) const;

    const std::wstring& OpenedPath() const { return m_openedPath; }
    HidAttributes Attributes() const { return m_attributes; }
    HidCaps Caps() const { return m_caps; }
    HidOpenOptions Options() const { return m_options; }
    // The table built at open; the reader decodes into its own copy.
    const std::vector<HidItem>& InputItems() const { return m_items; }
    std::vector<uint8_t>& InputReportBuffer() { return m_inputReport; }

private:
    // Holds the I/O lock exclusively; releases waiting reads and writes until it gets it.
    std::unique_lock<std::shared_timed_mutex> LockForReopen();
    void CloseLocked();
    void BuildTables();

    HidBackend& m_backend;
    std::vector<std::wstring> m_paths;
    size_t m_cursor = 0;
    bool m_listed = false;

    HidOpenOptions m_options;
    std::wstring m_openedPath;
    HidAttributes m_attributes;
    HidCaps m_caps;
    std::vector<uint8_t> m_inputReport;
    std::vector<HidItem> m_items;

    // Reads and writes share the I/O lock; open and close take it alone. m_reopening makes an
    // exchange that starts while an open or close waits give up at once.
    mutable std::shared_timed_mutex m_ioLock;
    std::mutex m_connectionLock;  // guards the pointer for Cancel from other threads
    std::unique_ptr<HidConnection> m_connection;
    std::atomic<int> m_reopening{0};
};

}  // namespace kw::device
