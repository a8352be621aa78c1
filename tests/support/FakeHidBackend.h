#pragma once
// An in-memory HID backend for tests: interfaces with chosen capabilities, reports queued by the
// test, reads that wait for a report, their time-out or a cancel.
#include "device/HidBackend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

namespace kw::test {

struct FakeInterface {
    device::HidAttributes attributes;
    device::HidCaps caps;
    std::vector<device::HidButtonCaps> buttons;
    std::vector<device::HidValueCaps> values;
};

// Shared by the backend and the connections it opens, so a test can feed a report to whatever
// connection is open now.
struct FakeBus {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<uint8_t>> reports;
    std::vector<std::vector<uint8_t>> written;
    int openConnections = 0;
    int cancels = 0;

    void Push(std::vector<uint8_t> report) {
        {
            std::lock_guard<std::mutex> g(mutex);
            reports.push_back(std::move(report));
        }
        changed.notify_all();
    }
};

// Decoding follows a simple layout: byte 0 report id, then 16-bit little-endian usages until a 0;
// a value item reads the 16-bit word at offset 1 + 2 * (usage - usageMin of its capability).
class FakeConnection final : public device::HidConnection {
public:
    FakeConnection(FakeInterface info, FakeBus& bus) : m_info(std::move(info)), m_bus(bus) {
        std::lock_guard<std::mutex> g(m_bus.mutex);
        ++m_bus.openConnections;
    }
    ~FakeConnection() override {
        std::lock_guard<std::mutex> g(m_bus.mutex);
        --m_bus.openConnections;
    }

    device::HidAttributes Attributes() const override { return m_info.attributes; }
    device::HidCaps Caps() const override { return m_info.caps; }
    std::vector<device::HidButtonCaps> InputButtonCaps() const override { return m_info.buttons; }
    std::vector<device::HidValueCaps> InputValueCaps() const override { return m_info.values; }

    bool Read(std::span<uint8_t> buffer, size_t& got, uint32_t timeoutMs) override {
        got = 0;
        std::unique_lock<std::mutex> lock(m_bus.mutex);
        m_cancelled = false;  // a cancel meant for an earlier operation does not count
        const auto ready = [&] { return m_cancelled || !m_bus.reports.empty(); };
        if (timeoutMs == device::kInfinite) {
            m_bus.changed.wait(lock, ready);
        } else if (!m_bus.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
            return false;
        }
        if (m_cancelled) return false;
        auto report = std::move(m_bus.reports.front());
        m_bus.reports.pop_front();
        got = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), got, buffer.begin());
        return true;
    }
    bool Write(std::span<const uint8_t> buffer, size_t& written, uint32_t) override {
        std::lock_guard<std::mutex> g(m_bus.mutex);
        m_bus.written.emplace_back(buffer.begin(), buffer.end());
        written = buffer.size();
        return true;
    }
    void Cancel() override {
        {
            std::lock_guard<std::mutex> g(m_bus.mutex);
            m_cancelled = true;
            ++m_bus.cancels;
        }
        m_bus.changed.notify_all();
    }

    uint32_t GetUsages(uint16_t, std::span<const uint8_t> report, std::vector<uint16_t>& usages,
                       size_t maxUsages) const override {
        usages.clear();
        for (size_t i = 1; i + 1 < report.size() && usages.size() < maxUsages; i += 2) {
            const uint16_t u = static_cast<uint16_t>(report[i] | (report[i + 1] << 8));
            if (u == 0) break;
            usages.push_back(u);
        }
        return device::kHidStatusSuccess;
    }
    uint32_t GetUsageValue(uint16_t, uint16_t usage, std::span<const uint8_t> report, uint32_t& value) const override {
        for (const auto& v : m_info.values) {
            if (usage < v.usageMin || usage > v.usageMax) continue;
            const size_t at = 1 + 2u * (usage - v.usageMin);
            if (at + 1 >= report.size()) return device::kHidStatusBufferTooSmall;
            value = static_cast<uint32_t>(report[at] | (report[at + 1] << 8));
            return device::kHidStatusSuccess;
        }
        return device::kHidStatusUsageNotFound;
    }
    uint32_t GetScaledUsageValue(uint16_t page, uint16_t usage, std::span<const uint8_t> report,
                                 int32_t& value) const override {
        uint32_t raw = 0;
        const uint32_t status = GetUsageValue(page, usage, report, raw);
        value = static_cast<int32_t>(raw);
        return status;
    }

private:
    FakeInterface m_info;
    FakeBus& m_bus;
    bool m_cancelled = false;  // guarded by the bus mutex
};

class FakeHidBackend final : public device::HidBackend {
public:
    FakeBus bus;
    std::atomic<bool> failEnumeration{false};

    // Plugging and unplugging may happen while a device thread enumerates.
    void Add(const std::wstring& path, FakeInterface info) {
        std::lock_guard<std::mutex> g(m_lock);
        m_interfaces[path] = std::move(info);
        m_order.push_back(path);
    }
    void Remove(const std::wstring& path) {
        std::lock_guard<std::mutex> g(m_lock);
        m_interfaces.erase(path);
        std::erase(m_order, path);
    }
    int OpenCount(const std::wstring& path) const {
        std::lock_guard<std::mutex> g(m_lock);
        auto it = m_opens.find(path);
        return it == m_opens.end() ? 0 : it->second;
    }
    bool Enumerate(std::vector<std::wstring>& paths) override {
        if (failEnumeration) return false;
        std::lock_guard<std::mutex> g(m_lock);
        paths = m_order;
        return true;
    }
    std::unique_ptr<device::HidConnection> Open(const std::wstring& path, const device::HidOpenOptions&) override {
        std::lock_guard<std::mutex> g(m_lock);
        auto it = m_interfaces.find(path);
        if (it == m_interfaces.end()) return nullptr;
        ++m_opens[path];
        return std::make_unique<FakeConnection>(it->second, bus);
    }
    bool Probe(const std::wstring& path) override {
        std::lock_guard<std::mutex> g(m_lock);
        return m_interfaces.count(path) != 0;
    }

private:
    mutable std::mutex m_lock;
    std::map<std::wstring, FakeInterface> m_interfaces;
    std::vector<std::wstring> m_order;  // enumeration order
    std::map<std::wstring, int> m_opens;
};

}  // namespace kw::test
