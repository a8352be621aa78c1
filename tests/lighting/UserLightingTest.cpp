#include "model/UserLighting.h"

#include "i18n/PortableIniFiles.h"
#include "i18n/ProgramLocaliser.h"
#include "model/KeyCatalogue.h"
#include "tests/device/ProtocolRig.h"
#include "tests/i18n/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kw::model {
namespace {

namespace fs = std::filesystem;
using i18n::test::TempFolder;

const Colour kRed = MakeColour(255, 0, 0);

// A copy: the keyboard's contents are handed out by value.
std::vector<std::uint8_t> KeyColoursOf(const test::ProtocolRig& rig, int profile) {
    const auto contents = rig.keyboard.Contents();
    const auto c = contents.KeyColours(profile);
    return {c.begin(), c.end()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An ASCII text as UTF-16LE with a byte-order mark.
std::string Utf16(const std::string& text) {
    std::string out("\xFF\xFE", 2);
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

struct UserFiles {
    TempFolder temp;
    i18n::PortableIniFiles ini;
    UserLightingFiles files{ini, fs::path(temp.Folder())};
};

std::wstring Raw(const UserFiles& u, int profile, const std::wstring& section, const std::wstring& key) {
    return u.ini.ReadString(u.files.ModeFile(profile), section, key, L"<missing>", 260);
}

TEST(UserLightingTest, MissingFileGivesTheDefaults) {
    UserFiles u;
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(u.files.ReadCurrentMode(p), 0);
        EXPECT_EQ(u.files.ReadModeName(p, 4), L"0");
        EXPECT_EQ(u.files.LoadModeSettings(p, 0), UserModeSettings{});
        EXPECT_EQ(u.files.ReadLedEntry(p, 0, 64), (LedEntry{kRed, true}));
    }
    EXPECT_FALSE(u.files.ReadPerKeyMode());
}

TEST(UserLightingTest, PerKeySwitchIsOnOnlyForOne) {
    UserFiles u;
    const std::pair<const char*, bool> cases[]{{"1", true}, {"0", false}, {"2", false}, {"01", false}, {"", false}};
    for (const auto& [value, on] : cases) {
        WriteBytes(u.files.SettingsFile(), std::string("[KEYCOLOR]\r\nDengCheck=") + value + "\r\n");
        EXPECT_EQ(u.files.ReadPerKeyMode(), on) << value;
    }
    ASSERT_TRUE(u.files.WritePerKeyMode(true));
    EXPECT_TRUE(u.files.ReadPerKeyMode());
    ASSERT_TRUE(u.files.WritePerKeyMode(false));
    EXPECT_FALSE(u.files.ReadPerKeyMode());
}

// Texts parse as far as they go, missing parts are 0, and nothing outside a byte reaches a colour.
TEST(UserLightingTest, LedEntriesParseAsFarAsTheyGo) {
    struct Case {
        const char* text;
        LedEntry expected;
    };
    const Case cases[]{
        {"1,2,3,0", {MakeColour(1, 2, 3), false}},
        {"1,2,3,7", {MakeColour(1, 2, 3), true}},
        {"10,20", {MakeColour(10, 20, 0), false}},
        {"12abc,5,5,1", {MakeColour(12, 0, 0), false}},
        {"abc", {0, false}},
        {"", {0, false}},
        {"300,-4,256,1", {MakeColour(255, 0, 255), true}},
        {"99999999999999999999,1,1,1", {MakeColour(255, 1, 1), true}},
        {" 7, 8 ,9,1", {MakeColour(7, 8, 0), false}},
        {"+5,-0,5,-1", {MakeColour(5, 0, 5), true}},
    };
    UserFiles u;
    std::string file = "[Mode0]\r\n";
    for (size_t i = 0; i < std::size(cases); ++i) file += std::to_string(i) + "=" + cases[i].text + "\r\n";
    WriteBytes(u.files.ModeFile(0), file);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(u.files.ReadLedEntry(0, 0, static_cast<int>(i)), cases[i].expected) << cases[i].text;
}

TEST(UserLightingTest, SettingsAndModeNumberParse) {
    UserFiles u;
    WriteBytes(u.files.ModeFile(1),
               "[PRESENTMODE]\r\nmode=3x\r\n[Mode3]\r\ntool=5\r\njcolor=0,128,999\r\ncolor=1,2\r\n"
               "[Mode4]\r\ntool=abc\r\n");
    EXPECT_EQ(u.files.ReadCurrentMode(1), 3);
    EXPECT_EQ(u.files.LoadModeSettings(1, 3), (UserModeSettings{kToolBaseColour, MakeColour(0, 128, 255), MakeColour(1, 2, 0)}));
    EXPECT_EQ(u.files.LoadModeSettings(1, 4).tool, kToolFreeColour);
    for (const char* mode : {"10", "-1", "99999999999", "x"}) {
        WriteBytes(u.files.ModeFile(2), std::string("[PRESENTMODE]\r\nmode=") + mode + "\r\n");
        EXPECT_EQ(u.files.ReadCurrentMode(2), 0) << mode;
    }
}

TEST(UserLightingTest, WritesAreReadBack) {
    UserFiles u;
    ASSERT_TRUE(u.files.WriteCurrentMode(2, 7));
    EXPECT_EQ(u.files.ReadCurrentMode(2), 7);
    EXPECT_FALSE(u.files.WriteCurrentMode(2, 10));
    const UserModeSettings s{kToolBaseColour, MakeColour(0, 128, 255), MakeColour(9, 8, 7)};
    ASSERT_TRUE(u.files.SaveModeSettings(2, 7, s));
    EXPECT_EQ(u.files.LoadModeSettings(2, 7), s);
    ASSERT_TRUE(u.files.WriteLedEntry(2, 7, 64, {MakeColour(0, 128, 255), true}));
    EXPECT_EQ(Raw(u, 2, L"Mode7", L"64"), L"0,128,255,1");
    EXPECT_FALSE(fs::exists(u.files.ModeFile(0)));
}

TEST(UserLightingTest, EditingOneNameLeavesTheOthers) {
    UserFiles u;
    for (int m = 0; m < kUserModes; ++m) ASSERT_TRUE(u.files.WriteModeName(0, m, L"mode " + std::to_wstring(m)));
    ASSERT_TRUE(u.files.WriteModeName(0, 2, L"Crème brûlée"));
    for (int m = 0; m < kUserModes; ++m)
        EXPECT_EQ(u.files.ReadModeName(0, m), m == 2 ? L"Crème brûlée" : L"mode " + std::to_wstring(m));
}

// The same file in UTF-16 and in 8-bit reads the same.
TEST(UserLightingTest, Utf16And8BitFilesReadAlike) {
    const std::string text = "[PRESENTMODE]\r\nmode=2\r\n[MODENAME]\r\n2=Night\r\n[Mode2]\r\ntool=1\r\njcolor=1,2,3\r\n64=4,5,6,0\r\n";
    for (const auto& bytes : {text, Utf16(text)}) {
        UserFiles u;
        WriteBytes(u.files.ModeFile(0), bytes);
        EXPECT_EQ(u.files.ReadCurrentMode(0), 2);
        EXPECT_EQ(u.files.ReadModeName(0, 2), L"Night");
        EXPECT_EQ(u.files.LoadModeSettings(0, 2).baseColour, MakeColour(1, 2, 3));
        EXPECT_EQ(u.files.ReadLedEntry(0, 2, 64), (LedEntry{MakeColour(4, 5, 6), false}));
    }
}

TEST(UserLightingTest, LoadingAModeWithoutSectionShowsEveryKeyRedAndLit) {
    UserFiles u;
    WriteBytes(u.files.ModeFile(0), "[PRESENTMODE]\r\nmode=3\r\n[Mode2]\r\n0=1,1,1,0\r\n");
    test::ProtocolRig rig(test::Model126());
    UserLightingState state;
    ASSERT_EQ(LoadUserColours(u.files, 0, state, &rig.protocol, 126), device::kResultSuccess);
    EXPECT_EQ(state.mode, 3);
    for (const auto& b : LightButtons()) {
        if (b.led == kGKeyLed) continue;
        EXPECT_EQ(state.table.Get(0, b.led), kRed) << b.led;
    }
    EXPECT_EQ(std::count(state.lit[0].begin(), state.lit[0].end(), true), static_cast<long>(kLightButtons - 9));
    const auto stored = KeyColoursOf(rig, 0);
    EXPECT_EQ(stored[3 * 110], 255);
    EXPECT_EQ(stored[3 * 110 + 1], 0);
}

TEST(UserLightingTest, ChoosingAModeStoresItAndSendsTheTable) {
    UserFiles u;
    WriteBytes(u.files.ModeFile(1), "[Mode4]\r\n0=0,0,9,1\r\n110=8,8,8,0\r\n");
    test::ProtocolRig rig(test::Model126());
    UserLightingState state;
    ASSERT_EQ(SelectUserMode(u.files, 1, 4, state, rig.protocol, 126), device::kResultSuccess);
    EXPECT_EQ(Raw(u, 1, L"PRESENTMODE", L"mode"), L"4");
    const auto r = rig.Requests();
    EXPECT_EQ(std::count_if(r.begin(), r.end(), [](const auto& f) {
                  return f[device::kFrameCommandAt] == static_cast<uint8_t>(device::CommandCode::WriteKeyColours) &&
                         f[device::kFrameLengthAt] == 54;
              }),
              8);
    const auto stored = KeyColoursOf(rig, 1);
    EXPECT_EQ(stored[2], 9);
    EXPECT_EQ(stored[330], 8);
}

TEST(UserLightingTest, BaseColourRecoloursOnlyLitKeys) {
    UserFiles u;
    WriteBytes(u.files.ModeFile(0), "[Mode0]\r\n1=10,20,30,0\r\n");
    test::ProtocolRig rig(test::Model128());
    UserLightingState state;
    ASSERT_EQ(LoadUserColours(u.files, 0, state, nullptr, 128), device::kResultSuccess);
    EXPECT_TRUE(rig.Requests().empty());
    const Colour blue = MakeColour(0, 128, 255);
    ASSERT_EQ(ApplyBaseColour(u.files, 0, blue, state, rig.protocol, 128), device::kResultSuccess);
    EXPECT_EQ(state.table.Get(0, 0), blue);
    EXPECT_EQ(state.table.Get(0, 1), MakeColour(10, 20, 30));
    EXPECT_EQ(state.table.Get(0, kGKeyLed), 0u);  // the G keys are lit only once painted
    EXPECT_EQ(u.files.ReadLedEntry(0, 0, 0), (LedEntry{blue, true}));
    EXPECT_EQ(u.files.ReadLedEntry(0, 0, 1), (LedEntry{MakeColour(10, 20, 30), false}));
    EXPECT_EQ(u.files.LoadModeSettings(0, 0).baseColour, blue);
    const auto stored = KeyColoursOf(rig, 0);
    EXPECT_EQ(stored[1], 128);
    EXPECT_EQ(stored[3], 10);
    // The same colour again changes and sends nothing.
    const auto sent = rig.Requests().size();
    ASSERT_EQ(ApplyBaseColour(u.files, 0, blue, state, rig.protocol, 128), device::kResultSuccess);
    EXPECT_EQ(rig.Requests().size(), sent);
}

TEST(UserLightingTest, PaintingSendsThenSaves) {
    UserFiles u;
    test::ProtocolRig rig;
    UserLightingState state;
    state.mode = 5;
    ASSERT_EQ(PaintLed(u.files, 2, 64, {MakeColour(0, 128, 255), true}, state, rig.protocol), device::kResultSuccess);
    EXPECT_EQ(Raw(u, 2, L"Mode5", L"64"), L"0,128,255,1");
    EXPECT_EQ(KeyColoursOf(rig, 2)[3 * 64 + 2], 255);
    EXPECT_EQ(PaintLed(u.files, 2, kLedSlots, {}, state, rig.protocol), device::kResultWriteFailed);
}

// A huge file of junk, in either encoding, loads without a crash and puts only bytes on the wire.
TEST(UserLightingTest, HugeFilesOfJunkStillLoad) {
    std::string junk = "[PRESENTMODE]\r\nmode=-7\r\n[Mode0]\r\ntool=\xff\xfe\r\n";
    for (int i = 0; junk.size() < (1u << 17); ++i)
        junk += std::to_string(i % 200) + "=" + std::to_string(i * 7919) + ",-" + std::to_string(i) + ",x,\r\n";
    junk += "[Mode0]\r\n64=1,2,3,1\r\n";
    for (const auto& bytes : {junk, Utf16(std::string(junk.begin(), junk.begin() + 100000))}) {
        UserFiles u;
        WriteBytes(u.files.ModeFile(0), bytes);
        test::ProtocolRig rig;
        UserLightingState state;
        ASSERT_EQ(LoadUserColours(u.files, 0, state, &rig.protocol, 128), device::kResultSuccess);
        EXPECT_EQ(state.mode, 0);
        EXPECT_EQ(state.table.Get(0, 0), MakeColour(0, 0, 0));  // "0=0,-0,x," read as far as it goes
    }
}

TEST(UserLightingTest, ResetCopiesTheTemplateByteForByte) {
    TempFolder temp;
    const fs::path templ = fs::path(temp.Folder()) / "UserDengColor_3.userd";
    const fs::path mine = fs::path(temp.Folder()) / "UserDengColor_1.userd";
    std::string bytes = Utf16("[MODENAME]\r\n0=X\r\n");
    bytes += std::string("\x1A\x00\r\x00\n\x00\n\x00", 8);  // bytes a text-mode copy would change
    WriteBytes(templ, bytes);
    WriteBytes(mine, std::string(100000, 'z'));
    ASSERT_TRUE(ResetUserModes(templ, mine));
    EXPECT_EQ(ReadBytes(mine), bytes);
    EXPECT_EQ(fs::directory_iterator(temp.Folder()) == fs::directory_iterator(), false);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Folder()), fs::directory_iterator()), 2);
    // Without a template the modes are reset to the defaults: an empty file.
    fs::remove(templ);
    ASSERT_TRUE(ResetUserModes(templ, mine));
    EXPECT_EQ(ReadBytes(mine), "");
    // A file that cannot be replaced stays as it is.
    WriteBytes(templ, bytes);
    EXPECT_FALSE(ResetUserModes(templ, fs::path(temp.Folder()) / "no such folder" / "f.userd"));
}

