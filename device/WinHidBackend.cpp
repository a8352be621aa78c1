#include "device/WinHidBackend.h"

#include "device/OverlappedIo.h"
#include "framework/Handles.h"

#include <windows.h>
#include <setupapi.h>
// The HID client headers declare C functions without saying so to a C++ compiler.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include <vector>

namespace kw::device {

namespace {

struct DevInfoList {
    HDEVINFO set;
    ~DevInfoList() {
        if (set != INVALID_HANDLE_VALUE) ::SetupDiDestroyDeviceInfoList(set);
    }
};

class PreparsedData {
public:
    PreparsedData() = default;
    ~PreparsedData() {
        if (m_data) ::HidD_FreePreparsedData(m_data);
    }
    PreparsedData(const PreparsedData&) = delete;
    PreparsedData& operator=(const PreparsedData&) = delete;
    PHIDP_PREPARSED_DATA* out() { return &m_data; }
    PHIDP_PREPARSED_DATA get() const { return m_data; }

private:
    PHIDP_PREPARSED_DATA m_data = nullptr;
};

// The HID parser wants writable report bytes; decoding never changes them, but a copy keeps the
// caller's report untouched whatever the parser does.
std::vector<char> MutableReport(std::span<const uint8_t> report) {
    return std::vector<char>(report.begin(), report.end());
}

class WinHidConnection final : public HidConnection {
public:
    WinHidConnection(fw::UniqueFile file) : m_file(std::move(file)) {}

    bool Init() {
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof(attributes);
        HIDP_CAPS caps{};
        if (!::HidD_GetPreparsedData(m_file.get(), m_preparsed.out()) ||
            !::HidD_GetAttributes(m_file.get(), &attributes) ||
            ::HidP_GetCaps(m_preparsed.get(), &caps) != HIDP_STATUS_SUCCESS)
            return false;
        m_attributes = {attributes.VendorID, attributes.ProductID, attributes.VersionNumber};
        m_caps = {caps.Usage, caps.UsagePage, caps.InputReportByteLength, caps.OutputReportByteLength,
                  caps.NumberInputButtonCaps, caps.NumberInputValueCaps};
        return true;
    }

    HidAttributes Attributes() const override { return m_attributes; }
    HidCaps Caps() const override { return m_caps; }

    std::vector<HidButtonCaps> InputButtonCaps() const override {
        std::vector<HidButtonCaps> out;
        USHORT count = m_caps.numberInputButtonCaps;
        if (count == 0) return out;
        std::vector<HIDP_BUTTON_CAPS> raw(count);
        if (::HidP_GetSpecificButtonCaps(HidP_Input, 0, 0, 0, raw.data(), &count, m_preparsed.get()) !=
            HIDP_STATUS_SUCCESS)
            return out;
        for (USHORT i = 0; i < count; ++i) {
            const auto& c = raw[i];
            HidButtonCaps b;
            b.usagePage = c.UsagePage;
            b.reportId = c.ReportID;
            b.usageMin = c.IsRange ? c.Range.UsageMin : c.NotRange.Usage;
            b.usageMax = c.IsRange ? c.Range.UsageMax : c.NotRange.Usage;
            b.maxUsageListLength = ::HidP_MaxUsageListLength(HidP_Input, c.UsagePage, m_preparsed.get());
            out.push_back(b);
        }
        return out;
    }

    std::vector<HidValueCaps> InputValueCaps() const override {
        std::vector<HidValueCaps> out;
        USHORT count = m_caps.numberInputValueCaps;
        if (count == 0) return out;
        std::vector<HIDP_VALUE_CAPS> raw(count);
        if (::HidP_GetSpecificValueCaps(HidP_Input, 0, 0, 0, raw.data(), &count, m_preparsed.get()) !=
            HIDP_STATUS_SUCCESS)
            return out;
        for (USHORT i = 0; i < count; ++i) {
            const auto& c = raw[i];
            HidValueCaps v;
            v.usagePage = c.UsagePage;
            v.reportId = c.ReportID;
            v.isRange = c.IsRange != FALSE;
            v.usageMin = c.IsRange ? c.Range.UsageMin : c.NotRange.Usage;
            v.usageMax = c.IsRange ? c.Range.UsageMax : c.NotRange.Usage;
            out.push_back(v);
        }
        return out;
    }

