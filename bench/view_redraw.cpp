// A full redraw of the drawing view at 1920 x 1080: a drawing of 100,000 mixed shapes at the
// whole-paper zoom and at 16 times that zoom, a generated DXF drawing of 100,000 mixed entities
// opened as the program opens it (fitted to the sheet), 20,000 generated texts, and a long dashed
// line seen from deep inside. Targets: a full redraw under 100 ms at the whole-paper zoom (both
// drawings), under 50 ms deep in a dashed line.
#include <benchmark/benchmark.h>

#include "MixedScene.h"

namespace {

using namespace benchscene;

void BM_FullRedrawWholePaper(benchmark::State& state) {
    Scene& scene = MixedScene();
    scene.view.ZoomToPaper();
    for (auto _ : state)
        scene.Redraw();
    state.counters["shapes"] = kShapes;
}
BENCHMARK(BM_FullRedrawWholePaper)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullRedrawAt16x(benchmark::State& state) {
    Scene& scene = MixedScene();
    scene.view.ZoomToPaper();
    scene.view.ZoomAt(scene.Sheet().GetCenter(), 16.0, TRUE);
    for (auto _ : state)
        scene.Redraw();
    state.counters["zoom"] = scene.view.GetZoom();
    scene.view.ZoomToPaper();
}
BENCHMARK(BM_FullRedrawAt16x)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole paper of a generated drawing opened as the program opens it, once per program.
void RedrawOpenedDrawing(benchmark::State& state, Scene* window, const char* counter, int entities) {
    if (!window) {
        state.SkipWithError("the drawing did not open");
        return;
    }
    window->view.ZoomToPaper();
    for (auto _ : state)
        window->Redraw();
    state.counters[counter] = entities;
}

void BM_FullRedrawImportedWholePaper(benchmark::State& state) {
    static Scene* window = OpenGeneratedDrawing(kShapes, bench::DxfMix::kMixed);
    RedrawOpenedDrawing(state, window, "entities", kShapes);
}
BENCHMARK(BM_FullRedrawImportedWholePaper)->Unit(benchmark::kMillisecond)->UseRealTime();

// Twenty thousand texts, where the sheet shows them legibly: nearly all of it is the text engine
// shaping each string (a shaping kept per text draws the same pixels but was slower here).
void BM_FullRedrawOfTwentyThousandTexts(benchmark::State& state) {
    constexpr int kTexts = 20000;
    static Scene* window = OpenGeneratedDrawing(kTexts, bench::DxfMix::kTexts);
    RedrawOpenedDrawing(state, window, "texts", kTexts);
}
BENCHMARK(BM_FullRedrawOfTwentyThousandTexts)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RedrawDeepInADashedLine(benchmark::State& state) {
    static Scene* scene = [] {
        auto* s = new Scene;
        // A dashed line far longer than the sheet, running through its centre.
        const MFloatPoint c = s->Sheet().GetCenter();
        auto* line = new MLineShape(MFloatPoint(c.x - 5e7, c.y - 2e7), MFloatPoint(c.x + 5e7, c.y + 2e7));
        line->SetLineStyle(kDashedStyle);
        s->doc.AppendShape(line, 0);
        s->view.OnInitialUpdate();
        return s;
    }();
    const MFloatPoint c = scene->Sheet().GetCenter();
    // As deep as the view goes: the zoom is halved until the sheet fits in 32767 pixels.
    scene->view.ZoomAt(c, 1e6, FALSE);
    for (auto _ : state)
        scene->Redraw();
    state.counters["zoom"] = scene->view.GetZoom();
}
BENCHMARK(BM_RedrawDeepInADashedLine)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return bench::WarmMain(argc, argv);
}
