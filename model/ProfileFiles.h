#pragma once
// The file-system operations profile files and the user data folder need, behind one interface so
// that the format code stays portable and tests can put faults between it and the disk. Every
// whole-file write goes to a sibling file, is flushed, and only then takes the target's name, so a
// failure or a crash leaves the old file or the new one, never a mixture.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kw::model {

enum class FileReadStatus {
    Ok,
    Missing,      // no such file
    CannotOpen,   // exists but cannot be opened for reading and writing (read-only, locked, a folder)
    TooLarge,     // longer than the caller's limit; nothing was read
    ReadFailed,   // the read ended before the file's length
    OutOfMemory,
};

struct FileRead {
    FileReadStatus status = FileReadStatus::Missing;
    std::uint64_t length = 0;  // the file's real length, known whenever it could be opened
    std::vector<std::uint8_t> bytes;  // the whole file when status is Ok
};

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;

    // Opens the file, for update when asked (a profile file must be writable to be restored from),
    // and reads all of it when it is at most maxBytes long.
    virtual FileRead ReadWholeFile(const std::wstring& path, std::uint64_t maxBytes, bool forUpdate) = 0;
    // Replaces the file's contents with bytes through a flushed sibling file; false when any step
    // failed, the old file then being as it was.
    virtual bool ReplaceFile(const std::wstring& path, std::span<const std::uint8_t> bytes) = 0;
    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool FolderExists(const std::wstring& path) = 0;
    // Creates one folder (its parent must exist); true when it exists afterwards.
    virtual bool CreateFolder(const std::wstring& path) = 0;
    // The per-user local data folder without a trailing separator, created if missing; empty when
    // the system does not tell it.
    virtual std::wstring LocalDataFolder() = 0;
    virtual wchar_t Separator() const = 0;
};

// The running system's files: the local application-data folder on Windows, the XDG data home
// elsewhere.
ProfileFiles& SystemProfileFiles();

}  // namespace kw::model
