#include "device/CommandFrame.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace kw::device {
namespace {

struct FrameCase {
    const char* name;
    CommandFrame frame;
    // Bytes 0 to 7 as sent: report id, checksum (2), command, length, address (2), reserved.
    std::array<uint8_t, 8> head;
};

std::vector<uint8_t> Filled(size_t n, uint8_t value) { return std::vector<uint8_t>(n, value); }

std::vector<uint8_t> Counting(size_t n) {
    std::vector<uint8_t> v(n);
    std::iota(v.begin(), v.end(), uint8_t{1});
    return v;
}

TEST(CommandFrameTest, HeaderAndChecksumOfEachKindOfRequest) {
    const std::vector<uint8_t> colour{0x10, 0x20, 0x30};
    const FrameCase cases[] = {
        {"begin", CommandFrame(CommandCode::Begin), {0x04, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00}},
        {"end", CommandFrame(CommandCode::End), {0x04, 0x02, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00}},
        {"read settings", CommandFrame(CommandCode::ReadSettings, 0x2C), {0x04, 0x2F, 0x00, 0x03, 0x2C, 0, 0, 0}},
        // 0x06 + 3 + 101 + 0x10 + 0x20 + 0x30 = 0xCE.
        {"write memory", CommandFrame(CommandCode::WriteMem, 3, 101, colour), {0x04, 0xCE, 0x00, 0x06, 3, 101, 0, 0}},
        // The address goes low byte first: 0x02D2 = profile 1 x 378 + 6 x 56.
        {"read key map chunk", CommandFrame(CommandCode::ReadKeyMap, 42, 0x02CA),
         {0x04, 0x07 + 42 + 0xCA + 0x02, 0x00, 0x07, 42, 0xCA, 0x02, 0}},
        // 56 bytes of 0xFF: 0x0A + 56 + 0xFF + 0xFF + 56 x 0xFF = 0x3A08.
        {"full payload", CommandFrame(CommandCode::WriteMacros, 56, 0xFFFF, Filled(56, 0xFF)),
         {0x04, 0x08, 0x3A, 0x0A, 56, 0xFF, 0xFF, 0}},
        // 1 + 2 + ... + 56 = 1596, plus 0x11 + 56 + 0x00 + 0x02 = 1671 = 0x0687.
        {"key colours", CommandFrame(CommandCode::WriteKeyColours, 56, 0x0200, Counting(56)),
         {0x04, 0x87, 0x06, 0x11, 56, 0x00, 0x02, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto& bytes = c.frame.bytes();
        for (size_t i = 0; i < c.head.size(); ++i) EXPECT_EQ(bytes[i], c.head[i]) << "byte " << i;
        EXPECT_EQ(c.frame.StoredChecksum(), FrameChecksum(bytes));
    }
}

TEST(CommandFrameTest, PayloadBeyondFiftySixBytesIsCutAndTheRestStaysZero) {
    const CommandFrame frame(CommandCode::WriteMem, 56, 0, Counting(60));
    const auto& bytes = frame.bytes();
    EXPECT_EQ(bytes[kFrameDataAt], 1);
    EXPECT_EQ(bytes[kFrameBytes - 1], 56) << "the 56th payload byte is the frame's last";
    const CommandFrame shortFrame(CommandCode::WriteMem, 2, 0, Counting(2));
    for (size_t i = kFrameDataAt + 2; i < kFrameBytes; ++i) EXPECT_EQ(shortFrame.bytes()[i], 0) << "byte " << i;
}

TEST(CommandFrameTest, ChecksumCoversBytesThreeToSixtyThreeOnly) {
    CommandFrame frame(CommandCode::Test);
    const uint16_t before = frame.StoredChecksum();
    frame.bytes()[0] = 0x99;  // report identifier: outside the sum
    frame.Seal();
    EXPECT_EQ(frame.StoredChecksum(), before);
    frame.bytes()[kFrameBytes - 1] = 0x01;
    frame.Seal();
    EXPECT_EQ(frame.StoredChecksum(), before + 1);
}

TEST(CommandFrameTest, ReusedFrameKeepsEarlierPayloadBehindAShorterOne) {
    CommandFrame frame;
    frame.SetPayload(Filled(56, 0xAA));
    frame.SetPayload(Filled(2, 0x11));
    EXPECT_EQ(frame.bytes()[kFrameDataAt + 1], 0x11);
    EXPECT_EQ(frame.bytes()[kFrameDataAt + 2], 0xAA);
}

}  // namespace
}  // namespace kw::device
