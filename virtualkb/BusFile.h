#pragma once
// What a virtual keyboard's surroundings say about it: whether it is plugged in, and consumer-control
// reports waiting to be sent. Kept in a small text file beside the state file that `kwctl` writes and
// the holding process polls, so the two never need to share memory or a mutex:
//
//   keyweave-virtual-bus 1
//   plugged 1
//   generation 3
//   press 7 0401
//
// The generation counts plug and unplug changes, so a holder that polls only now and then still sees
// that the keyboard went away and came back. Presses carry rising sequence numbers; the holder sends
// each one it has not seen yet.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw::virtualkb {

struct QueuedPress {
    uint32_t sequence = 0;
    uint16_t usage = 0;
};

struct BusState {
    bool plugged = true;
    uint32_t generation = 0;
    std::vector<QueuedPress> presses;  // oldest first

    uint32_t LastSequence() const { return presses.empty() ? 0 : presses.back().sequence; }
};

// Only the newest presses are kept; a holder polls far more often than anyone can queue this many.
inline constexpr size_t kMaxQueuedPresses = 64;

// The files that belong to one state file.
struct CompanionFiles {
    std::filesystem::path state;
    std::filesystem::path lock;     // the holder's lock
    std::filesystem::path bus;      // presence and queued reports
    std::filesystem::path busLock;  // taken for a moment by whoever changes the bus

    static CompanionFiles For(const std::filesystem::path& stateFile);
};

std::string FormatBus(const BusState& bus);
std::optional<BusState> ParseBus(std::string_view text);

// A missing file is a plugged keyboard with nothing queued; null when the file is there but cannot
// be read or understood.
std::optional<BusState> ReadBus(const std::filesystem::path& busFile);

// Reads, changes and replaces the bus file while holding its writer lock; false with a reason when it
// cannot.
bool ChangeBus(const CompanionFiles& files, const std::function<void(BusState&)>& change, std::string& error);

// The changes kwctl and the keyboard's own API make.
void SetPlugged(BusState& bus, bool plugged);
void QueuePress(BusState& bus, uint16_t usage);

}  // namespace kw::virtualkb
