#include "model/KeyMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "model/AssignmentStore.h"

namespace kw::model {
namespace {

constexpr KeyMapGeometry k126{126, 378};
constexpr KeyMapGeometry k128{128, 512};

SlotCode FactoryCodeOf(KeyId key) {
    if (const std::uint8_t bit = ModifierBitOf(key)) return {0x02, 0x01, bit};
    return {0x02, 0x02, static_cast<std::uint8_t>(DeviceUsageOf(key).usage)};
}

// A factory map like the keyboard's: the 106 keys of the main window, G1-G9, two media keys, Power
// and the wheel, then slots that belong to no key. Bytes past the last slot carry a pattern.
std::vector<std::uint8_t> UsualFactoryMap(const KeyMapGeometry& g) {
    std::vector<SlotCode> slots;
    for (const KeyButton& b : MainKeyButtonTable) slots.push_back(FactoryCodeOf(b.key));
    for (std::uint8_t n = 1; n <= 9; ++n) slots.push_back({0x06, 0xA2, n});
    slots.push_back({0x03, 0xE9, 0x00});  // volume up
    slots.push_back({0x03, 0xEA, 0x00});  // volume down
    slots.push_back({0x04, 0x81, 0x00});  // Power
    slots.push_back({0x01, 0x05, 0x01});  // wheel up
    slots.push_back({0x00, 0x00, 0x00});
    while (slots.size() < static_cast<std::size_t>(g.slotCount)) slots.push_back({0x05, 0x00, 0x00});
    std::vector<std::uint8_t> map(kKeyMapCapacity);
    for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<std::uint8_t>(0xA5 ^ i);
    for (std::size_t s = 0; s < static_cast<std::size_t>(g.slotCount); ++s) {
        map[3 * s] = slots[s].type;
        map[3 * s + 1] = slots[s].sub;
        map[3 * s + 2] = slots[s].value;
    }
    return map;
}

// The same keys with the slots in the opposite order, and Left Shift given by its usage rather
// than its modifier bit.
std::vector<std::uint8_t> ReversedFactoryMap(const KeyMapGeometry& g) {
    std::vector<std::uint8_t> usual = UsualFactoryMap(g);
    std::vector<std::uint8_t> map = usual;
    const int last = g.slotCount - 1;
    for (int s = 0; s <= last; ++s) std::copy_n(usual.begin() + 3 * (last - s), 3, map.begin() + 3 * s);
    for (int s = 0; s <= last; ++s)
        if (map[3 * s] == 0x02 && map[3 * s + 1] == 0x01 && map[3 * s + 2] == 0x02) {
            map[3 * s + 1] = 0x02;
            map[3 * s + 2] = 0xE1;
        }
    return map;
}

int SlotOfKey(const std::vector<std::uint8_t>& map, const KeyMapGeometry& g, KeyId key) {
    for (int s = 0; s < g.slotCount; ++s)
        if (KeyIdOfSlot({map[3 * s], map[3 * s + 1], map[3 * s + 2]}) == key) return s;
    return -1;
}

SlotCode SlotOf(std::span<const std::uint8_t> map, int s) { return {map[3 * s], map[3 * s + 1], map[3 * s + 2]}; }

// Macro ids in set order, as FindMacroPosition sees them.
MacroPositionLookup PositionsOf(std::vector<std::uint32_t> ids) {
    return [ids = std::move(ids)](std::uint32_t id) -> std::size_t {
        const auto it = std::find(ids.begin(), ids.end(), id);
        return it == ids.end() ? 0 : static_cast<std::size_t>(it - ids.begin());
    };
}
const MacroPositionLookup kMacros = PositionsOf({5, 9, 7});

ProfileBlock ResetBlock() {
    ProfileBlock block;
    ResetProfileBlock(block);
    return block;
}

KeyAssignment Record(AssignmentKind kind, std::uint32_t value) { return {static_cast<std::uint16_t>(kind), 0, value, 0, 0}; }

// Sets kind and value, keeping the record's tag.
void Assign(ProfileBlock& block, KeyId key, AssignmentKind kind, std::uint32_t value) {
    block[KeyIndexOf(key)].kind = static_cast<std::uint16_t>(kind);
    block[KeyIndexOf(key)].value = value;
}

TEST(KeyIdOfSlot, EveryKindOfCode) {
    const struct {
        SlotCode code;
        KeyId key;
    } cases[] = {
        {{0x01, 0x01, 0x01}, 0x171}, {{0x01, 0x01, 0x02}, 0x172}, {{0x01, 0x01, 0x04}, 0x173},
        {{0x01, 0x01, 0x03}, 0},     {{0x01, 0x05, 0x01}, 0x161}, {{0x01, 0x05, 0xFF}, 0x162},
        {{0x01, 0x05, 0x02}, 0},     {{0x01, 0x02, 0x01}, 0},     {{0x02, 0x02, 0x29}, 0x001},
        {{0x02, 0x02, 0x48}, 0x045}, {{0x02, 0x02, 0x00}, 0},     {{0x02, 0x01, 0x02}, 0x02A},
        {{0x02, 0x01, 0x06}, 0x02A}, {{0x02, 0x07, 0x80}, 0x15C}, {{0x02, 0x01, 0x00}, 0},
        {{0x03, 0xE9, 0x00}, 0x130}, {{0x03, 0x83, 0x01}, 0x16D}, {{0x03, 0xE9, 0x01}, 0},
        {{0x03, 0x00, 0x00}, 0},     {{0x04, 0x81, 0x00}, 0x15E}, {{0x04, 0x83, 0x00}, 0x163},
        {{0x04, 0x84, 0x00}, 0},     {{0x06, 0xA2, 0x01}, 0x200}, {{0x06, 0xA2, 0x09}, 0x208},
        {{0x06, 0xA2, 0x12}, 0x211}, {{0x06, 0xA1, 0x01}, 0},     {{0x05, 0x00, 0x00}, 0},
        {{0x00, 0x00, 0x00}, 0},     {{0x07, 0x02, 0x29}, 0},     {{0xFF, 0xFF, 0xFF}, 0},
        // G0 and G19 up have no record: as keys they would address the blocks' unused indexes.
        {{0x06, 0xA2, 0x00}, 0},     {{0x06, 0xA2, 0x13}, 0},     {{0x06, 0xA2, 0xFF}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyIdOfSlot(c.code), c.key) << int(c.code.type) << " " << int(c.code.sub) << " " << int(c.code.value);
}

TEST(EncodeKeySlot, WorkedExamples) {
    const SlotCode capsLock{0x02, 0x02, 0x39};
    const SlotCode g3{0x06, 0xA2, 0x03};
    const struct {
        KeyAssignment record;
        SlotCode factory;
        SlotCode expected;
    } cases[] = {
        {Record(AssignmentKind::Key, 0x01D), capsLock, {0x02, 0x01, 0x01}},
        {Record(AssignmentKind::Key, 0x01E), capsLock, {0x02, 0x02, 0x04}},
        {Record(AssignmentKind::Key, 0x172), capsLock, {0x01, 0x01, 0x02}},
        {Record(AssignmentKind::Key, 0x162), capsLock, {0x01, 0x05, 0xFF}},
        {Record(AssignmentKind::Key, 0x15E), capsLock, {0x02, 0x02, 0x00}},  // Power is no keyboard usage
        {Record(AssignmentKind::Key, 0x176), capsLock, {0x02, 0x02, 0x00}},  // Copy has no device usage
        {Record(AssignmentKind::Key, 0x1001E), capsLock, {0x02, 0x02, 0x00}},  // no such key id
        {Record(AssignmentKind::Multimedia, 6), capsLock, {0x03, 0xE9, 0x00}},
        {Record(AssignmentKind::Multimedia, 0), capsLock, {0x03, 0x83, 0x01}},
        {Record(AssignmentKind::Disabled, 0), capsLock, {0x00, 0x00, 0x00}},
        {Record(AssignmentKind::TextBlock, 40), capsLock, {0x00, 0x00, 0x00}},
        {Record(AssignmentKind::LaunchProgram, 40), capsLock, capsLock},
        {Record(AssignmentKind::Default, 0), g3, g3},
        {Record(AssignmentKind::Macro, 7), g3, {0x05, 0x01, 0x02}},
        {Record(AssignmentKind::Macro, 8), g3, {0x05, 0x01, 0x00}},  // unknown id: the first macro
        {Record(AssignmentKind::StopMacro, 0), g3, {0x05, 0x02, 0x00}},
        {Record(AssignmentKind::Function, 10), g3, {0x05, 0x05, 0x0A}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeKeySlot(c.record, c.factory, kMacros), c.expected) << c.record.kind << " " << c.record.value;
}

TEST(EncodeKeySlot, ValuesOutsideTheirRangeKeepTheFactoryCode) {
    const SlotCode factory{0x02, 0x02, 0x29};
    // A multimedia position past the pick list, or a kind no editor makes, from a file.
    for (std::uint32_t position : {18u, 255u, 0xFFFFFFFFu})
        EXPECT_EQ(EncodeKeySlot(Record(AssignmentKind::Multimedia, position), factory, kMacros), factory) << position;
    for (std::uint16_t kind : {9, 100, 0xFFFF})
        EXPECT_EQ(EncodeKeySlot({kind, 0, 1, 0, 0}, factory, kMacros), factory) << kind;
}

// A factory map held in memory with its geometry.
struct FactoryMap {
    KeyMapGeometry geometry;
    std::vector<std::uint8_t> bytes;
    DefaultKeyMap View() const { return {geometry, bytes, true}; }
};

struct RoundTripCase {
    const char* name;
    KeyAssignment record;
    AssignmentKind decodedKind;  // when the slot differs from the factory code
    std::uint32_t decodedValue;
};

// Every kind, encoded onto a key and read back.
const RoundTripCase kRoundTrips[] = {
    {"default", Record(AssignmentKind::Default, 0), AssignmentKind::Default, 0},
    {"disabled", Record(AssignmentKind::Disabled, 0), AssignmentKind::Disabled, 0},
    {"key", Record(AssignmentKind::Key, 0x01E), AssignmentKind::Key, 0x01E},
    {"right Win", Record(AssignmentKind::Key, 0x15C), AssignmentKind::Key, 0x15C},
    {"left Ctrl", Record(AssignmentKind::Key, 0x01D), AssignmentKind::Key, 0x01D},
    {"media key as a key", Record(AssignmentKind::Key, 0x130), AssignmentKind::Key, 0x130},
    {"middle button", Record(AssignmentKind::Key, 0x173), AssignmentKind::Key, 0x173},
    {"wheel down", Record(AssignmentKind::Key, 0x162), AssignmentKind::Key, 0x162},
    {"launch program", Record(AssignmentKind::LaunchProgram, 12), AssignmentKind::Default, 0},
    {"macro", Record(AssignmentKind::Macro, 7), AssignmentKind::Macro, 3},  // position 2 reads back as id 3
    {"stop macro", Record(AssignmentKind::StopMacro, 0), AssignmentKind::StopMacro, 0},
    {"text block", Record(AssignmentKind::TextBlock, 12), AssignmentKind::Disabled, 0},
    {"multimedia", Record(AssignmentKind::Multimedia, 6), AssignmentKind::Multimedia, 6},
    {"multimedia last", Record(AssignmentKind::Multimedia, 17), AssignmentKind::Multimedia, 17},
    {"function", Record(AssignmentKind::Function, 10), AssignmentKind::Function, 10},
    {"function first", Record(AssignmentKind::Function, 0), AssignmentKind::Function, 0},
};

// Keys whose factory codes are of every kind a factory map holds.
const KeyId kTargets[] = {0x001, 0x03A, 0x02A, 0x15C, 0x130, 0x15E, 0x161, 0x202};

TEST(KeyMapRoundTrip, EveryKindOnEveryKindOfSlotInBothGeometries) {
    for (const KeyMapGeometry& g : {k126, k128}) {
        const FactoryMap factory{g, UsualFactoryMap(g)};
        for (const RoundTripCase& c : kRoundTrips) {
            for (KeyId target : kTargets) {
                SCOPED_TRACE(testing::Message() << g.slotCount << " slots, " << c.name << " on " << std::hex << target);
                const int slot = SlotOfKey(factory.bytes, g, target);
                ASSERT_GE(slot, 0);
                auto block = std::make_unique<ProfileBlock>(ResetBlock());
                (*block)[KeyIndexOf(target)] = c.record;
                (*block)[KeyIndexOf(target)].tag = ResetBlock()[KeyIndexOf(target)].tag;

                KeyMapBytes sent{};
                ASSERT_EQ(EncodeKeyMap(*block, factory.View(), kMacros, sent), KeyMapStatus::Ok);
                const SlotCode expected = EncodeKeySlot(c.record, SlotOf(factory.bytes, slot), kMacros);
                EXPECT_EQ(SlotOf(sent, slot), expected);
                // Every other byte of the map, past the last slot too, is the factory map's.
                for (int i = 0; i < g.keyMapBytes; ++i)
                    ASSERT_TRUE(i / 3 == slot || sent[i] == factory.bytes[i]) << "byte " << i;
                EXPECT_TRUE(std::all_of(sent.begin() + g.keyMapBytes, sent.end(), [](std::uint8_t b) { return b == 0; }));

                auto read = std::make_unique<ProfileBlock>();
                ASSERT_EQ(DecodeKeyMap(sent, factory.View(), *read), KeyMapStatus::Ok);
                ProfileBlock wanted = ResetBlock();
                if (expected != SlotOf(factory.bytes, slot)) {
                    wanted[KeyIndexOf(target)].kind = static_cast<std::uint16_t>(c.decodedKind);
                    wanted[KeyIndexOf(target)].value = c.decodedValue;
                }
                EXPECT_TRUE(*read == wanted);
                EXPECT_EQ((*read)[KeyIndexOf(target)].kind, wanted[KeyIndexOf(target)].kind);
                EXPECT_EQ((*read)[KeyIndexOf(target)].value, wanted[KeyIndexOf(target)].value);
            }
        }
    }
}

TEST(KeyMapRoundTrip, AFullProfileComesBackAsItWent) {
    for (const KeyMapGeometry& g : {k126, k128}) {
        const FactoryMap factory{g, UsualFactoryMap(g)};
        auto block = std::make_unique<ProfileBlock>(ResetBlock());
        // Give every key of the map an assignment that reads back unchanged.
        int n = 0;
        for (int s = 0; s < g.slotCount; ++s) {
            const KeyId key = KeyIdOfSlot(SlotOf(factory.bytes, s));
            if (key == 0) continue;
            const RoundTripCase& c = kRoundTrips[1 + n++ % (std::size(kRoundTrips) - 1)];
            if (c.decodedKind != static_cast<AssignmentKind>(c.record.kind)) continue;
            if (c.record.kind == static_cast<std::uint16_t>(AssignmentKind::Macro)) continue;  // ids renumber
            // A key sent as its own factory code reads back as its default.
            if (EncodeKeySlot(c.record, SlotOf(factory.bytes, s), kMacros) == SlotOf(factory.bytes, s)) continue;
            (*block)[KeyIndexOf(key)].kind = c.record.kind;
            (*block)[KeyIndexOf(key)].value = c.record.value;
        }
        KeyMapBytes sent{};
        ASSERT_EQ(EncodeKeyMap(*block, factory.View(), kMacros, sent), KeyMapStatus::Ok);
        auto read = std::make_unique<ProfileBlock>();
        ASSERT_EQ(DecodeKeyMap(std::span(sent).first(static_cast<std::size_t>(g.keyMapBytes)), factory.View(), *read),
                  KeyMapStatus::Ok);
        EXPECT_GT(std::count_if(block->begin(), block->end(), [](const KeyAssignment& r) { return r.kind != 0; }), 90);
        for (std::size_t i = 0; i < read->size(); ++i) EXPECT_EQ((*read)[i], (*block)[i]) << i;
    }
}

TEST(KeyMap, TheMapGivenIsTheMapUsed) {
    for (const KeyMapGeometry& g : {k126, k128}) {
        const FactoryMap usual{g, UsualFactoryMap(g)};
        const FactoryMap reversed{g, ReversedFactoryMap(g)};
        auto block = std::make_unique<ProfileBlock>(ResetBlock());
        Assign(*block, 0x03A, AssignmentKind::Key, 0x01D);     // Caps Lock as Ctrl
        Assign(*block, 0x02A, AssignmentKind::Disabled, 0);    // no Left Shift
        Assign(*block, 0x201, AssignmentKind::Multimedia, 3);  // G2
        Assign(*block, 0x001, AssignmentKind::Function, 4);    // Esc

        KeyMapBytes fromUsual{}, fromReversed{};
        ASSERT_EQ(EncodeKeyMap(*block, usual.View(), kMacros, fromUsual), KeyMapStatus::Ok);
        ASSERT_EQ(EncodeKeyMap(*block, reversed.View(), kMacros, fromReversed), KeyMapStatus::Ok);
        const int last = g.slotCount - 1;
        for (int s = 0; s <= last; ++s) {
            const SlotCode code = SlotOf(fromReversed, s);
            // A key keeping its default keeps its factory code, which the reversed map writes its own way.
            if (code == SlotOf(reversed.bytes, s)) continue;
            EXPECT_EQ(code, SlotOf(fromUsual, last - s)) << s;
        }
        EXPECT_EQ(SlotOf(fromReversed, SlotOfKey(reversed.bytes, g, 0x03A)), (SlotCode{0x02, 0x01, 0x01}));
        EXPECT_EQ(SlotOf(fromReversed, SlotOfKey(reversed.bytes, g, 0x02A)), (SlotCode{0x00, 0x00, 0x00}));

        auto back = std::make_unique<ProfileBlock>();
        ASSERT_EQ(DecodeKeyMap(fromReversed, reversed.View(), *back), KeyMapStatus::Ok);
        EXPECT_TRUE(*back == *block);
        // Read against the other map, the same bytes name other keys.
        ASSERT_EQ(DecodeKeyMap(fromReversed, usual.View(), *back), KeyMapStatus::Ok);
        EXPECT_FALSE(*back == *block);
    }
}

TEST(DecodeKeyMap, WorkedExamplesAndUnknownCodes) {
    const FactoryMap factory{k128, UsualFactoryMap(k128)};
    const int esc = SlotOfKey(factory.bytes, k128, 0x001);
    const struct {
        SlotCode read;
        AssignmentKind kind;
        std::uint32_t value;
    } cases[] = {
        {{0x03, 0xE9, 0x00}, AssignmentKind::Multimedia, 6},
        {{0x00, 0x00, 0x00}, AssignmentKind::Disabled, 0},
        {{0x05, 0x01, 0x00}, AssignmentKind::Macro, 1},
        {{0x05, 0x01, 0xFF}, AssignmentKind::Macro, 256},
        {{0x05, 0x05, 0x0A}, AssignmentKind::Function, 10},
        {{0x05, 0x02, 0x00}, AssignmentKind::StopMacro, 0},
        {{0x02, 0x01, 0x00}, AssignmentKind::Key, 0},  // a modifier code without bits
        {{0x02, 0x01, 0x30}, AssignmentKind::Key, 0x11D},
        {{0x02, 0x02, 0x48}, AssignmentKind::Key, 0x045},
        {{0x01, 0x05, 0x01}, AssignmentKind::Key, 0x161},
        // Codes the keyboard may hold but no assignment makes: the key is disabled.
        {{0x02, 0x02, 0x00}, AssignmentKind::Disabled, 0},
        {{0x02, 0x03, 0x04}, AssignmentKind::Disabled, 0},
        {{0x01, 0x01, 0x03}, AssignmentKind::Disabled, 0},
        {{0x01, 0x07, 0x01}, AssignmentKind::Disabled, 0},
        {{0x03, 0x12, 0x34}, AssignmentKind::Disabled, 0},
        {{0x04, 0x81, 0x00}, AssignmentKind::Disabled, 0},
        {{0x05, 0x03, 0x00}, AssignmentKind::Disabled, 0},
        {{0x06, 0xA2, 0x01}, AssignmentKind::Disabled, 0},
        {{0x07, 0x00, 0x00}, AssignmentKind::Disabled, 0},
        {{0xFF, 0xFF, 0xFF}, AssignmentKind::Disabled, 0},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> read = factory.bytes;
        read[3 * esc] = c.read.type;
        read[3 * esc + 1] = c.read.sub;
        read[3 * esc + 2] = c.read.value;
        auto block = std::make_unique<ProfileBlock>();
        ASSERT_EQ(DecodeKeyMap(read, factory.View(), *block), KeyMapStatus::Ok);
        EXPECT_EQ((*block)[0x001].kind, static_cast<std::uint16_t>(c.kind)) << int(c.read.type) << " " << int(c.read.sub);
        EXPECT_EQ((*block)[0x001].value, c.value) << int(c.read.type) << " " << int(c.read.sub);
    }
}

TEST(DecodeKeyMap, SlotsOfNoKeyAndBytesPastTheSlotsAreNeverRead) {
    const FactoryMap factory{k128, UsualFactoryMap(k128)};
    std::vector<std::uint8_t> read = factory.bytes;
    for (int s = 0; s < k128.slotCount; ++s)
        if (KeyIdOfSlot(SlotOf(factory.bytes, s)) == 0) std::fill_n(read.begin() + 3 * s, 3, std::uint8_t{0x05});
    std::fill(read.begin() + 3 * k128.slotCount, read.end(), std::uint8_t{0x02});
    auto block = std::make_unique<ProfileBlock>();
    ASSERT_EQ(DecodeKeyMap(read, factory.View(), *block), KeyMapStatus::Ok);
    EXPECT_TRUE(*block == ResetBlock());
}

TEST(EncodeKeyMap, SlotsOfNoKeyGoAsTheyAre) {
    const FactoryMap factory{k128, UsualFactoryMap(k128)};
    auto block = std::make_unique<ProfileBlock>(ResetBlock());
    // Records that no slot of this keyboard names, and the unused indexes, are never sent.
    for (std::size_t i = 0; i < block->size(); ++i)
        if (SlotOfKey(factory.bytes, k128, KeyIdOf(static_cast<KeyIndex>(i))) < 0) (*block)[i] = Record(AssignmentKind::Disabled, 0);
    KeyMapBytes sent{};
    ASSERT_EQ(EncodeKeyMap(*block, factory.View(), kMacros, sent), KeyMapStatus::Ok);
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), factory.bytes.begin()));
}

TEST(KeyMap, UnusableMapsAndGeometriesAreRefused) {
    const std::vector<std::uint8_t> bytes = UsualFactoryMap(k128);
    const struct {
        const char* name;
        DefaultKeyMap defaults;
        std::size_t readLength;
        KeyMapStatus decoded;
        KeyMapStatus encoded;
    } cases[] = {
        {"not read yet", {k128, bytes, false}, 512, KeyMapStatus::DefaultMapNotRead, KeyMapStatus::DefaultMapNotRead},
        {"no slots", {{0, 378}, bytes, true}, 512, KeyMapStatus::BadGeometry, KeyMapStatus::BadGeometry},
        {"negative slots", {{-1, 378}, bytes, true}, 512, KeyMapStatus::BadGeometry, KeyMapStatus::BadGeometry},
        {"more slots than bytes", {{127, 378}, bytes, true}, 512, KeyMapStatus::BadGeometry, KeyMapStatus::BadGeometry},
        {"more than a buffer", {{171, 513}, bytes, true}, 512, KeyMapStatus::BadGeometry, KeyMapStatus::BadGeometry},
        {"negative size", {{126, -378}, bytes, true}, 512, KeyMapStatus::BadGeometry, KeyMapStatus::BadGeometry},
        {"short factory map", {k128, std::span(bytes).first(511), true}, 512, KeyMapStatus::ShortBuffer,
         KeyMapStatus::ShortBuffer},
        {"empty factory map", {k126, {}, true}, 512, KeyMapStatus::ShortBuffer, KeyMapStatus::ShortBuffer},
        {"short read", {k126, bytes, true}, 377, KeyMapStatus::ShortBuffer, KeyMapStatus::Ok},
        {"exact", {k126, std::span(bytes).first(378), true}, 378, KeyMapStatus::Ok, KeyMapStatus::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto block = std::make_unique<ProfileBlock>();
        block->fill(Record(AssignmentKind::Disabled, 0));
        EXPECT_EQ(DecodeKeyMap(std::span(bytes).first(c.readLength), c.defaults, *block), c.decoded);
        if (c.decoded != KeyMapStatus::Ok) {
            EXPECT_TRUE(*block == ResetBlock());  // the default configuration
        }
        KeyMapBytes out;
        out.fill(0x77);
        EXPECT_EQ(EncodeKeyMap(ResetBlock(), c.defaults, kMacros, out), c.encoded);
        if (c.encoded != KeyMapStatus::Ok) {
            EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0x77; }));
        }
    }
}

