// The main window with its 18 toolbars, pictures and attribute controls (offscreen). Goals:
// creating the frame under 300 ms; one idle update pass over every toolbar, control and status
// pane under 2 ms, since it runs after every input event.
#include <benchmark/benchmark.h>

#include "app/MainFrame.h"
#include "app/TessarayApp.h"
#include "bench/ColdOpen.h"
#include "document/TessarayDoc.h"
#include "platform/Profile.h"
#include "platform/ui/Idle.h"

namespace {

void StartProgram() {
    static bool started = false;
    if (started) return;
    started = true;
    AfxSetProfile(CreateMemoryProfile());
    static MTessarayApp app;
    MTessarayApp::InitProgram();
}

void BM_CreateFrame(benchmark::State& state) {
    StartProgram();
    MTessarayDoc doc;
    for (auto _ : state) {
        MMainFrame frame;
        if (!frame.Create(&doc)) state.SkipWithError("the frame was not created");
        benchmark::DoNotOptimize(frame.GetView());
        state.PauseTiming();
        frame.DestroyWindow();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateFrame)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_IdleUpdatePass(benchmark::State& state) {
    StartProgram();
    MTessarayDoc doc;
    doc.OnNewDocument();
    MMainFrame frame;
    if (!frame.Create(&doc)) state.SkipWithError("the frame was not created");
    // Every bar shown: the pass updates shown bars only.
    for (int i = 0; i < MMainFrame::kToolBarCount; ++i)
        frame.ShowControlBar(&frame.GetToolBar(i), TRUE, FALSE);
    frame.ShowWindow(SW_SHOWNORMAL);
    for (auto _ : state)
        frame.OnIdleUpdateCmdUI();
    frame.DestroyWindow();
}
BENCHMARK(BM_IdleUpdatePass)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
    return bench::WarmMain(argc, argv);
}
