// The program's start, measured on the real program in a fresh process per repetition, in a home
// of its own (kept between repetitions, so every start after the first finds its settings):
// - ReadyToPrint: "tessaray -pt drawing.qfd out.pdf", from the start until the program is ready for
//   the file (its "ready" mark, before the file's first byte); process_ms the whole process.
// - ReadyToOpen: "tessaray drawing.qfd", until ready for the file; painted_ms until the opened
//   drawing's first paint on screen (the program is stopped there).
// - PrintToPdf: the whole process printing a generated drawing into a PDF from the command line
//   (the native drawing, and mixed DXF drawings of bench/BenchDxf.h: 10,000 and a million entities;
//   peak_MB the process's peak resident set). Goal: the million under 6 s.
// The counters qt_ms, program_ms and window_ms are the program's own marks on the way (the toolkit
// started, the program-wide tables made, the main window built), load1 the machine's load.
// Goal: ready for the file in under 50 ms on both roads.
//
// The children run headless (offscreen) unless QT_QPA_PLATFORM names another platform (ProgramRun.h);
// TESSARAY_BENCH_PROGRAM names another build of the program to measure. "--make path" writes the
// native drawing for a look at it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "BenchDxf.h"
#include "ProgramRun.h"
#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "model/ClassRegistry.h"
#include "model/settings/LineStyle.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/RectShape.h"
#include "model/shapes/text/TextShape.h"
#include "view/ClassRegistry.h"

namespace {

namespace fs = std::filesystem;

struct Place : bench::ProgramHome {
    std::string drawing;

    Place();
};

// A plan-like native drawing over the default sheet: a grid of rooms (rectangles) with a wall, a
// door (arc), a column (circle) and a name each.
bool WriteNativeDrawing(const std::string& path) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    const MPaperInfo& paper = doc.GetPaperInfo();
    const MFloatSize sheet = paper.GetSize();
    const double s = paper.GetScale();
    const MFloatPoint o = paper.GetOriginOffset();
    // Sheet millimetres from the top-left corner to the drawing's units.
    const auto at = [&](double x, double y) { return MFloatPoint(x / s - o.x, -y / s - o.y); };
    const int cols = 20, rows = 10;
    const double w = sheet.cx / (cols + 1), h = sheet.cy / (rows + 1);
    std::mt19937 random(4711);
    std::uniform_real_distribution<double> jitter(-0.1, 0.1);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) {
            const double x = (col + 0.5) * w, y = (row + 0.5) * h;
            const MFloatPoint corner = at(x, y), far = at(x + w * 0.9, y + h * 0.9);
            auto* room = new MRectShape();
            room->SetRect(corner.x, far.y, far.x - corner.x, corner.y - far.y);
            doc.AddShape(room, -1);
            doc.AddShape(new MLineShape(at(x, y + h / 2), at(x + w * 0.9, y + h * (0.5 + jitter(random)))),
                         -1);
            const MFloatPoint hinge = at(x + w / 2, y + h * 0.9);
            auto* door = new MCircleArcShape();
            door->SetArc(hinge.x, hinge.y, w * 0.3 / s, 0.0, 1.5707963267948966);
            doc.AddShape(door, -1);
            auto* column = new MCircleShape();
            column->SetCircle(corner.x, corner.y, w * 0.05 / s);
            doc.AddShape(column, -1);
            auto* name = new MTextShape();
            name->SetString("室 " + std::to_string(row * cols + col));
            name->SetTextSize(h * 0.15 / s);
            name->MoveTo(doc.GetOffscreenView(), at(x + w * 0.2, y + h * 0.3));
            doc.AddShape(name, -1);
        }
    return doc.OnSaveDocument(path) != FALSE;
}

Place::Place() : bench::ProgramHome("startup") {
    drawing = (dir / "plan.qfd").string();
    WriteNativeDrawing(drawing);
    // The first start registers the file type and writes the settings: not what is measured.
    bench::RunProgram({bench::Program(), "-pt", drawing, (dir / "first.pdf").string()}, env);
}

