// AND, OR and minus of two wavy star outlines: 10,000 vertices each crossing about 1,000 times
// (goal: each under 50 ms), and of two 100-vertex outlines (goal: under 0.2 ms).
#include <benchmark/benchmark.h>

#include <cmath>

#include "model/geometry/PolygonBoolean.h"

namespace {

// Radius R·(1 + 0.3·sin(waves·angle + phase)) at integer points; two such outlines with different
// phases cross twice per wave.
MFloatPointArray WavyStar(int count, int waves, double phase, double turn) {
    constexpr double kRadius = 1e8;
    MFloatPointArray outline;
    for (int i = 0; i < count; ++i) {
        const double a = 2 * M_PI * (i + turn) / count;
        const double r = kRadius * (1 + 0.3 * std::sin(waves * a + phase));
        outline.Add({std::round(r * std::cos(a)), std::round(r * std::sin(a))});
    }
    return outline;
}

void BM_CombineOutlines(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const auto op = static_cast<MFusionOperation>(state.range(1));
    const int waves = count / 20;  // 2 crossings a wave: 1,000 for 10,000 vertices
    const MFloatPointArray a = WavyStar(count, waves, 0.0, 0.0), b = WavyStar(count, waves, 2.0, 0.5);
    std::size_t loops = 0;
    for (auto _ : state) {
        const MFusionResult r = CombineOutlines(a, b, op);
        if (!r.IsDone()) state.SkipWithError("the operation failed");
        loops = r.loops.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["loops"] = static_cast<double>(loops);
}

BENCHMARK(BM_CombineOutlines)
    ->ArgNames({"vertices", "op"})
    ->Args({10000, 2})
    ->Args({10000, 1})
    ->Args({10000, 3})
    ->Args({100, 2})
    ->Args({100, 1})
    ->Args({100, 3})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
