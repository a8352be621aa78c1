#include "device/HidDevice.h"

#include <algorithm>
#include <chrono>

namespace kw::device {

HidDevice::~HidDevice() { Close(); }

bool HidDevice::Enumerate() {
    std::vector<std::wstring> paths;
    m_cursor = 0;
    if (!m_backend.Enumerate(paths)) {
        m_paths.clear();
        m_listed = false;
        return false;
    }
    // Only stored paths count, so the cursor never hands out an empty slot.
    m_paths = std::move(paths);
    m_listed = true;
    return true;
}

const wchar_t* HidDevice::NextPath() {
    if (!m_listed || m_cursor >= m_paths.size()) return nullptr;
    return m_paths[m_cursor++].c_str();
}

void HidDevice::FreePathList() {
    m_paths.clear();
    m_paths.shrink_to_fit();
    m_cursor = 0;
    m_listed = false;
}

std::unique_lock<std::shared_timed_mutex> HidDevice::LockForReopen() {
    ++m_reopening;
    std::unique_lock<std::shared_timed_mutex> lock(m_ioLock, std::defer_lock);
    // An exchange may have cleared its cancel signal just after we raised it, so raise it again until
    // the lock is ours.
    do {
        Cancel();
    } while (!lock.try_lock_for(std::chrono::milliseconds(20)));
    --m_reopening;
    return lock;
}

bool HidDevice::Open(const std::wstring& path, bool read, bool write, bool overlapped, bool exclusive) {
    auto lock = LockForReopen();
    m_options = HidOpenOptions{read, write, overlapped, exclusive};
    CloseLocked();
    if (path.size() >= kMaxDevicePath) return false;  // it would not fit the path buffer
    m_openedPath = path;
    auto connection = m_backend.Open(path, m_options);
    if (!connection) {
        m_openedPath.clear();
        return false;
    }
    {
        std::lock_guard<std::mutex> g(m_connectionLock);
        m_connection = std::move(connection);
    }
    BuildTables();
    return true;
}

bool HidDevice::Close() {
    auto lock = LockForReopen();
    const bool wasOpen = m_connection != nullptr;
    CloseLocked();
    return wasOpen;
}

bool HidDevice::IsOpen() const {
    std::shared_lock<std::shared_timed_mutex> lock(m_ioLock);
    return m_connection != nullptr;
}

void HidDevice::CloseLocked() {
    std::unique_ptr<HidConnection> old;
    {
        std::lock_guard<std::mutex> g(m_connectionLock);
        old = std::move(m_connection);
    }
    old.reset();  // closes the handle and releases the parsed report description
    m_items.clear();
    m_inputReport.clear();
    m_attributes = {};
    m_caps = {};
    m_openedPath.clear();
}

void HidDevice::BuildTables() {
    m_attributes = m_connection->Attributes();
    m_caps = m_connection->Caps();
    m_inputReport.assign(m_caps.inputReportByteLength, 0);

    const auto buttons = m_connection->InputButtonCaps();
    const auto values = m_connection->InputValueCaps();
    size_t valueCount = 0;
    for (const auto& v : values) valueCount += v.isRange && v.usageMax >= v.usageMin ? v.usageMax - v.usageMin + 1u : 1u;

    m_items.clear();
    m_items.reserve(buttons.size() + valueCount);
    for (const auto& b : buttons) {
        HidItem item;
        item.isButtonData = true;
        item.usagePage = b.usagePage;
        item.reportId = b.reportId;
        item.usageMin = b.usageMin;
        item.usageMax = b.usageMax;
        item.maxUsageLength = b.maxUsageListLength;
        item.usages.assign(b.maxUsageListLength, 0);
        m_items.push_back(std::move(item));
    }
    for (const auto& v : values) {
        const uint32_t last = v.isRange && v.usageMax >= v.usageMin ? v.usageMax : v.usageMin;
        for (uint32_t usage = v.usageMin; usage <= last; ++usage) {
            HidItem item;
            item.usagePage = v.usagePage;
            item.reportId = v.reportId;
            item.usage = static_cast<uint16_t>(usage);
            m_items.push_back(std::move(item));
        }
    }
}

int HidDevice::ReadReport(uint8_t* buffer, size_t bytes, size_t* got, uint32_t timeoutMs) {
    if (got) *got = 0;
    std::shared_lock<std::shared_timed_mutex> lock(m_ioLock);
    if (m_reopening.load() > 0 || !m_connection || buffer == nullptr) return 0;
    size_t n = 0;
    const bool ok = m_connection->Read(std::span<uint8_t>(buffer, bytes), n, timeoutMs);
    if (got) *got = ok ? n : 0;
    return ok ? 1 : 0;
}

int HidDevice::WriteReport(const uint8_t* buffer, size_t bytes, size_t* written, uint32_t timeoutMs) {
    if (written) *written = 0;
    std::shared_lock<std::shared_timed_mutex> lock(m_ioLock);
    if (m_reopening.load() > 0 || !m_connection || buffer == nullptr) return 0;
    size_t n = 0;
    const bool ok = m_connection->Write(std::span<const uint8_t>(buffer, bytes), n, timeoutMs);
    if (written) *written = ok ? n : 0;
    return ok ? 1 : 0;
}

void HidDevice::Cancel() {
    std::lock_guard<std::mutex> g(m_connectionLock);
    if (m_connection) m_connection->Cancel();
}

bool HidDevice::UnpackInputReport(const uint8_t* report, size_t length, std::vector<HidItem>& items) const {
    if (report == nullptr || length == 0) return true;
    std::shared_lock<std::shared_timed_mutex> lock(m_ioLock);
    if (!m_connection) return true;
    const std::span<const uint8_t> bytes(report, length);
    const uint8_t reportId = report[0];
    for (auto& item : items) {
        if ((item.reportId & 0xFFu) != reportId) continue;
        if (item.isButtonData) {
            std::vector<uint16_t> got;
            item.status = m_connection->GetUsages(item.usagePage, bytes, got, item.maxUsageLength);
            item.usages.assign(item.maxUsageLength, 0);
            size_t kept = 0;
            for (uint16_t usage : got) {
                if (kept >= item.maxUsageLength) break;
                if (usage >= item.usageMin && usage <= item.usageMax) item.usages[kept++] = usage;
            }
        } else {
            item.status = m_connection->GetUsageValue(item.usagePage, item.usage, bytes, item.value);
            if (item.status != kHidStatusSuccess) return false;
            item.status = m_connection->GetScaledUsageValue(item.usagePage, item.usage, bytes, item.scaledValue);
        }
        item.isDataSet = true;
    }
    return true;
}

}  // namespace kw::device
