// Lighting traffic through the virtual keyboard's model of a full-speed interrupt endpoint (1 ms per
// report each way). The floor is what the protocol cannot avoid: 2 ms per exchange, plus the 10 ms
// the end command waits. "ratio" is the measured wall time over that floor.
#include "device/CommandProtocol.h"
#include "model/LightingControls.h"
#include "model/LightingDevice.h"
#include "virtualkb/VirtualKeyboard.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

namespace kw::model {
namespace {

using Clock = std::chrono::steady_clock;
constexpr double kExchangeFloorMs = 2.0;
constexpr double kEndWaitMs = 10.0;

struct Endpoint {
    explicit Endpoint(const device::KeyboardModel& model)
        : keyboard(virtualkb::FactoryContents(model)), device(keyboard), protocol(device, lock, state) {
        keyboard.SetReportLatency(std::chrono::milliseconds(1));
        state.SetGeometry(model);
        device.Open(keyboard.Paths().vendor, true, true, true, false);
        state.SetConnected(true);
    }
    virtualkb::VirtualKeyboard keyboard;
    device::HidDevice device;
    device::DeviceLock lock;
    device::KeyboardState state;
    device::CommandProtocol protocol;
};

// From the owner's change to its last command on the wire, per iteration, over the floor.
void Measure(benchmark::State& state, const std::function<bool(device::CommandProtocol&, int iteration)>& change) {
    Endpoint endpoint(device::kSupportedKeyboards[1]);
    double wallMs = 0;
    int iteration = 0;
    for (auto _ : state) {
        endpoint.keyboard.ResetTraffic();
        const auto start = Clock::now();
        if (!change(endpoint.protocol, iteration++)) state.SkipWithError("the keyboard did not take the change");
        wallMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    const auto exchanges = static_cast<double>(endpoint.keyboard.TrafficSeen().requests);
    const double floorMs = exchanges * kExchangeFloorMs + kEndWaitMs;  // one group per change
    const double perChange = wallMs / static_cast<double>(state.iterations());
    state.counters["exchanges"] = exchanges;
    state.counters["floor_ms"] = floorMs;
    state.counters["wall_ms"] = perChange;
    state.counters["ratio"] = perChange / floorMs;
}

// A brightness slider move: one field in one group.
void BrightnessChange(benchmark::State& state) {
    LightingState panel;
    Measure(state, [&](device::CommandProtocol& p, int i) {
        return ApplyLightingControl(p, panel, {lighting_control::kBrightnessSlider, i % 2 == 0 ? 1 : 2}) ==
               device::kResultSuccess;
    });
}

// A colour choice: the flag and the colour, two writes in one group.
void ColourChange(benchmark::State& state) {
    LightingState panel;
    Measure(state, [&](device::CommandProtocol& p, int i) {
        return ApplyLightingControl(p, panel, {lighting_control::kColourButton1, 0, MakeColour(static_cast<uint8_t>(i), 0, 0)}) ==
               device::kResultSuccess;
    });
}

void FullLedTable(benchmark::State& state) {
    LedColourTable table;
    for (int led = 0; led < kLedSlots; ++led) table.Set(1, led, MakeColour(static_cast<uint8_t>(led), 1, 2));
    Measure(state, [&](device::CommandProtocol& p, int) {
        return WriteLedTable(p, table, 1, device::kSupportedKeyboards[1].keyCount) == device::kResultSuccess;
    });
}

BENCHMARK(BrightnessChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(ColourChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(FullLedTable)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
}  // namespace kw::model

BENCHMARK_MAIN();
