#include "device/CommandProtocol.h"
#include "tests/device/ProtocolRig.h"
#include "virtualkb/StoredContents.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <numeric>
#include <optional>
#include <thread>

namespace kw::device {
namespace {

using namespace std::chrono_literals;
using test::AddressOf;
using test::Model126;
using test::Model128;
using test::ProtocolRig;
using virtualkb::Fault;
using virtualkb::FaultKind;
using Clock = std::chrono::steady_clock;

std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(seed + i * 7 + i / 251);
    return v;
}

// --- Requests -------------------------------------------------------------------------------------

struct RequestCase {
    const char* name;
    std::function<int(CommandProtocol&)> run;
    uint8_t command;
    uint8_t length;
    uint16_t address;
    std::vector<uint8_t> payload;
};

TEST(CommandProtocolTest, EachOperationSendsItsRequestAndIsAccepted) {
    SettingsBlock readInto{};
    SettingsBlock block{};
    block[kSettingsActiveProfileAt] = 2;
    MemoryChunk chunk{};
    const std::vector<uint8_t> one{0x02};
    const std::vector<uint8_t> rgb{0x10, 0x20, 0x30};
    const RequestCase cases[] = {
        {"begin", [](CommandProtocol& p) { return p.CMD_BEGIN(); }, 0x01, 0, 0, {}},
        {"end", [](CommandProtocol& p) { return p.CMD_END(); }, 0x02, 0, 0, {}},
        {"read settings", [&](CommandProtocol& p) { return p.CMD_READ_SETTINGS(readInto); }, 0x03, 0x2C, 0, {}},
        {"write settings", [&](CommandProtocol& p) { return p.CMD_WRITE_SETTINGS(block); }, 0x04, 0x2C, 0,
         std::vector<uint8_t>(block.begin(), block.end())},
        {"read memory", [&](CommandProtocol& p) { return p.CMD_READ_MEM(84, 56, chunk); }, 0x05, 56, 84, {}},
        {"write memory", [&](CommandProtocol& p) { return p.CMD_WRITE_MEM(101, one); }, 0x06, 1, 101, one},
        {"test", [](CommandProtocol& p) { return p.CMD_TEST(); }, 0x0D, 0, 0, {}},
        {"key colours", [&](CommandProtocol& p) { return p.CMD_WRITE_KEY_COLOURS(512 + 192, rgb); }, 0x11, 3, 704, rgb},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProtocolRig rig;
        ASSERT_EQ(rig.protocol.CMD_BEGIN(), kResultSuccess);  // writes belong in a group
        EXPECT_EQ(c.run(rig.protocol), kResultSuccess);
        const auto sent = rig.Requests();
        ASSERT_EQ(sent.size(), 2u);
        const auto& frame = sent.back();
        EXPECT_EQ(frame[0], kCommandReportId);
        EXPECT_EQ(frame[kFrameCommandAt], c.command);
        EXPECT_EQ(frame[kFrameLengthAt], c.length);
        EXPECT_EQ(AddressOf(frame), c.address);
        EXPECT_EQ(frame[kAnswerStatusAt], 0) << "reserved byte";
        EXPECT_TRUE(std::equal(c.payload.begin(), c.payload.end(), frame.begin() + kFrameDataAt));
        EXPECT_EQ(frame[kFrameChecksumAt] | (frame[kFrameChecksumAt + 1] << 8), FrameChecksum(frame));
    }
}

TEST(CommandProtocolTest, ReadsHandBackWhatTheKeyboardHolds) {
    ProtocolRig rig;
    const auto stored = rig.keyboard.Contents();
    SettingsBlock block{};
    ASSERT_EQ(rig.protocol.CMD_READ_SETTINGS(block), kResultSuccess);
    EXPECT_EQ(block, stored.settings);
    MemoryChunk chunk{};
    ASSERT_EQ(rig.protocol.CMD_READ_MEM(42, 56, chunk), kResultSuccess);
    EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), stored.memory.begin() + 42));
}

TEST(CommandProtocolTest, EndWaitsBeforeItIsSent) {
    ProtocolRig rig;
    const auto start = Clock::now();
    EXPECT_EQ(rig.protocol.CMD_END(), kResultSuccess);
    EXPECT_GE(Clock::now() - start, 10ms);
}

