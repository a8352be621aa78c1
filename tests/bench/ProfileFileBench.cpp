// Saving and loading the profile file on disk: the default configuration, and the largest one (a
// hundred of the longest macros and a launch program on every key).
#include "model/ProfileFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using namespace kw::model;

void Fill(ConfigStore& store, bool largest) {
    CreateDefaultProfile(store);
    if (!largest) return;
    std::vector<MacroRecord> records(kMaxMacros);
    for (std::uint16_t i = 0; i < kMaxMacros; ++i) {
        records[i].id = static_cast<std::uint16_t>(i + 1);
        records[i].cycleCount = 1;
        records[i].actionCount = kMaxMacroActions;
        for (std::uint16_t a = 0; a < kMaxMacroActions; ++a) records[i].actions[a] = {a % 500u, 0x1E, static_cast<std::uint16_t>(a % 2)};
    }
    store.macros.Replace(std::move(records));
    for (int k = 1; k < 256; ++k) {
        store.configuration.blocks[0][k].kind = static_cast<std::uint16_t>(AssignmentKind::LaunchProgram);
        store.texts.Set(*StringTable::EntryOf(0, k), std::u16string(200, u'p'));
    }
}

std::wstring BenchPath() { return (std::filesystem::temp_directory_path() / "kw-profile-bench.kwp").wstring(); }

void BM_SaveProfileFile(benchmark::State& state) {
    ConfigStore store;
    Fill(store, state.range(0) != 0);
    const std::wstring path = BenchPath();
    for (auto _ : state) {
        if (!WriteProfileFile(store, path, SystemProfileFiles())) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(std::filesystem::file_size(path)));
}

void BM_LoadProfileFile(benchmark::State& state) {
    ConfigStore store;
    Fill(store, state.range(0) != 0);
    const std::wstring path = BenchPath();
    WriteProfileFile(store, path, SystemProfileFiles());
    ConfigStore loaded;
    for (auto _ : state) {
        if (!ReadProfileFile(loaded, path, SystemProfileFiles()).Ok()) state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(std::filesystem::file_size(path)));
}

BENCHMARK(BM_SaveProfileFile)->Arg(0)->Arg(1)->ArgName("largest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadProfileFile)->Arg(0)->Arg(1)->ArgName("largest")->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
