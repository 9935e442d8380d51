// Laying and cutting hatch lines: a 1,000-vertex outline with about 500 lines (goal < 10 ms) and a
// 10,000-vertex outline with about 2,000 lines (goal < 50 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "model/geometry/Hatch.h"

namespace {

// A ring of radius 100 with nine bays 30 deep and a little noise on every vertex: concave, so
// most lines cross it several times, as a traced contour would.
std::vector<MHatchBoundary> Outline(int vertices) {
    std::mt19937 random(29);
    std::uniform_real_distribution<double> noise(-0.05, 0.05);
    std::vector<MFloatPoint> points;
    for (int i = 0; i < vertices; ++i) {
        const double a = 2 * M_PI * i / vertices, r = 100 + 30 * std::sin(9 * a) + noise(random);
        points.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    return {MHatchBoundary::Outline(points, true)};
}

void BM_Hatch(benchmark::State& state) {
    const std::vector<MHatchBoundary> boundaries = Outline(static_cast<int>(state.range(0)));
    MHatchSettings settings;
    settings.directions = {false, false, false, true};  // rising: no edge is level with the lines
    // The lines that meet the ring have levels y - x within about +-220 and step by 2 x pitch.
    settings.pitch = 220.0 / static_cast<double>(state.range(1));
    std::size_t pieces = 0;
    for (auto _ : state) {
        const std::vector<MFloatSegment> out = LayHatch(boundaries, {0.3, 0.2}, {0.3, 0.2}, settings);
        pieces = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    std::vector<double> levels;
    for (const MFloatSegment& p : LayHatch(boundaries, {0.3, 0.2}, {0.3, 0.2}, settings))
        levels.push_back(p.start.y - p.start.x);
    std::sort(levels.begin(), levels.end());
    state.counters["lines"] = static_cast<double>(std::unique(levels.begin(), levels.end()) - levels.begin());
    state.counters["pieces"] = static_cast<double>(pieces);
}

}  // namespace

BENCHMARK(BM_Hatch)->Args({1000, 500})->Args({10000, 2000})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
