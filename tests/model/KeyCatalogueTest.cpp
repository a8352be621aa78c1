#include "model/KeyCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace kw::model {
namespace {

std::vector<KeyIndex> FilledIndexes() {
    std::vector<KeyIndex> out;
    for (std::size_t i = 0; i < KeyCatalogue.size(); ++i)
        if (!IsEmptyRecord(KeyCatalogue[i])) out.push_back(static_cast<KeyIndex>(i));
    return out;
}

TEST(KeyTable, Has157FilledRecordsAndEmptyOnesAreBlank) {
    EXPECT_EQ(FilledIndexes().size(), 157u);
    for (std::size_t i = 0; i < KeyCatalogue.size(); ++i) {
        const KeyInfo& r = KeyCatalogue[i];
        if (!IsEmptyRecord(r)) continue;
        EXPECT_TRUE(r.label.empty()) << i;
        EXPECT_TRUE(r.nameId.empty()) << i;
        EXPECT_EQ(r.deviceUsage, 0) << i;
    }
    EXPECT_TRUE(IsEmptyRecord(KeyCatalogue[0]));
}

struct SampleRow {
    KeyId id;
    const wchar_t* nameId;
    const wchar_t* label;
    int vk, altVk, usage, keyCode;
};

// Rows copied from the key table as it is documented, spread over every part of it.
const SampleRow kSampleRows[] = {
    {0x001, L"IDS_KEYBOARD_ESC", L"Esc", 0x1B, 0x1B, 0x29, 0x0025},
    {0x00D, L"IDS_KEYBOARD_EQU", L"=", 0xBB, 0xBB, 0x2E, 0x002A},
    {0x01D, L"IDS_KEYBOARD_LCTRL", L"Ctrl", 0xA2, 0xA2, 0xE0, 0x0062},
    {0x029, L"IDS_KEYBOARD_AID1", L"Grave accent", 0xC0, 0xC0, 0x35, 0x0030},
    {0x045, L"IDS_KEYBOARD_PAUSE", L"Pause", 0x13, 0x13, 0x48, 0x0041},
    {0x04C, L"IDS_KEYBOARD_S_5", L"Num 5", 0x65, 0x0C, 0x5D, 0x0059},
    {0x053, L"IDS_KEYBOARD_S_DEL", L"Num .", 0x6E, 0x2E, 0x63, 0x005F},
    {0x054, L"IDS_KEYBOARD_SYSREQ", L"Sys Req", 0x2C, 0x2C, 0x00, 0x8012},
    {0x064, L"", L"F13", 0x7C, 0x7C, 0x00, 0x802D},
    {0x070, L"IDS_KEYBOARD_ROMA", L"ROMA (133)", 0xFF, 0xFF, 0x88, 0x8018},
    {0x07E, L"IDS_KEYBOARD_K107", L"K107", 0xC2, 0xC2, 0x85, 0x8015},
    {0x110, L"MEDIA_PREV_TRACK_4", L"Prev Track", 0xB1, 0xB1, 0xD0, 0x8021},
    {0x11C, L"IDS_KEYBOARD_S_ENTER", L"Num Enter", 0x0D, 0x0D, 0x58, 0x0054},
    {0x136, L"IDS_KEYBOARD_RSHIFT", L"Right Shift", 0xA1, 0xA1, 0xE5, 0x0067},
    {0x145, L"IDS_KEYBOARD_NUM", L"Num Lock", 0x90, 0x90, 0x53, 0x004F},
    {0x146, L"IDS_KEYBOARD_BREAK", L"Break", 0x03, 0x03, 0x48, 0x0042},
    {0x150, L"IDS_KEYBOARD_DOWN", L"\u2193", 0x28, 0x28, 0x51, 0x004A},
    {0x15E, L"IDS_KEYBOARD_POWER", L"Power", 0xFF, 0xFF, 0x81, 0x8001},
    {0x162, L"IDS_KEYBOARD_ROLL_DOWN", L"Roll Down", 0xD2, 0xD2, 0xF5, 0x006F},
    {0x16D, L"MEDIA_PALYER_1", L"Media Player", 0xB5, 0xB5, 0xC2, 0x801E},
    {0x170, L"IDS_KEYBOARD_MOU_DBCLICK", L"Double Click", 0x8A, 0x8A, 0x00, 0x8004},
    {0x173, L"IDS_KEYBOARD_MOU_MIDDLE", L"Middle Button", 0x04, 0x04, 0xF3, 0x006D},
    {0x17C, L"IDS_KEYBOARD_FUNC_EXCEL", L"Excel", 0x9D, 0x9D, 0xD5, 0x800F},
    {0x17E, L"IDS_KEYBOARD_FUNC_CALENDAR", L"Calendar", 0x9F, 0x9F, 0x00, 0x8011},
};

TEST(KeyTable, SampleRowsMatchTheDocumentedTable) {
    for (const SampleRow& row : kSampleRows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.id);
        const KeyInfo& r = KeyRecordOf(row.id);
        EXPECT_EQ(r.nameId, row.nameId);
        EXPECT_EQ(r.label, row.label);
        EXPECT_EQ(r.vk, row.vk);
        EXPECT_EQ(r.altVk, row.altVk);
        EXPECT_EQ(r.deviceUsage, row.usage);
        EXPECT_EQ(r.keyCode, row.keyCode);
    }
}

