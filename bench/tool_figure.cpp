// The figure tools following the pointer on a 1920 x 1080 view: one move of an open spline of 2,000
// control points in progress (the curve recomputed, the rubber band erased and drawn again) and of
// a regular polygon of 10,000 sides. Goal: under 16 ms a move, with the worst move as a counter.
// The dense wave shows how the spline's move grows when every sample is a segment on screen.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "bench/ColdOpen.h"
#include "model/geometry/FloatPointArray.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/curves/SplineShapeBase.h"
#include "platform/ui/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "tools/line/NPolygonTool.h"
#include "tools/line/SplineTools.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kControlPoints = 2000;
constexpr int kSides = 10000;

// Moves round a circle about the client's centre, one per iteration, each timed on its own.
template <class Tool>
void MoveAround(benchmark::State& state, Tool& tool) {
    MTessarayView& view = bench::ToolWindow().view;
    double worst = 0.0;
    int i = 0;
    for (auto _ : state) {
        const double a = 0.05 * i++;
        const int x = bench::kClientWidth / 2 + static_cast<int>(300 * std::cos(a));
        const int y = bench::kClientHeight / 2 + static_cast<int>(300 * std::sin(a));
        const auto start = Clock::now();
        tool.OnMouseMove(&view, x, y, 0);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
    }
    state.counters["worst_ms"] = worst * 1000.0;
}

// An open spline in progress whose control points are the points; its last one then follows the
// pointer.
template <class Points>
void SplineFollowsThePointer(benchmark::State& state, Points points) {
    MTessarayView& view = bench::ToolWindow().view;
    MSplineTool tool(4);
    const int cx = bench::kClientWidth / 2, cy = bench::kClientHeight / 2;
    tool.OnLButtonDown(&view, cx, cy, 0);
    tool.OnLButtonUp(&view, cx, cy, 0);
    MFloatPointArray controls;
    const MFloatPoint centre = tool.Spline()->GetControlPoint(0);
    for (int i = 0; i < kControlPoints; ++i)
        controls.Add(centre + points(i));
    tool.Spline()->SetControlPoints(controls);
    MoveAround(state, tool);
    state.counters["control_points"] = tool.Spline()->GetControlPointCount();
    tool.End(&view, FALSE);
}

// Points a user could place: a spiral of 13 turns, 1,000 pixels across, the points 10 pixels apart.
void BM_SplineOfTwoThousandPointsFollowsThePointer(benchmark::State& state) {
    SplineFollowsThePointer(state, [](int i) {
        const double a = std::sqrt(i * 3.2), r = 137.5 * a;
        return MFloatPoint(r * std::cos(a), r * std::sin(a));
    });
}
BENCHMARK(BM_SplineOfTwoThousandPointsFollowsThePointer)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(200);

// The worst case: a wave whose control points lie about one pixel apart across the whole view,
// every sample a segment of its own.
void BM_DenseSplineWaveFollowsThePointer(benchmark::State& state) {
    SplineFollowsThePointer(
        state, [](int i) { return MFloatPoint(i * 20.0 - 20000.0, 3000.0 * std::sin(i * 0.3)); });
}
BENCHMARK(BM_DenseSplineWaveFollowsThePointer)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(200);

void BM_PolygonOfTenThousandSidesFollowsThePointer(benchmark::State& state) {
    MTessarayView& view = bench::ToolWindow().view;
    MNPolygonTool tool(15);
    DialogRunner dialogs;
    dialogs.Script(IDD_NPOLYGON_INPUT,
                   DialogScript().SetText(IDC_NPOLYGON_SIDES, std::to_string(kSides)).Ok());
    tool.OnLButtonDown(&view, bench::kClientWidth / 2, bench::kClientHeight / 2, 0);
    MoveAround(state, tool);
    state.counters["sides"] = tool.GetSides();
    tool.End(&view, FALSE);
}
BENCHMARK(BM_PolygonOfTenThousandSidesFollowsThePointer)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
    return bench::WarmMain(argc, argv);
}
