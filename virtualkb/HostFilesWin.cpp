#include "virtualkb/HostFiles.h"

#include "framework/Handles.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

namespace kw::virtualkb {

namespace {

bool WriteAll(HANDLE file, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD wrote = 0;
        if (!::WriteFile(file, bytes.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool IsBriefConflict(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED; }

}  // namespace

bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    // Sharing deletion lets a writer replace the file while it is being read.
    fw::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    uint8_t chunk[8192];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return false;
        if (got == 0) return true;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

bool ReplaceWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::filesystem::path sibling = path;
    sibling += L".new-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetCurrentThreadId()) +
               L"-" + std::to_wstring(std::chrono::steady_clock::now().time_since_epoch().count());
    {
        fw::UniqueFile file(
            ::CreateFileW(sibling.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        if (!WriteAll(file.get(), bytes)) {
            file.reset();
            ::DeleteFileW(sibling.c_str());
            return false;
        }
    }
    // A reader without delete sharing holds the target for a moment; wait for it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::MoveFileExW(sibling.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        if (!IsBriefConflict(::GetLastError())) break;
        ::Sleep(10);
    }
    ::DeleteFileW(sibling.c_str());
    return false;
}

CreateOutcome CreateExclusive(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    fw::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? CreateOutcome::AlreadyExists
                                                                           : CreateOutcome::Failed;
    }
    if (!WriteAll(file.get(), bytes)) {
        file.reset();
        ::DeleteFileW(path.c_str());
        return CreateOutcome::Failed;
    }
    return CreateOutcome::Created;
}

bool RemoveFile(const std::filesystem::path& path) { return ::DeleteFileW(path.c_str()) != 0; }

bool MoveToFreshName(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), 0) != 0;  // no replacing: fails when the target exists
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

uint64_t ThisProcessId() { return ::GetCurrentProcessId(); }

std::string ThisProcessWorld() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    ::GetComputerNameW(name, &size);
    // Under Wine each prefix has its own process list.
    return "windows:" + Utf8(name) + ":" + EnvironmentText("WINEPREFIX");
}

bool ProcessRunning(uint64_t processId) {
    if (processId == 0 || processId > 0xFFFFFFFFu) return false;
    fw::UniqueHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                           static_cast<DWORD>(processId)));
    if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to look at
    return ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

std::optional<uint64_t> ProcessStartTime(uint64_t processId) {
    if (processId == 0 || processId > 0xFFFFFFFFu) return std::nullopt;
    fw::UniqueHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId)));
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!process || !::GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) return std::nullopt;
    return (static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

std::filesystem::path HostPath(std::string_view utf8) {
    std::wstring wide = Wide(utf8);
    if (wide.size() >= 2 && wide[0] == L'/' && wide[1] != L'/') {
        for (auto& c : wide)
            if (c == L'/') c = L'\\';
        wide.insert(0, L"Z:");
    }
    return std::filesystem::path(wide);
}

std::string EnvironmentText(const char* name) {
    const std::wstring wideName = Wide(name);
    const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD got = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    value.resize(got);
    return Utf8(value);
}

std::string PathText(const std::filesystem::path& path) { return Utf8(path.native()); }

}  // namespace kw::virtualkb
