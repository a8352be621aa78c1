#pragma once
// The profile file: the configuration buffer byte for byte, the macro records after it and a
// block of the launch-program and text-block texts, all little-endian. The same image is the
// per-user "$Profile0", an exported ".kwp" backup and a profile manager's file.
//
// Nothing read from a file reaches the WorkingStore until the whole file has been read and found
// sound; a file that is not is reported and the store stays as it was.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/ConfigStore.h"
#include "model/KeyAssignment.h"
#include "model/MacroRecord.h"
#include "model/ProfileFiles.h"
#include "model/StringTable.h"

namespace kw::model {

inline constexpr std::uint16_t kProfileMagic = 0x4446;  // "FD"
inline constexpr std::uint16_t kProfileHeaderSize = 32;
inline constexpr std::uint16_t kProfileFormatMajor = 3;
inline constexpr std::uint16_t kProfileFormatMinor = 1;
inline constexpr std::uint16_t kProfileRecordCount = kProfileBlocks * kProfileBlockRecords;
inline constexpr std::size_t kProfileFlagOffset = 30;
inline constexpr std::size_t kProfileChecksumOffset = 31;
inline constexpr std::uint8_t kMaxProfileFlag = 1;
inline constexpr std::size_t kIdentificationOffset = 32;
inline constexpr std::size_t kIdentificationSize = 32;
inline constexpr std::size_t kProfileMinimumSize = kConfigurationBufferSize;
// Written as they are; nothing reads them.
inline constexpr std::array<std::uint8_t, kIdentificationSize> kIdentificationBlock = {
    0x4B, 0x48, 0x20, 0x00,  0x20, 0x80, 0x00, 0x00,  0x04, 0x00, 0x00, 0x02,  0x00, 0x00, 0x00, 0x00,
    0x45, 0x0C, 0x04, 0x50,  0x4F, 0x1C, 0x0E, 0x00,  0x00, 0x00, 0x00, 0x00,  0x00, 0x00, 0x00, 0x00,
};
// The value field of a launch-program or text-block record whose text is not in the file: past any
// text block, so no reader takes another record's text for it.
inline constexpr std::uint32_t kNoTextOffset = 0xFFFFFFFF;

// The fields of the 32-byte file header.
struct ProfileHeader {
    std::uint16_t magic = kProfileMagic;
    std::uint16_t headerSize = kProfileHeaderSize;
    std::uint16_t major = kProfileFormatMajor;
    std::uint16_t minor = kProfileFormatMinor;
    std::uint32_t totalSize = 0;
    std::uint16_t recordCount = kProfileRecordCount;
    std::uint16_t macroCount = 0;
    std::uint32_t textSize = 0;
    std::uint8_t flag = 0;
    std::uint8_t checksum = 0;
};

// Sum of bytes 0 to 30, modulo 256.
std::uint8_t ProfileHeaderChecksum(std::span<const std::uint8_t> header);
ProfileHeader ReadProfileHeader(std::span<const std::uint8_t, kProfileHeaderSize> bytes);
// 32832 + count x 32512 + text size, in 64 bits so that no header can make it wrap.
std::uint64_t ProfileTotalSize(std::uint16_t macroCount, std::uint32_t textSize);
// Rebuilds the file header (checksum last) and the identification block at the buffer's start.
void WriteProfileHeaders(ConfigurationBuffer& buffer, std::uint16_t macroCount, std::uint32_t textSize,
                         std::uint8_t flag = 0);
// All records zero but the G-key tags of the first block, with fresh headers (no macros, no texts).
void BuildDefaultConfiguration(ConfigurationBuffer& buffer, std::uint8_t flag = 0);

// Why an image was refused.
enum class ProfileFault {
    None,
    TooSmall,     // shorter than the configuration buffer
    Magic,
    HeaderSize,
    Version,
    TotalSize,    // the size field is not the sum of its parts
    RecordCount,
    MacroCount,   // more than kMaxMacros
    Flag,
    Checksum,
    Length,       // the file's real length is not the one its header gives
    OutOfMemory,
};
// Checks every header field, then that the image is as long as its header says.
ProfileFault CheckProfileImage(std::span<const std::uint8_t> image);

// A whole configuration read from an image, not yet in any store.
struct ProfileContents {
    ConfigurationBuffer configuration{};
    std::vector<MacroRecord> macros;
    StringTable texts;
};
struct ProfileParse {
    ProfileFault fault = ProfileFault::None;
    std::unique_ptr<ProfileContents> contents;  // set when fault is None
};
// Checks and reads an image. A launch-program or text-block record whose text offset lies outside
// the text block, or whose text has no terminator inside it, gets no text.
ProfileParse ParseProfileImage(std::span<const std::uint8_t> image);

// The store's image, built under its lock. Writes each text's offset into its record in the store,
// as the file carries it. Empty when memory is short.
std::vector<std::uint8_t> BuildProfileImage(ConfigStore& store);

// A language text to show, with the path it names ("" when it takes none).
struct ProfileMessage {
    std::wstring key;
    std::wstring path;
    bool operator==(const ProfileMessage&) const = default;
};
inline constexpr const wchar_t* kFormatErrorMessage = L"PROFILE_FORMAT_ERROR";
inline constexpr const wchar_t* kImportFailedMessage = L"MAIN_PROMPT_INPORT";
inline constexpr const wchar_t* kPathTooLongMessage = L"PROFILE_PATH_TOO_LONG";
// The message in the given language, the path put in its place.
std::wstring ProfileMessageText(const ProfileMessage& message, int languageIndex);

enum class ProfileStatus {
    Ok,
    Missing,
    TooSmall,     // below 32832 bytes
    TooLarge,     // over 4 GiB
    BadFormat,    // refused header, length or contents
    CannotOpen,   // cannot be opened for update (a read-only file among others)
    OutOfMemory,
    ReadFailed,
    WriteFailed,
    NoProfileFile,  // SaveActiveProfileFile: there is no profile file to refresh yet
    PathTooLong,
    SendFailed,   // ImportProfileFile: the file was taken, but afterLoad reported failure
};

struct ProfileResult {
    ProfileStatus status = ProfileStatus::Ok;
    std::vector<ProfileMessage> messages;  // to show in order; empty for the silent failures
    bool Ok() const { return status == ProfileStatus::Ok; }
};

// Writes the default configuration (no macros, no texts) to the file.
bool CreateDefaultProfile(const std::wstring& path, std::uint8_t flag = 0, ProfileFiles& files = SystemProfileFiles());
// Makes the store the default configuration with no macros and no texts, under its lock.
void CreateDefaultProfile(ConfigStore& store, std::uint8_t flag = 0);

// Checks a file before import: its length, its header and its contents. A format fault carries
// "PROFILE_FORMAT_ERROR" with the path; the other failures carry no message.
ProfileResult ValidateProfileFile(const std::wstring& path, ProfileFiles& files = SystemProfileFiles());
// Replaces the store's contents with the file's, under the store's lock, only when the whole file
// was read and is sound; otherwise the store is untouched.
ProfileResult ReadProfileFile(ConfigStore& store, const std::wstring& path, ProfileFiles& files = SystemProfileFiles());
// Writes the store's image to the path, under the store's lock; true only when every write, the
// flush and the final rename succeeded.
bool WriteProfileFile(ConfigStore& store, const std::wstring& path, ProfileFiles& files = SystemProfileFiles());
// WriteProfileFile to ProfileFilePath, only when that file exists already.
ProfileResult SaveActiveProfileFile(ConfigStore& store, ProfileFiles& files = SystemProfileFiles());

// The restore command after its file dialog: validates, reads into a new image and swaps it in,
// then, still under the store's lock, saves the active profile file and calls afterLoad (which
// sends all three profiles and refreshes the key buttons). A refused file gives its messages
// followed by "MAIN_PROMPT_INPORT", and the store is untouched. SendFailed when afterLoad returns
// false.
ProfileResult ImportProfileFile(ConfigStore& store, const std::wstring& path,
                                const std::function<bool(ConfigStore&)>& afterLoad = {},
                                ProfileFiles& files = SystemProfileFiles());
// The backup command after its file dialog.
bool ExportProfileFile(ConfigStore& store, const std::wstring& path, ProfileFiles& files = SystemProfileFiles());

}  // namespace kw::model
