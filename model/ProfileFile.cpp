#include "model/ProfileFile.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#include "i18n/Language.h"
#include "i18n/TextFormat.h"
#include "model/MacroRecordImage.h"
#include "model/UserDataFolder.h"

namespace kw::model {
namespace {

void PutU16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint16_t GetU16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }
std::uint32_t GetU32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

bool CarriesText(const KeyAssignment& record) {
    return record.kind == static_cast<std::uint16_t>(AssignmentKind::LaunchProgram) ||
           record.kind == static_cast<std::uint16_t>(AssignmentKind::TextBlock);
}

KeyAssignment& RecordAt(ConfigurationBuffer& buffer, std::size_t entry) {
    return buffer.blocks[entry / kProfileBlockRecords][entry % kProfileBlockRecords];
}

constexpr std::uint64_t kMaxProfileFileLength = 0xFFFFFFFFull;

// The text of a record whose value field points into the block: from that offset, rounded down
// to even, to its terminator. Nothing when the offset or the text runs past the block.
std::optional<std::u16string> TextAt(std::span<const std::uint8_t> block, std::uint32_t offset) {
    const std::size_t start = offset & ~std::uint32_t{1};
    if (start >= block.size()) return std::nullopt;
    std::u16string text;
    for (std::size_t at = start; at + 1 < block.size(); at += 2) {
        const auto unit = static_cast<char16_t>(block[at] | (block[at + 1] << 8));
        if (unit == 0) return text;
        text.push_back(unit);
    }
    return std::nullopt;
}

struct LoadedProfile {
    ProfileResult result;
    std::unique_ptr<ProfileContents> contents;
};

ProfileStatus StatusOfRead(FileReadStatus status) {
    switch (status) {
        case FileReadStatus::Ok: return ProfileStatus::Ok;
        case FileReadStatus::Missing: return ProfileStatus::Missing;
        case FileReadStatus::CannotOpen: return ProfileStatus::CannotOpen;
        case FileReadStatus::TooLarge: return ProfileStatus::TooLarge;
        case FileReadStatus::ReadFailed: return ProfileStatus::ReadFailed;
        case FileReadStatus::OutOfMemory: return ProfileStatus::OutOfMemory;
    }
    return ProfileStatus::ReadFailed;
}

// Reads the whole file into a new image and checks it; no store is touched.
LoadedProfile LoadProfile(const std::wstring& path, ProfileFiles& files) {
    LoadedProfile loaded;
    FileRead read = files.ReadWholeFile(path, kMaxProfileFileLength, true);
    loaded.result.status = StatusOfRead(read.status);
    if (!loaded.result.Ok()) return loaded;
    ProfileParse parse = ParseProfileImage(read.bytes);
    switch (parse.fault) {
        case ProfileFault::None:
            loaded.contents = std::move(parse.contents);
            break;
        case ProfileFault::TooSmall:
            loaded.result.status = ProfileStatus::TooSmall;
            break;
        case ProfileFault::OutOfMemory:
            loaded.result.status = ProfileStatus::OutOfMemory;
            break;
        default:
            loaded.result.status = ProfileStatus::BadFormat;
            loaded.result.messages.push_back({kFormatErrorMessage, path});
            break;
    }
    return loaded;
}

void Install(ConfigStore& store, ProfileContents& contents) {
    std::lock_guard hold(store.lock);
    store.configuration = contents.configuration;
    store.texts = std::move(contents.texts);
    store.macros.Replace(std::move(contents.macros));
}

}  // namespace

std::uint8_t ProfileHeaderChecksum(std::span<const std::uint8_t> header) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < kProfileChecksumOffset && i < header.size(); ++i) sum += header[i];
    return static_cast<std::uint8_t>(sum);
}

ProfileHeader ReadProfileHeader(std::span<const std::uint8_t, kProfileHeaderSize> bytes) {
    const std::uint8_t* b = bytes.data();
    ProfileHeader h;
    h.magic = GetU16(b + 0);
    h.headerSize = GetU16(b + 2);
    h.major = GetU16(b + 4);
    h.minor = GetU16(b + 6);
    h.totalSize = GetU32(b + 8);
    h.recordCount = GetU16(b + 12);
    h.macroCount = GetU16(b + 14);
    h.textSize = GetU32(b + 16);
    h.flag = b[kProfileFlagOffset];
    h.checksum = b[kProfileChecksumOffset];
    return h;
}