TEST(CommandProtocolTest, BootRequestIsWrittenWithoutChecksumAndNotAnswered) {
    ProtocolRig rig;
    EXPECT_EQ(rig.protocol.CMD_ENTER_BOOT(), kResultSuccess);
    const auto sent = rig.Requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][0], kCommandReportId);
    EXPECT_EQ(sent[0][1], 0);
    EXPECT_EQ(sent[0][2], 0);
    EXPECT_EQ(sent[0][3], 0xEE);
    EXPECT_EQ(sent[0][4], 0xEE);
    EXPECT_EQ(rig.keyboard.TrafficSeen().answers, 0u);
    EXPECT_FALSE(rig.keyboard.Present()) << "the keyboard left for boot mode";
    EXPECT_EQ(rig.protocol.CMD_TEST(), kResultWriteFailed) << "the handle died with the keyboard";
}

// --- Result codes and tries -----------------------------------------------------------------------

struct FaultCase {
    const char* name;
    Fault fault;
    int result;
    std::optional<uint64_t> requests;  // requests the keyboard received, when it says something
};

std::vector<FaultCase> FaultCases(CommandCode command, int skip) {
    auto f = [&](FaultKind kind, int times, size_t answerBytes = 6) {
        Fault fault;
        fault.kind = kind;
        fault.command = command;
        fault.skip = skip;
        fault.times = times;
        fault.answerBytes = answerBytes;
        return fault;
    };
    const auto before = static_cast<uint64_t>(skip);
    return {
        {"answered", f(FaultKind::BareAnswer, 0), kResultSuccess, std::nullopt},
        {"no answer in four tries", f(FaultKind::NoAnswer, 4), kResultNoAnswer, before + 4},
        {"answer on the fourth try", f(FaultKind::NoAnswer, 3), kResultSuccess, before + 4},
        {"status 0xFF, not retried", f(FaultKind::StatusFF, 1), kResultStatusFF, before + 1},
        {"status 0xFE, not retried", f(FaultKind::StatusFE, 1), kResultStatusFE, before + 1},
        {"write fails, not retried", f(FaultKind::WriteFails, 1), kResultWriteFailed, before},
        {"answers too short for a status", f(FaultKind::ShortAnswer, 4), kResultNoAnswer, before + 4},
        {"short answer, then a whole one", f(FaultKind::ShortAnswer, 1), kResultSuccess, before + 2},
        {"answer header left blank", f(FaultKind::BareAnswer, 1), kResultSuccess, before + 1},
    };
}

TEST(CommandProtocolTest, ResultCodesOfASimpleCommand) {
    for (const auto& c : FaultCases(CommandCode::Test, 0)) {
        SCOPED_TRACE(c.name);
        ProtocolRig rig;
        if (c.fault.times > 0) rig.keyboard.InjectFault(c.fault);
        EXPECT_EQ(rig.protocol.CMD_TEST(), c.result);
        EXPECT_EQ(rig.keyboard.TrafficSeen().requests, c.requests.value_or(1));
    }
}

TEST(CommandProtocolTest, ResultCodesEndABlockAtTheFailingChunk) {
    const auto factory = virtualkb::FactoryKeyMap(Model128());
    for (const auto& c : FaultCases(CommandCode::ReadKeyMap, 3)) {
        SCOPED_TRACE(c.name);
        ProtocolRig rig;
        if (c.fault.times > 0) rig.keyboard.InjectFault(c.fault);
        std::vector<uint8_t> map(512, 0xEE);
        EXPECT_EQ(rig.protocol.CMD_READ_KEYMAP(0, map), c.result);
        if (c.result == kResultSuccess) {
            EXPECT_EQ(map, factory);
            continue;
        }
        EXPECT_EQ(rig.keyboard.TrafficSeen().requests, *c.requests) << "no chunk after the failing one";
        EXPECT_TRUE(std::equal(map.begin(), map.begin() + 3 * 56, factory.begin())) << "chunks read stay";
        EXPECT_TRUE(std::all_of(map.begin() + 3 * 56, map.end(), [](uint8_t b) { return b == 0xEE; }));
    }
}

