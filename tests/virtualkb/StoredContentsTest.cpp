#include "virtualkb/StoredContents.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kw::virtualkb {
namespace {

struct Slot {
    uint8_t type, sub, value;
    bool operator<(const Slot& o) const { return std::tie(type, sub, value) < std::tie(o.type, o.sub, o.value); }
};

std::vector<Slot> Slots(const std::vector<uint8_t>& map, int count) {
    std::vector<Slot> slots;
    for (int s = 0; s < count; ++s) slots.push_back({map[3 * s], map[3 * s + 1], map[3 * s + 2]});
    return slots;
}

TEST(StoredContentsTest, FactoryKeyMapNamesEveryKeyOnceInTheKeyboardsOwnCodes) {
    for (const auto& model : device::kSupportedKeyboards) {
        SCOPED_TRACE(model.keyCount);
        const auto map = FactoryKeyMap(model);
        ASSERT_EQ(map.size(), static_cast<size_t>(model.keyMapBytes));
        std::set<Slot> seen;
        std::map<uint8_t, int> byType;
        int gKeys = 0;
        for (const auto& slot : Slots(map, model.keyCount)) {
            ++byType[slot.type];
            const bool namesAKey = (slot.type >= 1 && slot.type <= 4) || (slot.type == 6 && slot.sub == 0xA2);
            if (!namesAKey) {
                EXPECT_TRUE(slot.type == 0 || (slot.type == 5 && slot.sub == 0 && slot.value == 0)) << int(slot.type);
                continue;
            }
            EXPECT_TRUE(seen.insert(slot).second) << "code " << int(slot.type) << " " << int(slot.sub) << " "
                                                  << int(slot.value) << " twice";
            if (slot.type == 2) {
                EXPECT_TRUE(slot.sub == 1 || slot.sub == 2);
            }
            if (slot.type == 6) {
                EXPECT_EQ(slot.value, ++gKeys) << "G keys in order";
            }
        }
        EXPECT_EQ(gKeys, 9);
        EXPECT_EQ(byType[2], 106) << "104 keys of a full-size board, the two ISO keys";
        EXPECT_GE(byType[3], 7) << "media keys";
        EXPECT_EQ(byType[4], 1) << "a system-control key";
        for (size_t i = 3 * static_cast<size_t>(model.keyCount); i < map.size(); ++i) EXPECT_EQ(map[i], 0);
    }
    const auto small = FactoryKeyMap(device::kSupportedKeyboards[0]);
    const auto large = FactoryKeyMap(device::kSupportedKeyboards[1]);
    EXPECT_TRUE(std::equal(small.begin(), small.end(), large.begin())) << "one matrix, two more slots";
    EXPECT_EQ(large[3 * 126], 0x03) << "the 128-key model's extra keys are used";
}

TEST(StoredContentsTest, FactoryContentsOfAFreshKeyboard) {
    const auto c = FactoryContents(device::kSupportedKeyboards[1]);
    EXPECT_EQ(c.ActiveProfile(), 0);
    EXPECT_EQ(c.MacroCapacity(), 255u * 128u);
    EXPECT_EQ(c.macroArea.size(), c.MacroCapacity());
    EXPECT_EQ(c.macroArea[0], 0xAA);
    EXPECT_EQ(c.macroArea[1], 0x55);
    EXPECT_EQ(c.macroArea[2], 16) << "an empty macro block";
    EXPECT_EQ(c.settings[12], 1);
    EXPECT_EQ(c.settings[12 + 18], 20) << "the user-defined per-key effect is offered";
    EXPECT_EQ(c.settings[43], 0);
    const uint8_t reset[] = {0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    const auto record = c.LightingRecord(0);
    EXPECT_TRUE(std::equal(std::begin(reset), std::end(reset), record.begin()));
    for (int p = 0; p < 3; ++p) {
        const auto map = c.KeyMap(p);
        EXPECT_TRUE(std::equal(map.begin(), map.end(), c.defaultKeyMap.begin())) << "profile " << p;
    }
    EXPECT_FALSE(c.inBoot);
}

TEST(StoredContentsTest, StateImageKeepsEverything) {
    for (const auto& model : device::kSupportedKeyboards) {
        auto c = FactoryContents(model);
        c.settings[10] = 2;
        c.memory[100] = 0x42;
        c.keyMaps.back() = 0x99;
        c.macroArea[c.macroArea.size() - 1] = 0x17;
        c.keyColours[1535] = 0x33;
        c.inBoot = true;
        c.bootPlugGeneration = 77;
        const auto back = DecodeContents(EncodeContents(c));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->model.productId, model.productId);
        EXPECT_EQ(back->settings, c.settings);
        EXPECT_EQ(back->memory, c.memory);
        EXPECT_EQ(back->keyMaps, c.keyMaps);
        EXPECT_EQ(back->defaultKeyMap, c.defaultKeyMap);
        EXPECT_EQ(back->macroArea, c.macroArea);
        EXPECT_EQ(back->keyColours, c.keyColours);
        EXPECT_TRUE(back->inBoot);
        EXPECT_EQ(back->bootPlugGeneration, 77u);
    }
}

TEST(StoredContentsTest, DamagedOrInconsistentImagesAreRefused) {
    const auto factory = FactoryContents(device::kSupportedKeyboards[0]);
    const auto good = EncodeContents(factory);
    auto flipped = good;
    flipped[good.size() / 2] ^= 0x01;
    auto capacityChanged = factory;
    capacityChanged.settings[11] = 3;  // announces 384 bytes, holds 32640
    auto badProfile = factory;
    badProfile.settings[10] = 3;
    auto otherModel = factory;
    otherModel.model.productId = 0x1234;
    auto shortKeyMaps = factory;
    shortKeyMaps.keyMaps.resize(2 * 378);
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"empty", {}},
        {"cut short", std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(good.size() / 2))},
        {"one bit changed", flipped},
        {"another format", std::vector<uint8_t>(40, 'x')},
        {"macro area of another size", EncodeContents(capacityChanged)},
        {"active profile 3", EncodeContents(badProfile)},
        {"unknown model", EncodeContents(otherModel)},
        {"key maps of two profiles", EncodeContents(shortKeyMaps)},
    };
    for (const auto& [name, image] : cases) {
        std::string reason;
        EXPECT_FALSE(DecodeContents(image, &reason).has_value()) << name;
        EXPECT_FALSE(reason.empty()) << name;
    }
}

}  // namespace
}  // namespace kw::virtualkb
