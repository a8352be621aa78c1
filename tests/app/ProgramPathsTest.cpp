#include "app/ProgramPaths.h"

#include <gtest/gtest.h>

namespace kw::app {
namespace {

TEST(ProgramPathsTest, EverythingLivesBesideTheExecutable) {
    const auto p = ProgramPaths::FromModulePath(L"C:\\Program Files\\Keyweave\\Keyweave.exe");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->exeFileName, L"Keyweave.exe");
    EXPECT_EQ(p->exeFolder, L"C:\\Program Files\\Keyweave\\");
    EXPECT_EQ(p->helpFolder, L"C:\\Program Files\\Keyweave\\Help\\");
    EXPECT_EQ(p->mainIni, L"C:\\Program Files\\Keyweave\\Skins\\Main.ini");
    EXPECT_EQ(p->mainIniFolder, L"C:\\Program Files\\Keyweave\\Skins\\");
    EXPECT_EQ(p->profileIni, L"C:\\Program Files\\Keyweave\\Skins\\Profile.ini");
    EXPECT_EQ(p->updateIni, L"C:\\Program Files\\Keyweave\\Skins\\UpdateDlg.ini");
    EXPECT_EQ(p->compositeIni, L"C:\\Program Files\\Keyweave\\Skins\\Composite.ini");
    EXPECT_EQ(p->compositeIniFolder, L"C:\\Program Files\\Keyweave\\Skins\\");
    EXPECT_EQ(p->userColourPrefix, L"C:\\Program Files\\Keyweave\\Skins\\UserDengColor_");
    EXPECT_EQ(p->packageFolder, L"C:\\Program Files\\Keyweave\\Package");
    EXPECT_EQ(p->daemonPath, L"C:\\Program Files\\Keyweave\\KbDaemon.exe");
}

TEST(ProgramPathsTest, LongFoldersAreRefusedBeforeAnyPathWouldBeCut) {
    // The longest derived name adds "Skins\UserDengColor_2147483647.userd" (36 characters) to the folder.
    const auto withFolderOf = [](size_t folderLength) {
        std::wstring folder = L"C:\\" + std::wstring(folderLength - 4, L'd') + L"\\";
        return ProgramPaths::FromModulePath(folder + L"Keyweave.exe");
    };
    EXPECT_TRUE(withFolderOf(259 - 36).has_value());
    EXPECT_FALSE(withFolderOf(260 - 36).has_value());
    EXPECT_FALSE(withFolderOf(300).has_value());
    EXPECT_FALSE(ProgramPaths::FromModulePath(std::wstring(40000, L'x')).has_value());
}

TEST(ProgramPathsTest, APathWithoutAFileNameIsRefused) {
    EXPECT_FALSE(ProgramPaths::FromModulePath(L"C:\\Keyweave\\").has_value());
    EXPECT_FALSE(ProgramPaths::FromModulePath(L"").has_value());
}

}  // namespace
}  // namespace kw::app
