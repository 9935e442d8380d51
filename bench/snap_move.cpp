// A mouse move with every snap kind on, through the line tool (and the select tool) at 1920 x 1080,
// over two drawings of 100,000 shapes: random lines across the sheet, and a dense plan of walls,
// rooms, doors, texts and dimensions. Median and p99 per move are counters (goal: p99 < 16 ms);
// the walk over every shape, the first move after an edit and the index's memory are measured too.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "bench/MixedScene.h"
#include "document/DocShapeArray.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/text/TextShape.h"
#include "resources/ResourceIds.h"
#include "tools/line/LineTool.h"
#include "tools/select/SelectTool.h"

namespace {

using Clock = std::chrono::steady_clock;
using benchscene::Scene;

void AddRandomLines(Scene& scene) {
    const MFloatRect sheet = scene.Sheet();
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> x(sheet.left, sheet.right);
    std::uniform_real_distribution<double> y(sheet.bottom, sheet.top);
    for (int i = 0; i < benchscene::kShapes; ++i) {
        const MFloatPoint a(x(random), y(random));
        scene.doc.AppendShape(new MLineShape(a, MFloatPoint(x(random), y(random))), 0);
    }
}

// Rooms in a grid, each with its two-line walls, a door, a text and a dimension: 100,000 shapes.
void AddPlan(Scene& scene) {
    const MFloatRect sheet = scene.Sheet();
    constexpr int kRoomShapes = 12;
    const int rooms = benchscene::kShapes / kRoomShapes;
    const int columns = static_cast<int>(std::ceil(std::sqrt(rooms * sheet.GetWidth() / sheet.GetHeight())));
    const int rows = (rooms + columns - 1) / columns;
    const double w = sheet.GetWidth() / columns, h = sheet.GetHeight() / rows, t = w * 0.04;
    int added = 0;
    const auto line = [&](double x0, double y0, double x1, double y1) {
        scene.doc.AppendShape(new MLineShape(MFloatPoint(x0, y0), MFloatPoint(x1, y1)), 0);
        ++added;
    };
    for (int r = 0; r < rows && added < benchscene::kShapes; ++r)
        for (int c = 0; c < columns && added < benchscene::kShapes; ++c) {
            const double x = sheet.left + c * w, y = sheet.bottom + r * h;
            // Walls: outer and inner faces of the bottom and left walls, each side as two lines.
            line(x, y, x + w, y);
            line(x, y + t, x + w * 0.4, y + t);
            line(x + w * 0.6, y + t, x + w, y + t);
            line(x, y, x, y + h);
            line(x + t, y + t, x + t, y + h);
            // The door: jambs and the leaf.
            line(x + w * 0.4, y, x + w * 0.4, y + t);
            line(x + w * 0.6, y, x + w * 0.6, y + t);
            line(x + w * 0.4, y + t, x + w * 0.55, y + t + w * 0.18);
            // Furniture.
            line(x + w * 0.2, y + h * 0.6, x + w * 0.8, y + h * 0.6);
            line(x + w * 0.8, y + h * 0.6, x + w * 0.8, y + h * 0.9);
            auto* text = new MTextShape();
            text->SetString("居室");
            text->SetTextSize(2.5);
            text->MoveTo(&scene.view, MFloatPoint(x + w * 0.3, y + h * 0.4));
            scene.doc.AppendShape(text, 0);
            auto* size = new MSizeShape();
            const double dy = y + h * 0.15;
            size->SetPoints({x + t, y + t}, {x + w, y + t}, {x + t, dy}, {x + w, dy}, {x + w / 2, dy});
            scene.doc.AppendShape(size, 0);
            added += 2;
        }
}

Scene& MakeScene(void (*fill)(Scene&)) {
    auto* s = new Scene;
    fill(*s);
    s->view.OnInitialUpdate();
    return *s;
}

Scene& RandomLines() {
    static Scene& scene = MakeScene(AddRandomLines);
    return scene;
}

Scene& Plan() {
    static Scene& scene = MakeScene(AddPlan);
    return scene;
}

void SnapEverything() {
    GetOptionRecord().m_snap = kSnapEndPoint | kSnapIntersection | kSnapMidPoint | kSnapCenter | kSnapGrid |
                               kSnapBasePoint | kSnapOnShape;
    GetOptionRecord().m_layer |= kLayerOthersSnap;
}

// A point of a spiral over the client area, never twice the same pixel in a row.
CPoint SpiralPoint(int i) {
    const double a = i * 0.37;
    const double r = 20 + std::fmod(i * 2.9, 500.0);
    return CPoint(static_cast<int>(960 + r * std::cos(a)), static_cast<int>(540 + r * std::sin(a)));
}

void Report(benchmark::State& state, std::vector<double>& ms, const Scene& scene, int snapped) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["worst_ms"] = ms.back();
    // Moves that found a point of the drawing rather than of the grid.
    state.counters["snapped_share"] = static_cast<double>(snapped) / ms.size();
    state.counters["index_MB"] = scene.doc.GetLayers()->SnapIndexBytes() / 1e6;
}

