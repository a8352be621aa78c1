#include "virtualkb/VirtualKeyboard.h"

#include "virtualkb/BusFile.h"
#include "virtualkb/Firmware.h"
#include "virtualkb/HolderLock.h"
#include "virtualkb/HostFiles.h"

#include <algorithm>
#include <condition_variable>
#include <cwchar>
#include <cwctype>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace kw::virtualkb {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

enum class Iface { Keyboard, Consumer, Vendor };

struct InterfaceInfo {
    Iface kind;
    uint16_t usagePage;
    uint16_t usage;
    uint16_t inputBytes;
    uint16_t outputBytes;
    int interfaceNumber;
};

// In enumeration order: the scan meets the interface it must reject first.
constexpr std::array<InterfaceInfo, 3> kInterfaces{{
    {Iface::Keyboard, 0x0001, 0x0006, 9, 2, 0},
    {Iface::Consumer, 0x000C, 0x0001, kConsumerReportBytes, 0, 1},
    {Iface::Vendor, 0xFF1C, 0x0092, device::kFrameBytes, device::kFrameBytes, 2},
}};

// A HID input buffer keeps this many reports; older ones are dropped when it overflows.
constexpr size_t kInputBufferReports = 32;
// How often a waiting read looks at the bus file of a file-backed keyboard.
constexpr auto kBusPoll = 25ms;

// Sleeps until just before the moment and spins the rest: a plain sleep overshoots by the timer
// slack, which would show in the latency model's milliseconds. Sleeping (not spinning) the bulk keeps
// the model honest on a busy machine too, where a spinning thread loses its turn for whole time slices.
void PreciseWaitUntil(Clock::time_point until) {
    constexpr auto kSpin = 60us;
    if (until - Clock::now() > kSpin) std::this_thread::sleep_until(until - kSpin);
    while (Clock::now() < until) {
    }
}

struct Report {
    std::vector<uint8_t> bytes;
    Clock::time_point readyAt;
};

