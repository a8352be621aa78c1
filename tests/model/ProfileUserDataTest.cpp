#include "model/UserDataFolder.h"

#include <gtest/gtest.h>

#include "model/ProfileFile.h"
#include "tests/model/ProfileFakeFiles.h"

namespace kw::model {
namespace {

using testing::MemoryProfileFiles;
using Bytes = std::vector<std::uint8_t>;

const std::wstring kFolder = L"/local/Tarvelin    VX73LMN-5 V2";
const std::wstring kSkins = L"/program/Skins";

TEST(UserDataFolder, FirstRunCopiesTheTemplateByteForByteToThreeLightingFiles) {
    MemoryProfileFiles files;
    const Bytes lighting = {'a', '\r', '\n', 0x1A, 0, 'z'};  // a text-mode copy would stop or change here
    files.files[kSkins + L"/UserDengColor_3.userd"] = lighting;
    files.readOnly.insert(kSkins + L"/UserDengColor_3.userd");  // the program folder need not be writable
    EXPECT_EQ(EnsureUserDataFolder(files, kSkins), UserDataStatus::Created);
    EXPECT_TRUE(files.FolderExists(kFolder));
    for (int n = 0; n < 3; ++n) EXPECT_EQ(files.files[kFolder + L"/UserDengColor_" + std::to_wstring(n) + L".userd"], lighting);
    EXPECT_FALSE(files.FileExists(kFolder + L"/UserDengColor_3.userd"));
}

TEST(UserDataFolder, MissingTemplateGivesEmptyFiles) {
    MemoryProfileFiles files;
    EXPECT_EQ(EnsureUserDataFolder(files, kSkins), UserDataStatus::Created);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(files.files.at(*UserLightingFilePath(files, n)), Bytes{});
}

TEST(UserDataFolder, AnExistingFolderIsNeverRepaired) {
    MemoryProfileFiles files;
    files.files[kSkins + L"/UserDengColor_3.userd"] = {1};
    ASSERT_EQ(EnsureUserDataFolder(files, kSkins), UserDataStatus::Created);
    files.files.erase(kFolder + L"/UserDengColor_1.userd");
    const int writes = files.replaceCalls;
    EXPECT_EQ(EnsureUserDataFolder(files, kSkins), UserDataStatus::Existing);
    EXPECT_FALSE(files.FileExists(kFolder + L"/UserDengColor_1.userd"));
    EXPECT_EQ(files.replaceCalls, writes);
}

TEST(UserDataFolder, PathsBeyondTheLimitFailCleanly) {
    MemoryProfileFiles files;
    // The folder plus "/$Profile0" and its terminator fit exactly at the limit, one more does not.
    const std::size_t fits = kMaxUserDataPath - 1 - kUserDataFolderName.size() - 1 - kProfileFileName.size() - 1;
    files.localFolder = L"/" + std::wstring(fits - 1, L'x');
    files.folders = {files.localFolder};
    const auto path = ProfileFilePath(files, 0);
    ASSERT_TRUE(path);
    EXPECT_EQ(path->size(), kMaxUserDataPath - 1);
    // The lighting file names are longer, so that folder cannot be populated: nothing is made.
    EXPECT_EQ(EnsureUserDataFolder(files, kSkins), UserDataStatus::PathTooLong);
    EXPECT_EQ(files.folders.size(), 1u);

    files.localFolder += L"x";
    EXPECT_FALSE(ProfileFilePath(files, 0));
    ConfigStore store;
    const ProfileResult saved = SaveActiveProfileFile(store, files);
    EXPECT_EQ(saved.status, ProfileStatus::PathTooLong);
    EXPECT_FALSE(saved.messages.empty());
    files.localFolder.clear();
    EXPECT_EQ(EnsureUserDataFolder(files, kSkins), UserDataStatus::NoFolder);
}

TEST(UserDataFolder, OneProfileFileServesEveryProfile) {
    MemoryProfileFiles files;
    for (int index : {0, 1, 2, 3, -1, 77}) EXPECT_EQ(ProfileFilePath(files, index), kFolder + L"/$Profile0") << index;
}

}  // namespace
}  // namespace kw::model
