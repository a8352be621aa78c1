// Choosing the language and looking texts up, against each INI implementation and each registry
// key the platform has (under Windows also the system's profile functions and a real registry key).
#include "IniImplementations.h"
#include "RegistryWorlds.h"
#include "TempFolder.h"
#include "i18n/Localiser.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kw::i18n::test {
namespace {

struct Environment {
    IniImplementation files;
    RegistryKind registry;
};

std::vector<Environment> Environments() {
    std::vector<Environment> all;
    const auto files = IniImplementations();
    const auto registries = RegistryKinds();
    // Each implementation once, paired with its own platform's counterpart.
    for (size_t i = 0; i < std::max(files.size(), registries.size()); ++i)
        all.push_back({files[std::min(i, files.size() - 1)], registries[std::min(i, registries.size() - 1)]});
    return all;
}

void PrintTo(const Environment& environment, std::ostream* out) {
    *out << environment.files.name << " files, " << environment.registry.name << " registry";
}

std::string EnvironmentName(const testing::TestParamInfo<Environment>& info) {
    return info.param.files.name + "Files" + info.param.registry.name + "Registry";
}

std::vector<uint8_t> DwordBytes(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

class LocaliserTest : public testing::TestWithParam<Environment> {
protected:
    std::unique_ptr<IniFiles> files = GetParam().files.make();
    TempFolder folder;

    std::unique_ptr<RegistryWorld> MakeRegistry(bool open) const { return GetParam().registry.make(open); }
};

struct ChoiceCase {
    std::string what;
    bool keyOpen;
    std::optional<std::pair<RegistryType, std::vector<uint8_t>>> stored;  // nothing: no value
    uint16_t systemLanguage;
    uint32_t expectedId;
    int expectedIndex;
    std::optional<uint32_t> storedAfter;  // nothing: no DWORD readable afterwards
};

std::vector<ChoiceCase> ChoiceCases() {
    const auto dword = [](uint32_t v) { return std::make_pair(RegistryType::Dword, DwordBytes(v)); };
    std::vector<ChoiceCase> cases = {
        {"nothing stored, system English (US)", true, std::nullopt, 0x0409, 0x0409, 0, 0x0409},
        {"nothing stored, system Chinese", true, std::nullopt, 0x0804, 0x0409, 0, 0x0409},
        {"nothing stored, system German", true, std::nullopt, 0x0407, 0x0409, 0, 0x0409},
        {"stored 0 means none chosen", true, dword(0), 0x0C09, 0x0409, 0, 0x0409},
        {"a stored language is kept without asking the system", true, dword(0x0409), 0x0804, 0x0409, 0, 0x0409},
        {"a stored language without texts stays, index 0", true, dword(0x0411), 0x0409, 0x0411, 0, 0x0411},
        {"a stored value beyond 16 bits stays", true, dword(0x12340409), 0x0409, 0x12340409, 0, 0x12340409},
        {"a text value counts as none", true, std::make_pair(RegistryType::String, std::vector<uint8_t>{'1', 0, 0, 0}),
         0x0809, 0x0409, 0, 0x0409},
        {"a binary value counts as none", true, std::make_pair(RegistryType::Binary, DwordBytes(0x0411)), 0x0409,
         0x0409, 0, 0x0409},
        {"a DWORD of the wrong size counts as none", true,
         std::make_pair(RegistryType::Dword, std::vector<uint8_t>{0x11, 0x04}), 0x0409, 0x0409, 0, 0x0409},
        {"key not open: detected every time, nothing stored", false, std::nullopt, 0x0C09, 0x0409, 0, std::nullopt},
        // Identifier 0 is the table's empty slot, not a language.
        {"a system language of 0", true, std::nullopt, 0, 0x0409, 0, 0x0409},
    };
    for (const uint16_t english : kEnglishVariants)
        cases.push_back({"English variant " + std::to_string(english), true, std::nullopt, english, 0x0409, 0, 0x0409});
    return cases;
}

TEST_P(LocaliserTest, ChoosesTheLanguage) {
    for (const ChoiceCase& c : ChoiceCases()) {
        SCOPED_TRACE(c.what);
        const auto registry = MakeRegistry(c.keyOpen);
        if (c.stored) registry->Put(kLanguageValueName, c.stored->first, c.stored->second);
        const FixedSystemLanguage system(c.systemLanguage);
        const Localiser localiser(*files, registry->Key(), system, folder.Folder());

        EXPECT_EQ(localiser.CurrentLanguageId(), c.expectedId);
        EXPECT_EQ(localiser.CurrentLanguageIndex(), c.expectedIndex);
        EXPECT_EQ(registry->Key().QueryDword(kLanguageValueName), c.storedAfter);
    }
}

TEST_P(LocaliserTest, TheStoredChoiceOutlivesAChangeOfSystemLanguage) {
    const auto registry = MakeRegistry(true);
    const FixedSystemLanguage australian(0x0C09), chinese(0x0804);
    ASSERT_EQ(Localiser(*files, registry->Key(), australian, folder.Folder()).CurrentLanguageId(), 0x0409u);
    registry->Put(kLanguageValueName, RegistryType::Dword, DwordBytes(0x0411));
    EXPECT_EQ(Localiser(*files, registry->Key(), chinese, folder.Folder()).CurrentLanguageId(), 0x0411u);
}

class TextsTest : public LocaliserTest {
protected:
    std::unique_ptr<RegistryWorld> registry = MakeRegistry(true);
    FixedSystemLanguage system{0x0409};
    Localiser localiser{*files, registry->Key(), system, folder.Folder()};
    std::wstring english = folder.File(L"Lang0409.ini");
};

TEST_P(TextsTest, EachLookupReadsItsOwnSection) {
    TempFolder::Write(english,
                      "[TEXT]\r\nk=text\r\n12=text twelve\r\n[LIGHT]\r\nk=light\r\n[MODE]\r\nk=mode\r\n12=Twelve\r\n");
    EXPECT_EQ(localiser.LangText(L"k", 0), L"text");
    EXPECT_EQ(localiser.LightText(L"k", 0), L"light");
    EXPECT_EQ(localiser.ModeText(L"k", 0), L"mode");
    EXPECT_EQ(localiser.ModeText(L"12", 0), L"Twelve");
}

TEST_P(TextsTest, MissingFileOrKeyReadsError) {
    EXPECT_EQ(localiser.LangText(L"MAIN_CAPTION", 0), L"#Error");
    EXPECT_EQ(localiser.LightText(L"Usb", 0), L"#Error");
    EXPECT_EQ(localiser.ModeText(L"7", 0), L"#Error");

    TempFolder::Write(english, "[TEXT]\r\nMAIN_CAPTION=Keyweave\r\n");
    EXPECT_EQ(localiser.LangText(L"MAIN_NO_DEVICE_PROMPT", 0), L"#Error");
    EXPECT_EQ(localiser.LightText(L"MAIN_CAPTION", 0), L"#Error");
}

TEST_P(TextsTest, EmptyValueIsAnEmptyCaption) {
    TempFolder::Write(english, "[TEXT]\r\nSINGLE_KEY=\r\n");
    EXPECT_EQ(localiser.LangText(L"SINGLE_KEY", 0), L"");
}

TEST_P(TextsTest, LongValuesAreCutAt259Characters) {
    TempFolder::Write(english, "[TEXT]\r\nk=" + std::string(258, 'a') + "bcd\r\n");
    EXPECT_EQ(localiser.LangText(L"k", 0), std::wstring(258, L'a') + L"b");
}

TEST_P(TextsTest, AnEditedFileShowsAtTheNextLookup) {
    TempFolder::Write(english, "[TEXT]\r\nk=before\r\n");
    ASSERT_EQ(localiser.LangText(L"k", 0), L"before");
    TempFolder::Write(english, "[TEXT]\r\nk=after the edit\r\n");
    EXPECT_EQ(localiser.LangText(L"k", 0), L"after the edit");
}

TEST_P(TextsTest, EveryIndexReadsAnExistingLanguageFile) {
    TempFolder::Write(english, "[TEXT]\r\nk=English\r\n");
    TempFolder::Write(folder.File(L"Lang0000.ini"), "[TEXT]\r\nk=empty slot\r\n");
    // Index 1 is an empty slot of the table; like any index outside it, it means index 0.
    for (const int index : {0, 1, 2, -1, 1000}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(localiser.LanguageFilePath(index), english);
        EXPECT_EQ(localiser.LangText(L"k", index), L"English");
    }
}

TEST_P(TextsTest, AStoredLanguageWithoutTextsReadsTheEnglishFile) {
    registry->Put(kLanguageValueName, RegistryType::Dword, DwordBytes(0x0411));
    TempFolder::Write(english, "[TEXT]\r\nk=English\r\n");
    TempFolder::Write(folder.File(L"Lang0411.ini"), "[TEXT]\r\nk=Japanese\r\n");
    EXPECT_EQ(localiser.LangText(L"k", localiser.CurrentLanguageIndex()), L"English");
}

INSTANTIATE_TEST_SUITE_P(Each, LocaliserTest, testing::ValuesIn(Environments()), EnvironmentName);
INSTANTIATE_TEST_SUITE_P(Each, TextsTest, testing::ValuesIn(Environments()), EnvironmentName);

}  // namespace
}  // namespace kw::i18n::test
