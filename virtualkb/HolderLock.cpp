#include "virtualkb/HolderLock.h"

#include "virtualkb/HostFiles.h"

#include <sstream>

namespace kw::virtualkb {

namespace {

std::string HolderText() {
    std::string text = "pid=" + std::to_string(ThisProcessId()) + "\n";
    if (const auto started = ProcessStartTime(ThisProcessId())) text += "started=" + std::to_string(*started) + "\n";
    return text + "world=" + ThisProcessWorld() + "\n";
}

struct ParsedHolder {
    uint64_t processId = 0;
    std::optional<uint64_t> started;
    std::string world;
};

ParsedHolder ParseHolder(const std::vector<uint8_t>& bytes) {
    ParsedHolder h;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("pid=", 0) == 0) h.processId = std::strtoull(line.c_str() + 4, nullptr, 10);
        else if (line.rfind("started=", 0) == 0) h.started = std::strtoull(line.c_str() + 8, nullptr, 10);
        else if (line.rfind("world=", 0) == 0) h.world = line.substr(6);
    }
    return h;
}

std::optional<LockHolder> Judge(const std::filesystem::path& path, std::vector<uint8_t>* text) {
    std::vector<uint8_t> bytes;
    const auto age = FileAge(path);
    if (!age || !ReadWholeFile(path, bytes)) return std::nullopt;
    const ParsedHolder parsed = ParseHolder(bytes);
    LockHolder holder;
    holder.processId = parsed.processId;
    holder.world = parsed.world;
    holder.age = std::chrono::duration_cast<std::chrono::seconds>(*age);
    // A holder of this world can be looked up: gone, or its identifier now belongs to a process that
    // started at another time, or alive however long it has been quiet. Anything else (a holder of
    // another world, a file that names nobody because its writer died between creating and filling
    // it) goes by the age of its last refresh.
    const bool quiet = *age > HolderLock::kStaleAfter;
    holder.stale = quiet;
    if (parsed.world == ThisProcessWorld() && parsed.processId != 0) {
        const auto started = parsed.started ? ProcessStartTime(parsed.processId) : std::nullopt;
        if (!ProcessRunning(parsed.processId)) holder.stale = true;
        else if (started) holder.stale = *started != *parsed.started;
    }
    if (text) *text = std::move(bytes);
    return holder;
}

}  // namespace

std::optional<LockHolder> HolderLock::Inspect(const std::filesystem::path& lockFile) { return Judge(lockFile, nullptr); }

std::unique_ptr<HolderLock> HolderLock::Acquire(const std::filesystem::path& lockFile, std::string& error) {
    const std::string text = HolderText();
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    for (int attempt = 0; attempt < 3; ++attempt) {
        switch (CreateExclusive(lockFile, bytes)) {
            case CreateOutcome::Created:
                return std::make_unique<HolderLock>(Created{}, lockFile);
            case CreateOutcome::Failed:
                error = "cannot create the lock file " + PathText(lockFile);
                return nullptr;
            case CreateOutcome::AlreadyExists:
                break;
        }
        std::vector<uint8_t> seen;
        const auto holder = Judge(lockFile, &seen);
        if (!holder) continue;  // it went away meanwhile
        if (!holder->stale) {
            error = "it is held by process " + std::to_string(holder->processId) + " (" + holder->world +
                    "), as its lock file " + PathText(lockFile) + " says";
            return nullptr;
        }
        // Take the stale lock aside under a name of our own, and make sure it is the one judged stale
        // and not a fresh lock another process has just put there.
        std::filesystem::path aside = lockFile;
        aside += ".stale-" + std::to_string(ThisProcessId()) + "-" + std::to_string(attempt);
        if (!MoveToFreshName(lockFile, aside)) continue;
        std::vector<uint8_t> moved;
        if (ReadWholeFile(aside, moved) && moved != seen) {
            MoveToFreshName(aside, lockFile);
            continue;
        }
        RemoveFile(aside);
    }
    error = "cannot take the lock file " + PathText(lockFile);
    return nullptr;
}

HolderLock::HolderLock(Created, std::filesystem::path lockFile) : m_path(std::move(lockFile)) {
    m_refresher = std::thread([this] { Refresh(); });
}

void HolderLock::Refresh() {
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_wake.wait_for(lock, kRefreshEvery, [this] { return m_stopping; })) TouchFile(m_path);
}

HolderLock::~HolderLock() {
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_refresher.join();
    RemoveFile(m_path);
}

}  // namespace kw::virtualkb
