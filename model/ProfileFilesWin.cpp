// The profile files of Windows: whole-file reads and replacing writes through a flushed sibling
// file and MoveFileExW, and the local application-data folder.
#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <new>

#include "model/ProfileFiles.h"

namespace kw::model {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() {
        if (Valid()) ::CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Close() {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

constexpr DWORD kChunk = 1u << 20;

class WinProfileFiles final : public ProfileFiles {
public:
    FileRead ReadWholeFile(const std::wstring& path, std::uint64_t maxBytes, bool forUpdate) override {
        FileRead result;
        // A read-only file is refused for update by its attribute, whatever rights the user holds.
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (forUpdate && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            result.status = FileReadStatus::CannotOpen;
            return result;
        }
        const DWORD access = GENERIC_READ | (forUpdate ? GENERIC_WRITE : 0);
        FileHandle file(::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            const DWORD error = ::GetLastError();
            result.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileReadStatus::Missing
                                                                                             : FileReadStatus::CannotOpen;
            return result;
        }
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) {
            result.status = FileReadStatus::CannotOpen;
            return result;
        }
        result.length = static_cast<std::uint64_t>(size.QuadPart);
        if (result.length > maxBytes || result.length > SIZE_MAX) {
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
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, result.bytes.size() - done));
            DWORD got = 0;
            if (!::ReadFile(file.Get(), result.bytes.data() + done, want, &got, nullptr) || got == 0) {
                result.bytes.clear();
                result.status = FileReadStatus::ReadFailed;
                return result;
            }
            done += got;
        }
        result.status = FileReadStatus::Ok;
        return result;
    }

    bool ReplaceFile(const std::wstring& path, std::span<const std::uint8_t> bytes) override {
        const std::wstring sibling = path + L".kwnew";
        FileHandle file(::CreateFileW(sibling.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        bool written = true;
        for (std::size_t done = 0; written && done < bytes.size();) {
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - done));
            DWORD put = 0;
            written = ::WriteFile(file.Get(), bytes.data() + done, want, &put, nullptr) && put == want;
            done += put;
        }
        written = written && ::FlushFileBuffers(file.Get());
        if (!file.Close() || !written ||
            !::MoveFileExW(sibling.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            ::DeleteFileW(sibling.c_str());
            return false;
        }
        return true;
    }

    bool FileExists(const std::wstring& path) override {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    bool FolderExists(const std::wstring& path) override {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    bool CreateFolder(const std::wstring& path) override {
        return ::CreateDirectoryW(path.c_str(), nullptr) || FolderExists(path);
    }

    std::wstring LocalDataFolder() override {
        std::array<wchar_t, MAX_PATH> buffer{};
        if (!::SHGetSpecialFolderPathW(nullptr, buffer.data(), CSIDL_LOCAL_APPDATA, TRUE)) return {};
        buffer.back() = L'\0';
        std::wstring folder(buffer.data());
        while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
        return folder;
    }

    wchar_t Separator() const override { return L'\\'; }
};

}  // namespace

ProfileFiles& SystemProfileFiles() {
    static WinProfileFiles files;
    return files;
}

}  // namespace kw::model
#endif
