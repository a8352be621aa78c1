#include "virtualkb/BusFile.h"

#include "virtualkb/HostFiles.h"

#include <charconv>
#include <cstdio>
#include <chrono>
#include <sstream>
#include <thread>

namespace kw::virtualkb {

namespace {

constexpr std::string_view kHeader = "keyweave-virtual-bus 1";
// A writer holds the bus lock for a moment; one this old was left by a writer that died.
constexpr auto kBusLockStale = std::chrono::seconds(2);
constexpr auto kBusLockPatience = std::chrono::seconds(5);

template <class T>
bool ParseNumber(std::string_view text, T& value, int base) {
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return ec == std::errc() && ptr == end;
}

}  // namespace

CompanionFiles CompanionFiles::For(const std::filesystem::path& stateFile) {
    CompanionFiles f;
    f.state = stateFile;
    f.lock = stateFile;
    f.lock += ".lock";
    f.bus = stateFile;
    f.bus += ".bus";
    f.busLock = f.bus;
    f.busLock += ".lock";
    return f;
}

std::string FormatBus(const BusState& bus) {
    std::ostringstream out;
    out << kHeader << "\nplugged " << (bus.plugged ? 1 : 0) << "\ngeneration " << bus.generation << "\n";
    for (const auto& press : bus.presses) {
        char usage[8];
        std::snprintf(usage, sizeof usage, "%04X", press.usage);
        out << "press " << press.sequence << " " << usage << "\n";
    }
    return out.str();
}

std::optional<BusState> ParseBus(std::string_view text) {
    BusState bus;
    bool headerSeen = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (!headerSeen) {
            if (line != kHeader) return std::nullopt;
            headerSeen = true;
            continue;
        }
        const size_t space = line.find(' ');
        if (space == std::string_view::npos) return std::nullopt;
        const std::string_view key = line.substr(0, space);
        const std::string_view rest = line.substr(space + 1);
        if (key == "plugged") {
            int value = 0;
            if (!ParseNumber(rest, value, 10) || (value != 0 && value != 1)) return std::nullopt;
            bus.plugged = value == 1;
        } else if (key == "generation") {
            if (!ParseNumber(rest, bus.generation, 10)) return std::nullopt;
        } else if (key == "press") {
            const size_t gap = rest.find(' ');
            QueuedPress press;
            if (gap == std::string_view::npos || !ParseNumber(rest.substr(0, gap), press.sequence, 10) ||
                !ParseNumber(rest.substr(gap + 1), press.usage, 16))
                return std::nullopt;
            if (press.sequence <= bus.LastSequence()) return std::nullopt;  // sequences only rise
            bus.presses.push_back(press);
        }  // other keys belong to later versions and are skipped
    }
    if (!headerSeen) return std::nullopt;
    return bus;
}

std::optional<BusState> ReadBus(const std::filesystem::path& busFile) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(busFile, bytes)) {
        std::error_code ec;
        if (!std::filesystem::exists(busFile, ec) && !ec) return BusState{};
        return std::nullopt;
    }
    return ParseBus(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool ChangeBus(const CompanionFiles& files, const std::function<void(BusState&)>& change, std::string& error) {
    const std::string me = std::to_string(ThisProcessId());
    const std::span<const uint8_t> stamp(reinterpret_cast<const uint8_t*>(me.data()), me.size());
    const auto giveUp = std::chrono::steady_clock::now() + kBusLockPatience;
    for (;;) {
        const CreateOutcome outcome = CreateExclusive(files.busLock, stamp);
        if (outcome == CreateOutcome::Created) break;
        if (outcome == CreateOutcome::Failed) {
            error = "cannot create " + PathText(files.busLock);
            return false;
        }
        const auto age = FileAge(files.busLock);
        if (age && *age > kBusLockStale) RemoveFile(files.busLock);
        if (std::chrono::steady_clock::now() > giveUp) {
            error = "the bus file is being changed by another process: " + PathText(files.busLock);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    bool ok = false;
    if (auto bus = ReadBus(files.bus)) {
        change(*bus);
        const std::string text = FormatBus(*bus);
        ok = ReplaceWholeFile(files.bus, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()),
                                                                  text.size()));
        if (!ok) error = "cannot write " + PathText(files.bus);
    } else {
        error = "cannot read " + PathText(files.bus);
    }
    RemoveFile(files.busLock);
    return ok;
}

void SetPlugged(BusState& bus, bool plugged) {
    if (bus.plugged == plugged) return;
    bus.plugged = plugged;
    ++bus.generation;
}

void QueuePress(BusState& bus, uint16_t usage) {
    bus.presses.push_back({bus.LastSequence() + 1, usage});
    if (bus.presses.size() > kMaxQueuedPresses)
        bus.presses.erase(bus.presses.begin(), bus.presses.end() - kMaxQueuedPresses);
}

}  // namespace kw::virtualkb
