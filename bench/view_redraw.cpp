// A full redraw of the drawing view at 1920 x 1080: a drawing of 100,000 mixed shapes at the
// whole-paper zoom and at 16 times that zoom, a generated DXF drawing of 100,000 mixed entities
// opened as the program opens it (fitted to the sheet), and a long dashed line seen from deep
// inside. Targets: a full redraw under 100 ms at the whole-paper zoom (both drawings), under 50 ms
// deep in a dashed line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

#include "ColdOpen.h"
#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "model/ClassRegistry.h"
#include "model/settings/LineStyle.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"
#include "view/TessarayView.h"

namespace {

constexpr int kShapes = 100000;
constexpr int kDashedStyle = 2;

// The program's document and view at 1920 x 1080, with the sheet and a redraw at hand.
struct Scene : bench::ProgramWindow {
    // The sheet in drawing units.
    MFloatRect Sheet() {
        const MFloatSize size = doc.GetPaperInfo().GetSize();
        MFloatRect paper;
        paper.left = 0;
        paper.top = 0;
        paper.right = size.cx;
        paper.bottom = -size.cy;
        MFloatRect r = view.PaperToDocRect(paper);
        r.Normalize();
        return r;
    }

    void Redraw() {
        view.Invalidate();
        view.UpdateWindow();
    }
};

void AddMixedShapes(Scene& scene) {
    const MFloatRect sheet = scene.Sheet();
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> x(sheet.left, sheet.right);
    std::uniform_real_distribution<double> y(sheet.bottom, sheet.top);
    std::uniform_real_distribution<double> size(20.0, 800.0);
    for (int i = 0; i < kShapes; ++i) {
        const double px = x(random), py = y(random), s = size(random);
        MCadShape* shape = nullptr;
        switch (i % 20) {
            case 0:
            case 1:
            case 2:
            case 3: {
                auto* circle = new MCircleShape();
                circle->SetCircle(px, py, s / 2);
                shape = circle;
                break;
            }
            case 4:
            case 5:
            case 6:
            case 7: {
                auto* rect = new MRectShape();
                rect->SetRect(px, py, s, s * 0.6);
                shape = rect;
                break;
            }
            case 8:
            case 9:
            case 10: {
                auto* polyline = new MPolygonShape(FALSE);
                for (int k = 0; k < 5; ++k)
                    polyline->AddPoint(MFloatPoint(px + k * s / 4, py + ((k % 2) ? s / 3 : 0)));
                shape = polyline;
                break;
            }
            case 11: {
                auto* dashed = new MLineShape(MFloatPoint(px, py), MFloatPoint(px + 3 * s, py - s));
                dashed->SetLineStyle(kDashedStyle);
                shape = dashed;
                break;
            }
            default:
                shape = new MLineShape(MFloatPoint(px, py), MFloatPoint(px + s, py + s / 2));
                break;
        }
        scene.doc.AppendShape(shape, 0);
    }
}

Scene& MixedScene() {
    static Scene* scene = [] {
        auto* s = new Scene;
        AddMixedShapes(*s);
        s->view.OnInitialUpdate();
        return s;
    }();
    return *scene;
}

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

void BM_FullRedrawImportedWholePaper(benchmark::State& state) {
    static Scene* window = [] {
        const std::string path = std::filesystem::temp_directory_path() /
                                 ("tessaray_bench_redraw_" + std::to_string(::getpid()) + ".dxf");
        bench::WriteDxfFile(path, kShapes);
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
    state.counters["entities"] = kShapes;
}
BENCHMARK(BM_FullRedrawImportedWholePaper)->Unit(benchmark::kMillisecond)->UseRealTime();

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
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