TEST(CommandProtocolTest, ASilentKeyboardCostsFourReadTimeOuts) {
    ProtocolRig rig(Model128(), ProtocolTimings{});
    rig.keyboard.InjectFault({FaultKind::NoAnswer, CommandCode::Test, 0, 4});
    const auto start = Clock::now();
    EXPECT_EQ(rig.protocol.CMD_TEST(), kResultNoAnswer);
    const auto spent = Clock::now() - start;
    EXPECT_EQ(rig.keyboard.TrafficSeen().requests, 4u);
    EXPECT_GE(spent, 4 * 300ms);
    EXPECT_LT(spent, 4 * 300ms + 1000ms);
}

TEST(CommandProtocolTest, AnswerMissingItsDataIsNotSuccess) {
    ProtocolRig rig;
    // Status and 12 of the 44 settings bytes arrive.
    rig.keyboard.InjectFault({FaultKind::ShortAnswer, CommandCode::ReadSettings, 0, 1, 0ms, 20});
    SettingsBlock block;
    block.fill(0xEE);
    EXPECT_EQ(rig.protocol.CMD_READ_SETTINGS(block), kResultNoAnswer);
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](uint8_t b) { return b == 0xEE; }));
}

using Operation = std::function<int(CommandProtocol&)>;

std::vector<std::pair<const char*, Operation>> EveryOperation() {
    static SettingsBlock block{};
    static MemoryChunk chunk{};
    static std::vector<uint8_t> buffer(512);
    static const std::vector<uint8_t> three{1, 2, 3};
    return {
        {"begin", [](CommandProtocol& p) { return p.CMD_BEGIN(); }},
        {"end", [](CommandProtocol& p) { return p.CMD_END(); }},
        {"read settings", [](CommandProtocol& p) { return p.CMD_READ_SETTINGS(block); }},
        {"write settings", [](CommandProtocol& p) { return p.CMD_WRITE_SETTINGS(block); }},
        {"read memory", [](CommandProtocol& p) { return p.CMD_READ_MEM(0, 56, chunk); }},
        {"write memory", [](CommandProtocol& p) { return p.CMD_WRITE_MEM(0, three); }},
        {"read key map", [](CommandProtocol& p) { return p.CMD_READ_KEYMAP(1, buffer); }},
        {"write key map", [](CommandProtocol& p) { return p.CMD_WRITE_KEYMAP(1, buffer); }},
        {"read macros", [](CommandProtocol& p) { return p.CMD_READ_MACROS(buffer); }},
        {"write macros", [](CommandProtocol& p) { return p.CMD_WRITE_MACROS(buffer); }},
        {"test", [](CommandProtocol& p) { return p.CMD_TEST(); }},
        {"read default key map", [](CommandProtocol& p) { return p.CMD_READ_DEFAULT_KEYMAP(buffer); }},
        {"key colours", [](CommandProtocol& p) { return p.CMD_WRITE_KEY_COLOURS(0, three); }},
        {"boot", [](CommandProtocol& p) { return p.CMD_ENTER_BOOT(); }},
    };
}

TEST(CommandProtocolTest, WithoutTheKeyboardEveryCommandReturnsZeroAtOnceAndSendsNothing) {
    ProtocolRig rig;
    rig.state.SetConnected(false);
    for (const auto& [name, run] : EveryOperation()) {
        SCOPED_TRACE(name);
        const auto start = Clock::now();
        EXPECT_EQ(run(rig.protocol), kResultNoAnswer);
        EXPECT_LT(Clock::now() - start, 200ms) << "no time-out is waited for";
    }
    EXPECT_EQ(rig.keyboard.TrafficSeen().requests, 0u);
}