TEST(KeyTable, AltVkDiffersOnlyForKeypadDigitsAndPoint) {
    const std::set<KeyId> keypad{0x047, 0x048, 0x049, 0x04B, 0x04C, 0x04D, 0x04F, 0x050, 0x051, 0x052, 0x053};
    for (KeyIndex i : FilledIndexes())
        EXPECT_EQ(KeyCatalogue[i].vk != KeyCatalogue[i].altVk, keypad.count(KeyIdOf(i)) == 1) << i;
}

TEST(KeyTable, KeyCodesFormThePickListAndLookupsReturnTheFirstRecord) {
    std::map<std::uint16_t, std::vector<KeyIndex>> byCode;
    for (KeyIndex i : FilledIndexes()) byCode[KeyCatalogue[i].keyCode].push_back(i);
    for (std::uint16_t code = 0; code < kPickListKeys; ++code) EXPECT_EQ(byCode.count(code), 1u) << code;
    for (std::uint16_t code = 0x6B; code <= 0x6F; ++code) EXPECT_EQ(byCode.count(code), 1u) << code;
    for (const auto& [code, indexes] : byCode) {
        EXPECT_TRUE(code < kPickListKeys || (code >= 0x6B && code <= 0x6F) || code >= 0x8000) << code;
        // Only the two Right Shift records share a code.
        if (indexes.size() > 1) {
            EXPECT_EQ(code, 0x0067);
        }
        EXPECT_EQ(KeyIdOfKeyCode(code), KeyIdOf(indexes.front())) << code;
    }
    for (KeyIndex i : FilledIndexes()) EXPECT_EQ(KeyCodeOf(KeyIdOf(i)), KeyCatalogue[i].keyCode);
    EXPECT_EQ(KeyIdOfKeyCode(0x0067), 0x036);
    EXPECT_EQ(KeyIdOfKeyCode(0x006A), 0);
    EXPECT_EQ(KeyIdOfKeyCode(kNoKeyCode), 0);
}

TEST(KeyTable, DeviceUsagesAreUniqueButForTheDocumentedPairs) {
    std::map<std::uint8_t, std::vector<KeyIndex>> byUsage;
    for (KeyIndex i : FilledIndexes()) byUsage[KeyCatalogue[i].deviceUsage].push_back(i);
    for (const auto& [usage, indexes] : byUsage) {
        if (usage == 0) continue;
        if (indexes.size() > 1) {
            EXPECT_TRUE(usage == 0x48 || usage == 0xE5) << int(usage);
        }
    }
    EXPECT_EQ(byUsage[0x48].size(), 2u);  // Pause and Break
    EXPECT_EQ(byUsage[0xE5].size(), 2u);  // both Right Shift records
}

