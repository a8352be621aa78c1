#include "model/MacroRecord.h"
#include "model/MacroRecordImage.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kw::model {
namespace {

using Image = std::vector<uint8_t>;

uint16_t Le16(const Image& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t Le32(const Image& b, size_t at) { return Le16(b, at) | (static_cast<uint32_t>(Le16(b, at + 2)) << 16); }

Image ImageOf(const MacroRecord& r) {
    Image image(kMacroRecordSize, 0xCC);
    WriteMacroRecordImage(r, std::span<uint8_t, kMacroRecordSize>(image.data(), kMacroRecordSize));
    return image;
}

std::unique_ptr<MacroRecord> Read(const Image& image, MacroRecordRepairs* repairs = nullptr) {
    auto r = std::make_unique<MacroRecord>();
    const MacroRecordRepairs got =
        ReadMacroRecordImage(std::span<const uint8_t, kMacroRecordSize>(image.data(), kMacroRecordSize), *r);
    if (repairs != nullptr) *repairs = got;
    return r;
}

std::unique_ptr<MacroRecord> Sample() {
    auto r = std::make_unique<MacroRecord>();
    SetMacroName(*r, u"Jump\u00E9");
    r->cycleCount = 200;
    r->newFlag = 1;
    r->id = 0x0102;
    r->actionCount = 3;
    r->actions[0] = {0x9F0A, 0x015B, kMacroPress};
    r->actions[1] = {40000, 0x0162, kMacroRelease};
    r->actions[2] = {0, 0x01E, kMacroPress};
    r->actions[3999] = {0x01020304, 0x0171, kMacroRelease};  // past the count: carried all the same
    return r;
}

TEST(MacroRecordImageTest, FieldsSitAtTheirOffsetsLittleEndian) {
    const auto r = Sample();
    const Image image = ImageOf(*r);
    const std::u16string name = u"Jump\u00E9";
    for (size_t i = 0; i < name.size(); ++i) EXPECT_EQ(Le16(image, 2 * i), name[i]) << i;
    for (size_t i = name.size(); i < kMacroNameUnits; ++i) ASSERT_EQ(Le16(image, 2 * i), 0) << i;
    EXPECT_EQ(image[500], 200);
    EXPECT_EQ(Le16(image, 502), 1);
    EXPECT_EQ(Le16(image, 506), 0x0102);
    EXPECT_EQ(Le16(image, 508), 3);
    EXPECT_EQ(Le32(image, 512), 0x9F0Au);
    EXPECT_EQ(Le16(image, 516), 0x015B);
    EXPECT_EQ(Le16(image, 518), kMacroPress);
    EXPECT_EQ(Le32(image, 520), 40000u);
    EXPECT_EQ(Le16(image, 526), kMacroRelease);
    EXPECT_EQ(Le32(image, 512 + 8 * 3999), 0x01020304u);
    EXPECT_EQ(Le16(image, 512 + 8 * 3999 + 4), 0x0171);
}

TEST(MacroRecordImageTest, ImageReadsBackToTheSameBytes) {
    const auto r = Sample();
    const Image image = ImageOf(*r);
    MacroRecordRepairs repairs;
    const auto back = Read(image, &repairs);
    EXPECT_FALSE(repairs.Any());
    EXPECT_EQ(std::memcmp(back.get(), r.get(), sizeof(MacroRecord)), 0);
    // The record in memory is the stored image itself, so a record may be moved as one block.
    if constexpr (std::endian::native == std::endian::little) {
        EXPECT_EQ(std::memcmp(image.data(), r.get(), sizeof(MacroRecord)), 0);
    }
}

struct RepairCase {
    const char* what;
    std::function<void(Image&)> damage;
    bool actionCountCut;
    bool nameCut;
    uint32_t delaysClamped;
    std::function<void(const MacroRecord&)> check;
};

void Put16(Image& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Image& b, size_t at, uint32_t v) {
    Put16(b, at, static_cast<uint16_t>(v));
    Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}
void FillName(Image& b, char16_t c) {
    for (size_t i = 0; i < kMacroNameUnits; ++i) Put16(b, 2 * i, c);
}

TEST(MacroRecordImageTest, ValuesFromAFileAreMadeSafeAndReported) {
    const RepairCase cases[] = {
        {"a sound record", [](Image&) {}, false, false, 0, [](const MacroRecord& r) { EXPECT_EQ(r.actionCount, 3); }},
        // With the count raised, the long delay of the last slot becomes part of the macro.
        {"4001 actions", [](Image& b) { Put16(b, 508, 4001); }, true, false, 1,
         [](const MacroRecord& r) { EXPECT_EQ(r.actionCount, 4000); }},
        {"65535 actions", [](Image& b) { Put16(b, 508, 0xFFFF); }, true, false, 1,
         [](const MacroRecord& r) { EXPECT_EQ(MacroActionCount(r), 4000); }},
        {"exactly 4000 actions", [](Image& b) { Put16(b, 508, 4000); }, false, false, 1,
         [](const MacroRecord& r) { EXPECT_EQ(r.actionCount, 4000); }},
        {"a name without its terminator", [](Image& b) { FillName(b, u'x'); }, false, true, 0,
         [](const MacroRecord& r) {
             EXPECT_EQ(MacroName(r), std::u16string(249, u'x'));
             EXPECT_EQ(r.name[249], u'\0');
         }},
        {"a name of 249 units is whole",
         [](Image& b) {
             FillName(b, u'y');
             Put16(b, 2 * 249, 0);
         },
         false, false, 0, [](const MacroRecord& r) { EXPECT_EQ(MacroNameLength(r), 249u); }},
        {"a cut that would split a surrogate pair",
         [](Image& b) {
             FillName(b, u'z');
             Put16(b, 2 * 248, 0xD83D);
             Put16(b, 2 * 249, 0xDE00);
         },
         false, true, 0, [](const MacroRecord& r) { EXPECT_EQ(MacroName(r), std::u16string(248, u'z')); }},
        {"a delay too long for the keyboard", [](Image& b) { Put32(b, 512 + 8, 40960); }, false, false, 1,
         [](const MacroRecord& r) { EXPECT_EQ(r.actions[1].delay, kMaxEncodableDelayMs); }},
        {"the longest delay the keyboard holds", [](Image& b) { Put32(b, 512 + 8, 40959); }, false, false, 0,
         [](const MacroRecord& r) { EXPECT_EQ(r.actions[1].delay, 40959u); }},
        {"delays past the action count are not looked at", [](Image& b) { Put32(b, 512 + 8 * 3, 0xFFFFFFFF); },
         false, false, 0, [](const MacroRecord& r) { EXPECT_EQ(r.actions[3].delay, 0xFFFFFFFFu); }},
    };
    const Image sound = ImageOf(*Sample());
    for (const RepairCase& c : cases) {
        Image image = sound;
        c.damage(image);
        MacroRecordRepairs repairs;
        const auto r = Read(image, &repairs);
        EXPECT_EQ(repairs.actionCountCut, c.actionCountCut) << c.what;
        EXPECT_EQ(repairs.nameCut, c.nameCut) << c.what;
        EXPECT_EQ(repairs.delaysClamped, c.delaysClamped) << c.what;
        c.check(*r);
    }
}

TEST(MacroRecordNameTest, LongNamesAreCutWithoutSplittingACharacter) {
    struct Case {
        std::u16string in;
        std::u16string stored;
        bool cut;
    };
    const std::u16string pair = u"\U0001F600";
    const Case cases[] = {
        {u"", u"", false},
        {u"Macro", u"Macro", false},
        {std::u16string(249, u'a'), std::u16string(249, u'a'), false},
        {std::u16string(250, u'a'), std::u16string(249, u'a'), true},
        {std::u16string(1000, u'a'), std::u16string(249, u'a'), true},
        {std::u16string(248, u'a') + pair, std::u16string(248, u'a'), true},
        {std::u16string(247, u'a') + pair, std::u16string(247, u'a') + pair, false},
        {std::u16string(u"ab\0cd", 5), u"ab", false},
    };
    auto r = std::make_unique<MacroRecord>();
    r->name.fill(u'q');  // earlier content must not show through
    for (const Case& c : cases) {
        EXPECT_EQ(SetMacroName(*r, c.in), c.cut) << c.in.size();
        EXPECT_EQ(MacroName(*r), c.stored) << c.in.size();
        EXPECT_EQ(r->name[c.stored.size()], u'\0');
        EXPECT_EQ(r->name[kMacroNameUnits - 1], u'\0');
    }
}

TEST(MacroRecordNameTest, NumberedNamesKeepTheirNumber) {
    EXPECT_EQ(NumberedMacroName(u"Macro", 7), u"Macro7");
    EXPECT_EQ(NumberedMacroName(u"", 100), u"100");
    const std::u16string longPrefix(249, u'p');
    EXPECT_EQ(NumberedMacroName(longPrefix, 1), std::u16string(248, u'p') + u"1");
    EXPECT_EQ(NumberedMacroName(longPrefix, 100), std::u16string(246, u'p') + u"100");
    const std::u16string pairAtCut = std::u16string(246, u'p') + u"\U0001F600";
    EXPECT_EQ(NumberedMacroName(pairAtCut, 12), std::u16string(246, u'p') + u"12");
    auto r = std::make_unique<MacroRecord>();
    EXPECT_FALSE(SetMacroName(*r, NumberedMacroName(longPrefix, 100)));
}

}  // namespace
}  // namespace kw::model
