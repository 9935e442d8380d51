// Writing and reading 100,000 mixed lines and polygons in the text form and through the archive.
// Target: each direction under 0.5 s for the 100,000 shapes.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "model/ClassRegistry.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/containers/ShapeArray.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/TextFile.h"

namespace {

constexpr int kShapes = 100000;

std::unique_ptr<MShapeArray> MakeShapes() {
    RegisterModelClasses();
    auto shapes = std::make_unique<MShapeArray>(TRUE);
    for (int i = 0; i < kShapes; ++i) {
        const double x = (i % 1000) * 1.25, y = (i / 1000) * 0.75;
        if (i % 2 == 0) {
            auto* line = new MLineShape({x, y}, {x + 10.5, y + 3.25});
            line->SetLineWidth(0.25);
            line->SetColor(static_cast<COLORREF>(i * 2654435761u) & 0xFFFFFF);
            if (i % 10 == 0) line->SetArrowsEx(1, 2.5, 2, 3.0);
            shapes->Add(line);
        } else {
            auto* polygon = new MPolygonShape(i % 3 != 0);
            for (int k = 0; k < 5; ++k)
                polygon->AddPoint({x + k * 0.5, y + (k % 2) * 1.5});
            if (i % 3 != 0)
                polygon->SetFillStyle(MFillStyle(kFillLinear, 0.5, RGB(255, 0, 0), RGB(0, 0, 255)));
            polygon->SetLineStyle(i % 9);
            shapes->Add(polygon);
        }
    }
    return shapes;
}

const MShapeArray& Shapes() {
    static std::unique_ptr<MShapeArray> shapes = MakeShapes();
    return *shapes;
}

std::string ShapesText() {
    TextOutput out;
    Shapes().WriteText(nullptr, out);
    return out.str();
}

std::vector<BYTE> ShapesArchive() {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        const_cast<MShapeArray&>(Shapes()).Serialize(ar);
        ar.Close();
    }
    return file.Detach();
}

void Report(benchmark::State& state) {
    state.counters["shapes_per_second"] =
        benchmark::Counter(static_cast<double>(kShapes), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_WriteText(benchmark::State& state) {
    const MShapeArray& shapes = Shapes();
    for (auto _ : state) {
        TextOutput out;
        shapes.WriteText(nullptr, out);
        benchmark::DoNotOptimize(out.tellp());
    }
    Report(state);
}

void BM_ReadText(benchmark::State& state) {
    const std::string text = ShapesText();
    for (auto _ : state) {
        TextInput in(text);
        MShapeArray shapes(TRUE);
        shapes.ReadText(nullptr, in);
        if (shapes.GetSize() != kShapes) state.SkipWithError("shapes lost while reading");
    }
    Report(state);
}

void BM_StoreArchive(benchmark::State& state) {
    MShapeArray& shapes = const_cast<MShapeArray&>(Shapes());
    for (auto _ : state) {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        shapes.Serialize(ar);
        ar.Close();
        benchmark::DoNotOptimize(file.GetLength());
    }
    Report(state);
}

void BM_LoadArchive(benchmark::State& state) {
    const std::vector<BYTE> bytes = ShapesArchive();
    for (auto _ : state) {
        CMemFile file(bytes);
        CArchive ar(&file, CArchive::load);
        MShapeArray shapes(TRUE);
        shapes.Serialize(ar);
        if (shapes.GetSize() != kShapes) state.SkipWithError("shapes lost while loading");
    }
    Report(state);
}

}  // namespace

BENCHMARK(BM_WriteText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreArchive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadArchive)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