bool SamePath(const std::wstring& a, const std::wstring& b) {
    // Device paths are not case-sensitive.
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

uint32_t Fnv1a(const std::string& text) {
    uint32_t h = 2166136261u;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

class VirtualConnection;

}  // namespace

struct VirtualKeyboard::Core {
    explicit Core(StoredContents contents) : firmware(std::move(contents)) {}

    mutable std::mutex mutex;
    std::condition_variable changed;
    KeyboardFirmware firmware;
    InterfacePaths paths;
    std::optional<CompanionFiles> files;
    std::unique_ptr<HolderLock> holder;
    bool closed = false;
    bool plugged = true;
    uint32_t generation = 0;
    uint64_t epoch = 0;  // rises whenever the keyboard leaves the bus: connections of an older epoch are dead
    uint32_t lastPress = 0;
    Clock::time_point lastSync{};
    std::vector<VirtualConnection*> connections;
    std::deque<Fault> faults;
    std::chrono::microseconds latency{0};
    Traffic traffic;
    bool recording = false;
    std::vector<device::CommandFrame::Bytes> recorded;
    bool unsaved = false;

    bool PresentLocked() const { return !closed && plugged && !firmware.Contents().inBoot; }
    void LeaveBusLocked() {
        ++epoch;
        changed.notify_all();
    }
    void SyncLocked(bool force);
    void ApplyBusLocked(const BusState& bus);
    void UnplugLocked();
    void DeliverLocked(Iface kind, Report report);
    void DeliverPressLocked(uint16_t usage);
    std::optional<Fault> TakeFaultLocked(uint8_t command);
    bool SaveLocked(std::string* error);
};

namespace {

class VirtualConnection final : public device::HidConnection {
public:
    using Core = VirtualKeyboard::Core;

    // Made and registered with the core's lock held.
    VirtualConnection(std::shared_ptr<Core> core, const InterfaceInfo& info, const device::HidOpenOptions& options)
        : m_core(std::move(core)), m_info(info), m_options(options), m_epoch(m_core->epoch) {
        m_core->connections.push_back(this);
    }
    ~VirtualConnection() override {
        std::lock_guard<std::mutex> g(m_core->mutex);
        std::erase(m_core->connections, this);
    }

    device::HidAttributes Attributes() const override {
        std::lock_guard<std::mutex> g(m_core->mutex);
        const auto& model = m_core->firmware.Contents().model;
        return {model.vendorId, model.productId, 0x0100};
    }
    device::HidCaps Caps() const override {
        device::HidCaps caps;
        caps.usage = m_info.usage;
        caps.usagePage = m_info.usagePage;
        caps.inputReportByteLength = m_info.inputBytes;
        caps.outputReportByteLength = m_info.outputBytes;
        caps.numberInputButtonCaps = static_cast<uint16_t>(InputButtonCaps().size());
        return caps;
    }
    std::vector<device::HidButtonCaps> InputButtonCaps() const override {
        switch (m_info.kind) {
            case Iface::Keyboard: return {{0x0007, 0, 0x00E0, 0x00E7, 8}, {0x0007, 0, 0x0000, 0x00FF, 6}};
            case Iface::Consumer: return {{0x000C, kConsumerReportId, 0x0001, 0x2FFF, 1}};
            case Iface::Vendor: return {};
        }
        return {};
    }
    std::vector<device::HidValueCaps> InputValueCaps() const override { return {}; }

    bool Read(std::span<uint8_t> buffer, size_t& got, uint32_t timeoutMs) override {
        got = 0;
        std::unique_lock<std::mutex> lock(m_core->mutex);
        if (!m_options.read || buffer.size() < m_info.inputBytes) return false;
        m_cancelled = false;  // a cancel meant for an earlier operation does not count
        const bool forever = timeoutMs == device::kInfinite;
        const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
        for (;;) {
            m_core->SyncLocked(false);
            if (!AliveLocked() || m_cancelled) return false;
            const auto now = Clock::now();
            if (!m_inbox.empty() && m_inbox.front().readyAt <= now) {
                const auto& report = m_inbox.front().bytes;
                got = std::min(report.size(), buffer.size());
                std::copy_n(report.begin(), got, buffer.begin());
                m_inbox.pop_front();
                return true;
            }
            if (!forever && now >= deadline) return false;
            auto wake = forever ? now + 1h : deadline;
            bool reportDue = false;
            if (!m_inbox.empty() && m_inbox.front().readyAt < wake) {
                wake = m_inbox.front().readyAt;
                reportDue = true;
            }
            if (m_core->files && now + kBusPoll < wake) {
                wake = now + kBusPoll;
                reportDue = false;
            }
            if (reportDue && wake - now < 5ms) {
                lock.unlock();
                PreciseWaitUntil(wake);
                lock.lock();
                continue;
            }
            m_core->changed.wait_until(lock, wake);
        }
    }

    bool Write(std::span<const uint8_t> buffer, size_t& written, uint32_t) override {
        written = 0;
        if (m_info.kind != Iface::Vendor || buffer.size() != device::kFrameBytes) return false;
        std::unique_lock<std::mutex> lock(m_core->mutex);
        if (!m_options.write) return false;
        m_core->SyncLocked(false);
        if (!AliveLocked()) return false;
        if (m_core->latency > 0us) {  // the request travels to the keyboard
            const auto arrives = Clock::now() + m_core->latency;
            lock.unlock();
            PreciseWaitUntil(arrives);
            lock.lock();
            if (!AliveLocked()) return false;
        }
        device::CommandFrame::Bytes request;
        std::copy(buffer.begin(), buffer.end(), request.begin());
        const uint8_t command = request[device::kFrameCommandAt];
        const auto fault = m_core->TakeFaultLocked(command);
        const auto is = [&fault](FaultKind k) { return fault.has_value() && fault->kind == k; };
        if (is(FaultKind::WriteFails)) return false;

        written = buffer.size();
        ++m_core->traffic.requests;
        ++m_core->traffic.byCommand[command];
        if (m_core->recording) m_core->recorded.push_back(request);
        if (is(FaultKind::NoAnswer)) return true;
        if (is(FaultKind::Unplug)) {
            m_core->UnplugLocked();
            return true;
        }

        std::vector<uint8_t> answer;
        if (is(FaultKind::StatusFF) || is(FaultKind::StatusFE)) {
            answer.assign(request.begin(), request.end());
            std::fill(answer.begin() + device::kAnswerStatusAt, answer.end(), 0);
            answer[device::kAnswerStatusAt] = is(FaultKind::StatusFF) ? device::kStatusErrorFF : device::kStatusErrorFE;
        } else {
            const FirmwareReply reply = m_core->firmware.Handle(request);
            m_core->unsaved = m_core->unsaved || reply.changed;
            if (reply.enteredBoot) {
                auto& contents = m_core->firmware.Contents();
                contents.inBoot = true;
                contents.bootPlugGeneration = m_core->generation;
                m_core->SaveLocked(nullptr);
                m_core->LeaveBusLocked();
                return true;
            }
            if (reply.commit) m_core->SaveLocked(nullptr);
            if (!reply.answered) return true;
            answer.assign(reply.answer.begin(), reply.answer.end());
        }

        auto readyAt = Clock::now() + m_core->latency;
        if (is(FaultKind::SlowAnswer)) readyAt += fault->delay;
        if (is(FaultKind::ShortAnswer)) answer.resize(std::min(answer.size(), fault->answerBytes));
        if (is(FaultKind::BareAnswer)) std::fill_n(answer.begin(), device::kAnswerStatusAt, 0);
        ++m_core->traffic.answers;
        m_core->DeliverLocked(Iface::Vendor, Report{std::move(answer), readyAt});
        return true;
    }

    void Cancel() override {
        {
            std::lock_guard<std::mutex> g(m_core->mutex);
            m_cancelled = true;
        }
        m_core->changed.notify_all();
    }

    uint32_t GetUsages(uint16_t usagePage, std::span<const uint8_t> report, std::vector<uint16_t>& usages,
                       size_t maxUsages) const override {
        usages.clear();
        if (m_info.kind != Iface::Consumer || usagePage != 0x000C) return device::kHidStatusUsageNotFound;
        if (report.size() < kConsumerReportBytes) return device::kHidStatusBufferTooSmall;
        if (report[0] != kConsumerReportId) return device::kHidStatusIncompatibleReportId;
        const auto usage = static_cast<uint16_t>(report[1] | (report[2] << 8));
        if (usage != 0 && maxUsages > 0) usages.push_back(usage);
        return device::kHidStatusSuccess;
    }
    uint32_t GetUsageValue(uint16_t, uint16_t, std::span<const uint8_t>, uint32_t& value) const override {
        value = 0;
        return device::kHidStatusUsageNotFound;
    }
    uint32_t GetScaledUsageValue(uint16_t, uint16_t, std::span<const uint8_t>, int32_t& value) const override {
        value = 0;
        return device::kHidStatusUsageNotFound;
    }

    // With the core's lock held.
    Iface Kind() const { return m_info.kind; }
    bool Reads() const { return m_options.read; }
    bool AliveLocked() const { return m_core->PresentLocked() && m_core->epoch == m_epoch; }
    void Receive(Report report) {
        const auto at = std::upper_bound(m_inbox.begin(), m_inbox.end(), report.readyAt,
                                         [](Clock::time_point t, const Report& r) { return t < r.readyAt; });
        m_inbox.insert(at, std::move(report));
        if (m_inbox.size() > kInputBufferReports) m_inbox.pop_front();
    }

private:
    std::shared_ptr<Core> m_core;
    const InterfaceInfo& m_info;
    device::HidOpenOptions m_options;
    uint64_t m_epoch;
    // Guarded by the core's lock.
    std::deque<Report> m_inbox;  // in order of arrival
    bool m_cancelled = false;
};

}  // namespace

void VirtualKeyboard::Core::SyncLocked(bool force) {
    if (!files || closed) return;
    const auto now = Clock::now();
    if (!force && now - lastSync < kBusPoll) return;
    lastSync = now;
    // A bus file that cannot be read just now (being replaced, say) leaves things as they are.
    if (const auto bus = ReadBus(files->bus)) ApplyBusLocked(*bus);
}

void VirtualKeyboard::Core::ApplyBusLocked(const BusState& bus) {
    if (bus.generation != generation) {
        // Whatever happened since the last look included a removal: open connections end.
        generation = bus.generation;
        plugged = bus.plugged;
        LeaveBusLocked();
        auto& contents = firmware.Contents();
        if (plugged && contents.inBoot && generation != contents.bootPlugGeneration) {
            contents.inBoot = false;
            SaveLocked(nullptr);
        }
    }
    if (bus.LastSequence() < lastPress) lastPress = bus.LastSequence();  // the bus file was started afresh
    for (const auto& press : bus.presses) {
        if (press.sequence <= lastPress) continue;
        lastPress = press.sequence;
        if (PresentLocked()) DeliverPressLocked(press.usage);
    }
}

void VirtualKeyboard::Core::UnplugLocked() {
    if (files) {
        std::string error;
        ChangeBus(*files, [](BusState& bus) { SetPlugged(bus, false); }, error);
        SyncLocked(true);
        return;
    }
    if (!plugged) return;
    plugged = false;
    ++generation;
    LeaveBusLocked();
}

void VirtualKeyboard::Core::DeliverLocked(Iface kind, Report report) {
    for (auto* connection : connections)
        if (connection->Kind() == kind && connection->Reads() && connection->AliveLocked()) connection->Receive(report);
    changed.notify_all();
}

void VirtualKeyboard::Core::DeliverPressLocked(uint16_t usage) {
    const auto now = Clock::now();
    DeliverLocked(Iface::Consumer,
                  Report{{kConsumerReportId, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)}, now});
    DeliverLocked(Iface::Consumer, Report{{kConsumerReportId, 0, 0}, now});
}

