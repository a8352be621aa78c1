#pragma once
// The file that says which process holds a virtual keyboard. It is created exclusively beside the
// state file, which works between native programs and Windows programs under Wine alike, and names
// its holder (process identifier, its start time and its world) so that a lock left by a crashed
// process can be taken over. A holder of this process's world is looked up: the lock is stale once
// that process is gone. A holder of another world cannot be looked up, so it refreshes the file's
// time every second and its lock is stale after ten quiet seconds.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace kw::virtualkb {

struct LockHolder {
    uint64_t processId = 0;
    std::string world;
    std::chrono::seconds age{0};  // since the holder last refreshed it
    bool stale = false;
};

class HolderLock {
public:
    static constexpr std::chrono::seconds kRefreshEvery{1};
    static constexpr std::chrono::seconds kStaleAfter{10};

    // Null, with a reason naming the holder, when another live holder has it.
    static std::unique_ptr<HolderLock> Acquire(const std::filesystem::path& lockFile, std::string& error);
    // Who holds the lock file now; null when there is none.
    static std::optional<LockHolder> Inspect(const std::filesystem::path& lockFile);

    ~HolderLock();
    HolderLock(const HolderLock&) = delete;
    HolderLock& operator=(const HolderLock&) = delete;

private:
    struct Created {};  // only Acquire makes one

public:
    HolderLock(Created, std::filesystem::path lockFile);

private:
    void Refresh();

    std::filesystem::path m_path;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_refresher;
};

}  // namespace kw::virtualkb