TEST(KeyIndex, IdAndIndexConvertBothWays) {
    for (unsigned id = 1; id < 0x180; ++id) {
        if (id == 0x80) id = 0x100;  // 0x80-0xFF are no make codes
        EXPECT_LT(KeyIndexOf(static_cast<KeyId>(id)), 256);
        EXPECT_EQ(KeyIdOf(KeyIndexOf(static_cast<KeyId>(id))), id);
    }
    for (unsigned id = 0x200; id < 0x200 + kGKeySlots; ++id) EXPECT_EQ(KeyIdOf(KeyIndexOf(static_cast<KeyId>(id))), id);
    for (unsigned index = 0; index < 512; ++index)
        EXPECT_EQ(KeyIndexOf(KeyIdOf(static_cast<KeyIndex>(index))), index);
    EXPECT_EQ(KeyIndexOf(0x145), 197);
    EXPECT_EQ(KeyRecordAt(197).label, L"Num Lock");
    EXPECT_EQ(KeyIndexOf(0x045), 69);
    EXPECT_EQ(KeyIndexOf(0x200), 256);
    EXPECT_EQ(KeyIdOf(197), 0x145);
}

TEST(KeyIndex, IdsWithoutARecordReadAsEmpty) {
    // 0x180-0x1FF and the G keys index past the 256 records.
    for (KeyId id : {KeyId{0x180}, KeyId{0x1FF}, KeyId{0x200}, KeyId{0x211}, KeyId{0xFFFF}}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(IsEmptyRecord(KeyRecordOf(id)));
        EXPECT_EQ(KeyCodeOf(id), kNoKeyCode);
        EXPECT_EQ(DeviceUsageOf(id), (DeviceUsage{0, 0}));
    }
    EXPECT_TRUE(IsEmptyRecord(KeyRecordAt(100000)));
}

TEST(DeviceUsage, ClassesOverTheWholeTable) {
    for (KeyIndex i : FilledIndexes()) {
        const std::uint8_t d = KeyCatalogue[i].deviceUsage;
        const DeviceUsage u = DeviceUsageOf(KeyIdOf(i));
        std::uint16_t page = 7;
        if (d == 0 || d == 0xFF) page = 0;
        else if (d >= 0x81 && d <= 0x83) page = 1;
        else if (d >= 0xF1 && d <= 0xF8) page = 2;
        EXPECT_EQ(u, (DeviceUsage{page, page == 0 ? std::uint16_t{0} : std::uint16_t{d}})) << i;
    }
    EXPECT_EQ(DeviceUsageOf(0x171), (DeviceUsage{2, 0xF1}));
    EXPECT_EQ(DeviceUsageOf(0x15E), (DeviceUsage{1, 0x81}));
    EXPECT_EQ(DeviceUsageOf(0x176), (DeviceUsage{0, 0}));
    EXPECT_EQ(DeviceUsageOf(0x130), (DeviceUsage{7, 0xC0}));
    EXPECT_EQ(DeviceUsageOf(0x036), DeviceUsageOf(0x136));
    EXPECT_EQ(DeviceUsageOf(0x136), (DeviceUsage{7, 0xE5}));
}

// The first record in index order with the device usage, searched independently of the code.
KeyId FirstWithUsage(std::uint8_t usage) {
    for (std::size_t i = 0; i < KeyCatalogue.size(); ++i)
        if (KeyCatalogue[i].deviceUsage == usage) return KeyIdOf(static_cast<KeyIndex>(i));
    return 0;
}

TEST(KeyIdOfUsage, KeyboardPageFindsTheFirstRecordWithTheUsage) {
    for (unsigned u = 0; u < 0x200; ++u)
        EXPECT_EQ(KeyIdOfUsage(7, static_cast<std::uint16_t>(u)), FirstWithUsage(static_cast<std::uint8_t>(u & 0xFF))) << u;
    EXPECT_EQ(KeyIdOfUsage(7, 0x29), 0x001);
    EXPECT_EQ(KeyIdOfUsage(7, 0x00), 0);  // the empty record 0 comes first
    EXPECT_EQ(KeyIdOfUsage(7, 0x48), 0x045);  // Pause, not Break
    EXPECT_EQ(KeyIdOfUsage(7, 0xE5), 0x036);
}

