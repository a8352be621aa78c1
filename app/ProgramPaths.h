#pragma once
// Every file and folder the program keeps beside its executable, fixed once at start-up, whatever
// the current folder is.
#include <optional>
#include <string>

namespace kw::app {

struct ProgramPaths {
    static constexpr size_t kMaxPath = 260;  // each path, with its terminator, fits the classic limit

    std::wstring exeFileName;  // file name and extension only
    std::wstring exeFolder;    // drive + directory, ending in a backslash
    std::wstring helpFolder;
    std::wstring mainIni, mainIniFolder;
    std::wstring profileIni, profileIniFolder;
    std::wstring updateIni, updateIniFolder;
    std::wstring compositeIni, compositeIniFolder;
    std::wstring userColourPrefix;
    std::wstring packageFolder;
    std::wstring daemonPath;

    // Builds every path from the executable's full path; nothing when any of them would not fit.
    static std::optional<ProgramPaths> FromModulePath(const std::wstring& modulePath);
};

}  // namespace kw::app