std::optional<Fault> VirtualKeyboard::Core::TakeFaultLocked(uint8_t command) {
    for (auto it = faults.begin(); it != faults.end(); ++it) {
        if (it->command && static_cast<uint8_t>(*it->command) != command) continue;
        if (it->skip > 0) {
            --it->skip;
            return std::nullopt;
        }
        Fault hit = *it;
        if (--it->times <= 0) faults.erase(it);
        return hit;
    }
    return std::nullopt;
}

bool VirtualKeyboard::Core::SaveLocked(std::string* error) {
    if (!files) return true;  // kept in memory
    const auto image = EncodeContents(firmware.Contents());
    if (!ReplaceWholeFile(files->state, image)) {
        if (error) *error = "cannot write " + PathText(files->state);
        return false;
    }
    unsaved = false;
    return true;
}

InterfacePaths MakeInterfacePaths(const device::KeyboardModel& model, uint32_t instance) {
    auto path = [&](int interfaceNumber) {
        wchar_t text[128];
        std::swprintf(text, 128, L"\\\\?\\hid#vid_%04x&pid_%04x&mi_%02d#8&%08x&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                      static_cast<unsigned>(model.vendorId), static_cast<unsigned>(model.productId), interfaceNumber,
                      static_cast<unsigned>(instance));
        return std::wstring(text);
    };
    return {path(kInterfaces[0].interfaceNumber), path(kInterfaces[1].interfaceNumber),
            path(kInterfaces[2].interfaceNumber)};
}