TEST(CommandProtocolTest, RequestsThatCannotBeFramedAreRefusedBeforeAnythingIsSent) {
    std::vector<uint8_t> map(512);
    const std::vector<uint8_t> none;
    const std::vector<uint8_t> tooMany(57);
    std::vector<uint8_t> shortMap(377);
    std::vector<uint8_t> hugeArea(kMaxMacroAreaBytes + 1);
    const std::pair<const char*, Operation> cases[] = {
        {"key map of profile 3", [&](CommandProtocol& p) { return p.CMD_READ_KEYMAP(3, map); }},
        {"memory write of nothing", [&](CommandProtocol& p) { return p.CMD_WRITE_MEM(0, none); }},
        {"memory write of 57 bytes", [&](CommandProtocol& p) { return p.CMD_WRITE_MEM(0, tooMany); }},
        {"colours of 57 bytes", [&](CommandProtocol& p) { return p.CMD_WRITE_KEY_COLOURS(0, tooMany); }},
        {"key map into a short buffer", [&](CommandProtocol& p) { return p.CMD_READ_KEYMAP(0, shortMap); }},
        {"default key map into a short buffer", [&](CommandProtocol& p) { return p.CMD_READ_DEFAULT_KEYMAP(shortMap); }},
        {"key map from a short buffer", [&](CommandProtocol& p) { return p.CMD_WRITE_KEYMAP(0, shortMap); }},
        {"macro area past 16-bit addresses", [&](CommandProtocol& p) { return p.CMD_READ_MACROS(hugeArea); }},
    };
    for (const auto& [name, run] : cases) {
        SCOPED_TRACE(name);
        ProtocolRig rig(Model126());
        const int result = run(rig.protocol);
        EXPECT_NE(result, kResultSuccess);
        EXPECT_EQ(rig.keyboard.TrafficSeen().requests, 0u);
    }
}

TEST(CommandProtocolTest, ProfileIndexOutsideZeroToTwoIsRefusedForKeyMapsOnly) {
    ProtocolRig rig;
    std::vector<uint8_t> map(512);
    for (int profile : {3, 4, -1}) {
        EXPECT_EQ(rig.protocol.CMD_READ_KEYMAP(profile, map), kResultBadProfile);
        EXPECT_EQ(rig.protocol.CMD_WRITE_KEYMAP(profile, map), kResultBadProfile);
    }
    rig.state.SetConnected(false);
    EXPECT_EQ(rig.protocol.CMD_READ_KEYMAP(3, map), kResultBadProfile) << "judged before the connection";
    EXPECT_EQ(rig.keyboard.TrafficSeen().requests, 0u);
}

// --- Block transfers -------------------------------------------------------------------------------

void ExpectChunks(const std::vector<CommandFrame::Bytes>& frames, uint8_t command, uint32_t base, size_t total) {
    const size_t expected = (total + kChunkBytes - 1) / kChunkBytes;
    ASSERT_EQ(frames.size(), expected);
    for (size_t i = 0; i < frames.size(); ++i) {
        const size_t offset = i * kChunkBytes;
        EXPECT_EQ(frames[i][kFrameCommandAt], command);
        EXPECT_EQ(frames[i][kFrameLengthAt], std::min(kChunkBytes, total - offset)) << "chunk " << i;
        EXPECT_EQ(AddressOf(frames[i]), base + offset) << "chunk " << i;
    }
}

TEST(CommandProtocolTest, MacroAreaGoesInFiftySixByteChunksAndComesBackWhole) {
    const size_t largest = virtualkb::FactoryContents(Model128()).MacroCapacity();
    for (size_t size : {size_t{1}, size_t{55}, size_t{56}, size_t{57}, size_t{378}, size_t{512}, largest}) {
        SCOPED_TRACE(size);
        ProtocolRig rig;
        const auto block = Pattern(size, static_cast<uint8_t>(size));
        ASSERT_EQ(rig.protocol.CMD_BEGIN(), kResultSuccess);
        rig.keyboard.ResetTraffic();
        ASSERT_EQ(rig.protocol.CMD_WRITE_MACROS(block), kResultSuccess);
        ExpectChunks(rig.Requests(), 0x0A, 0, size);
        ASSERT_EQ(rig.protocol.CMD_END(), kResultSuccess);

        rig.keyboard.ResetTraffic();
        std::vector<uint8_t> back(size);
        ASSERT_EQ(rig.protocol.CMD_READ_MACROS(back), kResultSuccess);
        ExpectChunks(rig.Requests(), 0x09, 0, size);
        EXPECT_EQ(back, block);
        const auto stored = rig.keyboard.Contents().macroArea;
        EXPECT_TRUE(std::equal(block.begin(), block.end(), stored.begin()));
    }
}