TEST(KeyIdOfUsage, OtherPages) {
    EXPECT_EQ(KeyIdOfUsage(1, 0x81), 0x15E);
    EXPECT_EQ(KeyIdOfUsage(1, 0x82), 0x15F);
    EXPECT_EQ(KeyIdOfUsage(1, 0x83), 0x163);
    EXPECT_EQ(KeyIdOfUsage(1, 0x84), 0);
    EXPECT_EQ(KeyIdOfUsage(1, 0x29), 0);
    EXPECT_EQ(KeyIdOfUsage(2, 0xF1), 0);
    EXPECT_EQ(KeyIdOfUsage(3, 0x29), 0);
    EXPECT_EQ(KeyIdOfUsage(12, 0x00E9), 0x130);
    EXPECT_EQ(KeyIdOfUsage(12, 0x1234), 0);
    // The unused tail of the consumer table is zero; usage 0 must not become media code 0xD2 (Zoom-).
    EXPECT_EQ(KeyIdOfUsage(12, 0), 0);
}

TEST(ConsumerUsageTable, MediaKeysFollowItsOrder) {
    std::set<std::uint16_t> seen;
    for (std::size_t n = 0; n < ConsumerUsageTable.size(); ++n) {
        if (n < 18) {
            EXPECT_NE(ConsumerUsageTable[n], 0) << n;
            EXPECT_TRUE(seen.insert(ConsumerUsageTable[n]).second) << n;
            const KeyId key = FirstWithUsage(static_cast<std::uint8_t>(0xC0 + n));
            EXPECT_NE(key, 0) << n;
            EXPECT_EQ(KeyIdOfUsage(12, ConsumerUsageTable[n]), key) << n;
        } else {
            EXPECT_EQ(ConsumerUsageTable[n], 0) << n;
        }
    }
    EXPECT_EQ(FirstWithUsage(0xC0), 0x130);  // V+
    EXPECT_EQ(FirstWithUsage(0xD1), 0x119);  // Next Track
    EXPECT_EQ(ConsumerUsageTable[6], 0x0221);
    EXPECT_EQ(ConsumerUsageTable[13], 0x00E2);
}

TEST(MediaUsageTable, EveryPositionNamesItsCatalogueKey) {
    std::set<std::uint16_t> usages;
    std::set<KeyId> keys;
    for (std::size_t n = 0; n < MediaUsageTable.size(); ++n) {
        const MediaUsage& m = MediaUsageTable[n];
        SCOPED_TRACE(n);
        EXPECT_TRUE(usages.insert(m.usage).second);
        EXPECT_TRUE(keys.insert(m.key).second);
        EXPECT_EQ(KeyRecordOf(m.key).nameId, m.nameId);
        // The key's own media code carries the same consumer usage.
        EXPECT_EQ(KeyIdOfUsage(12, m.usage), m.key);
    }
    EXPECT_EQ(MediaUsageTable[0].usage, 0x0183);
    EXPECT_EQ(MediaUsageTable[6].usage, 0x00E9);
    EXPECT_EQ(MediaUsageTable[6].key, 0x130);
    EXPECT_EQ(MediaUsageTable[17].nameId, L"MEDIA_MAIL_18");
}

std::set<unsigned> Range(unsigned first, unsigned last) {
    std::set<unsigned> out;
    for (unsigned v = first; v <= last; ++v) out.insert(v);
    return out;
}

std::set<unsigned> Join(std::initializer_list<std::set<unsigned>> parts) {
    std::set<unsigned> out;
    for (const auto& p : parts) out.insert(p.begin(), p.end());
    return out;
}

