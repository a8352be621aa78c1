// kwctl's configuration subcommands run in-process against a virtual keyboard's state file; what
// they did is read back from the keyboard's stored contents.
#include "tools/kwctl/Subcommand.h"

#include "model/KeyMap.h"
#include "model/MacroBlock.h"
#include "model/MacroCatalogueKeys.h"
#include "tests/virtualkb/TempFolder.h"
#include "virtualkb/HostFiles.h"
#include "virtualkb/StoredContents.h"
#include "virtualkb/VirtualKeyboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kw::kwctl {
namespace {

using virtualkb::test::TempFolder;

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

// A factory-fresh keyboard of one model in a state file that the environment names.
class KeyboardFile {
public:
    explicit KeyboardFile(int keys) : m_state(m_folder / "keyboard.state") {
        EXPECT_EQ(kExitOk, Kwctl({"virtual", "create", virtualkb::PathText(m_state), std::to_string(keys)}).code);
        SetEnvironment("KEYWEAVE_VIRTUAL_KEYBOARD", virtualkb::PathText(m_state));
        // kwctl's user data folder goes here, not into the account running the tests.
        SetEnvironment("XDG_DATA_HOME", virtualkb::PathText(m_folder / "data"));
    }
    ~KeyboardFile() {
        SetEnvironment("KEYWEAVE_VIRTUAL_KEYBOARD", "");
        SetEnvironment("XDG_DATA_HOME", "");
    }