TEST(CommandProtocolTest, AnEmptyBlockTakesNoExchange) {
    ProtocolRig rig;
    EXPECT_EQ(rig.protocol.CMD_WRITE_MACROS({}), kResultSuccess);
    EXPECT_EQ(rig.protocol.CMD_READ_MACROS({}), kResultSuccess);
    EXPECT_EQ(rig.keyboard.TrafficSeen().requests, 0u);
}

TEST(CommandProtocolTest, LastChunkFrameKeepsThePreviousChunksTail) {
    ProtocolRig rig;
    const auto block = Pattern(57, 1);
    ASSERT_EQ(rig.protocol.CMD_BEGIN(), kResultSuccess);
    ASSERT_EQ(rig.protocol.CMD_WRITE_MACROS(block), kResultSuccess);
    const auto frames = rig.Requests();
    ASSERT_EQ(frames.size(), 3u);
    const auto& last = frames[2];
    EXPECT_EQ(last[kFrameDataAt], block[56]);
    EXPECT_TRUE(std::equal(block.begin() + 1, block.begin() + 56, last.begin() + kFrameDataAt + 1));
}

struct KeyMapCase {
    const device::KeyboardModel* model;
    int profile;
};

TEST(CommandProtocolTest, KeyMapsOfEachModelAndProfileGoToTheirOwnAddresses) {
    const KeyMapCase cases[] = {{&Model126(), 0}, {&Model126(), 1}, {&Model126(), 2},
                                {&Model128(), 0}, {&Model128(), 1}, {&Model128(), 2}};
    for (const auto& c : cases) {
        const auto size = static_cast<size_t>(c.model->keyMapBytes);
        SCOPED_TRACE(testing::Message() << size << " bytes, profile " << c.profile);
        ProtocolRig rig(*c.model);
        const auto map = Pattern(size, static_cast<uint8_t>(c.profile + 3));
        ASSERT_EQ(rig.protocol.CMD_BEGIN(), kResultSuccess);
        rig.keyboard.ResetTraffic();
        ASSERT_EQ(rig.protocol.CMD_WRITE_KEYMAP(c.profile, map), kResultSuccess);
        ExpectChunks(rig.Requests(), 0x08, static_cast<uint32_t>(c.profile * size), size);
        ASSERT_EQ(rig.protocol.CMD_END(), kResultSuccess);

        const auto stored = rig.keyboard.Contents();
        for (int p = 0; p < kOnBoardProfiles; ++p) {
            const auto held = stored.KeyMap(p);
            if (p == c.profile) EXPECT_TRUE(std::equal(held.begin(), held.end(), map.begin()));
            else EXPECT_TRUE(std::equal(held.begin(), held.end(), stored.defaultKeyMap.begin())) << "profile " << p;
        }
        rig.keyboard.ResetTraffic();
        std::vector<uint8_t> back(512, 0);
        ASSERT_EQ(rig.protocol.CMD_READ_KEYMAP(c.profile, back), kResultSuccess);
        ExpectChunks(rig.Requests(), 0x07, static_cast<uint32_t>(c.profile * size), size);
        EXPECT_TRUE(std::equal(map.begin(), map.end(), back.begin()));
        EXPECT_TRUE(std::all_of(back.begin() + static_cast<long>(size), back.end(), [](uint8_t b) { return b == 0; }))
            << "nothing written past the block";
    }
}

TEST(CommandProtocolTest, DefaultKeyMapIsReadFromOffsetZero) {
    for (const auto* model : {&Model126(), &Model128()}) {
        ProtocolRig rig(*model);
        std::vector<uint8_t> map(512, 0);
        ASSERT_EQ(rig.protocol.CMD_READ_DEFAULT_KEYMAP(map), kResultSuccess);
        ExpectChunks(rig.Requests(), 0x0F, 0, static_cast<size_t>(model->keyMapBytes));
        map.resize(static_cast<size_t>(model->keyMapBytes));
        EXPECT_EQ(map, virtualkb::FactoryKeyMap(*model));
    }
}

// --- Late answers, removal, concurrency ------------------------------------------------------------

