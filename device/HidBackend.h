#pragma once
// The one seam between the program and keyboards: list HID interfaces, open one, read and write
// reports with a time-out, cancel a waiting read or write, and decode input reports. The Windows
// HID stack and the virtual keyboard both sit behind it, one backend file each.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kw::device {

inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;
inline constexpr size_t kMaxDevicePath = 260;  // a path must fit, with its terminator, in 260 characters

// HID status codes as the Windows HID parser reports them.
inline constexpr uint32_t kHidStatusSuccess = 0x00110000u;
inline constexpr uint32_t kHidStatusUsageNotFound = 0xC0110004u;
inline constexpr uint32_t kHidStatusBufferTooSmall = 0xC0110007u;
inline constexpr uint32_t kHidStatusIncompatibleReportId = 0xC0110010u;

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

struct HidCaps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t numberInputButtonCaps = 0;
    uint16_t numberInputValueCaps = 0;
};

struct HidOpenOptions {
    bool read = false;
    bool write = false;
    bool overlapped = false;
    bool exclusive = false;  // share reading only
};

struct HidButtonCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    uint16_t usageMin = 0;
    uint16_t usageMax = 0;
    uint32_t maxUsageListLength = 0;
};

struct HidValueCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    bool isRange = false;
    uint16_t usageMin = 0;  // the usage itself when not a range
    uint16_t usageMax = 0;
};

// One open interface. Read and Write may run on different threads at once; Cancel may be called
// from any thread and releases a Read or Write that is waiting at that moment.
class HidConnection {
public:
    virtual ~HidConnection() = default;

    virtual HidAttributes Attributes() const = 0;
    virtual HidCaps Caps() const = 0;
    virtual std::vector<HidButtonCaps> InputButtonCaps() const = 0;
    virtual std::vector<HidValueCaps> InputValueCaps() const = 0;

    // One report; false on failure, time-out or cancel (then got is 0). No operation is left
    // outstanding on the buffer when these return.
    virtual bool Read(std::span<uint8_t> buffer, size_t& got, uint32_t timeoutMs) = 0;
    virtual bool Write(std::span<const uint8_t> buffer, size_t& written, uint32_t timeoutMs) = 0;
    virtual void Cancel() = 0;

    // Report decoding, with HID status results.
    virtual uint32_t GetUsages(uint16_t usagePage, std::span<const uint8_t> report,
                               std::vector<uint16_t>& usages, size_t maxUsages) const = 0;
    virtual uint32_t GetUsageValue(uint16_t usagePage, uint16_t usage, std::span<const uint8_t> report,
                                   uint32_t& value) const = 0;
    virtual uint32_t GetScaledUsageValue(uint16_t usagePage, uint16_t usage, std::span<const uint8_t> report,
                                         int32_t& value) const = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Paths of every present HID interface, in enumeration order; false when the list cannot be built.
    virtual bool Enumerate(std::vector<std::wstring>& paths) = 0;
    // Null when the interface cannot be opened or its capabilities cannot be read.
    virtual std::unique_ptr<HidConnection> Open(const std::wstring& path, const HidOpenOptions& options) = 0;
    // True while the interface at this path is still there (opened with no access rights).
    virtual bool Probe(const std::wstring& path) { return Open(path, HidOpenOptions{}) != nullptr; }
};

}  // namespace kw::device
