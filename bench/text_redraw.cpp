// A full redraw of the drawing view at 1920 x 1080 over a generated DXF drawing of 20,000 texts,
// opened as the program opens it (fitted to the sheet, where the texts are legible): what a user
// waits for at each repaint of a text-heavy sheet. Nearly all of it is the text engine shaping
// each string; a shaping kept per text (a QTextLayout) draws the same pixels but was slower here.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchDxf.h"
#include "MixedScene.h"

namespace {

using benchscene::Scene;

constexpr int kTexts = 20000;

void BM_FullRedrawOfTwentyThousandTexts(benchmark::State& state) {
    static Scene* window = [] {
        const std::string path = std::filesystem::temp_directory_path() /
                                 ("tessaray_bench_text_redraw_" + std::to_string(::getpid()) + ".dxf");
        bench::WriteDxfFile(path, kTexts, bench::DxfMix::kTexts);
        auto* w = new Scene;
        double read = 0, update = 0;
        const bool opened = w->Open(path, read, update);
        std::filesystem::remove(path);
        return opened ? w : nullptr;
    }();
    if (!window) {
        state.SkipWithError("the drawing did not open");
        return;
    }
    window->view.ZoomToPaper();
    for (auto _ : state)
        window->Redraw();
    state.counters["texts"] = kTexts;
}
BENCHMARK(BM_FullRedrawOfTwentyThousandTexts)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return bench::WarmMain(argc, argv);
}