    virtualkb::StoredContents Contents() const {
        std::vector<uint8_t> image;
        EXPECT_TRUE(virtualkb::ReadWholeFile(m_state, image));
        auto contents = virtualkb::DecodeContents(image);
        EXPECT_TRUE(contents.has_value());
        return contents ? *contents : virtualkb::StoredContents{};
    }
    // Profile p's key map as the program reads it.
    model::ProfileBlock Block(int profile) const {
        const auto c = Contents();
        const model::DefaultKeyMap defaults{{c.model.keyCount, c.model.keyMapBytes}, c.defaultKeyMap, true};
        model::ProfileBlock block{};
        EXPECT_EQ(model::KeyMapStatus::Ok, model::DecodeKeyMap(c.KeyMap(profile), defaults, block));
        return block;
    }
    std::vector<model::MacroRecord> Macros() const {
        const auto c = Contents();
        const auto parse = model::ParseMacroBlock(c.macroArea, u"M", model::CatalogueMacroKeys());
        return parse.records;
    }
    std::filesystem::path File(const char* name, const std::string& text) const {
        const auto path = m_folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    const std::filesystem::path& State() const { return m_state; }
    const std::filesystem::path& Folder() const { return m_folder.path(); }

private:
    TempFolder m_folder;
    std::filesystem::path m_state;
};

constexpr model::KeyId kKeyA = 0x01E;

struct SetCase {
    const char* key;
    const char* assignment;
    model::KeyId id;
    model::AssignmentKind kind;
    uint32_t value;
    const char* shown;  // by kwctl keymap show
};
const SetCase kSetCases[] = {
    {"A", "disabled", 0x01E, model::AssignmentKind::Disabled, 0, "A (0x01E): disabled"},
    {"b", "key:Esc", 0x030, model::AssignmentKind::Key, 0x001, "B (0x030): key Esc (0x001)"},
    {"0x10", "media:3", 0x010, model::AssignmentKind::Multimedia, 3, "Q (0x010): media 3"},
    {"16", "function:2", 0x010, model::AssignmentKind::Function, 2, "Q (0x010): function 2"},
    {"Esc", "stop-macro", 0x001, model::AssignmentKind::StopMacro, 0, "Esc (0x001): stop-macro"},
};

class KwctlKeymapSet : public ::testing::TestWithParam<int> {};

TEST_P(KwctlKeymapSet, ChangesOnlyTheProfileAskedFor) {
    for (const SetCase& c : kSetCases) {
        KeyboardFile keyboard(GetParam());
        const auto before = keyboard.Contents();
        const Outcome run = Kwctl({"keymap", "set", c.key, c.assignment, "--profile", "2"});
        ASSERT_EQ(kExitOk, run.code) << c.assignment << ": " << run.err;
        const auto record = keyboard.Block(1)[model::KeyIndexOf(c.id)];
        EXPECT_EQ(static_cast<uint16_t>(c.kind), record.kind) << c.assignment;
        EXPECT_EQ(c.value, record.value) << c.assignment;
        const auto after = keyboard.Contents();
        EXPECT_TRUE(std::ranges::equal(before.KeyMap(0), after.KeyMap(0))) << c.assignment;
        EXPECT_TRUE(std::ranges::equal(before.KeyMap(2), after.KeyMap(2))) << c.assignment;

        const Outcome shown = Kwctl({"keymap", "show", "--profile", "2"});
        EXPECT_EQ(kExitOk, shown.code);
        EXPECT_TRUE(Has(shown.out, c.shown)) << shown.out;
    }
}

INSTANTIATE_TEST_SUITE_P(Models, KwctlKeymapSet, ::testing::Values(126, 128));

TEST(KwctlKeymap, BadInputChangesNothing) {
    KeyboardFile keyboard(128);
    std::vector<uint8_t> before, after;
    ASSERT_TRUE(virtualkb::ReadWholeFile(keyboard.State(), before));
    const struct {
        Arguments args;
        int code;
        const char* says;
    } cases[] = {
        {{"keymap", "set", "NoSuchKey", "disabled"}, kExitUsage, "no key is called"},
        {{"keymap", "set", "A", "key:NoSuchKey"}, kExitUsage, "no key is called"},
        {{"keymap", "set", "A", "media:18"}, kExitUsage, "0 to 17"},
        {{"keymap", "set", "A", "disabled:1"}, kExitUsage, "takes no value"},
        {{"keymap", "set", "A", "macro:1"}, kExitFailed, "no macro 1"},
        {{"keymap", "set", "A", "disabled", "--profile", "4"}, kExitUsage, "--profile"},
        {{"keymap", "show", "extra"}, kExitUsage, "kwctl keymap show"},
    };
    for (const auto& c : cases) {
        const Outcome run = Kwctl(c.args);
        EXPECT_EQ(c.code, run.code) << c.says;
        EXPECT_TRUE(Has(run.err, c.says)) << run.err;
    }
    ASSERT_TRUE(virtualkb::ReadWholeFile(keyboard.State(), after));
    EXPECT_EQ(before, after);
}

TEST(KwctlMacro, SetListShowAndDelete) {
    KeyboardFile keyboard(126);
    const auto first = keyboard.File("first.txt", "name Greeting\ncycles 3\npress A 10\nrelease A 20\n");
    const auto second = keyboard.File("second.txt", "# two keys\nname Other\npress B 0\nrelease B 5\n");
    ASSERT_EQ(kExitOk, Kwctl({"macro", "set", "1", virtualkb::PathText(first)}).code);
    ASSERT_EQ(kExitOk, Kwctl({"macro", "set", "2", virtualkb::PathText(second)}).code);
    EXPECT_EQ(kExitFailed, Kwctl({"macro", "set", "4", virtualkb::PathText(second)}).code) << "ids leave no gaps";

    auto macros = keyboard.Macros();
    ASSERT_EQ(2u, macros.size());
    EXPECT_EQ(u"Greeting", model::MacroName(macros[0]));
    EXPECT_EQ(3, macros[0].cycleCount);
    ASSERT_EQ(2, macros[0].actionCount);
    EXPECT_EQ(kKeyA, macros[0].actions[0].keyId);
    EXPECT_EQ(20u, macros[0].actions[1].delay);

    const Outcome list = Kwctl({"macro", "list"});
    EXPECT_TRUE(Has(list.out, "1  Greeting")) << list.out;
    EXPECT_TRUE(Has(list.out, "2  Other")) << list.out;
    EXPECT_EQ("name Greeting\ncycles 3\npress A 10\nrelease A 20\n", Kwctl({"macro", "show", "1"}).out);

    // A key on the second macro keeps playing it after the first is deleted.
    ASSERT_EQ(kExitOk, Kwctl({"keymap", "set", "Esc", "macro:2", "--profile", "3"}).code);
    const Outcome refused = Kwctl({"macro", "delete", "2"});
    EXPECT_EQ(kExitFailed, refused.code);
    EXPECT_TRUE(Has(refused.err, "Esc (0x001) in profile 3")) << refused.err;
    ASSERT_EQ(kExitOk, Kwctl({"macro", "delete", "1"}).code);
    macros = keyboard.Macros();
    ASSERT_EQ(1u, macros.size());
    EXPECT_EQ(u"Other", model::MacroName(macros[0]));
    const auto esc = keyboard.Block(2)[model::KeyIndexOf(0x001)];
    EXPECT_EQ(static_cast<uint16_t>(model::AssignmentKind::Macro), esc.kind);
    EXPECT_EQ(1u, esc.value);
}

TEST(KwctlMacro, MalformedMacroTextIsRefusedWithItsLine) {
    KeyboardFile keyboard(128);
    const struct {
        const char* text;
        const char* says;
    } cases[] = {
        {"press A 10\n", "needs a name"},
        {"name x\npress NoKey 10\n", "line 2"},
        {"name x\ncycles 0\n", "line 2: cycles"},
        {"name x\npress A 50000\n", "line 2: a delay"},
        {"name x\njump A\n", "line 2: expected"},
    };
    for (const auto& c : cases) {
        const auto file = keyboard.File("bad.txt", c.text);
        const Outcome run = Kwctl({"macro", "set", "1", virtualkb::PathText(file)});
        EXPECT_EQ(kExitUsage, run.code) << c.text;
        EXPECT_TRUE(Has(run.err, c.says)) << run.err;
    }
    EXPECT_TRUE(keyboard.Macros().empty());
}

TEST(KwctlKeyboard, HeldByTheProgramIsRefused) {
    KeyboardFile keyboard(128);
    std::string error;
    const auto held = virtualkb::VirtualKeyboard::OpenStateFile(keyboard.State(), device::kSupportedKeyboards[1], error);
    ASSERT_TRUE(held) << error;
    for (const Arguments& args : {Arguments{"keymap", "show"}, Arguments{"keymap", "set", "A", "disabled"},
                                  Arguments{"macro", "list"}, Arguments{"macro", "delete", "1"}}) {
        const Outcome run = Kwctl(args);
        EXPECT_EQ(kExitFailed, run.code) << args[0];
        EXPECT_FALSE(run.err.empty());
    }
}

TEST(KwctlProfile, ExportThenImportRestoresTheKeyboard) {
    KeyboardFile keyboard(126);
    const auto macro = keyboard.File("m.txt", "name Kept\npress A 10\nrelease A 0\n");
    ASSERT_EQ(kExitOk, Kwctl({"macro", "set", "1", virtualkb::PathText(macro)}).code);
    ASSERT_EQ(kExitOk, Kwctl({"keymap", "set", "A", "macro:1", "--profile", "3"}).code);
    ASSERT_EQ(kExitOk, Kwctl({"keymap", "set", "B", "disabled", "--profile", "1"}).code);
    const auto saved = keyboard.Contents();
#ifndef _WIN32
    // Each change was saved to the profile file of kwctl's own user data folder.
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::exists(keyboard.Folder() / "data" / "Tarvelin    VX73LMN-5 V2" / "$Profile0", ec));
#endif

