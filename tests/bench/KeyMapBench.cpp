// Encoding and decoding one full 512-byte key map: what a send does per profile and a read-back
// three times.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/KeyMap.h"

namespace {

using namespace kw::model;

// A 128-slot factory map holding every key of the main window, G1-G9 and slots of no key.
KeyMapBytes FactoryMap() {
    KeyMapBytes map{};
    int s = 0;
    auto put = [&](std::uint8_t a, std::uint8_t b, std::uint8_t c) {
        map[3 * s] = a;
        map[3 * s + 1] = b;
        map[3 * s + 2] = c;
        ++s;
    };
    for (const KeyButton& b : MainKeyButtonTable) {
        if (const std::uint8_t bit = ModifierBitOf(b.key)) put(0x02, 0x01, bit);
        else put(0x02, 0x02, static_cast<std::uint8_t>(DeviceUsageOf(b.key).usage));
    }
    for (std::uint8_t n = 1; n <= 9; ++n) put(0x06, 0xA2, n);
    while (s < 128) put(0x05, 0x00, 0x00);
    return map;
}

// Every key assigned, cycling through the kinds.
std::unique_ptr<ProfileBlock> BusyProfile() {
    auto block = std::make_unique<ProfileBlock>();
    ResetProfileBlock(*block);
    const KeyAssignment kinds[] = {{2, 0, 0x01D, 0, 0}, {2, 0, 0x172, 0, 0}, {4, 0, 3, 0, 0}, {7, 0, 6, 0, 0},
                                   {8, 0, 4, 0, 0},     {1, 0, 0, 0, 0},     {2, 0, 0x01E, 0, 0}};
    for (std::size_t i = 1; i < 274; ++i) {
        const KeyAssignment& k = kinds[i % std::size(kinds)];
        (*block)[i].kind = k.kind;
        (*block)[i].value = k.value;
    }
    return block;
}

const MacroPositionLookup kPositions = [](std::uint32_t id) -> std::size_t { return id == 0 ? 0 : id - 1; };

void BM_EncodeAndDecodeKeyMap(benchmark::State& state) {
    const KeyMapBytes factory = FactoryMap();
    const DefaultKeyMap defaults{{128, 512}, factory, true};
    const auto block = BusyProfile();
    auto decoded = std::make_unique<ProfileBlock>();
    KeyMapBytes sent{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeKeyMap(*block, defaults, kPositions, sent));
        benchmark::DoNotOptimize(DecodeKeyMap(sent, defaults, *decoded));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2 * 512);
}
BENCHMARK(BM_EncodeAndDecodeKeyMap);

void BM_EncodeKeyMap(benchmark::State& state) {
    const KeyMapBytes factory = FactoryMap();
    const DefaultKeyMap defaults{{128, 512}, factory, true};
    const auto block = BusyProfile();
    KeyMapBytes sent{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeKeyMap(*block, defaults, kPositions, sent));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EncodeKeyMap);

void BM_DecodeKeyMap(benchmark::State& state) {
    const KeyMapBytes factory = FactoryMap();
    const DefaultKeyMap defaults{{128, 512}, factory, true};
    KeyMapBytes sent{};
    EncodeKeyMap(*BusyProfile(), defaults, kPositions, sent);
    auto decoded = std::make_unique<ProfileBlock>();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeKeyMap(sent, defaults, *decoded));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DecodeKeyMap);

}  // namespace

BENCHMARK_MAIN();