std::uint64_t ProfileTotalSize(std::uint16_t macroCount, std::uint32_t textSize) {
    return kConfigurationBufferSize + std::uint64_t{macroCount} * kMacroRecordSize + textSize;
}

void WriteProfileHeaders(ConfigurationBuffer& buffer, std::uint16_t macroCount, std::uint32_t textSize,
                         std::uint8_t flag) {
    std::uint8_t* h = buffer.header.data();
    std::memset(h, 0, kProfileHeaderSize);
    PutU16(h + 0, kProfileMagic);
    PutU16(h + 2, kProfileHeaderSize);
    PutU16(h + 4, kProfileFormatMajor);
    PutU16(h + 6, kProfileFormatMinor);
    PutU32(h + 8, static_cast<std::uint32_t>(ProfileTotalSize(macroCount, textSize)));
    PutU16(h + 12, kProfileRecordCount);
    PutU16(h + 14, macroCount);
    PutU32(h + 16, textSize);
    h[kProfileFlagOffset] = flag;
    h[kProfileChecksumOffset] = ProfileHeaderChecksum(std::span<const std::uint8_t>(h, kProfileHeaderSize));
    std::memcpy(h + kIdentificationOffset, kIdentificationBlock.data(), kIdentificationSize);
}

void BuildDefaultConfiguration(ConfigurationBuffer& buffer, std::uint8_t flag) {
    for (auto& block : buffer.blocks) block.fill(KeyAssignment{});
    ResetProfileBlock(buffer.blocks[0]);
    WriteProfileHeaders(buffer, 0, 0, flag);
}

ProfileFault CheckProfileImage(std::span<const std::uint8_t> image) {
    if (image.size() < kProfileMinimumSize) return ProfileFault::TooSmall;
    const ProfileHeader h = ReadProfileHeader(image.first<kProfileHeaderSize>());
    if (h.magic != kProfileMagic) return ProfileFault::Magic;
    if (h.headerSize != kProfileHeaderSize) return ProfileFault::HeaderSize;
    if (h.major != kProfileFormatMajor || h.minor != kProfileFormatMinor) return ProfileFault::Version;
    const std::uint64_t total = ProfileTotalSize(h.macroCount, h.textSize);
    if (h.totalSize < kProfileMinimumSize || h.totalSize != total) return ProfileFault::TotalSize;
    if (h.recordCount != kProfileRecordCount) return ProfileFault::RecordCount;
    if (h.macroCount > kMaxMacros) return ProfileFault::MacroCount;
    if (h.flag > kMaxProfileFlag) return ProfileFault::Flag;
    if (h.checksum != ProfileHeaderChecksum(image.first(kProfileHeaderSize))) return ProfileFault::Checksum;
    // The size field only adds up its own parts; the file has to hold them too.
    if (image.size() != total) return ProfileFault::Length;
    return ProfileFault::None;
}

ProfileParse ParseProfileImage(std::span<const std::uint8_t> image) {
    ProfileParse parse;
    parse.fault = CheckProfileImage(image);
    if (parse.fault != ProfileFault::None) return parse;
    const ProfileHeader h = ReadProfileHeader(image.first<kProfileHeaderSize>());
    try {
        auto contents = std::make_unique<ProfileContents>();
        std::memcpy(&contents->configuration, image.data(), kConfigurationBufferSize);
        contents->macros.resize(h.macroCount);
        std::size_t at = kConfigurationBufferSize;
        for (MacroRecord& record : contents->macros) {
            ReadMacroRecordImage(image.subspan(at).first<kMacroRecordSize>(), record);
            at += kMacroRecordSize;
        }
        const auto block = image.subspan(at, h.textSize);
        for (std::size_t entry = 0; entry < StringTable::kEntries; ++entry) {
            const KeyAssignment& record = RecordAt(contents->configuration, entry);
            if (!CarriesText(record)) continue;
            const auto text = TextAt(block, record.value);
            if (text && !contents->texts.Set(entry, *text)) {
                parse.fault = ProfileFault::OutOfMemory;
                return parse;
            }
        }
        parse.contents = std::move(contents);
    } catch (const std::bad_alloc&) {
        parse.fault = ProfileFault::OutOfMemory;
    }
    return parse;
}

