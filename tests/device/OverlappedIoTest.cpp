#include "device/OverlappedIo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

namespace kw::device {
namespace {

using namespace std::chrono_literals;

// A named pipe stands in for a device handle: reads on it wait until the other end writes, which is
// exactly the situation of a keyboard that sends nothing.
class PipePair {
public:
    PipePair() {
        const std::wstring name = L"\\\\.\\pipe\\kw-overlapped-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++s_serial);
        server.reset(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0,
                                        nullptr));
        client.reset(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OVERLAPPED, nullptr));
    }
    fw::UniqueFile server;
    fw::UniqueFile client;

private:
    static inline int s_serial = 0;
};

void WriteFromClient(PipePair& pipes, std::string_view text) {
    OverlappedIo io;
    size_t written = 0;
    ASSERT_TRUE(io.Write(pipes.client.get(),
                         std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                         written, 1000));
    ASSERT_EQ(written, text.size());
}

TEST(OverlappedIoTest, ReadsWhatArrives) {
    PipePair pipes;
    ASSERT_TRUE(pipes.server && pipes.client);
    WriteFromClient(pipes, "report");
    OverlappedIo io;
    uint8_t buf[64] = {};
    size_t got = 0;
    ASSERT_TRUE(io.Read(pipes.server.get(), buf, got, 1000));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), got), "report");
}

TEST(OverlappedIoTest, TimedOutReadReturnsNothingAndLeavesNoOperationBehind) {
    PipePair pipes;
    ASSERT_TRUE(pipes.server && pipes.client);
    OverlappedIo io;
    size_t got = 7;
    {
        uint8_t first[64];
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(io.Read(pipes.server.get(), first, got, 100));
        EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
        EXPECT_EQ(got, 0u);
    }
    // Had the timed-out read stayed outstanding, this message would land in the first buffer, gone by
    // now, and the next read would wait in vain.
    WriteFromClient(pipes, "late");
    uint8_t second[64] = {};
    ASSERT_TRUE(io.Read(pipes.server.get(), second, got, 1000));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(second), got), "late");
}

TEST(OverlappedIoTest, CancelReleasesAReadWithoutTimeOutAndIsForgottenAfterwards) {
    PipePair pipes;
    ASSERT_TRUE(pipes.server && pipes.client);
    OverlappedIo io;
    auto reader = std::async(std::launch::async, [&] {
        uint8_t buf[64];
        size_t got = 0;
        return io.Read(pipes.server.get(), buf, got, INFINITE);
    });
    EXPECT_EQ(reader.wait_for(100ms), std::future_status::timeout);
    while (reader.wait_for(10ms) != std::future_status::ready) io.Cancel();
    EXPECT_FALSE(reader.get());

    io.Cancel();  // nobody waits now
    WriteFromClient(pipes, "after");
    uint8_t buf[64] = {};
    size_t got = 0;
    EXPECT_TRUE(io.Read(pipes.server.get(), buf, got, 1000)) << "an old cancel must not cut this read short";
}

TEST(OverlappedIoTest, InvalidHandleFails) {
    OverlappedIo io;
    uint8_t buf[4];
    size_t got = 1;
    EXPECT_FALSE(io.Read(INVALID_HANDLE_VALUE, buf, got, 10));
    EXPECT_EQ(got, 0u);
}

}  // namespace
}  // namespace kw::device
