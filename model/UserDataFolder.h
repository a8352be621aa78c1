#pragma once
// The per-user folder that holds the keyboard's profile file, the user lighting files and the
// per-key colour switch. It is created and populated once; later runs never repair it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/ProfileFiles.h"

namespace kw::model {

inline constexpr std::wstring_view kUserDataFolderName = L"Tarvelin    VX73LMN-5 V2";  // four blanks
inline constexpr std::wstring_view kProfileFileName = L"$Profile0";
inline constexpr std::wstring_view kProfileFileExtension = L"kwp";
inline constexpr std::wstring_view kUserLightingPrefix = L"UserDengColor_";
inline constexpr std::wstring_view kUserLightingExtension = L".userd";
inline constexpr int kUserLightingTemplate = 3;  // the skin's template, copied to files 0 to 2
inline constexpr int kKeyboardLightingFiles = 3;
inline constexpr std::uint64_t kMaxUserLightingTemplate = 16u << 20;  // a template longer than this is not copied
// Every user-data path, with its terminator, fits the classic path limit.
inline constexpr std::size_t kMaxUserDataPath = 260;

// Joins folder, separator and name; nothing when the result would not fit kMaxUserDataPath.
std::optional<std::wstring> JoinUserDataPath(std::wstring_view folder, wchar_t separator, std::wstring_view name);

// The folder's path; nothing when the local data folder is unknown or the path is too long.
std::optional<std::wstring> UserDataFolderPath(ProfileFiles& files);

// The name "UserDengColor_<n>.userd".
std::wstring UserLightingFileName(int profile);
// The user lighting file of on-board profile 0-2 in the user data folder.
std::optional<std::wstring> UserLightingFilePath(ProfileFiles& files, int profile);

enum class UserDataStatus { Existing, Created, NoFolder, PathTooLong, CannotCreate };

// Creates the folder if it does not exist and copies the skin's template lighting file from
// skinFolder (the executable's folder + "Skins" + separator) to the three user lighting files; a
// missing template gives empty files. An existing folder is left as it is.
UserDataStatus EnsureUserDataFolder(ProfileFiles& files, const std::wstring& skinFolder);
// The same for the running program: the system's files and the skins beside the executable.
UserDataStatus EnsureUserDataFolder();

// The one profile file that serves every on-board profile (it holds all four blocks), whatever
// the index; nothing when its path cannot be built.
std::optional<std::wstring> ProfileFilePath(ProfileFiles& files, int profileIndex);
std::optional<std::wstring> ProfileFilePath(int profileIndex);

}  // namespace kw::model
