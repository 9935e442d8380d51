// The placing moves of the copy and divide tools. Goals: with 1,000 picked lines copied 100 times
// (100,000 new shapes, tracked as their frame beyond DRAWLIMIT) one move under 16 ms, with turned
// copies too; a closed outline of 50,000 vertices divided into 1,000 parts, one move of the
// choice of the way round under 16 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "bench/ColdOpen.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/ui/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "tools/edit/CopyTools.h"
#include "tools/edit/DividTool.h"

namespace {

constexpr int kPicks = 1000;
constexpr double kPi = 3.14159265358979323846;

bench::ProgramWindow& Window() {
    static bench::ProgramWindow* window = [] {
        auto* w = new bench::ProgramWindow;
        w->view.OnInitialUpdate();
        return w;
    }();
    return *window;
}

CPoint ClientAt(MTessarayView& view, const MFloatPoint& p) {
    std::unique_ptr<CDC> dc = view.GetPreparedClientDC();
    return view.DocToDevice(dc.get(), p);
}

MFloatPoint DrawingAt(MTessarayView& view, CPoint p) {
    std::unique_ptr<CDC> dc = view.GetPreparedClientDC();
    return view.DeviceToDoc(dc.get(), p);
}

// Moves round a circle of 300 pixels about the centre, then the tool ends and the drawing is new.
void MeasureMoves(benchmark::State& state, MDrawTool& tool, bench::ProgramWindow& w, CPoint centre) {
    int k = 0;
    for (auto _ : state) {
        ++k;
        tool.OnMouseMove(&w.view, centre.x + static_cast<int>(300 * std::cos(k * 0.1)),
                         centre.y + static_cast<int>(300 * std::sin(k * 0.1)), 0);
    }
    state.counters["new_shapes"] = tool.Lists().NewCount();
    state.counters["step"] = tool.GetStep();
    tool.End(&w.view, FALSE);
    w.doc.DeleteContents();
    w.doc.OnNewDocument();
}

// 1,000 short lines picked, 100 copies each, the first click made: the row follows the pointer.
void CopyMoves(benchmark::State& state, bool turned) {
    bench::ProgramWindow& w = Window();
    MTessarayView& view = w.view;
    MCopyLineTool tool(37);
    const MFloatPoint base = DrawingAt(view, CPoint(200, 500));
    for (int i = 0; i < kPicks; ++i) {
        auto* line =
            new MLineShape(MFloatPoint(base.x + i, base.y), MFloatPoint(base.x + i + 5, base.y + 50));
        w.doc.AppendShape(line, 0);
        line->Recalc(&view);
        tool.Lists().AddPick(line, line->m_start, 0);
    }
    DialogRunner dialogs;
    dialogs.Script(
        IDD_LINECOPY_INPUT,
        DialogScript().SetText(IDC_COPY_COUNT, "100").SetCheck(IDC_COPY_ROTATE, turned ? 1 : 0).Ok());
    const CPoint r = ClientAt(view, base);
    tool.OnRButtonDown(&view, r.x, r.y, 0);
    tool.OnLButtonDown(&view, 300, 500, 0);
    tool.OnLButtonUp(&view, 300, 500, 0);
    MeasureMoves(state, tool, w, CPoint(900, 500));
}

void BM_CopyLineMove(benchmark::State& state) {
    CopyMoves(state, false);
}
BENCHMARK(BM_CopyLineMove)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyLineTurnedMove(benchmark::State& state) {
    CopyMoves(state, true);
}
BENCHMARK(BM_CopyLineTurnedMove)->Unit(benchmark::kMillisecond)->UseRealTime();

// A ring of 50,000 vertices about the client centre, divided into 1,000 parts from its left to
// its right point: the moves choose the way round.
void BM_DivideWayMove(benchmark::State& state) {
    bench::ProgramWindow& w = Window();
    MTessarayView& view = w.view;
    const MFloatPoint centre = DrawingAt(view, CPoint(960, 540));
    const double radius = DrawingAt(view, CPoint(1360, 540)).x - centre.x;
    auto* ring = new MPolygonShape(TRUE);
    for (int i = 0; i < 50000; ++i)
        ring->AddPoint(MFloatPoint(centre.x + radius * std::cos(i * 2 * kPi / 50000),
                                   centre.y + radius * std::sin(i * 2 * kPi / 50000)));
    w.doc.AppendShape(ring, 0);
    ring->Recalc(&view);
    MDividTool tool(52);
    tool.Lists().AddPick(ring, ring->GetPoint(0), 0);
    DialogRunner dialogs;
    dialogs.Script(IDD_DIVID_INPUT, DialogScript().SetText(IDC_DIVID_COUNT, "1000").Ok());
    tool.OnLButtonDown(&view, 560, 540, 0);
    tool.OnLButtonUp(&view, 560, 540, 0);
    tool.OnLButtonDown(&view, 1360, 540, 0);
    tool.OnLButtonUp(&view, 1360, 540, 0);
    MeasureMoves(state, tool, w, CPoint(960, 540));
}
BENCHMARK(BM_DivideWayMove)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return bench::WarmMain(argc, argv);
}
