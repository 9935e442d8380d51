// Saving and opening a drawing of 100,000 mixed shapes on 10 layers through the native file.
// Reports the time of each and the peak resident memory of the process while it runs (peak_MB),
// with its growth above the resident size before it (peak_growth_MB). Goals: each under 1 s, peak
// memory under 300 MB.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "bench/ProcessMemory.h"
#include "BenchDxf.h"
#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"
#include "platform/Strings.h"

namespace {

using benchmem::ResetPeak;
using benchmem::StatusMB;

constexpr int kShapes = 100000;
constexpr int kLayers = 10;

MCadShape* MixedShape(std::mt19937& rng, int i) {
    std::uniform_real_distribution<double> coordinate(-100000.0, 100000.0);
    const double x = coordinate(rng), y = coordinate(rng);
    switch (i % 10) {
        case 0: {
            auto* circle = new MCircleShape();
            circle->SetCircle(x, y, 10.0 + i % 97);
            return circle;
        }
        case 1: {
            auto* rect = new MRectShape();
            rect->SetRect(x, y, 300.0, 120.5);
            return rect;
        }
        case 2:
        case 3:
        case 4: {
            auto* line = new MLineShape(MFloatPoint(x, y), MFloatPoint(x + 123.5, y - 77.25));
            line->SetColor(static_cast<COLORREF>(rng() & 0xFFFFFF));
            line->SetLineWidth(0.25);
            if (i % 7 == 0) line->SetArrowsEx(1, 3.0, 2, 2.5);
            return line;
        }
        case 5:
        case 6: {
            auto* polyline = new MPolygonShape(FALSE);
            for (int k = 0; k < 8; ++k)
                polyline->AddPoint(MFloatPoint(x + k * 10.5, y + (k % 2) * 7.25));
            return polyline;
        }
        case 7:
        case 8: {
            auto* polygon = new MPolygonShape(TRUE);
            for (int k = 0; k < 5; ++k)
                polygon->AddPoint(MFloatPoint(x + (k % 3) * 40.0, y + k * 30.0));
            polygon->SetFillStyle(MFillStyle(static_cast<COLORREF>(rng() & 0xFFFFFF)));
            return polygon;
        }
        default: {
            auto* group = new MGroupShape();
            for (int k = 0; k < 3; ++k)
                group->AddShape(new MLineShape(MFloatPoint(x + k, y), MFloatPoint(x + k + 50, y + 50)));
            return group;
        }
    }
}

struct Fixture {
    Fixture() {
        RegisterDocumentClasses();
        AfxSetMessageBoxHandler([](const std::string& text, UINT) {
            fprintf(stderr, "message: %s\n", text.c_str());
            return IDOK;
        });
        GetOptionRecord().m_saveBackupMode = 2;
        dir = std::filesystem::temp_directory_path() / ("tessaray_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        path = (dir / "big.qfd").string();

        doc = std::make_unique<MTessarayDoc>();
        doc->OnNewDocument();
        for (int l = 1; l < kLayers; ++l)
            doc->AddLayer(new MLayer(doc->NewLayerName(), TRUE, TRUE, TRUE));
        std::mt19937 rng(42);
        for (int i = 0; i < kShapes; ++i) {
            MCadShape* shape = MixedShape(rng, i);
            shape->Recalc(doc->GetOffscreenView());
            doc->AppendShape(shape, i % kLayers);
        }
        doc->OnSaveDocument(path);
    }
    ~Fixture() {
        doc.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::filesystem::path dir;
    std::string path;
    std::unique_ptr<MTessarayDoc> doc;
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void SetMemoryCounters(benchmark::State& state, double before) {
    const double peak = bench::StatusMB("VmHWM");
    state.counters["peak_MB"] = peak;
    state.counters["peak_growth_MB"] = peak - before;
}

void BM_SaveDrawing(benchmark::State& state) {
    Fixture& f = TheFixture();
    const double before = bench::StatusMB("VmRSS");
    ResetPeak();
    for (auto _ : state) {
        if (!f.doc->OnSaveDocument(f.path)) state.SkipWithError("save failed");
    }
    SetMemoryCounters(state, before);
    state.counters["file_MB"] = std::filesystem::file_size(f.path) / (1024.0 * 1024.0);
}

void BM_OpenDrawing(benchmark::State& state) {
    Fixture& f = TheFixture();
    const double before = bench::StatusMB("VmRSS");
    ResetPeak();
    for (auto _ : state) {
        MTessarayDoc doc;
        if (!doc.OnOpenDocument(f.path)) state.SkipWithError("open failed");
        benchmark::DoNotOptimize(doc.GetLayers()->GetLayerCount());
    }
    SetMemoryCounters(state, before);
}

}  // namespace

BENCHMARK(BM_SaveDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
