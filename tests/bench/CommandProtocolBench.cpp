// Whole block transfers through the virtual keyboard's model of a full-speed interrupt endpoint (1 ms
// per report each way). The floor is what the protocol cannot avoid: 2 ms per exchange, plus the
// 10 ms the end command waits. "ratio" is the measured wall time over that floor.
#include "device/CommandProtocol.h"
#include "virtualkb/VirtualKeyboard.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

namespace kw::device {
namespace {

using Clock = std::chrono::steady_clock;
constexpr double kExchangeFloorMs = 2.0;
constexpr double kEndWaitMs = 10.0;

struct Endpoint {
    explicit Endpoint(const KeyboardModel& model)
        : keyboard(virtualkb::FactoryContents(model)), device(keyboard), protocol(device, lock, state) {
        keyboard.SetReportLatency(std::chrono::milliseconds(1));
        state.SetGeometry(model);
        device.Open(keyboard.Paths().vendor, true, true, true, false);
        state.SetConnected(true);
    }
    virtualkb::VirtualKeyboard keyboard;
    HidDevice device;
    DeviceLock lock;
    KeyboardState state;
    CommandProtocol protocol;
};

// Runs one transfer per iteration and reports its exchanges, its floor and the ratio to it.
void Measure(benchmark::State& state, const std::function<bool(CommandProtocol&)>& transfer, int endCommands) {
    Endpoint endpoint(kSupportedKeyboards[1]);
    double wallMs = 0;
    for (auto _ : state) {
        endpoint.keyboard.ResetTraffic();
        const auto start = Clock::now();
        if (!transfer(endpoint.protocol)) state.SkipWithError("the transfer failed");
        wallMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    const auto exchanges = static_cast<double>(endpoint.keyboard.TrafficSeen().requests);
    const double floorMs = exchanges * kExchangeFloorMs + endCommands * kEndWaitMs;
    state.counters["exchanges"] = exchanges;
    state.counters["floor_ms"] = floorMs;
    state.counters["wall_ms"] = wallMs / static_cast<double>(state.iterations());
    state.counters["ratio"] = wallMs / static_cast<double>(state.iterations()) / floorMs;
}

void KeyMapWrite(benchmark::State& state) {
    const std::vector<uint8_t> map(512, 0x02);
    Measure(state, [&](CommandProtocol& p) {
        return p.CMD_BEGIN() == kResultSuccess && p.CMD_WRITE_KEYMAP(1, map) == kResultSuccess &&
               p.CMD_END() == kResultSuccess;
    }, 1);
}

void FullMacroAreaWrite(benchmark::State& state) {
    const auto capacity = virtualkb::FactoryContents(kSupportedKeyboards[1]).MacroCapacity();
    const std::vector<uint8_t> area(capacity, 0x5A);
    Measure(state, [&](CommandProtocol& p) {
        return p.CMD_BEGIN() == kResultSuccess && p.CMD_WRITE_MACROS(area) == kResultSuccess &&
               p.CMD_END() == kResultSuccess;
    }, 1);
}

void FullMacroAreaRead(benchmark::State& state) {
    const auto capacity = virtualkb::FactoryContents(kSupportedKeyboards[1]).MacroCapacity();
    std::vector<uint8_t> area(capacity);
    Measure(state, [&](CommandProtocol& p) { return p.CMD_READ_MACROS(area) == kResultSuccess; }, 0);
}

BENCHMARK(KeyMapWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(FullMacroAreaWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(FullMacroAreaRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace kw::device

BENCHMARK_MAIN();
