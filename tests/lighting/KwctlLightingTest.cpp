// "kwctl lighting" runs in-process against a virtual keyboard's state file; what it did is read back
// from the keyboard's stored contents and from the user lighting files.
#include "tools/kwctl/Subcommand.h"

#include "i18n/PortableIniFiles.h"
#include "model/UserLighting.h"
#include "tests/virtualkb/TempFolder.h"
#include "virtualkb/HostFiles.h"
#include "virtualkb/StoredContents.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace kw::kwctl {
namespace {

using virtualkb::test::TempFolder;
using Bytes = std::vector<uint8_t>;

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome Kwctl(const Arguments& args) {
    std::ostringstream out, err;
    const int code = RunKwctl(args, out, err);
    return {code, out.str(), err.str()};
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    if (value.empty()) {
        unsetenv(name);
    } else {
        setenv(name, value.c_str(), 1);
    }
#endif
}

class LightingKeyboard {
public:
    explicit LightingKeyboard(int keys) : m_state(m_folder / "keyboard.state") {
        EXPECT_EQ(kExitOk, Kwctl({"virtual", "create", virtualkb::PathText(m_state), std::to_string(keys)}).code);
        SetEnvironment("KEYWEAVE_VIRTUAL_KEYBOARD", virtualkb::PathText(m_state));
        std::filesystem::create_directories(UserFolder());
    }
    ~LightingKeyboard() { SetEnvironment("KEYWEAVE_VIRTUAL_KEYBOARD", ""); }

    virtualkb::StoredContents Contents() const {
        std::vector<uint8_t> image;
        EXPECT_TRUE(virtualkb::ReadWholeFile(m_state, image));
        auto contents = virtualkb::DecodeContents(image);
        return contents ? *contents : virtualkb::StoredContents{};
    }
    Bytes Record(int p) const {
        const auto c = Contents();
        const auto r = c.LightingRecord(p);
        return {r.begin(), r.end()};
    }
    Bytes Colours(int p) const {
        const auto c = Contents();
        const auto r = c.KeyColours(p);
        return {r.begin(), r.end()};
    }
    std::filesystem::path UserFolder() const { return m_folder / "user data"; }
    std::string Folder() const { return virtualkb::PathText(UserFolder()); }

private:
    TempFolder m_folder;
    std::filesystem::path m_state;
};

struct SetCase {
    const char* field;
    const char* value;
    size_t at;
    Bytes bytes;
};

// Every field the panel changes lands at its place in the profile's record, on both models.
TEST(KwctlLightingTest, SetChangesTheRecordOfTheProfile) {
    const SetCase cases[]{
        {"effect", "4", 0, {4}},          {"brightness", "0", 1, {0}},      {"speed", "5", 2, {5}},
        {"direction", "backward", 3, {0xFF}}, {"colour", "1,2,3", 4, {0, 1, 2, 3}}, {"preset", "3", 4, {0, 0, 126, 255}},
        {"rate", "2", 15, {2}},           {"palette", "3", 17, {3}},        {"trigger", "grid", 19, {1}},
        {"colour2", "9,8,7", 25, {9, 8, 7, 0}}, {"colourful3", "on", 33, {1}},
    };
    for (int keys : {126, 128}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.field) + " on " + std::to_string(keys));
            LightingKeyboard kb(keys);
            const auto before = kb.Record(0);
            const auto run = Kwctl({"lighting", "set", c.field, c.value, "--profile", "2"});
            ASSERT_EQ(run.code, kExitOk) << run.err;
            const auto after = kb.Record(2);
            EXPECT_EQ(Bytes(after.begin() + static_cast<long>(c.at), after.begin() + static_cast<long>(c.at + c.bytes.size())), c.bytes);
            EXPECT_EQ(kb.Record(0), before);
        }
    }
}

