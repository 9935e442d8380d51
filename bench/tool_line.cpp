// The line tools while they follow the pointer at 1920 x 1080: one move of a freehand trace of
// 10,000 vertices (the trace erased, a vertex appended, the trace drawn; goal < 16 ms) and one move
// of a wall of 200 segments (goal < 2 ms). The worst move is a counter.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "bench/ColdOpen.h"
#include "model/settings/OptionRecord.h"
#include "platform/ui/MessageTranslation.h"
#include "tools/line/FreeLineTool.h"
#include "tools/line/WallTool.h"

namespace {

using Clock = std::chrono::steady_clock;

// A point of a spiral over the client area, never twice the same pixel in a row.
CPoint SpiralPoint(int i) {
    const double a = i * 0.05;
    const double r = 40 + std::fmod(i * 0.037, 480.0);
    return CPoint(static_cast<int>(960 + r * std::cos(a)), static_cast<int>(540 + r * std::sin(a)));
}

template <class Move>
void TimeMoves(benchmark::State& state, Move move) {
    double worst = 0.0;
    int i = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        move(i++);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
    }
    state.counters["worst_ms"] = worst * 1000.0;
}

void BM_FreehandMoveOverTenThousandVertices(benchmark::State& state) {
    bench::ProgramWindow& w = bench::ToolWindow();
    MFreeLineTool tool(51);
    const CPoint first = SpiralPoint(0);
    tool.OnLButtonDown(&w.view, first.x + 40, first.y, MK_LBUTTON);
    for (int i = 1; i < 10000; ++i)
        tool.OnMouseMove(&w.view, SpiralPoint(i).x, SpiralPoint(i).y, MK_LBUTTON);
    TimeMoves(state, [&](int i) {
        const CPoint p = SpiralPoint(10000 + i);
        tool.OnMouseMove(&w.view, p.x, p.y, MK_LBUTTON);
    });
    state.counters["vertices"] = tool.Lists().NewCount() ? 10000 + state.iterations() : 0;
    tool.End(&w.view, FALSE);
}
BENCHMARK(BM_FreehandMoveOverTenThousandVertices)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(200);

void BM_WallMoveOverTwoHundredSegments(benchmark::State& state) {
    bench::ProgramWindow& w = bench::ToolWindow();
    MWallTool tool(26);
    for (int i = 0; i <= 200; ++i) {
        // A zigzag across the client area.
        const CPoint p(100 + i * 8, i % 2 ? 300 : 700);
        tool.OnLButtonDown(&w.view, p.x, p.y, 0);
        tool.OnLButtonUp(&w.view, p.x, p.y, 0);
    }
    TimeMoves(state, [&](int i) {
        const CPoint p(1800 + (i % 50), 500 + (i % 37) * 5);
        tool.OnMouseMove(&w.view, p.x, p.y, 0);
    });
    tool.End(&w.view, FALSE);
}
BENCHMARK(BM_WallMoveOverTwoHundredSegments)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(500);

}  // namespace

int main(int argc, char** argv) {
    return bench::WarmMain(argc, argv);
}