VirtualKeyboard::VirtualKeyboard(StoredContents contents) : m_core(std::make_shared<Core>(std::move(contents))) {
    m_core->paths = MakeInterfacePaths(m_core->firmware.Contents().model, 0);
}

std::unique_ptr<VirtualKeyboard> VirtualKeyboard::OpenStateFile(const std::filesystem::path& stateFile,
                                                                const device::KeyboardModel& newModel,
                                                                std::string& error) {
    const auto files = CompanionFiles::For(stateFile);
    auto holder = HolderLock::Acquire(files.lock, error);
    if (!holder) return nullptr;

    StoredContents contents;
    std::vector<uint8_t> image;
    bool create = false;
    if (ReadWholeFile(files.state, image)) {
        std::string reason;
        auto decoded = DecodeContents(image, &reason);
        if (!decoded) {
            error = PathText(files.state) + ": " + reason;
            return nullptr;
        }
        contents = std::move(*decoded);
    } else {
        std::error_code ec;
        if (std::filesystem::exists(files.state, ec) || ec) {
            error = "cannot read " + PathText(files.state);
            return nullptr;
        }
        contents = FactoryContents(newModel);
        create = true;
    }
    const auto bus = ReadBus(files.bus);
    if (!bus) {
        error = "cannot understand " + PathText(files.bus) + " (remove it to start afresh)";
        return nullptr;
    }

    auto keyboard = std::make_unique<VirtualKeyboard>(std::move(contents));
    auto& core = *keyboard->m_core;
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(stateFile, ec);
    core.paths = MakeInterfacePaths(core.firmware.Contents().model, Fnv1a(PathText(ec ? stateFile : absolute)));
    core.files = files;
    core.holder = std::move(holder);
    std::lock_guard<std::mutex> g(core.mutex);
    core.generation = bus->generation;
    core.plugged = bus->plugged;
    core.lastPress = bus->LastSequence();  // reports queued before this run are not ours to send
    auto& stored = core.firmware.Contents();
    if (stored.inBoot && core.plugged && core.generation != stored.bootPlugGeneration) {
        stored.inBoot = false;
        create = true;
    }
    if (create && !core.SaveLocked(&error)) return nullptr;
    core.lastSync = Clock::now();
    return keyboard;
}

VirtualKeyboard::~VirtualKeyboard() {
    std::unique_ptr<HolderLock> holder;
    {
        std::lock_guard<std::mutex> g(m_core->mutex);
        if (m_core->unsaved) m_core->SaveLocked(nullptr);
        // Connections still open in this process go dead: the next holder may be another process.
        m_core->closed = true;
        m_core->LeaveBusLocked();
        holder = std::move(m_core->holder);
    }
    holder.reset();  // the lock goes last, after the final save
}

