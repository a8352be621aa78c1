// The profile files of a POSIX system: whole-file reads and replacing writes through a flushed
// sibling file and rename, and the XDG data home.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "i18n/WideText.h"
#include "model/ProfileFiles.h"

namespace kw::model {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    // Closes now and says whether the close succeeded, as a delayed write error shows only there.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string NativePath(const std::wstring& path) { return i18n::PathFromWide(path).string(); }

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

class PosixProfileFiles final : public ProfileFiles {
public:
    FileRead ReadWholeFile(const std::wstring& path, std::uint64_t maxBytes, bool forUpdate) override {
        FileRead result;
        const std::string native = NativePath(path);
        struct stat info {};
        if (::stat(native.c_str(), &info) != 0) {
            result.status = errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing : FileReadStatus::CannotOpen;
            return result;
        }
        result.status = FileReadStatus::CannotOpen;
        // A file nobody may write is read-only, whoever asks: not even a privileged user restores
        // from it, as on Windows.
        if (!S_ISREG(info.st_mode) || (forUpdate && (info.st_mode & 0222) == 0)) return result;
        Descriptor fd(::open(native.c_str(), (forUpdate ? O_RDWR : O_RDONLY) | O_CLOEXEC));
        if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0) return result;
        result.length = static_cast<std::uint64_t>(info.st_size);
        if (result.length > maxBytes) {
            result.status = FileReadStatus::TooLarge;
            return result;
        }
        try {
            result.bytes.resize(static_cast<std::size_t>(result.length));
        } catch (const std::bad_alloc&) {
            result.status = FileReadStatus::OutOfMemory;
            return result;
        }
        std::size_t done = 0;
        while (done < result.bytes.size()) {
            const ssize_t n = ::read(fd.Get(), result.bytes.data() + done, result.bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                result.bytes.clear();
                result.status = FileReadStatus::ReadFailed;
                return result;
            }
            done += static_cast<std::size_t>(n);
        }
        result.status = FileReadStatus::Ok;
        return result;
    }

    bool ReplaceFile(const std::wstring& path, std::span<const std::uint8_t> bytes) override {
        const std::string native = NativePath(path);
        const std::string sibling = native + ".kwnew";
        Descriptor fd(::open(sibling.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (!fd.Valid()) return false;
        const bool written = WriteAll(fd.Get(), bytes.data(), bytes.size()) && ::fsync(fd.Get()) == 0;
        if (!fd.Close() || !written || ::rename(sibling.c_str(), native.c_str()) != 0) {
            ::unlink(sibling.c_str());
            return false;
        }
        // The rename itself lasts only once the folder is on disk.
        const std::filesystem::path folder = std::filesystem::path(native).parent_path();
        Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.Valid()) ::fsync(dir.Get());
        return true;
    }

    bool FileExists(const std::wstring& path) override {
        struct stat info {};
        return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }

    bool FolderExists(const std::wstring& path) override {
        struct stat info {};
        return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    bool CreateFolder(const std::wstring& path) override {
        return ::mkdir(NativePath(path).c_str(), 0777) == 0 || (errno == EEXIST && FolderExists(path));
    }

    std::wstring LocalDataFolder() override {
        std::filesystem::path folder;
        const char* dataHome = std::getenv("XDG_DATA_HOME");
        if (dataHome && dataHome[0] == '/') {
            folder = dataHome;
        } else {
            const char* home = std::getenv("HOME");
            if (!home || home[0] != '/') return {};
            folder = std::filesystem::path(home) / ".local" / "share";
        }
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (!std::filesystem::is_directory(folder, error)) return {};
        std::string text = folder.string();
        while (text.size() > 1 && text.back() == '/') text.pop_back();
        return i18n::WideFromUtf8(text);
    }

    wchar_t Separator() const override { return L'/'; }
};

}  // namespace

ProfileFiles& SystemProfileFiles() {
    static PosixProfileFiles files;
    return files;
}

}  // namespace kw::model
#endif
