// The select tool's commands over large selections: a flip, a quarter turn and a group of 10,000
// of the 100,000 mixed shapes of the view benchmarks, each with its commit, and the join of
// 10,000 segments of one chain picked in random order. Goals: the flip under 300 ms, the join
// under 1 s.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

#include "bench/SelectScene.h"
#include "model/settings/OptionRecord.h"
#include "resources/ResourceIds.h"
#include "tools/select/SelectionEdits.h"

namespace {

using namespace benchscene;
using Clock = std::chrono::steady_clock;

constexpr int kSelected = 10000;
constexpr int kSegments = 10000;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The command on the selection, timed with its commit; the copies are the next selection.
template <class Command>
void RunOnSelection(benchmark::State& state, Command command) {
    Scene& scene = MixedScene();
    scene.view.ZoomToPaper();
    GetOptionRecord().m_snap = 0;
    MSelectTool& tool = SelectSceneTool();
    SelectEveryTenth(scene, tool, kSelected);
    for (auto _ : state) {
        const auto start = Clock::now();
        command(scene, tool);
        state.SetIterationTime(SecondsSince(start));
        if (tool.Lists().PickCount() == 0) state.SkipWithError("the selection was lost");
    }
    state.counters["selected"] = tool.Lists().PickCount();
    tool.End(&scene.view, FALSE);
    scene.doc.GetUndoStack().RemoveAll();
}

void BM_FlipTenThousandSelected(benchmark::State& state) {
    RunOnSelection(state, [](Scene& scene, MSelectTool& tool) { tool.Edits().Flip(&scene.view, 'x'); });
}
BENCHMARK(BM_FlipTenThousandSelected)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_RotateTenThousandSelected(benchmark::State& state) {
    RunOnSelection(state,
                   [](Scene& scene, MSelectTool& tool) { tool.Edits().Rotate(&scene.view, M_PI / 2); });
}
BENCHMARK(BM_RotateTenThousandSelected)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(4);

// Group, then (untimed) ungroup again so that every round groups the same shapes.
void BM_GroupTenThousandSelected(benchmark::State& state) {
    Scene& scene = MixedScene();
    scene.view.ZoomToPaper();
    MSelectTool& tool = SelectSceneTool();
    SelectEveryTenth(scene, tool, kSelected);
    for (auto _ : state) {
        const auto start = Clock::now();
        tool.Edits().Group(&scene.view);
        state.SetIterationTime(SecondsSince(start));
        if (tool.Lists().PickCount() != 1) state.SkipWithError("no group");
        tool.Edits().Ungroup(&scene.view);
    }
    state.counters["members"] = tool.Lists().PickCount();
    tool.End(&scene.view, FALSE);
    scene.doc.GetUndoStack().RemoveAll();
}
BENCHMARK(BM_GroupTenThousandSelected)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(4);

// One chain of segments drawn in random order and picked in another.
void BM_JoinTenThousandSegments(benchmark::State& state) {
    static Scene* scene = [] {
        auto* s = new Scene;
        std::vector<int> order(kSegments);
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), std::mt19937(7));
        for (int k : order) {
            const MFloatPoint a(k * 10.0, (k % 2) * 10.0), b((k + 1) * 10.0, ((k + 1) % 2) * 10.0);
            s->doc.AppendShape(new MLineShape(a, b), 0);
        }
        s->view.OnInitialUpdate();
        return s;
    }();
    MSelectTool& tool = SelectSceneTool();
    std::mt19937 random(11);
    for (auto _ : state) {
        state.PauseTiming();
        tool.End(&scene->view, FALSE);
        const MLayer* layer = scene->doc.GetLayers()->GetLayer(0);
        std::vector<int> picks(static_cast<std::size_t>(layer->GetSize()));
        std::iota(picks.begin(), picks.end(), 0);
        std::shuffle(picks.begin(), picks.end(), random);
        for (int i : picks)
            tool.Lists().AddPick(layer->GetAt(i), layer->GetAt(i)->GetCenter(), 0);
        state.ResumeTiming();
        const auto start = Clock::now();
        tool.Edits().JoinIntoPolyline(&scene->view);
        state.SetIterationTime(SecondsSince(start));
        state.PauseTiming();
        if (scene->doc.GetLayers()->GetLayer(0)->GetSize() != 1) state.SkipWithError("not one polygon");
        scene->view.SendCommand(ID_EDIT_UNDO);
        state.ResumeTiming();
    }
    tool.End(&scene->view, FALSE);
}
BENCHMARK(BM_JoinTenThousandSegments)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return bench::WarmMain(argc, argv);
}
