#include "model/MacroRecordDelay.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <utility>

namespace kw::model {
namespace {

class FakeSettings : public MacroSettingStore {
public:
    std::wstring GetProfileString(const std::wstring& section, const std::wstring& entry,
                                  const std::wstring& defaultValue) const override {
        const auto it = values.find({section, entry});
        return it == values.end() ? defaultValue : it->second;
    }
    bool WriteProfileString(const std::wstring& section, const std::wstring& entry,
                            const std::wstring& value) override {
        values[{section, entry}] = value;
        return true;
    }
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> values;
};

TEST(RecordDelaySettingTest, ReadsTheStoredNumberAsTheRuntimeWould) {
    struct Case {
        const wchar_t* stored;  // null: nothing stored
        int value;
    };
    const Case cases[] = {
        {nullptr, 0}, {L"0", 0}, {L"1", 1}, {L"5", 5}, {L"  12abc", 12}, {L"abc", 0}, {L"", 0},
        {L"-3", -3}, {L"+1", 1}, {L"99999999999999999999", INT_MAX}, {L"-99999999999999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        FakeSettings settings;
        if (c.stored != nullptr) settings.values[{L"PROFILES", L"Record delay"}] = c.stored;
        settings.values[{L"OTHER", L"Record delay"}] = L"1";
        EXPECT_EQ(ReadRecordDelaySetting(settings, L"Record delay"), c.value) << (c.stored ? c.stored : L"(none)");
    }
}

TEST(RecordDelaySettingTest, WritesOnlyZeroOrOne) {
    struct Case {
        int value;
        int stored;
    };
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{5, 0}, Case{-1, 0}, Case{INT_MIN, 0}}) {
        FakeSettings settings;
        EXPECT_EQ(WriteRecordDelaySetting(settings, L"Record delay", c.value), c.stored) << c.value;
        EXPECT_EQ((settings.values[{L"PROFILES", L"Record delay"}]), std::to_wstring(c.stored)) << c.value;
    }

    // A stray "5" reads as 5 and goes back as 0 when the dialog opens.
    FakeSettings settings;
    settings.values[{L"PROFILES", L"Record delay"}] = L"5";
    const int read = ReadRecordDelaySetting(settings, L"Record delay");
    EXPECT_EQ(read, 5);
    EXPECT_EQ(WriteRecordDelaySetting(settings, L"Record delay", read), 0);
    EXPECT_EQ(ReadRecordDelaySetting(settings, L"Record delay"), 0);
}

TEST(RecordDelaySettingTest, TheLanguageNamedValueReadsBackWhatWasWritten) {
    FakeSettings settings;
    EXPECT_EQ(ReadRecordDelaySetting(settings), 0);
    EXPECT_EQ(WriteRecordDelaySetting(settings, 1), 1);
    EXPECT_EQ(ReadRecordDelaySetting(settings), 1);
    ASSERT_EQ(settings.values.size(), 1u);
    EXPECT_EQ(settings.values.begin()->first.first, L"PROFILES");
}

}  // namespace
}  // namespace kw::model