TEST(VirtualKeyTable, GroupsAreTheDocumentedOnes) {
    const std::set<unsigned> unsupported =
        Join({{0x01, 0x02, 0x04, 0x05, 0x06, 0x0C, 0x15}, Range(0x17, 0x19), Range(0x1C, 0x1F), Range(0x29, 0x2B),
              {0x2F, 0x6C}, Range(0x7D, 0x87), Range(0x92, 0x96), {0xDF, 0xE1}, Range(0xE3, 0xE7), {0xEA},
              Range(0xEC, 0xFE)});
    const std::set<unsigned> zero = Join({{0x07, 0x0A, 0x0B, 0x0E, 0x0F, 0x16, 0x1A}, Range(0x3A, 0x40), {0x5E},
                                          Range(0x8D, 0x8F), {0xB8, 0xB9}, Range(0xC3, 0xD0), Range(0xD3, 0xDA),
                                          {0xE0, 0xE8}});
    const std::set<unsigned> privateCodes = Join({Range(0x88, 0x8C), Range(0x97, 0x9F)});
    const std::map<unsigned, unsigned> privateIndexes{{0x8B, 210}, {0x8C, 211}, {0x9C, 212}, {0x9D, 213}};
    EXPECT_EQ(unsupported.size(), 62u);
    EXPECT_EQ(zero.size(), 44u);
    EXPECT_EQ(privateCodes.size(), 14u);
    int supported = 0;
    for (unsigned vk = 0; vk < 256; ++vk) {
        SCOPED_TRACE(vk);
        const VirtualKeyEntry& e = VirtualKeyTable[vk];
        if (unsupported.count(vk)) {
            EXPECT_EQ(e.flag, kVkUnsupported);
            EXPECT_EQ(e.index, 0);
        } else if (zero.count(vk)) {
            EXPECT_EQ(e.flag, 0);
            EXPECT_EQ(e.spare, 0);
            EXPECT_EQ(e.index, 0);
        } else if (privateCodes.count(vk)) {
            EXPECT_EQ(e.flag, 0);
            EXPECT_TRUE(e.spare != 0 || e.index != 0);
            EXPECT_EQ(e.index, privateIndexes.count(vk) ? privateIndexes.at(vk) : 0u);
        } else {
            ++supported;
            EXPECT_EQ(e.flag, kVkSupported);
        }
    }
    EXPECT_EQ(supported, 136);
}

TEST(VirtualKeyTable, SupportedCodesLeadToARecordWithThatVk) {
    const std::map<unsigned, KeyId> generic{{0x00, 0}, {0xFF, 0}, {0x10, 0x02A}, {0x11, 0x01D}, {0x12, 0x038}};
    for (unsigned vk = 0; vk < 256; ++vk) {
        const VirtualKeyEntry& e = VirtualKeyTable[vk];
        if (e.flag != kVkSupported) continue;
        SCOPED_TRACE(vk);
        if (generic.count(vk)) {
            EXPECT_EQ(KeyIdFromVk(vk), generic.at(vk));
            continue;
        }
        EXPECT_EQ(KeyRecordAt(e.index).vk, vk);
    }
    // Every VK that a record carries and that is not unsupported or private leads back to a record.
    for (KeyIndex i : FilledIndexes()) {
        const unsigned vk = KeyCatalogue[i].vk;
        if (vk == 0xFF || VirtualKeyTable[vk].flag != kVkSupported) continue;
        EXPECT_EQ(KeyRecordAt(VirtualKeyTable[vk].index).vk, vk) << i;
    }
    // Codes that two records share lead to the key on the main window.
    EXPECT_EQ(KeyIdFromVk(0x0D), 0x01C);
    EXPECT_EQ(KeyIdFromVk(0x2C), 0x137);
    EXPECT_EQ(KeyIdFromVk(0xA1), 0x036);
}

TEST(VirtualKeyTable, KeyIdFromVkGivesTheCatalogueKeyOrNothing) {
    for (unsigned vk = 0; vk < 256; ++vk) {
        const VirtualKeyEntry& e = VirtualKeyTable[vk];
        EXPECT_EQ(KeyIdFromVk(vk), e.flag == kVkSupported ? KeyIdOf(e.index) : 0) << vk;
    }
    EXPECT_EQ(KeyIdFromVk(0x41), 0x01E);
    EXPECT_EQ(KeyIdFromVk(0x01), 0);  // unsupported
    // A private code's index byte is no key index: Zoom-'s 210 would otherwise read as Insert.
    for (unsigned vk : {0x8Bu, 0x8Cu, 0x9Cu, 0x9Du}) EXPECT_EQ(KeyIdFromVk(vk), 0) << vk;
    EXPECT_EQ(KeyIdFromVk(256), 0);
    EXPECT_EQ(KeyIdFromVk(0xFFFFFFFFu), 0);
}

