// The multi-line text tool while a text of 2,000 lines follows the pointer at 1920 x 1080: one move
// (the text erased, moved, drawn; goal < 16 ms). The worst move is a counter.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "bench/ColdOpen.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/ShapeDialogs.h"
#include "platform/ui/MessageTranslation.h"
#include "tools/text/TextTools.h"

namespace {

using Clock = std::chrono::steady_clock;

// The multi-line dialog confirmed at once with the given text.
class ConfirmedMultiText : public MInputMultiTextDialog {
public:
    int DoModal() override { return IDOK; }
};

class BenchDialogs : public MShapeDialogFactory {
public:
    std::unique_ptr<MInputMultiTextDialog> CreateInputMultiTextDialog() override {
        auto dialog = std::make_unique<ConfirmedMultiText>();
        std::string text;
        for (int i = 0; i < 2000; ++i)
            text += "行 " + std::to_string(i) + " of the floating text\n";
        dialog->m_text = text;
        return dialog;
    }
};

void BM_MultiTextMoveOfTwoThousandLines(benchmark::State& state) {
    bench::ProgramWindow& w = bench::ToolWindow();
    BenchDialogs dialogs;
    MShapeDialogFactory* previous = SetShapeDialogFactory(&dialogs);
    MMultiTextTool tool(49);
    tool.OnLButtonDown(&w.view, 400, 300, MK_LBUTTON);
    // As the view does after a dialog ran inside the press.
    tool.ForgetPress();
    double worst = 0.0;
    int i = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        tool.OnMouseMove(&w.view, 300 + (i * 7) % 1200, 200 + (i * 5) % 600, 0);
        ++i;
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
    }
    state.counters["worst_ms"] = worst * 1000.0;
    state.counters["floating"] = tool.Lists().NewCount();
    tool.End(&w.view, FALSE);
    SetShapeDialogFactory(previous);
}
BENCHMARK(BM_MultiTextMoveOfTwoThousandLines)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
    return bench::WarmMain(argc, argv);
}
