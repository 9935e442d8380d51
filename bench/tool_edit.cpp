// The geometry of the editing tools' heaviest drags: a trim over 2,000 lines (goal < 100 ms), and a
// rectangle and a two-line erase over 10,000 polylines of 10 vertices each (goal < 50 ms each).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "model/geometry/RegionErase.h"
#include "model/geometry/Trim.h"

namespace {

// 1,000 horizontal and 1,000 vertical lines across a 10 x 10 square, their ends scattered around
// the sides of the dragged rectangle: crossed lines, overshoots, gaps and lines inside.
std::vector<MFloatSegment> TrimLinesScene() {
    std::mt19937 random(36);
    std::uniform_real_distribution<double> across(-4.9, 4.9), end(3.0, 5.5);
    std::vector<MFloatSegment> lines;
    for (int i = 0; i < 1000; ++i) {
        const double y = across(random);
        lines.push_back({{-end(random), y}, {end(random), y}});
        const double x = across(random);
        lines.push_back({{x, -end(random)}, {x, end(random)}});
    }
    return lines;
}

void BM_TrimDrag(benchmark::State& state) {
    static const std::vector<MFloatSegment> lines = TrimLinesScene();
    std::size_t changed = 0;
    for (auto _ : state) {
        const std::vector<MTrimOutcome> out = TrimLines(lines, {-4.2, -4.2}, {4.2, 4.2});
        changed = 0;
        for (const MTrimOutcome& o : out)
            changed += o.changed;
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["lines"] = static_cast<double>(lines.size());
    state.counters["changed"] = static_cast<double>(changed);
}

// Random walks of 10 vertices around a 100 x 100 field; the region covers its middle.
std::vector<std::vector<MFloatPoint>> Polylines() {
    std::mt19937 random(47);
    std::uniform_real_distribution<double> start(0, 100), step(-8, 8);
    std::vector<std::vector<MFloatPoint>> out(10000);
    for (std::vector<MFloatPoint>& p : out) {
        MFloatPoint v(start(random), start(random));
        for (int i = 0; i < 10; ++i) {
            p.push_back(v);
            v += MFloatPoint(step(random), step(random));
        }
    }
    return out;
}

void EraseAll(benchmark::State& state, const MCutRegion& region) {
    static const std::vector<std::vector<MFloatPoint>> polylines = Polylines();
    std::size_t cut = 0, pieces = 0;
    for (auto _ : state) {
        cut = pieces = 0;
        for (const std::vector<MFloatPoint>& p : polylines) {
            const MRegionCut c = CutOutlineByRegion(p, false, region);
            cut += c.reachesInside;
            pieces += c.runs.size();
        }
    }
    state.counters["cut"] = static_cast<double>(cut);
    state.counters["pieces"] = static_cast<double>(pieces);
}

void BM_RectangleErase(benchmark::State& state) {
    EraseAll(state, MCutRegion::Rectangle({20, 20}, {80, 80}));
}

void BM_TwoLineErase(benchmark::State& state) {
    EraseAll(state, MCutRegion::BetweenLines({10, 20}, {90, 35}, {15, 80}, {85, 70}));
}

}  // namespace

BENCHMARK(BM_TrimDrag)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RectangleErase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoLineErase)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
