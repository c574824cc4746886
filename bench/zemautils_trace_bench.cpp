// Cost of a trace point: disabled (one load and compare of the module's level) and enabled (one
// whole line written and flushed to a trace file).

#include <benchmark/benchmark.h>
#include <zemautils/trace.h>

#include <cstdio>
#include <filesystem>

namespace {

inline bool LevelOn(int module, int level) {
    return __atomic_load_n(&TraceEnabled[module], __ATOMIC_RELAXED) >= level;
}

void DisabledTracePoint(benchmark::State& state) {
    TraceLevel(TRACE_MODULE_BLUETOOTH, 0);
    int value = 0;
    for (auto _ : state) {
        if (LevelOn(TRACE_MODULE_BLUETOOTH, 10)) {
            TracePrintTag(TRACE_MODULE_BLUETOOTH, "Bench", __LINE__);
            TracePrintf("L%d - value %d\n", 10, value);
        }
        benchmark::DoNotOptimize(++value);
    }
}
BENCHMARK(DisabledTracePoint);

void EnabledTraceLine(benchmark::State& state) {
    const auto file = std::filesystem::temp_directory_path() / "zemautils-trace-bench.log";
    std::filesystem::remove(file);
    TraceStart(file.c_str());
    TraceLevel(TRACE_MODULE_BLUETOOTH, 10);
    int value = 0;
    for (auto _ : state) {
        if (LevelOn(TRACE_MODULE_BLUETOOTH, 10)) {
            TracePrintTag(TRACE_MODULE_BLUETOOTH, "Bench", __LINE__);
            TracePrintf("L%d - value %d\n", 10, ++value);
        }
    }
    TraceStop();
    TraceLevel(TRACE_MODULE_BLUETOOTH, 0);
    std::filesystem::remove(file);
}
BENCHMARK(EnabledTraceLine);

}  // namespace

BENCHMARK_MAIN();
