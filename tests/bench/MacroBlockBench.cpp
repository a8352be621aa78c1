// Building and reading back a full macro block: a hundred named macros that fill the 64 KB a block
// can address, and four of the longest macros.
#include "model/MacroBlock.h"
#include "model/KeyCatalogue.h"
#include "model/MacroCatalogueKeys.h"

#include <benchmark/benchmark.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace kw::model;

// Letters, a modifier, a media key, mouse buttons, the wheel and a system key: every encoding.
constexpr KeyId kKeys[] = {0x01E, 0x030, 0x02A, 0x15B, 0x130, 0x171, 0x173, 0x161, 0x162, 0x15F};

std::vector<MacroRecord> FullSet(size_t macros, uint16_t actions, size_t nameLength) {
    std::vector<MacroRecord> set(macros);
    for (size_t i = 0; i < macros; ++i) {
        MacroRecord& r = set[i];
        SetMacroName(r, std::u16string(nameLength, static_cast<char16_t>(u'A' + i % 26)));
        r.cycleCount = 1;
        r.id = static_cast<uint16_t>(i + 1);
        r.actionCount = actions;
        for (uint16_t a = 0; a < actions; ++a) {
            const KeyId key = kKeys[(a + i) % std::size(kKeys)];
            r.actions[a] = {static_cast<uint32_t>(10 * (a % 100)), key, static_cast<uint16_t>(a % 2)};
        }
    }
    return set;
}

void BuildAndRead(benchmark::State& state, const std::vector<MacroRecord>& set, bool names) {
    const MacroKeyVocabulary& keys = CatalogueMacroKeys();
    size_t bytes = 0;
    for (auto _ : state) {
        const MacroBlockBuild build = BuildMacroBlock(set, names, keys);
        const MacroBlockParse parse = ParseMacroBlock(build.bytes, u"Macro", keys);
        if (build.error != MacroBlockError::None || parse.error != MacroBlockError::None) {
            state.SkipWithError("the block did not build or read back");
            break;
        }
        bytes = build.bytes.size();
        benchmark::DoNotOptimize(parse.records.data());
    }
    state.counters["block_bytes"] = static_cast<double>(bytes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_HundredNamedMacros(benchmark::State& state) {
    static const auto set = FullSet(100, 150, 20);  // 64616 bytes with names
    BuildAndRead(state, set, true);
}

void BM_FourLongestMacros(benchmark::State& state) {
    static const auto set = FullSet(4, kMaxMacroActions, 0);  // 64040 bytes
    BuildAndRead(state, set, false);
}

void BM_BuildOnly(benchmark::State& state) {
    static const auto set = FullSet(100, 150, 20);
    const MacroKeyVocabulary& keys = CatalogueMacroKeys();
    for (auto _ : state) benchmark::DoNotOptimize(BuildMacroBlock(set, true, keys).bytes.data());
}

void BM_ReadOnly(benchmark::State& state) {
    static const auto set = FullSet(100, 150, 20);
    const MacroKeyVocabulary& keys = CatalogueMacroKeys();
    const auto block = BuildMacroBlock(set, true, keys).bytes;
    for (auto _ : state) benchmark::DoNotOptimize(ParseMacroBlock(block, u"Macro", keys).records.data());
}

BENCHMARK(BM_HundredNamedMacros)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FourLongestMacros)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
