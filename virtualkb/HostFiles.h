#pragma once
// The few file and process services the virtual keyboard needs from its host, with the same meaning
// natively and in a Windows program (also under Wine, where the process on the other side of a file
// may be a native one that shares no mutex, no process list and no file-sharing rules with it).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kw::virtualkb {

// The whole file; false when it is missing or cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes);

// Writes a sibling file and then puts it in the place of the path in one step, so a reader sees the
// old contents or the new ones and never a half-written file.
bool ReplaceWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

enum class CreateOutcome { Created, AlreadyExists, Failed };
// Creates the file only if nothing is there yet, and writes the bytes into it.
CreateOutcome CreateExclusive(const std::filesystem::path& path, std::span<const uint8_t> bytes);

bool RemoveFile(const std::filesystem::path& path);

// Moves a file to a new name; false when the target exists or the move fails.
bool MoveToFreshName(const std::filesystem::path& from, const std::filesystem::path& to);

// How long ago the file was last written; null when it is missing.
std::optional<std::filesystem::file_time_type::duration> FileAge(const std::filesystem::path& path);
// Sets the file's last-write time to now.
bool TouchFile(const std::filesystem::path& path);

uint64_t ThisProcessId();
// Names the set of processes whose identifiers this process can check: the machine natively, or the
// machine and the Wine prefix for a Windows program.
std::string ThisProcessWorld();
// Whether a process of this world with that identifier is running.
bool ProcessRunning(uint64_t processId);
// When that process started, in the host's own units; null when it cannot be told. Identifiers are
// reused, the pair of identifier and start is not.
std::optional<uint64_t> ProcessStartTime(uint64_t processId);

// A path as the user or the environment wrote it. A Windows program also accepts a Linux path
// ("/work/kb.state"), which Wine shows under drive Z:.
std::filesystem::path HostPath(std::string_view utf8);
// The text of an environment variable, in UTF-8; empty when it is not set.
std::string EnvironmentText(const char* name);
std::string PathText(const std::filesystem::path& path);  // UTF-8

}  // namespace kw::virtualkb
