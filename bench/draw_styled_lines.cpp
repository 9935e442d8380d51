// 100,000 dashed segments, 0.5 mm wide, drawn through the polyline renderer into a
// 1920 x 1080 image, one renderer call per segment as the line shapes make them.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <random>
#include <vector>

#include "model/CadView.h"
#include "model/PaperInfo.h"
#include "model/render/PolyLine.h"
#include "platform/gdi/DC.h"

namespace {

constexpr int kSegments = 100000;
constexpr int kWidth = 1920, kHeight = 1080;

struct Scene {
    MPaperInfo paper{MPaperSizeInfo("A0", "1189mm×841mm", 1189, 841), MPaperScaleInfo("1 : 1", 1.0), 1, 0};
    MCadView view{&paper};
    std::vector<MFloatPoint> points;  // pairs

    Scene() {
        // 96 dpi at zoom 1: 3.78 pixels per millimetre; segments of 2 to 12 mm anywhere in the frame.
        std::mt19937 random(12345);
        std::uniform_real_distribution<double> x(0, kWidth / 3.7795), y(0, kHeight / 3.7795), len(2, 12),
            angle(0, 6.283185307179586);
        for (int i = 0; i < kSegments; ++i) {
            const MFloatPoint a(x(random), -y(random));
            const double l = len(random), t = angle(random);
            points.push_back(a);
            points.push_back(a + MFloatPoint(l * std::cos(t), l * std::sin(t)));
        }
    }
};

void BM_DrawDashedSegments(benchmark::State& state) {
    static Scene scene;
    CDC dc;
    dc.CreateImageDC(kWidth, kHeight);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 128));
    CBrush brush(RGB(0, 0, 128));
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.SetPolyFillMode(WINDING);
    MPolyLine& lines = GetPolyLineRenderer();
    const int style = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < kSegments; ++i)
            lines.Draw(&scene.view, &dc, &scene.points[2 * i], 2, 0.5, style, FALSE);
        dc.Flush();
    }
    state.counters["segments/s"] =
        benchmark::Counter(kSegments, benchmark::Counter::kIsIterationInvariantRate);
}

// Thin (pen) lines of the same segments: the polyline path of the context.
void BM_DrawThinDashedSegments(benchmark::State& state) {
    static Scene scene;
    CDC dc;
    dc.CreateImageDC(kWidth, kHeight);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 128));
    dc.SelectObject(&pen);
    MPolyLine& lines = GetPolyLineRenderer();
    const int style = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < kSegments; ++i)
            lines.Draw(&scene.view, &dc, &scene.points[2 * i], 2, 0.0, style, FALSE);
        dc.Flush();
    }
    state.counters["segments/s"] =
        benchmark::Counter(kSegments, benchmark::Counter::kIsIterationInvariantRate);
}

// The same work without pixels: the renderer, the context's clipping and the back-end call only.
class NullBackend : public GdiBackend {
public:
    int GetDeviceCaps(int index) const override {
        return index == LOGPIXELSX || index == LOGPIXELSY ? 96 : 0;
    }
    CRect GetBounds() const override { return CRect(0, 0, kWidth, kHeight); }
    void SetClip(const CRgn*) override {}
    void DrawFigure(const GdiFigure&, const GdiAttributes&) override {}
    void Polygons(const GdiPointF*, const int* counts, int n, const GdiAttributes&) override {
        polygons += n;
    }
    void PatBlt(const CRect&, DWORD, const GdiAttributes&) override {}
    void TextOut(double, double, UINT, const RECT*, const std::string&, const GdiAttributes&) override {}
    void StretchDib(int, int, int, int, int, int, int, int, const BITMAPINFO*, const void*, DWORD,
                    const GdiAttributes&) override {}
    void BitBlt(const CRect&, const CBitmap::Surface&, CPoint, COLORREF, DWORD,
                const GdiAttributes&) override {}
    COLORREF GetPixel(int, int) const override { return 0; }
    COLORREF SetPixel(int, int, COLORREF) override { return 0; }
    long long polygons = 0;
};

void BM_GenerateDashedSegments(benchmark::State& state) {
    static Scene scene;
    CDC dc;
    auto backend = std::make_unique<NullBackend>();
    NullBackend* null = backend.get();
    dc.AttachBackend(std::move(backend));
    MPolyLine& lines = GetPolyLineRenderer();
    for (auto _ : state)
        for (int i = 0; i < kSegments; ++i)
            lines.Draw(&scene.view, &dc, &scene.points[2 * i], 2, 0.5, static_cast<int>(state.range(0)),
                       FALSE);
    state.counters["polygons/segment"] = double(null->polygons) / (double(kSegments) * state.iterations());
}

}  // namespace

BENCHMARK(BM_GenerateDashedSegments)->Arg(1)->Unit(benchmark::kMillisecond);
// Style 1 (DASHED1, 1.25 mm dashes) and, for comparison, the continuous style 0.
BENCHMARK(BM_DrawDashedSegments)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawThinDashedSegments)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
