#include "virtualkb/BusFile.h"

#include <gtest/gtest.h>

namespace kw::virtualkb {
namespace {

TEST(BusFileTest, TextRoundTrip) {
    BusState bus;
    SetPlugged(bus, false);
    QueuePress(bus, 0x0401);
    QueuePress(bus, 0x1811);
    const auto back = ParseBus(FormatBus(bus));
    ASSERT_TRUE(back.has_value());
    EXPECT_FALSE(back->plugged);
    EXPECT_EQ(back->generation, 1u);
    ASSERT_EQ(back->presses.size(), 2u);
    EXPECT_EQ(back->presses[0].sequence, 1u);
    EXPECT_EQ(back->presses[1].usage, 0x1811);
}

TEST(BusFileTest, ReadsWhatItCanTrustAndNothingElse) {
    const std::pair<const char*, bool> cases[] = {
        {"keyweave-virtual-bus 1\nplugged 1\ngeneration 4\npress 3 0402\n", true},
        {"keyweave-virtual-bus 1\r\nplugged 0\r\ngeneration 2\r\n", true},
        {"keyweave-virtual-bus 1\nplugged 1\nlater-key anything\n", true},
        {"keyweave-virtual-bus 1\n", true},
        {"", false},
        {"plugged 1\n", false},
        {"keyweave-virtual-bus 2\nplugged 1\n", false},
        {"keyweave-virtual-bus 1\nplugged 2\n", false},
        {"keyweave-virtual-bus 1\ngeneration -1\n", false},
        {"keyweave-virtual-bus 1\npress 3 04G1\n", false},
        {"keyweave-virtual-bus 1\npress 3 10401\n", false},
        {"keyweave-virtual-bus 1\npress 3 0401\npress 3 0402\n", false},
        {"keyweave-virtual-bus 1\nplugged\n", false},
    };
    for (const auto& [text, readable] : cases) EXPECT_EQ(ParseBus(text).has_value(), readable) << text;
}

TEST(BusFileTest, GenerationCountsChangesOnly) {
    BusState bus;
    SetPlugged(bus, true);
    EXPECT_EQ(bus.generation, 0u);
    SetPlugged(bus, false);
    SetPlugged(bus, false);
    SetPlugged(bus, true);
    EXPECT_EQ(bus.generation, 2u);
}

TEST(BusFileTest, QueueKeepsTheNewestPressesWithRisingNumbers) {
    BusState bus;
    for (int i = 0; i < 100; ++i) QueuePress(bus, static_cast<uint16_t>(i));
    ASSERT_EQ(bus.presses.size(), kMaxQueuedPresses);
    EXPECT_EQ(bus.presses.front().usage, 100 - kMaxQueuedPresses);
    EXPECT_EQ(bus.LastSequence(), 100u);
}

}  // namespace
}  // namespace kw::virtualkb