TEST(CommandProtocolTest, ALateAnswerIsNeverTakenForTheNextChunk) {
    ProtocolRig rig;
    const auto block = Pattern(5 * 56, 9);
    ASSERT_EQ(rig.protocol.CMD_BEGIN(), kResultSuccess);
    ASSERT_EQ(rig.protocol.CMD_WRITE_MACROS(block), kResultSuccess);
    // Reports take 20 ms each way. The first chunk's first answer comes 100 ms late, after its try has
    // given up: the retry's answer is taken, and the late one arrives while the next chunk's request is
    // being written.
    rig.keyboard.SetReportLatency(20ms);
    rig.keyboard.InjectFault({FaultKind::SlowAnswer, CommandCode::ReadMacros, 0, 1, 100ms});
    std::vector<uint8_t> back(block.size());
    ASSERT_EQ(rig.protocol.CMD_READ_MACROS(back), kResultSuccess);
    EXPECT_EQ(back, block);
}

TEST(CommandProtocolTest, ALateAnswerIsNeverTakenForTheNextCommand) {
    ProtocolRig rig;
    // Every try of the settings read is answered long after it gave up: the command fails, and its four
    // answers arrive before the next command.
    rig.keyboard.InjectFault({FaultKind::SlowAnswer, CommandCode::ReadSettings, 0, 4, 400ms});
    SettingsBlock block{};
    EXPECT_EQ(rig.protocol.CMD_READ_SETTINGS(block), kResultNoAnswer);
    std::this_thread::sleep_for(450ms);
    MemoryChunk chunk{};
    ASSERT_EQ(rig.protocol.CMD_READ_MEM(0, 56, chunk), kResultSuccess);
    const auto memory = rig.keyboard.Contents().memory;
    EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), memory.begin())) << "the lighting record, not the settings";
}

TEST(CommandProtocolTest, RemovalInTheMiddleOfABlockEndsItAtOnce) {
    for (const auto command : {CommandCode::WriteKeyMap, CommandCode::ReadKeyMap}) {
        SCOPED_TRACE(static_cast<int>(command));
        ProtocolRig rig(Model128(), ProtocolTimings{});
        ASSERT_EQ(rig.protocol.CMD_BEGIN(), kResultSuccess);
        rig.keyboard.InjectFault({FaultKind::Unplug, command, 3, 1});
        auto map = Pattern(512, 5);
        const auto start = Clock::now();
        const int result = command == CommandCode::WriteKeyMap ? rig.protocol.CMD_WRITE_KEYMAP(0, map)
                                                                : rig.protocol.CMD_READ_KEYMAP(0, map);
        EXPECT_EQ(result, kResultWriteFailed) << "the next try cannot write to a keyboard that is gone";
        EXPECT_LT(Clock::now() - start, 250ms) << "no read waits for its 300 ms time-out";
        EXPECT_EQ(rig.keyboard.TrafficSeen().requests, 5u);  // begin, three chunks, the one it left on
        EXPECT_FALSE(rig.keyboard.Present());
    }
}

TEST(CommandProtocolTest, RemovalMidBlockNeverHangsWithRealTimeOuts) {
    ProtocolRig rig(Model128(), ProtocolTimings{});
    ASSERT_EQ(rig.protocol.CMD_BEGIN(), kResultSuccess);
    rig.keyboard.InjectFault({FaultKind::Unplug, CommandCode::WriteMacros, 100, 1});
    const auto block = Pattern(32640, 1);
    auto done = std::async(std::launch::async, [&] { return rig.protocol.CMD_WRITE_MACROS(block); });
    ASSERT_EQ(done.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(done.get(), kResultWriteFailed);
    // The chunks before the removal stay written on the keyboard.
    const auto area = rig.keyboard.Contents().macroArea;
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 100 * 56, area.begin()));
}

TEST(CommandProtocolTest, AnswersStayWithTheirRequestsAcrossThreads) {
    ProtocolRig rig;
    rig.keyboard.RecordRequests(false);
    rig.keyboard.SetReportLatency(20us);  // lets the threads' exchanges overlap
    const auto memory = rig.keyboard.Contents().memory;
    std::atomic<int> wrong{0};
    auto reader = [&](uint16_t address) {
        for (int i = 0; i < 150; ++i) {
            MemoryChunk chunk{};
            if (rig.protocol.CMD_READ_MEM(address, 42, chunk) != kResultSuccess ||
                !std::equal(chunk.begin(), chunk.begin() + 42, memory.begin() + address))
                ++wrong;
        }
    };
    std::thread a(reader, 0), b(reader, 42), c(reader, 84);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace kw::device
