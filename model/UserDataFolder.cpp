#include "model/UserDataFolder.h"

#include <algorithm>

#include "i18n/ProgramLocaliser.h"

namespace kw::model {

std::optional<std::wstring> JoinUserDataPath(std::wstring_view folder, wchar_t separator, std::wstring_view name) {
    if (folder.empty() || folder.size() + 1 + name.size() + 1 > kMaxUserDataPath) return std::nullopt;
    std::wstring path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    if (path.back() != separator) path.push_back(separator);
    path.append(name);
    return path;
}

std::optional<std::wstring> UserDataFolderPath(ProfileFiles& files) {
    return JoinUserDataPath(files.LocalDataFolder(), files.Separator(), kUserDataFolderName);
}

std::wstring UserLightingFileName(int profile) {
    return std::wstring(kUserLightingPrefix) + std::to_wstring(profile) + std::wstring(kUserLightingExtension);
}

std::optional<std::wstring> UserLightingFilePath(ProfileFiles& files, int profile) {
    const auto folder = UserDataFolderPath(files);
    if (!folder) return std::nullopt;
    return JoinUserDataPath(*folder, files.Separator(), UserLightingFileName(profile));
}

UserDataStatus EnsureUserDataFolder(ProfileFiles& files, const std::wstring& skinFolder) {
    const std::wstring local = files.LocalDataFolder();
    if (local.empty()) return UserDataStatus::NoFolder;
    const auto folder = JoinUserDataPath(local, files.Separator(), kUserDataFolderName);
    if (!folder) return UserDataStatus::PathTooLong;
    if (files.FolderExists(*folder)) return UserDataStatus::Existing;
    // Every path is built before anything is created, so a name too long leaves no half-made folder.
    std::vector<std::wstring> targets;
    for (int n = 0; n < kKeyboardLightingFiles; ++n) {
        const auto target = JoinUserDataPath(*folder, files.Separator(), UserLightingFileName(n));
        if (!target) return UserDataStatus::PathTooLong;
        targets.push_back(*target);
    }
    if (!files.CreateFolder(*folder)) return UserDataStatus::CannotCreate;
    // The template is copied byte for byte: a lighting file is data, and a text-mode copy would stop
    // at a 0x1A byte on Windows.
    std::vector<std::uint8_t> content;
    if (const auto source = JoinUserDataPath(skinFolder, files.Separator(), UserLightingFileName(kUserLightingTemplate))) {
        FileRead read = files.ReadWholeFile(*source, kMaxUserLightingTemplate, false);
        if (read.status == FileReadStatus::Ok) content = std::move(read.bytes);
    }
    bool copied = true;
    for (const std::wstring& target : targets) copied = files.ReplaceFile(target, content) && copied;
    return copied ? UserDataStatus::Created : UserDataStatus::CannotCreate;
}

UserDataStatus EnsureUserDataFolder() {
    ProfileFiles& files = SystemProfileFiles();
    const std::wstring exeFolder = i18n::ExecutableFolder();
    if (exeFolder.empty()) return EnsureUserDataFolder(files, {});
    return EnsureUserDataFolder(files, exeFolder + L"Skins");
}

std::optional<std::wstring> ProfileFilePath(ProfileFiles& files, int /*profileIndex*/) {
    const auto folder = UserDataFolderPath(files);
    if (!folder) return std::nullopt;
    return JoinUserDataPath(*folder, files.Separator(), kProfileFileName);
}

std::optional<std::wstring> ProfileFilePath(int profileIndex) { return ProfileFilePath(SystemProfileFiles(), profileIndex); }

}  // namespace kw::model
