#include "model/AssignmentStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace kw::model {
namespace {

constexpr auto kKey = static_cast<std::uint16_t>(AssignmentKind::Key);
constexpr auto kLaunch = static_cast<std::uint16_t>(AssignmentKind::LaunchProgram);
constexpr auto kText = static_cast<std::uint16_t>(AssignmentKind::TextBlock);
constexpr auto kMacro = static_cast<std::uint16_t>(AssignmentKind::Macro);

TEST(ResetProfileBlock, AllZeroButTheGTags) {
    ProfileBlock block;
    block.fill({7, 7, 7, 7, 7});
    ResetProfileBlock(block);
    for (std::size_t i = 0; i < block.size(); ++i) {
        std::uint16_t tag = 0;
        if (i >= 256 && i <= 264) tag = static_cast<std::uint16_t>(0x0301 + (i - 256));
        if (i >= 265 && i <= 273) tag = static_cast<std::uint16_t>(0x1301 + (i - 265));
        EXPECT_EQ(block[i], (KeyAssignment{0, tag, 0, 0, 0})) << i;
    }
}

TEST(ConfigurationBuffer, RecordsSitWhereTheFileExpectsThem) {
    auto buffer = std::make_unique<ConfigurationBuffer>();
    const auto* base = reinterpret_cast<const std::uint8_t*>(buffer.get());
    const auto* record = reinterpret_cast<const std::uint8_t*>(&buffer->blocks[2][0x1E]);
    EXPECT_EQ(record - base, 64 + 2 * 8192 + 0x1E * 16);
    buffer->blocks[2][0x1E] = {0x0102, 0x0304, 0x08070605, 0, 0};
    const std::uint8_t expected[] = {0x02, 0x01, 0x04, 0x03, 0x05, 0x06, 0x07, 0x08};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), record));
}

class AssignmentStoreTest : public testing::Test {
protected:
    std::unique_ptr<ConfigStore> store = std::make_unique<ConfigStore>();
    KeyAssignment& RecordOf(int profile, int index) { return store->configuration.blocks[profile][index]; }
};

TEST_F(AssignmentStoreTest, KeyMappedToNothingOrToItselfKeepsItsDefault) {
    const struct {
        int index;
        std::uint32_t value;
        std::uint16_t kind;
        std::uint32_t storedValue;
    } cases[] = {
        {0x01E, 0x01E, 0, 0},       // A as A
        {0x01E, 0, 0, 0},           // A as no key
        {0x01E, 0x030, kKey, 0x030},
        {KeyIndexOf(0x145), 0x145, 0, 0},  // Num Lock as itself
        {256, 0x200, 0, 0},                // G1 as itself
        {256, 0x171, kKey, 0x171},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(SetAssignment(*store, 1, c.index, kKey, 0, c.value)) << c.index;
        EXPECT_EQ(GetAssignment(*store, 1, c.index).kind, c.kind) << c.index << " " << c.value;
        EXPECT_EQ(GetAssignment(*store, 1, c.index).value, c.storedValue) << c.index << " " << c.value;
    }
}

TEST_F(AssignmentStoreTest, MarkAndReservedSurviveAStore) {
    RecordOf(0, 0x10) = {0, 0, 0, 0xAAAA, 0xBBBB};
    ASSERT_TRUE(SetAssignment(*store, 0, 0x10, kMacro, 12, 3));
    EXPECT_EQ(GetAssignment(*store, 0, 0x10), (KeyAssignment{kMacro, 12, 3, 0xAAAA, 0xBBBB}));
}

TEST_F(AssignmentStoreTest, TextsFollowTheirRecords) {
    ASSERT_TRUE(SetAssignment(*store, 0, 0x01E, kLaunch, 0, 0, u"C:\\a.exe"));
    ASSERT_TRUE(SetAssignment(*store, 3, 0x01E, kText, 0, 0, u"hi"));
    const std::size_t first = *StringTable::EntryOf(0, 0x01E);
    const std::size_t last = *StringTable::EntryOf(3, 0x01E);
    EXPECT_EQ(last, 3u * 512 + 0x1E);
    EXPECT_EQ(store->texts.Text(first), u"C:\\a.exe");
    EXPECT_EQ(store->texts.ByteLength(first), 18u);
    EXPECT_EQ(store->texts.TotalBytes(), 18u + 6u);

    // Replacing the text, then the kind, drops the old text from the total.
    ASSERT_TRUE(SetAssignment(*store, 0, 0x01E, kLaunch, 0, 0, u"b"));
    EXPECT_EQ(store->texts.TotalBytes(), 4u + 6u);
    ASSERT_TRUE(SetAssignment(*store, 0, 0x01E, kKey, 0, 0x030));
    EXPECT_FALSE(store->texts.HasText(first));
    EXPECT_EQ(store->texts.TotalBytes(), 6u);
    // An empty text still has its terminator.
    ASSERT_TRUE(SetAssignment(*store, 3, 0x01E, kText, 0, 0, u""));
    EXPECT_EQ(store->texts.ByteLength(last), 2u);
    EXPECT_EQ(store->texts.TotalBytes(), 2u);
}

TEST_F(AssignmentStoreTest, OutOfRangeIndexesAndUnknownKindsWriteNothing) {
    RecordOf(0, 0x01E) = {kKey, 0, 0x030, 0, 0};
    const ConfigurationBuffer before = store->configuration;
    const struct {
        int profile;
        int index;
        std::uint16_t kind;
    } cases[] = {{-1, 0x01E, kKey}, {4, 0x01E, kKey}, {0, -1, kKey}, {0, 512, kKey}, {0, 0x01E, 9}, {0, 0x01E, 0xFFFF}};
    for (const auto& c : cases) {
        EXPECT_FALSE(SetAssignment(*store, c.profile, c.index, c.kind, 1, 0x031, u"x")) << c.profile << " " << c.index;
        EXPECT_EQ(GetAssignment(*store, c.profile, c.index), c.kind == kKey ? KeyAssignment{} : RecordOf(0, 0x01E));
    }
    EXPECT_EQ(std::memcmp(&before, &store->configuration, sizeof before), 0);
    EXPECT_EQ(store->texts.TotalBytes(), 0u);
    EXPECT_EQ(StringTable::EntryOf(4, 0), std::nullopt);
    EXPECT_EQ(StringTable::EntryOf(0, 512), std::nullopt);
    EXPECT_FALSE(store->texts.Set(StringTable::kEntries, u"x"));
}

TEST_F(AssignmentStoreTest, WritersOnSeveralThreadsKeepTheTotalRight) {
    // The editor and a loader may write while another thread reads; the lock keeps the sum whole.
    constexpr int kThreads = 4;
    constexpr int kRounds = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int r = 0; r < kRounds; ++r) {
                const int index = 1 + (r % 100);
                SetAssignment(*store, t % kProfileBlocks, index, kText, 0, 0, u"abc");
                (void)GetAssignment(*store, t % kProfileBlocks, index);
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(store->texts.TotalBytes(), kThreads * 100u * 8u);
}

}  // namespace
}  // namespace kw::model