    bool Read(std::span<uint8_t> buffer, size_t& got, uint32_t timeoutMs) override {
        return m_io.Read(m_file.get(), buffer, got, timeoutMs);
    }
    bool Write(std::span<const uint8_t> buffer, size_t& written, uint32_t timeoutMs) override {
        return m_io.Write(m_file.get(), buffer, written, timeoutMs);
    }
    void Cancel() override { m_io.Cancel(); }

    uint32_t GetUsages(uint16_t usagePage, std::span<const uint8_t> report, std::vector<uint16_t>& usages,
                       size_t maxUsages) const override {
        usages.assign(maxUsages, 0);
        ULONG length = static_cast<ULONG>(maxUsages);
        auto bytes = MutableReport(report);
        const NTSTATUS status = ::HidP_GetUsages(HidP_Input, usagePage, 0, usages.data(), &length,
                                                 m_preparsed.get(), bytes.data(), static_cast<ULONG>(bytes.size()));
        usages.resize(status == HIDP_STATUS_SUCCESS ? length : 0);
        return static_cast<uint32_t>(status);
    }
    uint32_t GetUsageValue(uint16_t usagePage, uint16_t usage, std::span<const uint8_t> report,
                           uint32_t& value) const override {
        ULONG v = 0;
        auto bytes = MutableReport(report);
        const NTSTATUS status = ::HidP_GetUsageValue(HidP_Input, usagePage, 0, usage, &v, m_preparsed.get(),
                                                     bytes.data(), static_cast<ULONG>(bytes.size()));
        value = v;
        return static_cast<uint32_t>(status);
    }
    uint32_t GetScaledUsageValue(uint16_t usagePage, uint16_t usage, std::span<const uint8_t> report,
                                 int32_t& value) const override {
        LONG v = 0;
        auto bytes = MutableReport(report);
        const NTSTATUS status = ::HidP_GetScaledUsageValue(HidP_Input, usagePage, 0, usage, &v, m_preparsed.get(),
                                                           bytes.data(), static_cast<ULONG>(bytes.size()));
        value = v;
        return static_cast<uint32_t>(status);
    }

private:
    fw::UniqueFile m_file;
    PreparsedData m_preparsed;
    HidAttributes m_attributes;
    HidCaps m_caps;
    OverlappedIo m_io;
};

}  // namespace

bool WinHidBackend::Enumerate(std::vector<std::wstring>& paths) {
    paths.clear();
    GUID hidGuid;
    ::HidD_GetHidGuid(&hidGuid);
    DevInfoList list{::SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)};
    if (list.set == INVALID_HANDLE_VALUE) return false;

    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof(data);
        if (!::SetupDiEnumDeviceInterfaces(list.set, nullptr, &hidGuid, index, &data)) {
            if (::GetLastError() == ERROR_NO_MORE_ITEMS) return true;
            continue;  // this index has no entry; the list holds only paths that were read
        }
        DWORD size = 0;
        ::SetupDiGetDeviceInterfaceDetailW(list.set, &data, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
            paths.clear();
            return false;
        }
        std::vector<uint8_t> storage(size + sizeof(wchar_t), 0);  // room for a terminator in any case
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!::SetupDiGetDeviceInterfaceDetailW(list.set, &data, detail, size, nullptr, nullptr)) {
            paths.clear();
            return false;
        }
        paths.emplace_back(detail->DevicePath);
    }
}

std::unique_ptr<HidConnection> WinHidBackend::Open(const std::wstring& path, const HidOpenOptions& options) {
    DWORD access = 0;
    if (options.read) access |= GENERIC_READ;
    if (options.write) access |= GENERIC_WRITE;
    const DWORD share = options.exclusive ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    const DWORD flags = options.overlapped ? FILE_FLAG_OVERLAPPED : 0;
    fw::UniqueFile file(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!file) return nullptr;
    auto connection = std::make_unique<WinHidConnection>(std::move(file));
    if (!connection->Init()) return nullptr;
    return connection;
}

bool WinHidBackend::Probe(const std::wstring& path) {
    fw::UniqueFile probe(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                       nullptr));
    return static_cast<bool>(probe);
}

}  // namespace kw::device