TEST(MainKeyButtonTable, ButtonsAreInLedOrderWithDistinctKeys) {
    std::set<int> buttons;
    std::set<KeyId> keys;
    int lastLed = -1;
    for (const KeyButton& b : MainKeyButtonTable) {
        SCOPED_TRACE(b.buttonId);
        EXPECT_TRUE(buttons.insert(b.buttonId).second);
        EXPECT_TRUE(keys.insert(b.key).second);
        EXPECT_GT(b.led, lastLed);
        EXPECT_LE(b.led, 124);
        EXPECT_NE(b.led, kFnButton.led);
        lastLed = b.led;
        EXPECT_FALSE(IsEmptyRecord(KeyRecordOf(b.key)));
        EXPECT_EQ(LedOfButton(b.buttonId), b.led);
    }
    for (const KeyButton& b : GKeyButtonTable) {
        EXPECT_TRUE(buttons.insert(b.buttonId).second);
        EXPECT_EQ(LedOfButton(b.buttonId), 125);
    }
    EXPECT_EQ(GKeyButtonTable[5].buttonId, 1140);
    EXPECT_EQ(GKeyButtonTable[8].key, 0x208);
    EXPECT_EQ(LedOfButton(1174), 110);
    EXPECT_EQ(LedOfButton(1016), 0);
    EXPECT_EQ(LedOfButton(0), 0);
}

TEST(MainKeyButtonTable, SampleRowsMatchTheDocumentedTable) {
    const KeyButton rows[] = {{1022, 0x001, 0},  {1093, 0x045, 16},  {1029, 0x029, 21},  {1104, 0x145, 38},
                              {1042, 0x02B, 55}, {1070, 0x01C, 76},  {1199, 0x056, 85},  {1200, 0x073, 96},
                              {1118, 0x11C, 104}, {1086, 0x138, 109}, {1087, 0x15C, 116}, {1119, 0x053, 124}};
    for (const KeyButton& row : rows) {
        const auto it = std::find_if(MainKeyButtonTable.begin(), MainKeyButtonTable.end(),
                                     [&](const KeyButton& b) { return b.buttonId == row.buttonId; });
        ASSERT_NE(it, MainKeyButtonTable.end()) << row.buttonId;
        EXPECT_EQ(it->key, row.key) << row.buttonId;
        EXPECT_EQ(it->led, row.led) << row.buttonId;
    }
    EXPECT_EQ(MainKeyButtonTable.front().buttonId, 1022);
    EXPECT_EQ(MainKeyButtonTable.back().buttonId, 1119);
}

TEST(Modifiers, LowestSetBitWinsAndTheInverseCoversExactlyEightKeys) {
    const KeyId byBit[8] = {0x01D, 0x02A, 0x038, 0x15B, 0x11D, 0x036, 0x138, 0x15C};
    EXPECT_EQ(KeyIdOfModifierBits(0), 0);
    for (unsigned mask = 1; mask < 256; ++mask) {
        int low = 0;
        while (!(mask & (1u << low))) ++low;
        EXPECT_EQ(KeyIdOfModifierBits(static_cast<std::uint8_t>(mask)), byBit[low]) << mask;
    }
    EXPECT_EQ(KeyIdOfModifierBits(0x06), 0x02A);
    int modifiers = 0;
    for (unsigned id = 0; id < 0x10000; ++id) {
        const std::uint8_t bit = ModifierBitOf(static_cast<KeyId>(id));
        if (bit == 0) continue;
        ++modifiers;
        EXPECT_EQ(KeyIdOfModifierBits(bit), id);
    }
    EXPECT_EQ(modifiers, 8);
}