template <class Tool>
void TimeMoves(benchmark::State& state, Scene& scene, Tool& tool, bool indexed, bool editFirst) {
    SnapEverything();
    scene.doc.GetLayers()->SetSnapIndexing(indexed);
    tool.OnMouseMove(&scene.view, 50, 50, 0);  // the index is built outside the timing
    std::vector<double> ms;
    int i = 0, snapped = 0;
    for (auto _ : state) {
        if (editFirst) {
            state.PauseTiming();
            const MFloatRect sheet = scene.Sheet();
            const double x = sheet.left + (i % 100) * sheet.GetWidth() / 100;
            scene.doc.AppendShape(new MLineShape(MFloatPoint(x, sheet.bottom), MFloatPoint(x, sheet.top)), 0);
            state.ResumeTiming();
        }
        const CPoint p = SpiralPoint(i++);
        const auto start = Clock::now();
        tool.OnMouseMove(&scene.view, p.x, p.y, 0);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        ms.push_back(seconds * 1000.0);
        snapped += (tool.GetSnapRecord().kind & ~kSnapGrid) != 0;
    }
    Report(state, ms, scene, snapped);
    tool.End(&scene.view, FALSE);
    scene.doc.GetLayers()->SetSnapIndexing(true);
}

void LineMoves(benchmark::State& state, Scene& scene, bool indexed, bool editFirst = false) {
    MLineTool tool(1);
    tool.SetCommandInfo(ID_TOOL_LINE, FALSE, "LINE");
    TimeMoves(state, scene, tool, indexed, editFirst);
}

void BM_LineToolMoveRandomLines(benchmark::State& state) {
    LineMoves(state, RandomLines(), true);
}
void BM_LineToolMovePlan(benchmark::State& state) {
    LineMoves(state, Plan(), true);
}
void BM_LineToolMoveRandomLinesAfterEdit(benchmark::State& state) {
    LineMoves(state, RandomLines(), true, true);
}
void BM_LineToolMovePlanAfterEdit(benchmark::State& state) {
    LineMoves(state, Plan(), true, true);
}
void SelectMoves(benchmark::State& state, bool indexed) {
    MSelectTool tool(30);
    tool.SetCommandInfo(ID_TOOL_SELECT, FALSE, "SELECT");
    TimeMoves(state, RandomLines(), tool, indexed, false);
}
void BM_SelectToolMoveRandomLines(benchmark::State& state) {
    SelectMoves(state, true);
}
void BM_SelectToolMoveRandomLinesWholeWalk(benchmark::State& state) {
    SelectMoves(state, false);
}
void BM_LineToolMoveRandomLinesWholeWalk(benchmark::State& state) {
    LineMoves(state, RandomLines(), false);
}
void BM_LineToolMovePlanWholeWalk(benchmark::State& state) {
    LineMoves(state, Plan(), false);
}

BENCHMARK(BM_LineToolMoveRandomLines)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(500);
BENCHMARK(BM_LineToolMovePlan)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(500);
BENCHMARK(BM_SelectToolMoveRandomLines)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_LineToolMoveRandomLinesAfterEdit)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);
BENCHMARK(BM_LineToolMovePlanAfterEdit)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);
BENCHMARK(BM_LineToolMoveRandomLinesWholeWalk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_SelectToolMoveRandomLinesWholeWalk)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(BM_LineToolMovePlanWholeWalk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    return bench::WarmMain(argc, argv);
}
