// The scene of the view benchmarks: a drawing view whose client area is 1920 x 1080, shown off
// screen, over a drawing of 100,000 mixed shapes (lines, circles, rectangles, polylines, dashed
// lines) spread over the sheet.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "ColdOpen.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"

namespace benchscene {

constexpr int kShapes = 100000;
using bench::kClientHeight;
using bench::kClientWidth;
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

inline void AddMixedShapes(Scene& scene) {
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

// The mixed scene, built once and initially updated (whole-paper zoom).
inline Scene& MixedScene() {
    static Scene* scene = [] {
        auto* s = new Scene;
        AddMixedShapes(*s);
        s->view.OnInitialUpdate();
        return s;
    }();
    return *scene;
}

// A generated DXF drawing opened as the program opens it (fitted to the sheet), once per program;
// null when it did not open.
inline Scene* OpenGeneratedDrawing(int entities, bench::DxfMix mix) {
    const std::string path = std::filesystem::temp_directory_path() /
                             ("tessaray_bench_scene_" + std::to_string(::getpid()) + ".dxf");
    bench::WriteDxfFile(path, entities, mix);
    auto* scene = new Scene;
    double read = 0, update = 0;
    const bool opened = scene->Open(path, read, update);
    std::filesystem::remove(path);
    if (opened) return scene;
    delete scene;
    return nullptr;
}

}  // namespace benchscene