bool VirtualKeyboard::Enumerate(std::vector<std::wstring>& paths) {
    paths.clear();
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->SyncLocked(true);
    if (m_core->PresentLocked()) paths = {m_core->paths.keyboard, m_core->paths.consumer, m_core->paths.vendor};
    return true;
}

std::unique_ptr<device::HidConnection> VirtualKeyboard::Open(const std::wstring& path,
                                                             const device::HidOpenOptions& options) {
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->SyncLocked(true);
    if (!m_core->PresentLocked()) return nullptr;
    const std::wstring* known[] = {&m_core->paths.keyboard, &m_core->paths.consumer, &m_core->paths.vendor};
    for (size_t i = 0; i < kInterfaces.size(); ++i) {
        if (SamePath(*known[i], path))
            return std::make_unique<VirtualConnection>(m_core, kInterfaces[i], options);
    }
    return nullptr;
}

bool VirtualKeyboard::Probe(const std::wstring& path) {
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->SyncLocked(true);
    const auto& p = m_core->paths;
    return m_core->PresentLocked() && (SamePath(path, p.keyboard) || SamePath(path, p.consumer) || SamePath(path, p.vendor));
}

void VirtualKeyboard::Plug() {
    if (m_core->files) {
        std::string error;
        ChangeBus(*m_core->files, [](BusState& bus) { SetPlugged(bus, true); }, error);
        std::lock_guard<std::mutex> g(m_core->mutex);
        m_core->SyncLocked(true);
        return;
    }
    std::lock_guard<std::mutex> g(m_core->mutex);
    if (m_core->plugged) return;
    m_core->plugged = true;
    ++m_core->generation;
    m_core->LeaveBusLocked();
    auto& contents = m_core->firmware.Contents();
    if (contents.inBoot && m_core->generation != contents.bootPlugGeneration) contents.inBoot = false;
}

void VirtualKeyboard::Unplug() {
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->UnplugLocked();
}

bool VirtualKeyboard::Present() const {
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->SyncLocked(true);
    return m_core->PresentLocked();
}

void VirtualKeyboard::Press(uint16_t usage) {
    if (m_core->files) {
        std::string error;
        ChangeBus(*m_core->files, [usage](BusState& bus) { QueuePress(bus, usage); }, error);
        std::lock_guard<std::mutex> g(m_core->mutex);
        m_core->SyncLocked(true);
        return;
    }
    std::lock_guard<std::mutex> g(m_core->mutex);
    if (m_core->PresentLocked()) m_core->DeliverPressLocked(usage);
}

void VirtualKeyboard::InjectFault(const Fault& fault) {
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->faults.push_back(fault);
}

void VirtualKeyboard::ClearFaults() {
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->faults.clear();
}

void VirtualKeyboard::SetReportLatency(std::chrono::microseconds perReport) {
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->latency = perReport;
}

StoredContents VirtualKeyboard::Contents() const {
    std::lock_guard<std::mutex> g(m_core->mutex);
    return m_core->firmware.Contents();
}

const InterfacePaths& VirtualKeyboard::Paths() const { return m_core->paths; }

Traffic VirtualKeyboard::TrafficSeen() const {
    std::lock_guard<std::mutex> g(m_core->mutex);
    return m_core->traffic;
}

void VirtualKeyboard::ResetTraffic() {
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->traffic = {};
    m_core->recorded.clear();
}

void VirtualKeyboard::RecordRequests(bool on) {
    std::lock_guard<std::mutex> g(m_core->mutex);
    m_core->recording = on;
}

std::vector<device::CommandFrame::Bytes> VirtualKeyboard::RecordedRequests() const {
    std::lock_guard<std::mutex> g(m_core->mutex);
    return m_core->recorded;
}

int VirtualKeyboard::OpenConnections() const {
    std::lock_guard<std::mutex> g(m_core->mutex);
    return static_cast<int>(m_core->connections.size());
}

int VirtualKeyboard::TestCommandsSeen() const {
    std::lock_guard<std::mutex> g(m_core->mutex);
    return m_core->firmware.TestCount();
}

bool VirtualKeyboard::Save(std::string* error) {
    std::lock_guard<std::mutex> g(m_core->mutex);
    return m_core->SaveLocked(error);
}

}  // namespace kw::virtualkb
