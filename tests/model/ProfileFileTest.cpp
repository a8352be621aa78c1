#include "model/ProfileFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "model/MacroRecordImage.h"
#include "model/UserDataFolder.h"
#include "tests/model/ProfileFakeFiles.h"

namespace kw::model {
namespace {

using testing::MemoryProfileFiles;
using Bytes = std::vector<std::uint8_t>;

const std::wstring kFile = L"/local/backup.kwp";
const std::wstring kActive = L"/local/Tarvelin    VX73LMN-5 V2/$Profile0";

std::size_t Entry(int profile, int key) { return *StringTable::EntryOf(profile, key); }

MacroRecord MakeMacro(std::uint16_t id, std::uint16_t actions) {
    MacroRecord record;
    const std::u16string name = u"Macro " + std::u16string(1, static_cast<char16_t>(u'A' + id % 26));
    std::copy(name.begin(), name.end(), record.name.begin());
    record.cycleCount = static_cast<std::uint8_t>(1 + id % 200);
    record.id = id;
    record.actionCount = actions;
    for (std::uint16_t i = 0; i < actions; ++i)
        record.actions[i] = {static_cast<std::uint32_t>((i * 37u + id) % kMaxEncodableDelayMs),
                             static_cast<std::uint16_t>(1 + (i + id) % 250), static_cast<std::uint16_t>(i % 2)};
    return record;
}

void SetRecord(ConfigStore& store, int profile, int key, std::uint16_t kind, std::uint32_t value,
               std::u16string_view text = {}) {
    store.configuration.blocks[profile][key] = {kind, static_cast<std::uint16_t>(key * 3), value,
                                                static_cast<std::uint32_t>(key), 0xA5A5A5A5u};
    if (!text.empty()) {
        ASSERT_TRUE(store.texts.Set(Entry(profile, key), text));
    }
}

void SetMacros(ConfigStore& store, std::uint16_t count, std::uint16_t actions) {
    std::vector<MacroRecord> records;
    for (std::uint16_t id = 1; id <= count; ++id) records.push_back(MakeMacro(id, actions));
    ASSERT_TRUE(store.macros.Replace(std::move(records)));
}

// Everything a store holds, comparable.
struct Snapshot {
    Bytes configuration;
    std::vector<std::u16string> texts;
    std::uint32_t textTotal = 0;
    std::vector<Bytes> macros;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(ConfigStore& store) {
    Snapshot s;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&store.configuration);
    s.configuration.assign(raw, raw + kConfigurationBufferSize);
    for (std::size_t e = 0; e < StringTable::kEntries; ++e) s.texts.emplace_back(store.texts.Text(e));
    s.textTotal = store.texts.TotalBytes();
    for (const MacroRecord& record : store.macros.Records()) {
        Bytes image(kMacroRecordSize);
        WriteMacroRecordImage(record, std::span<std::uint8_t, kMacroRecordSize>(image.data(), kMacroRecordSize));
        s.macros.push_back(std::move(image));
    }
    return s;
}

std::uint32_t U32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
void PutU16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void FixChecksum(Bytes& b) { b[31] = ProfileHeaderChecksum(std::span<const std::uint8_t>(b.data(), 32)); }
std::size_t RecordOffset(int profile, int key) { return 64 + profile * kProfileBlockSize + key * kKeyAssignmentSize; }

struct RoundTripCase {
    const char* name;
    std::function<void(ConfigStore&)> fill;
};

class ProfileRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

// Written, read into a fresh store and written again: the store and the bytes come back the same.
TEST_P(ProfileRoundTrip, WriteReadWriteIsByteIdentical) {
    ConfigStore original;
    CreateDefaultProfile(original);
    GetParam().fill(original);
    MemoryProfileFiles files;
    ASSERT_TRUE(WriteProfileFile(original, kFile, files));
    const Bytes first = files.files[kFile];
    ASSERT_EQ(first.size(), U32(first, 8));

    ConfigStore loaded;
    ASSERT_TRUE(ReadProfileFile(loaded, kFile, files).Ok());
    EXPECT_TRUE(Take(loaded) == Take(original));
    ASSERT_TRUE(WriteProfileFile(loaded, L"/local/again.kwp", files));
    EXPECT_EQ(files.files[L"/local/again.kwp"], first);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, ProfileRoundTrip,
    ::testing::Values(
        RoundTripCase{"DefaultConfiguration", [](ConfigStore&) {}},
        RoundTripCase{"EveryAssignmentKind",
                      [](ConfigStore& s) {
                          for (std::uint16_t kind = 0; kind <= kLastAssignmentKind; ++kind) {
                              const bool text = kind == 3 || kind == 6;
                              SetRecord(s, kind % kProfileBlocks, 10 + kind, kind, text ? 0 : 0x100u + kind,
                                        text ? u"C:\\Program Files\\Tool\\run.exe" : u"");
                          }
                          SetRecord(s, 2, 300, 0x77, 0x12345678);  // a kind from a newer program is carried
                          SetMacros(s, 3, 10);
                      }},
        RoundTripCase{"MostMacros", [](ConfigStore& s) { SetMacros(s, kMaxMacros, kMaxMacroActions); }},
        RoundTripCase{"LongestTexts",
                      [](ConfigStore& s) {
                          for (int p = 0; p < kProfileBlocks; ++p)
                              for (int k = 0; k < static_cast<int>(kProfileBlockRecords); ++k)
                                  SetRecord(s, p, k, (k % 2) ? 3 : 6, 0,
                                            std::u16string(1024, static_cast<char16_t>(0x4E00 + k)));
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFile, DefaultFileHasTheHeaderIdentificationAndGTagsOnly) {
    MemoryProfileFiles files;
    ASSERT_TRUE(CreateDefaultProfile(kFile, 0, files));
    const Bytes& b = files.files[kFile];
    ASSERT_EQ(b.size(), 32832u);
    const Bytes header = {'F', 'D', 32, 0, 3, 0, 1, 0, 0x40, 0x80, 0, 0, 0x00, 0x08, 0, 0};
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 16), header);
    EXPECT_TRUE(std::all_of(b.begin() + 16, b.begin() + 31, [](std::uint8_t v) { return v == 0; }));
    EXPECT_EQ(b[31], ProfileHeaderChecksum(b));
    EXPECT_EQ(U32(b, 32), 0x0020484Bu);
    EXPECT_EQ(U32(b, 52), 0x000E1C4Fu);
    for (int k = 0; k < 18; ++k) {
        const std::uint16_t tag = static_cast<std::uint16_t>((k < 9 ? 0x0301 : 0x1301) + k % 9);
        EXPECT_EQ(b[RecordOffset(0, 256 + k) + 2] | (b[RecordOffset(0, 256 + k) + 3] << 8), tag) << k;
    }
    std::size_t nonZero = 0;
    for (std::size_t i = 64; i < b.size(); ++i) nonZero += b[i] != 0;
    EXPECT_EQ(nonZero, 18u * 2);
}

TEST(ProfileFile, TwoLaunchProgramsLieBackToBackAtEvenOffsetsInRecordOrder) {
    ConfigStore store;
    CreateDefaultProfile(store);
    SetRecord(store, 1, 40, 3, 0, u"b.exe");  // later record first into the table
    SetRecord(store, 0, 200, 3, 0, u"ab.exe");
    MemoryProfileFiles files;
    ASSERT_TRUE(WriteProfileFile(store, kFile, files));
    const Bytes& b = files.files[kFile];
    ASSERT_EQ(U32(b, 16), 14u + 12u);
    const std::size_t block = kConfigurationBufferSize;
    EXPECT_EQ(U32(b, RecordOffset(0, 200) + 4), 0u);
    EXPECT_EQ(U32(b, RecordOffset(1, 40) + 4), 14u);
    const Bytes text(b.begin() + block, b.end());
    const Bytes expected = {'a', 0, 'b', 0, '.', 0, 'e', 0, 'x', 0, 'e', 0, 0, 0,
                            'b', 0, '.', 0, 'e', 0, 'x', 0, 'e', 0, 0, 0};
    EXPECT_EQ(text, expected);
}

// A launch-program record whose text is gone must not borrow another record's text on reading.
TEST(ProfileFile, RecordWithoutTextReadsBackWithoutText) {
    ConfigStore store;
    CreateDefaultProfile(store);
    SetRecord(store, 0, 20, 3, 0);  // no text, value 0
    SetRecord(store, 0, 30, 6, 0, u"hello");
    MemoryProfileFiles files;
    ASSERT_TRUE(WriteProfileFile(store, kFile, files));
    ConfigStore loaded;
    ASSERT_TRUE(ReadProfileFile(loaded, kFile, files).Ok());
    EXPECT_FALSE(loaded.texts.HasText(Entry(0, 20)));
    EXPECT_EQ(loaded.texts.Text(Entry(0, 30)), u"hello");
}

// Texts whose offset comes from the file: inside the block they are read (odd offsets rounded
// down), past it or without a terminator they are left out, and the rest of the file still loads.
TEST(ProfileFile, TextOffsetsAreCheckedAgainstTheBlock) {
    struct Case {
        std::uint32_t offset;
        std::u16string expected;  // empty: no text
    };
    // The block holds "ab", "cd" and an unterminated "e" at its end.
    const Case cases[] = {{0, u"ab"}, {1, u"ab"}, {2, u"b"}, {6, u"cd"}, {12, u""}, {13, u""}, {14, u""},
                          {0xFFFFFFF0u, u""}, {0xFFFFFFFFu, u""}};
    for (const Case& c : cases) {
        Bytes b(kConfigurationBufferSize + 14, 0);
        ConfigStore def;
        CreateDefaultProfile(def);
        std::memcpy(b.data(), &def.configuration, kConfigurationBufferSize);
        const Bytes text = {'a', 0, 'b', 0, 0, 0, 'c', 0, 'd', 0, 0, 0, 'e', 0};
        std::copy(text.begin(), text.end(), b.begin() + kConfigurationBufferSize);
        PutU32(b, 8, kConfigurationBufferSize + 14);
        PutU32(b, 16, 14);
        FixChecksum(b);
        PutU16(b, RecordOffset(2, 7), 6);
        PutU32(b, RecordOffset(2, 7) + 4, c.offset);
        MemoryProfileFiles files;
        files.files[kFile] = b;
        ConfigStore loaded;
        ASSERT_TRUE(ReadProfileFile(loaded, kFile, files).Ok()) << c.offset;
        EXPECT_EQ(loaded.texts.Text(Entry(2, 7)), c.expected) << c.offset;
    }
}

// A base file with macros and texts, and the store it is imported into.
class ProfileImport : public ::testing::Test {
protected:
    void SetUp() override {
        ConfigStore source;
        CreateDefaultProfile(source);
        SetMacros(source, 2, 5);
        SetRecord(source, 0, 5, 3, 0, u"run.exe");
        SetRecord(source, 1, 6, 6, 0, u"typed text");
        ASSERT_TRUE(WriteProfileFile(source, kFile, files));
        base = files.files[kFile];
        CreateDefaultProfile(store);
        SetRecord(store, 2, 9, 6, 0, u"kept");
        SetMacros(store, 1, 3);
        files.files[kActive] = {1, 2, 3};
        before = Take(store);
    }

    ProfileResult Import(const Bytes& image) {
        files.files[kFile] = image;
        return ImportProfileFile(store, kFile, [this](ConfigStore&) { return ++sends, true; }, files);
    }

    MemoryProfileFiles files;
    Bytes base;
    ConfigStore store;
    Snapshot before;
    int sends = 0;
};

struct Corruption {
    const char* name;
    std::function<void(Bytes&)> damage;
    ProfileStatus status;
};

std::vector<Corruption> Corruptions() {
    std::vector<Corruption> list = {
        {"Magic", [](Bytes& b) { b[1] = 'E'; FixChecksum(b); }, ProfileStatus::BadFormat},
        {"HeaderSize", [](Bytes& b) { PutU16(b, 2, 33); FixChecksum(b); }, ProfileStatus::BadFormat},
        {"Major", [](Bytes& b) { PutU16(b, 4, 4); FixChecksum(b); }, ProfileStatus::BadFormat},
        {"Minor", [](Bytes& b) { PutU16(b, 6, 0); FixChecksum(b); }, ProfileStatus::BadFormat},
        {"TotalSizeField", [](Bytes& b) { PutU32(b, 8, U32(b, 8) - 2); FixChecksum(b); }, ProfileStatus::BadFormat},
        {"RecordCount", [](Bytes& b) { PutU16(b, 12, 2047); FixChecksum(b); }, ProfileStatus::BadFormat},
        {"Checksum", [](Bytes& b) { b[31] ^= 1; }, ProfileStatus::BadFormat},
        {"ChecksumMissesAHeaderChange", [](Bytes& b) { b[20] = 1; }, ProfileStatus::BadFormat},
        {"FlagTwo", [](Bytes& b) { b[30] = 2; FixChecksum(b); }, ProfileStatus::BadFormat},
        {"HundredAndOneMacrosOfTheRightSize",
         [](Bytes& b) {
             b.insert(b.begin() + kConfigurationBufferSize, 99 * kMacroRecordSize, 0);
             PutU16(b, 14, 101);
             PutU32(b, 8, static_cast<std::uint32_t>(b.size()));
             FixChecksum(b);
         },
         ProfileStatus::BadFormat},
        {"MacroCountPastTheEnd",
         [](Bytes& b) { PutU16(b, 14, 3); PutU32(b, 8, U32(b, 8) + kMacroRecordSize); FixChecksum(b); },
         ProfileStatus::BadFormat},
        {"TextSizePastTheEnd", [](Bytes& b) { PutU32(b, 16, U32(b, 16) + 2); PutU32(b, 8, U32(b, 8) + 2); FixChecksum(b); },
         ProfileStatus::BadFormat},
        {"TextSizeWrapsTheTotal",
         [](Bytes& b) { PutU32(b, 16, 0xFFFFFFFFu); PutU32(b, 8, U32(b, 8) - 1 - U32(b, 16)); FixChecksum(b); },
         ProfileStatus::BadFormat},
        {"TrailingByte", [](Bytes& b) { b.push_back(0); }, ProfileStatus::BadFormat},
    };
    // Cut at every section boundary and next to it: header, identification block, key records,
    // each macro record, the text block.
    const std::size_t textStart = kConfigurationBufferSize + 2 * kMacroRecordSize;
    for (std::size_t cut : {std::size_t{0}, std::size_t{31}, std::size_t{32}, std::size_t{64}, kConfigurationBufferSize - 1})
        list.push_back({"CutTooSmall", [cut](Bytes& b) { b.resize(cut); }, ProfileStatus::TooSmall});
    for (std::size_t cut : {kConfigurationBufferSize, kConfigurationBufferSize + 1, kConfigurationBufferSize + kMacroRecordSize,
                            textStart - 1, textStart, textStart + 1})
        list.push_back({"CutAfterTheHeader", [cut](Bytes& b) { b.resize(cut); }, ProfileStatus::BadFormat});
    list.push_back({"CutLastByte", [](Bytes& b) { b.pop_back(); }, ProfileStatus::BadFormat});
    return list;
}

TEST_F(ProfileImport, EachCorruptionIsRefusedAndTheStoreIsUntouched) {
    for (const Corruption& c : Corruptions()) {
        SCOPED_TRACE(c.name);
        Bytes image = base;
        c.damage(image);
        const ProfileResult result = Import(image);
        EXPECT_EQ(result.status, c.status);
        std::vector<ProfileMessage> expected;
        if (c.status == ProfileStatus::BadFormat) expected.push_back({L"PROFILE_FORMAT_ERROR", kFile});
        expected.push_back({L"MAIN_PROMPT_INPORT", L""});
        EXPECT_EQ(result.messages, expected);
        EXPECT_TRUE(Take(store) == before);
        EXPECT_EQ(files.files[kActive], (Bytes{1, 2, 3}));
        EXPECT_EQ(ValidateProfileFile(kFile, files).status, c.status);
    }
    EXPECT_EQ(sends, 0);
}

TEST_F(ProfileImport, HarmlessChangesStillImport) {
    const std::vector<std::pair<const char*, std::function<void(Bytes&)>>> changes = {
        {"AsWritten", [](Bytes&) {}},
        {"FlagOne", [](Bytes& b) { b[30] = 1; FixChecksum(b); }},
        {"ReservedFields", [](Bytes& b) { for (int i = 20; i < 30; ++i) b[i] = 0xEE; FixChecksum(b); }},
        {"IdentificationBlock", [](Bytes& b) { for (int i = 32; i < 64; ++i) b[i] ^= 0x5A; }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        Bytes image = base;
        change(image);
        const ProfileResult result = Import(image);
        EXPECT_TRUE(result.Ok());
        EXPECT_TRUE(result.messages.empty());
        EXPECT_EQ(store.macros.Count(), 2);
        EXPECT_EQ(store.texts.Text(Entry(1, 6)), u"typed text");
        EXPECT_FALSE(store.texts.HasText(Entry(2, 9)));
        EXPECT_EQ(files.files[kActive].size(), base.size());  // the active profile file was refreshed
        ASSERT_TRUE(CreateDefaultProfile(kActive, 0, files));
    }
    EXPECT_EQ(sends, 4);
}

TEST_F(ProfileImport, ExactlyTheConfigurationBufferGivesNoMacrosAndNoTexts) {
    ASSERT_TRUE(CreateDefaultProfile(L"/local/plain.kwp", 0, files));
    const ProfileResult result = Import(files.files[L"/local/plain.kwp"]);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(store.macros.Count(), 0);
    EXPECT_EQ(store.texts.TotalBytes(), 0u);
    EXPECT_EQ(store.configuration.blocks[0][256].tag, 0x0301);
}

TEST_F(ProfileImport, MissingReadOnlyOrHugeFilesGiveOnlyTheImportMessage) {
    const std::vector<std::pair<ProfileStatus, std::function<void()>>> cases = {
        {ProfileStatus::Missing, [this] { files.files.erase(kFile); }},
        {ProfileStatus::CannotOpen, [this] { files.files[kFile] = base; files.readOnly.insert(kFile); }},
    };
    for (const auto& [status, arrange] : cases) {
        arrange();
        const ProfileResult result = ImportProfileFile(store, kFile, {}, files);
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(result.messages, (std::vector<ProfileMessage>{{L"MAIN_PROMPT_INPORT", L""}}));
        EXPECT_TRUE(Take(store) == before);
    }
}

TEST_F(ProfileImport, SavesAndSendsUnderTheLockAndReportsAFailedSend) {
    bool lockedElsewhere = true;
    files.files[kFile] = base;
    const ProfileResult result = ImportProfileFile(
        store, kFile,
        [&](ConfigStore& s) {
            std::thread other([&] {
                lockedElsewhere = !s.lock.try_lock();
                if (!lockedElsewhere) s.lock.unlock();
            });
            other.join();
            return false;
        },
        files);
    EXPECT_TRUE(lockedElsewhere);
    EXPECT_EQ(result.status, ProfileStatus::SendFailed);
    EXPECT_EQ(files.files[kActive], base);
}

TEST(ProfileSave, ActiveProfileFileIsWrittenOnlyWhenItExists) {
    MemoryProfileFiles files;
    ConfigStore store;
    CreateDefaultProfile(store);
    EXPECT_EQ(SaveActiveProfileFile(store, files).status, ProfileStatus::NoProfileFile);
    EXPECT_FALSE(files.FileExists(kActive));
    files.files[kActive] = {};
    EXPECT_TRUE(SaveActiveProfileFile(store, files).Ok());
    EXPECT_EQ(files.files[kActive].size(), kConfigurationBufferSize);
    files.failWrites = true;
    EXPECT_EQ(SaveActiveProfileFile(store, files).status, ProfileStatus::WriteFailed);
    EXPECT_EQ(files.files[kActive].size(), kConfigurationBufferSize);
}

TEST(ProfileSave, AFailedWriteIsReportedAndLeavesTheOldFile) {
    MemoryProfileFiles files;
    files.files[kFile] = {9, 9};
    files.failWrites = true;
    ConfigStore store;
    CreateDefaultProfile(store);
    EXPECT_FALSE(WriteProfileFile(store, kFile, files));
    EXPECT_FALSE(ExportProfileFile(store, kFile, files));
    EXPECT_FALSE(CreateDefaultProfile(kFile, 0, files));
    EXPECT_EQ(files.files[kFile], (Bytes{9, 9}));
}

}  // namespace
}  // namespace kw::model