TEST(UserLightingTest, ShippedTemplateKeepsItsNamesThroughAReset) {
    const fs::path shipped = TemplateModeFile(fs::path(i18n::ExecutableFolder()));
    ASSERT_TRUE(fs::exists(shipped));
    UserFiles u;
    ASSERT_TRUE(ResetUserModes(shipped, u.files.ModeFile(0)));
    EXPECT_EQ(ReadBytes(u.files.ModeFile(0)).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(u.files.ReadModeName(0, 9), L"Crème brûlée");
    for (int m = 0; m < kUserModes; ++m) EXPECT_NE(u.files.ReadModeName(0, m), L"0") << m;
    const auto settings = u.files.LoadModeSettings(0, 2);
    for (const auto& b : MainKeyButtonTable) EXPECT_EQ(u.files.ReadLedEntry(0, 2, b.led), (LedEntry{settings.baseColour, true}));
}

TEST(UserLightingTest, FirstStartOnlyFillsTheFolder) {
    TempFolder temp;
    i18n::PortableIniFiles ini;
    const fs::path folder = fs::path(temp.Folder()) / "Tarvelin    VX73LMN-5 V2";
    const UserLightingFiles files(ini, folder);
    const fs::path templ = fs::path(temp.Folder()) / "UserDengColor_3.userd";
    WriteBytes(templ, Utf16("[PRESENTMODE]\r\nmode=6\r\n"));
    ASSERT_TRUE(PrepareUserLightingFolder(files, templ));
    for (int p = 0; p < 3; ++p) EXPECT_EQ(files.ReadCurrentMode(p), 6);
    fs::remove(files.ModeFile(1));
    EXPECT_FALSE(PrepareUserLightingFolder(files, templ));
    EXPECT_FALSE(fs::exists(files.ModeFile(1)));
    EXPECT_EQ(files.ReadCurrentMode(1), 0);
}

}  // namespace
}  // namespace kw::model