TEST(EncodeKeyMap, StoreProfilesZeroToTwoOnly) {
    const FactoryMap factory{k126, UsualFactoryMap(k126)};
    auto store = std::make_unique<ConfigStore>();
    for (auto& block : store->configuration.blocks) ResetProfileBlock(block);
    ASSERT_TRUE(SetAssignment(*store, 2, KeyIndexOf(0x001), static_cast<std::uint16_t>(AssignmentKind::Disabled), 0, 0));
    const int esc = SlotOfKey(factory.bytes, k126, 0x001);
    KeyMapBytes out{};
    ASSERT_EQ(EncodeKeyMap(2, *store, factory.View(), kMacros, out), KeyMapStatus::Ok);
    EXPECT_EQ(SlotOf(out, esc), (SlotCode{0, 0, 0}));
    ASSERT_EQ(EncodeKeyMap(1, *store, factory.View(), kMacros, out), KeyMapStatus::Ok);
    EXPECT_EQ(SlotOf(out, esc), SlotOf(factory.bytes, esc));
    for (int profile : {-1, 3, 4, 1000})
        EXPECT_EQ(EncodeKeyMap(profile, *store, factory.View(), kMacros, out), KeyMapStatus::BadProfile) << profile;
}

}  // namespace
}  // namespace kw::model