TEST(KwctlLightingTest, ShowReadsTheRecordInWords) {
    LightingKeyboard kb(128);
    ASSERT_EQ(Kwctl({"lighting", "set", "colour", "10,20,30", "--profile", "1"}).code, kExitOk);
    ASSERT_EQ(Kwctl({"lighting", "set", "speed", "0", "--profile", "1"}).code, kExitOk);
    const auto run = Kwctl({"lighting", "show", "--profile", "1"});
    ASSERT_EQ(run.code, kExitOk) << run.err;
    EXPECT_TRUE(Has(run.out, "colour: 10,20,30, colourful off")) << run.out;
    EXPECT_TRUE(Has(run.out, "speed: 0")) << run.out;
    EXPECT_TRUE(Has(run.out, "effects: 1 2 3")) << run.out;
}

TEST(KwctlLightingTest, BadInputIsRefusedAndChangesNothing) {
    LightingKeyboard kb(126);
    const auto before = kb.Contents().memory;
    const Arguments cases[]{
        {"lighting", "set", "brightness", "6"},
        {"lighting", "set", "effect", "19"},
        {"lighting", "set", "colour", "1,2"},
        {"lighting", "set", "colour", "1,2,256"},
        {"lighting", "set", "shine", "1"},
        {"lighting", "set", "palette", "1", "--profile", "3"},
        {"lighting", "key", "170", "1,2,3"},
        {"lighting", "mode", "select", "10", "--folder", kb.Folder()},
        {"lighting", "mode", "select", "1"},
        {"lighting", "glow"},
    };
    for (const auto& args : cases) {
        const auto run = Kwctl(args);
        EXPECT_EQ(run.code, kExitUsage) << args[2];
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(kb.Contents().memory, before);
}

TEST(KwctlLightingTest, ResetAndKeyColour) {
    LightingKeyboard kb(128);
    ASSERT_EQ(Kwctl({"lighting", "set", "effect", "20", "--profile", "1"}).code, kExitOk);
    ASSERT_EQ(Kwctl({"lighting", "reset", "--profile", "1"}).code, kExitOk);
    const auto record = kb.Record(1);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 8), (Bytes{1, 4, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_EQ(Kwctl({"lighting", "key", "fn", "7,8,9", "--profile", "2"}).code, kExitOk);
    const auto colours = kb.Colours(2);
    EXPECT_EQ(Bytes(colours.begin() + 330, colours.begin() + 333), (Bytes{7, 8, 9}));
}

TEST(KwctlLightingTest, UserModesAreChosenNamedAndSaved) {
    LightingKeyboard kb(126);
    const auto f = kb.Folder();
    ASSERT_EQ(Kwctl({"lighting", "mode", "name", "4", "Night", "--folder", f, "--profile", "1"}).code, kExitOk);
    ASSERT_EQ(Kwctl({"lighting", "mode", "select", "4", "--folder", f, "--profile", "1"}).code, kExitOk);
    // No section for mode 4: every key red.
    const auto red = kb.Colours(1);
    EXPECT_EQ(Bytes(red.begin(), red.begin() + 3), (Bytes{255, 0, 0}));
    ASSERT_EQ(Kwctl({"lighting", "key", "64", "0,128,255", "--folder", f, "--profile", "1"}).code, kExitOk);
    ASSERT_EQ(Kwctl({"lighting", "mode", "base", "1,1,1", "--folder", f, "--profile", "1"}).code, kExitOk);
    const auto colours = kb.Colours(1);
    EXPECT_EQ(Bytes(colours.begin(), colours.begin() + 3), (Bytes{1, 1, 1}));
    EXPECT_EQ(Bytes(colours.begin() + 192, colours.begin() + 195), (Bytes{0, 128, 255}));  // painted freely: kept
    const auto list = Kwctl({"lighting", "mode", "--folder", f, "--profile", "1"});
    EXPECT_TRUE(Has(list.out, "* 4 Night")) << list.out;
    i18n::PortableIniFiles ini;
    const model::UserLightingFiles files(ini, kb.UserFolder());
    EXPECT_EQ(files.ReadCurrentMode(1), 4);
    EXPECT_EQ(files.ReadLedEntry(1, 4, 64), (model::LedEntry{model::MakeColour(0, 128, 255), false}));
    ASSERT_EQ(Kwctl({"lighting", "mode", "perkey", "on", "--folder", f}).code, kExitOk);
    EXPECT_TRUE(files.ReadPerKeyMode());
}

}  // namespace
}  // namespace kw::kwctl