std::vector<std::uint8_t> BuildProfileImage(ConfigStore& store) {
    std::lock_guard hold(store.lock);
    const std::uint16_t count = store.macros.Count();
    const std::uint32_t textSize = store.texts.TotalBytes();
    const std::uint64_t total = ProfileTotalSize(count, textSize);
    if (total > kMaxProfileFileLength) return {};
    std::vector<std::uint8_t> image;
    try {
        image.assign(static_cast<std::size_t>(total), 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
    const std::size_t blockStart = kConfigurationBufferSize + std::size_t{count} * kMacroRecordSize;
    std::uint32_t running = 0;
    for (std::size_t entry = 0; entry < StringTable::kEntries; ++entry) {
        KeyAssignment& record = RecordAt(store.configuration, entry);
        if (!CarriesText(record)) continue;
        const std::uint32_t length = store.texts.ByteLength(entry);
        if (length == 0 || length > textSize - running) {
            record.value = kNoTextOffset;
            continue;
        }
        const std::u16string_view text = store.texts.Text(entry);
        const std::size_t units = std::min<std::size_t>(text.size(), length / 2 - 1);
        std::uint8_t* out = image.data() + blockStart + running;
        for (std::size_t i = 0; i < units; ++i) PutU16(out + 2 * i, static_cast<std::uint16_t>(text[i]));
        record.value = running;
        running += length;
    }
    WriteProfileHeaders(store.configuration, count, textSize, 0);
    std::memcpy(image.data(), &store.configuration, kConfigurationBufferSize);
    std::size_t at = kConfigurationBufferSize;
    for (const MacroRecord& record : store.macros.Records()) {
        WriteMacroRecordImage(record, std::span<std::uint8_t, kMacroRecordSize>(image.data() + at, kMacroRecordSize));
        at += kMacroRecordSize;
    }
    return image;
}

std::wstring ProfileMessageText(const ProfileMessage& message, int languageIndex) {
    const std::wstring text = i18n::LangText(message.key, languageIndex);
    if (message.path.empty()) return text;
    return i18n::FormatText(text, i18n::kNamePlaceholder, message.path);
}

bool CreateDefaultProfile(const std::wstring& path, std::uint8_t flag, ProfileFiles& files) {
    auto buffer = std::make_unique<ConfigurationBuffer>();
    BuildDefaultConfiguration(*buffer, flag);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer.get());
    return files.ReplaceFile(path, std::span<const std::uint8_t>(bytes, kConfigurationBufferSize));
}

void CreateDefaultProfile(ConfigStore& store, std::uint8_t flag) {
    std::lock_guard hold(store.lock);
    BuildDefaultConfiguration(store.configuration, flag);
    store.texts.ClearAll();
    store.macros.Free();
}

ProfileResult ValidateProfileFile(const std::wstring& path, ProfileFiles& files) {
    return LoadProfile(path, files).result;
}

ProfileResult ReadProfileFile(ConfigStore& store, const std::wstring& path, ProfileFiles& files) {
    LoadedProfile loaded = LoadProfile(path, files);
    if (loaded.result.Ok()) Install(store, *loaded.contents);
    return loaded.result;
}

bool WriteProfileFile(ConfigStore& store, const std::wstring& path, ProfileFiles& files) {
    std::lock_guard hold(store.lock);
    const std::vector<std::uint8_t> image = BuildProfileImage(store);
    return !image.empty() && files.ReplaceFile(path, image);
}

ProfileResult SaveActiveProfileFile(ConfigStore& store, ProfileFiles& files) {
    ProfileResult result;
    const auto path = ProfileFilePath(files, 0);
    if (!path) {
        result.status = ProfileStatus::PathTooLong;
        result.messages.push_back({kPathTooLongMessage, {}});
    } else if (!files.FileExists(*path)) {
        result.status = ProfileStatus::NoProfileFile;
    } else if (!WriteProfileFile(store, *path, files)) {
        result.status = ProfileStatus::WriteFailed;
    }
    return result;
}

ProfileResult ImportProfileFile(ConfigStore& store, const std::wstring& path,
                                const std::function<bool(ConfigStore&)>& afterLoad, ProfileFiles& files) {
    LoadedProfile loaded = LoadProfile(path, files);
    if (!loaded.result.Ok()) {
        loaded.result.messages.push_back({kImportFailedMessage, {}});
        return loaded.result;
    }
    std::lock_guard hold(store.lock);
    Install(store, *loaded.contents);
    // A missing or unwritable profile file does not stop the restore: the keyboard still gets it.
    SaveActiveProfileFile(store, files);
    if (afterLoad && !afterLoad(store)) loaded.result.status = ProfileStatus::SendFailed;
    return loaded.result;
}

bool ExportProfileFile(ConfigStore& store, const std::wstring& path, ProfileFiles& files) {
    return WriteProfileFile(store, path, files);
}

}  // namespace kw::model
