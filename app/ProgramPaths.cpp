#include "app/ProgramPaths.h"

#include <initializer_list>

namespace kw::app {

namespace {
// Folder part of a full path, ending in a backslash (or empty when there is none).
std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}
}  // namespace

std::optional<ProgramPaths> ProgramPaths::FromModulePath(const std::wstring& modulePath) {
    ProgramPaths p;
    p.exeFolder = FolderOf(modulePath);
    p.exeFileName = modulePath.substr(p.exeFolder.size());
    if (p.exeFileName.empty()) return std::nullopt;

    const auto beside = [&](const wchar_t* relative) { return p.exeFolder + relative; };
    p.helpFolder = beside(L"Help\\");
    p.mainIni = beside(L"Skins\\Main.ini");
    p.profileIni = beside(L"Skins\\Profile.ini");
    p.updateIni = beside(L"Skins\\UpdateDlg.ini");
    p.compositeIni = beside(L"Skins\\Composite.ini");
    p.mainIniFolder = FolderOf(p.mainIni);
    p.profileIniFolder = FolderOf(p.profileIni);
    p.updateIniFolder = FolderOf(p.updateIni);
    p.compositeIniFolder = FolderOf(p.compositeIni);
    p.userColourPrefix = beside(L"Skins\\UserDengColor_");
    p.packageFolder = beside(L"Package");
    p.daemonPath = beside(L"KbDaemon.exe");

    // The longest names built later beside the executable: the language file and the user lighting
    // files ("UserDengColor_%d.userd") must fit as well.
    const std::wstring longestDerived = beside(L"Skins\\UserDengColor_2147483647.userd");
    for (const std::wstring* path : std::initializer_list<const std::wstring*>{&modulePath, &p.helpFolder, &p.mainIni, &p.profileIni, &p.updateIni,
                                     &p.compositeIni, &p.packageFolder, &p.daemonPath, &longestDerived}) {
        if (path->size() >= kMaxPath) return std::nullopt;
    }
    return p;
}

}  // namespace kw::app