Place& ThePlace() {
    static Place place;
    return place;
}

void Report(benchmark::State& state, const bench::ProgramRun& run) {
    for (const char* name : {"qt", "program", "window", "painted"}) {
        const auto it = run.marks.find(name);
        if (it != run.marks.end()) state.counters[std::string(name) + "_ms"] = it->second * 1e3;
    }
    if (run.process > 0) state.counters["process_ms"] = run.process * 1e3;
    state.counters["load1"] = bench::Load1();
}

void BM_ReadyToPrint(benchmark::State& state) {
    Place& place = ThePlace();
    const std::string pdf = (place.dir / "print.pdf").string();
    bench::ProgramRun run;
    for (auto _ : state) {
        fs::remove(pdf);
        run = bench::RunProgram({bench::Program(), "-pt", place.drawing, pdf}, place.env);
        if (run.status != 0 || !run.marks.count("ready") || !fs::exists(pdf)) {
            state.SkipWithError("the program did not print");
            return;
        }
        state.SetIterationTime(run.marks["ready"]);
    }
    Report(state, run);
}

void BM_ReadyToOpen(benchmark::State& state) {
    Place& place = ThePlace();
    bench::ProgramRun run;
    for (auto _ : state) {
        run = bench::RunProgram({bench::Program(), place.drawing}, place.env, "painted");
        if (run.status != 0 || !run.marks.count("ready") || !run.marks.count("painted")) {
            state.SkipWithError("the program did not show the drawing");
            return;
        }
        state.SetIterationTime(run.marks["ready"]);
    }
    Report(state, run);
}

// The drawing is the native plan, or a generated mixed DXF of that many entities (made once).
void BM_PrintToPdf(benchmark::State& state, int dxfEntities) {
    Place& place = ThePlace();
    const std::string pdf = (place.dir / "whole.pdf").string();
    std::string drawing = place.drawing;
    if (dxfEntities > 0) {
        drawing = (place.dir / ("mixed" + std::to_string(dxfEntities) + ".dxf")).string();
        if (!fs::exists(drawing)) bench::WriteDxfFile(drawing, dxfEntities);
    }
    bench::ProgramRun run;
    for (auto _ : state) {
        fs::remove(pdf);
        run = bench::RunProgram({bench::Program(), "-pt", drawing, pdf}, place.env);
        if (run.status != 0 || !fs::exists(pdf)) {
            state.SkipWithError("the program did not print");
            return;
        }
        state.SetIterationTime(run.process);
    }
    Report(state, run);
    state.counters["ready_ms"] = run.marks["ready"] * 1e3;
    state.counters["peak_MB"] = run.peakMB;
}

// Medians of five fresh processes.
void FiveFreshProcesses(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

BENCHMARK(BM_ReadyToPrint)->Apply(FiveFreshProcesses);
BENCHMARK(BM_ReadyToOpen)->Apply(FiveFreshProcesses);
BENCHMARK_CAPTURE(BM_PrintToPdf, plan_qfd, 0)->Apply(FiveFreshProcesses);
BENCHMARK_CAPTURE(BM_PrintToPdf, mixed10k_dxf, 10000)->Apply(FiveFreshProcesses);
BENCHMARK_CAPTURE(BM_PrintToPdf, mixed1m_dxf, 1000000)->Apply(FiveFreshProcesses);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc == 3 && std::string(argv[1]) == "--make") {
        QApplication app(argc, argv);
        RegisterModelClasses();
        RegisterDocumentClasses();
        RegisterViewClasses();
        InitLineStyles();
        return WriteNativeDrawing(argv[2]) ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    {
        // The drawing is written through the program's own document.
        QApplication app(argc, argv);
        RegisterModelClasses();
        RegisterDocumentClasses();
        RegisterViewClasses();
        InitLineStyles();
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
