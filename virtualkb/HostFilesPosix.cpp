#include "virtualkb/HostFiles.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <signal.h>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

namespace kw::virtualkb {

namespace {

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    uint8_t chunk[8192];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return ok;
}

bool ReplaceWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::filesystem::path sibling = path;
    // Process, thread and time keep two writers from ever sharing a sibling.
    sibling += ".new-" + std::to_string(::getpid()) + "-" +
               std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id())) + "-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    const int fd = ::open(sibling.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(sibling.c_str(), path.c_str()) != 0) {
        ::unlink(sibling.c_str());
        return false;
    }
    return true;
}

CreateOutcome CreateExclusive(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EEXIST ? CreateOutcome::AlreadyExists : CreateOutcome::Failed;
    const bool written = WriteAll(fd, bytes);
    ::close(fd);
    if (!written) {
        ::unlink(path.c_str());
        return CreateOutcome::Failed;
    }
    return CreateOutcome::Created;
}

bool RemoveFile(const std::filesystem::path& path) { return ::unlink(path.c_str()) == 0; }

bool MoveToFreshName(const std::filesystem::path& from, const std::filesystem::path& to) {
    // A hard link fails when the target exists, unlike a rename.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    if (::unlink(from.c_str()) != 0) {
        ::unlink(to.c_str());
        return false;
    }
    return true;
}

std::optional<std::filesystem::file_time_type::duration> FileAge(const std::filesystem::path& path) {
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(path, ec);
    if (ec) return std::nullopt;
    return std::filesystem::file_time_type::clock::now() - written;
}

bool TouchFile(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now(), ec);
    return !ec;
}

uint64_t ThisProcessId() { return static_cast<uint64_t>(::getpid()); }

std::string ThisProcessWorld() {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    return std::string("posix:") + host;
}

bool ProcessRunning(uint64_t processId) {
    if (processId == 0 || processId > static_cast<uint64_t>(INT32_MAX)) return false;
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

std::optional<uint64_t> ProcessStartTime(uint64_t processId) {
    // Field 22 of /proc/PID/stat, counted after the command name, which may itself hold spaces.
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile("/proc/" + std::to_string(processId) + "/stat", bytes)) return std::nullopt;
    const std::string stat(bytes.begin(), bytes.end());
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    size_t at = close + 1;
    for (int field = 3; field <= 22; ++field) {
        at = stat.find_first_not_of(' ', at);
        if (at == std::string::npos) return std::nullopt;
        if (field == 22) return std::strtoull(stat.c_str() + at, nullptr, 10);
        at = stat.find(' ', at);
    }
    return std::nullopt;
}

std::filesystem::path HostPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace kw::virtualkb