TEST(ScanCodes, EveryCatalogueKeyGoesToItsScanCodeAndBack) {
    for (KeyIndex i : FilledIndexes()) {
        const KeyId id = KeyIdOf(i);
        EXPECT_EQ(KeyIdOfScan(ScanCodeOf(id), ScanPrefixFlags(id, 0)), id) << std::hex << id;
    }
    EXPECT_EQ(ScanCodeOf(0x145), 0x45);
    EXPECT_EQ(ScanPrefixFlags(0x145, 0x10), 0x10u);
    EXPECT_EQ(ScanCodeOf(0x045), 0x1D);
    EXPECT_EQ(ScanPrefixFlags(0x045, 1), 5u);
    EXPECT_EQ(ScanPrefixFlags(0x11D, 1), 3u);
    EXPECT_EQ(ScanPrefixFlags(0x01D, 1), 1u);
    EXPECT_EQ(KeyIdOfScan(0x45, 0), 0x145);
    EXPECT_EQ(KeyIdOfScan(0x1D, 4), 0x045);
    EXPECT_EQ(KeyIdOfScan(0x1D, 6), 0x11D);  // E0 wins over E1
}

TEST(Messages, MouseMessagesAndButtonUps) {
    struct Case {
        unsigned message;
        KeyId key;
        bool up;
    };
    const Case cases[] = {{0x0201, 0x171, false}, {0x0202, 0x171, true},  {0x0204, 0x172, false},
                          {0x0205, 0x172, true},  {0x0207, 0x173, false}, {0x0208, 0x173, true},
                          {0x0200, 0, false},     {0x0203, 0, false},     {0x020A, 0, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(KeyIdFromMouseMessage(c.message), c.key) << c.message;
        EXPECT_EQ(IsButtonUpMessage(c.message), c.up) << c.message;
    }
}

std::intptr_t KeyLParam(unsigned scanWithExtendedBit) { return static_cast<std::intptr_t>((scanWithExtendedBit << 16) | 1); }

TEST(Messages, KeyMessages) {
    struct Case {
        unsigned vk;
        std::intptr_t lParam;
        KeyId expected;
    };
    const Case cases[] = {
        {0xA0, KeyLParam(0x036), 0x036},  // Right Shift whatever the VK
        {0x10, KeyLParam(0x036), 0x036},
        {0xFF, KeyLParam(0x070), 0x070},  // no VK: the scan code decides
        {0x41, 1, 0x01E},                 // no scan code: the VK decides
        {0x41, KeyLParam(0x01E), 0x01E},
        {0x0D, KeyLParam(0x11C), 0x11C},  // Num Enter by the record's VK
        {0x24, KeyLParam(0x047), 0x047},  // Num 7 with Num Lock off, by the alt VK
        {0x11, KeyLParam(0x01D), 0x01D},  // generic Ctrl: the VK's index is the scan code
        {0x41, KeyLParam(0x010), 0x01E},  // VK and scan code disagree: the VK wins
        {0x41, KeyLParam(0x1A0), 0x01E},  // an id from 0x180 up has no record
        {0x00, KeyLParam(0x1FF), 0x000},
        {0x8B, KeyLParam(0x0D2), 0x000},  // a private code's index byte matches no scan code
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyIdFromKeyMessage(c.vk, c.lParam), c.expected) << c.vk << " " << (c.lParam >> 16);
}

TEST(Messages, EveryCatalogueKeyIsFoundFromItsOwnMessage) {
    for (KeyIndex i : FilledIndexes()) {
        const KeyId id = KeyIdOf(i);
        const KeyInfo& r = KeyCatalogue[i];
        EXPECT_EQ(KeyIdFromKeyMessage(r.vk, KeyLParam(id)), id) << std::hex << id;
        EXPECT_EQ(KeyIdFromKeyMessage(r.altVk, KeyLParam(id)), id) << std::hex << id;
    }
}

TEST(Keys, SingleEventKeys) {
    for (unsigned id = 0; id < 0x300; ++id) {
        const bool single = id == 0x054 || id == 0x071 || id == 0x072 || id == 0x137;
        EXPECT_EQ(IsSingleEventKey(static_cast<KeyId>(id)), single) << id;
    }
}

}  // namespace
}  // namespace kw::model