    const auto backup = keyboard.Folder() / "backup.kwp";
    ASSERT_EQ(kExitOk, Kwctl({"profile", "export", virtualkb::PathText(backup)}).code);
    ASSERT_EQ(kExitOk, Kwctl({"keymap", "set", "A", "default", "--profile", "3"}).code);
    ASSERT_EQ(kExitOk, Kwctl({"macro", "delete", "1"}).code);
    ASSERT_NE(saved.keyMaps, keyboard.Contents().keyMaps);

    const Outcome restored = Kwctl({"profile", "import", virtualkb::PathText(backup)});
    ASSERT_EQ(kExitOk, restored.code) << restored.err;
    const auto after = keyboard.Contents();
    EXPECT_EQ(saved.keyMaps, after.keyMaps);
    EXPECT_EQ(saved.macroArea, after.macroArea);
}

TEST(KwctlProfile, DamagedFileChangesNothing) {
    KeyboardFile keyboard(128);
    ASSERT_EQ(kExitOk, Kwctl({"keymap", "set", "A", "disabled"}).code);
    const auto good = keyboard.Folder() / "good.kwp";
    ASSERT_EQ(kExitOk, Kwctl({"profile", "export", virtualkb::PathText(good)}).code);
    std::vector<uint8_t> image;
    ASSERT_TRUE(virtualkb::ReadWholeFile(good, image));
    std::vector<uint8_t> before;
    ASSERT_TRUE(virtualkb::ReadWholeFile(keyboard.State(), before));

    std::vector<uint8_t> badChecksum = image;
    badChecksum[31] ^= 1;
    const std::vector<uint8_t> truncated(image.begin(), image.end() - 1);
    for (const auto& bytes : {badChecksum, truncated, std::vector<uint8_t>(100, 0)}) {
        const auto path = keyboard.File("bad.kwp", std::string(bytes.begin(), bytes.end()));
        const Outcome run = Kwctl({"profile", "import", virtualkb::PathText(path)});
        EXPECT_EQ(kExitFailed, run.code);
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(kExitFailed, Kwctl({"profile", "import", virtualkb::PathText(keyboard.Folder() / "missing.kwp")}).code);
    std::vector<uint8_t> after;
    ASSERT_TRUE(virtualkb::ReadWholeFile(keyboard.State(), after));
    EXPECT_EQ(before, after);
}

TEST(KwctlKeys, ListsEveryCatalogueKeyWithItsUsage) {
    const Outcome run = Kwctl({"keys"});
    EXPECT_EQ(kExitOk, run.code);
    EXPECT_TRUE(Has(run.out, "0x01E  07:0004       A\n")) << run.out.substr(0, 300);
    EXPECT_TRUE(Has(run.out, "0x001  07:0029       Esc\n"));
    EXPECT_EQ(kExitUsage, Kwctl({"keys", "extra"}).code);
}

}  // namespace
}  // namespace kw::kwctl
