// Apply of a full key map plus a macro block that fills the keyboard's whole macro area, through the
// virtual keyboard's model of a full-speed interrupt endpoint (1 ms per report each way). The floor
// is 2 ms per exchange plus the 10 ms the end command waits; "ratio" is wall time over that floor.
#include "device/CommandProtocol.h"
#include "device/HidDevice.h"
#include "model/ConfigTransfer.h"
#include "model/KeyCatalogue.h"
#include "model/MacroCatalogueKeys.h"
#include "virtualkb/VirtualKeyboard.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace kw::model {
namespace {

using Clock = std::chrono::steady_clock;

struct NoNotices final : TransferNotices {
    void Show(const std::wstring&, const std::wstring&) override {}
};

// Macros of alternating key presses, as many and as long as the area takes without names.
std::vector<MacroRecord> FillingMacros(uint32_t capacity) {
    std::vector<MacroRecord> macros;
    while (macros.size() < kMaxMacros) {
        MacroRecord r;
        r.id = static_cast<uint16_t>(macros.size() + 1);
        r.cycleCount = 1;
        SetMacroName(r, u"filler");
        macros.push_back(r);
        uint16_t low = 0, high = kMaxMacroActions;  // the most actions that still fit
        while (low < high) {
            const auto mid = static_cast<uint16_t>((low + high + 1) / 2);
            macros.back().actionCount = mid;
            if (MeasureMacroBlock(macros).withoutNames <= capacity) {
                low = mid;
            } else {
                high = static_cast<uint16_t>(mid - 1);
            }
        }
        macros.back().actionCount = low;
        for (uint16_t i = 0; i < low; ++i) {
            macros.back().actions[i] = MacroAction{10, static_cast<KeyId>(i % 4 < 2 ? 0x01E : 0x030),
                                                   static_cast<uint16_t>(i % 2 ? kMacroRelease : kMacroPress)};
        }
        if (low < kMaxMacroActions) break;
    }
    return macros;
}

void ApplyFullKeyMapAndMacroArea(benchmark::State& state) {
    const auto& model = device::kSupportedKeyboards[1];
    virtualkb::VirtualKeyboard keyboard(virtualkb::FactoryContents(model));
    const auto contents = keyboard.Contents();
    keyboard.SetReportLatency(std::chrono::milliseconds(1));
    device::HidDevice hid(keyboard);
    device::DeviceLock lock;
    device::KeyboardState keyboardState;
    keyboardState.SetGeometry(model);
    keyboardState.SetDefaultKeyMap(contents.defaultKeyMap);
    hid.Open(keyboard.Paths().vendor, true, true, true, false);
    keyboardState.SetConnected(true);
    device::CommandProtocol protocol(hid, lock, keyboardState);
    const auto capacity = static_cast<uint32_t>(contents.MacroCapacity());
    const TransferLink link{protocol, keyboardState, capacity, 1, CatalogueMacroKeys()};

    auto working = std::make_unique<ConfigStore>();
    auto applied = std::make_unique<ConfigStore>();
    for (auto& block : working->configuration.blocks) ResetProfileBlock(block);
    // Every key of the profile does something else than its factory function.
    for (size_t k = 1; k < kKeyRecordCount; ++k)
        working->configuration.blocks[1][k] = {static_cast<uint16_t>(AssignmentKind::Key), 0, 0x01E, 0, 0};
    working->macros.Replace(FillingMacros(capacity));

    NoNotices notices;
    double wallMs = 0;
    for (auto _ : state) {
        keyboard.ResetTraffic();
        const auto start = Clock::now();
        if (!SendConfiguration(*working, *applied, link, notices).Ok()) state.SkipWithError("the send failed");
        wallMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    const auto exchanges = static_cast<double>(keyboard.TrafficSeen().requests);
    const double floorMs = exchanges * 2.0 + 10.0;
    const double perSend = wallMs / static_cast<double>(state.iterations());
    state.counters["macro_bytes"] = static_cast<double>(MeasureMacroBlock(working->macros.Records()).withoutNames);
    state.counters["exchanges"] = exchanges;
    state.counters["floor_ms"] = floorMs;
    state.counters["wall_ms"] = perSend;
    state.counters["ratio"] = perSend / floorMs;
}

BENCHMARK(ApplyFullKeyMapAndMacroArea)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kw::model

BENCHMARK_MAIN();
