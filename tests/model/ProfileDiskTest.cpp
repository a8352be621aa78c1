// Profile files on the real disk of the running system.
#include "model/ProfileFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kw::model {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

class ProfileDisk : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() / (std::string("kw-profile-") + info->name() + "-" +
                                              std::to_string(std::random_device{}()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(folder, error))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(folder, error);
    }
    std::wstring Path(const char* name) const { return (folder / name).wstring(); }
    static Bytes Contents(const std::wstring& path) {
        std::ifstream in(fs::path(path), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void FillMacros(ConfigStore& store, std::uint16_t count, std::uint16_t seed) {
        std::vector<MacroRecord> records(count);
        for (std::uint16_t i = 0; i < count; ++i) {
            records[i].id = static_cast<std::uint16_t>(i + 1);
            records[i].cycleCount = 1;
            records[i].actionCount = kMaxMacroActions;
            for (auto& action : records[i].actions) action = {seed, static_cast<std::uint16_t>(4 + seed), 0};
        }
        ASSERT_TRUE(store.macros.Replace(std::move(records)));
    }

    fs::path folder;
    ProfileFiles& files = SystemProfileFiles();
};

TEST_F(ProfileDisk, WritesReadsAndLeavesNoSiblingBehind) {
    ConfigStore store;
    CreateDefaultProfile(store);
    FillMacros(store, 3, 7);
    ASSERT_TRUE(store.texts.Set(*StringTable::EntryOf(1, 30), u"C:\\Tools\\t\u00e9st.exe"));
    store.configuration.blocks[1][30].kind = 3;
    const std::wstring path = Path("disk.kwp");
    ASSERT_TRUE(WriteProfileFile(store, path, files));
    const Bytes written = Contents(path);
    EXPECT_EQ(written.size(), kConfigurationBufferSize + 3 * kMacroRecordSize + 18 * 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    ConfigStore loaded;
    ASSERT_TRUE(ReadProfileFile(loaded, path, files).Ok());
    EXPECT_EQ(loaded.texts.Text(*StringTable::EntryOf(1, 30)), u"C:\\Tools\\t\u00e9st.exe");
    EXPECT_EQ(loaded.macros.Count(), 3);
}

TEST_F(ProfileDisk, UnwritableTargetsAreReportedAndKeepTheOldFile) {
    ConfigStore store;
    CreateDefaultProfile(store);
    EXPECT_FALSE(WriteProfileFile(store, Path("missing-folder/x.kwp"), files));
    fs::create_directory(folder / "a-folder");
    EXPECT_FALSE(WriteProfileFile(store, Path("a-folder"), files));
    EXPECT_TRUE(fs::is_directory(folder / "a-folder"));
    EXPECT_EQ(ValidateProfileFile(Path("a-folder"), files).status, ProfileStatus::CannotOpen);
    EXPECT_EQ(ValidateProfileFile(Path("nothing.kwp"), files).status, ProfileStatus::Missing);
}

TEST_F(ProfileDisk, ReadOnlyFileCannotBeImported) {
    ConfigStore store;
    CreateDefaultProfile(store);
    const std::wstring path = Path("read-only.kwp");
    ASSERT_TRUE(WriteProfileFile(store, path, files));
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    FillMacros(store, 1, 1);
    const ProfileResult result = ImportProfileFile(store, path, {}, files);
    EXPECT_EQ(result.status, ProfileStatus::CannotOpen);
    EXPECT_EQ(result.messages, (std::vector<ProfileMessage>{{L"MAIN_PROMPT_INPORT", L""}}));
    EXPECT_EQ(store.macros.Count(), 1);
}

#ifndef _WIN32
// A save killed at any moment leaves the old file or the new one, whole.
TEST_F(ProfileDisk, ASaveKilledMidwayLeavesTheOldOrTheNewFile) {
    ConfigStore a, b;
    CreateDefaultProfile(a);
    CreateDefaultProfile(b);
    FillMacros(a, 40, 1);
    FillMacros(b, 60, 2);
    const std::wstring path = Path("active");
    ASSERT_TRUE(WriteProfileFile(b, Path("b"), files));
    ASSERT_TRUE(WriteProfileFile(a, path, files));
    const Bytes imageA = Contents(path), imageB = Contents(Path("b"));
    std::mt19937 random(12345);
    int sawA = 0, sawB = 0;
    for (int round = 0; round < 8; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) WriteProfileFile(i % 2 ? a : b, path, files);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 60));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const Bytes now = Contents(path);
        ASSERT_TRUE(now == imageA || now == imageB) << "round " << round << ", " << now.size() << " bytes";
        (now == imageA ? sawA : sawB)++;
        ConfigStore loaded;
        EXPECT_TRUE(ReadProfileFile(loaded, path, files).Ok());
    }
    RecordProperty("old", sawA);
    RecordProperty("new", sawB);
}
#endif

}  // namespace
}  // namespace kw::model
