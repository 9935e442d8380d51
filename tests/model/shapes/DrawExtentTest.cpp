// The draw extent answers the rectangle the shapes' Recalc used to store: the extent grown by the
// line width (and the arrow heads of lines and polylines), the mark's paper square, the union of
// a group's members. Checked bit for bit on many random shapes of every class through the edits.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/PackShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/dimension/AngleShape.h"
#include "model/shapes/dimension/RadiusShape.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"
#include "model/shapes/picture/BitmapShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

namespace {

using RectBits = std::array<std::uint64_t, 4>;

RectBits Bits(const MFloatRect& r) {
    return {std::bit_cast<std::uint64_t>(r.left), std::bit_cast<std::uint64_t>(r.top),
            std::bit_cast<std::uint64_t>(r.right), std::bit_cast<std::uint64_t>(r.bottom)};
}

// The rule Recalc followed when the draw extent was a stored rectangle; nothing when Recalc left
// it alone (an empty group).
std::optional<MFloatRect> RecalcRule(const MCadShape& s, MCadView* view) {
    if (const auto* mark = dynamic_cast<const MMarkShape*>(&s)) {
        const MFloatPoint& p = mark->m_position;
        const double half = view ? view->PaperToDocLength(mark->m_size) : mark->m_size;
        MFloatRect r(p.x - half, p.y - half, p.x + half, p.y + half);
        r.Normalize();
        return r;
    }
    const MShapeArray* members = nullptr;
    if (const auto* group = dynamic_cast<const MGroupShape*>(&s)) members = &group->GetMembers();
    if (const auto* pack = dynamic_cast<const MPackShape*>(&s)) members = &pack->GetMembers();
    if (members) {
        std::optional<MFloatRect> all;
        for (int i = 0; i < members->GetSize(); ++i) {
            const MCadShape* m = members->GetAt(i);
            if (!m) continue;
            const std::optional<MFloatRect> r = RecalcRule(*m, view);
            if (!r) return std::nullopt;
            if (all)
                all->Union(*r);
            else
                all = r;
        }
        return all;
    }
    MFloatRect r = s.m_extent;
    double w = view ? view->PaperToDocLength(s.GetLineWidth()) : 0.0;
    if (!(w > 0.0)) w = 0.0;
    r.Inflate(w, w);
    if (dynamic_cast<const MLineShape*>(&s) || dynamic_cast<const MPolygonShape*>(&s)) {
        const double heads = view ? view->PaperToDocLength(s.GetArrows().GetMaxSize()) : 0.0;
        if (heads > 0.0) r.Inflate(heads, heads);
    }
    return r;
}

class DrawExtentTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }

    double Coord() { return std::uniform_real_distribution<double>(-500.0, 500.0)(rng); }
    double Size() { return std::uniform_real_distribution<double>(0.5, 60.0)(rng); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    MFloatPoint Point() { return {Coord(), Coord()}; }

    // Width and arrow heads as a drawing would have them: often none, sometimes both.
    void Style(MCadShape& s) {
        const double widths[] = {0.0, 0.0, 0.13, 0.35, 1.0, 2.5};
        s.SetLineWidth(widths[Pick(6)]);
        if (Pick(3) == 0) s.SetArrowsEx(Pick(7), Size() / 10, Pick(7), Size() / 10);
    }

    std::unique_ptr<MCadShape> MakeLeaf(int kind) {
        switch (kind) {
            case 0: {
                auto line = std::make_unique<MLineShape>(Point(), Point());
                Style(*line);
                return line;
            }
            case 1: {
                auto p = std::make_unique<MPolygonShape>(Pick(2) ? TRUE : FALSE);
                for (int i = 0, n = 2 + Pick(6); i < n; ++i)
                    p->AddPoint(Point());
                Style(*p);
                return p;
            }
            case 2: {
                auto r = std::make_unique<MRectShape>();
                r->SetRect(Coord(), Coord(), Size(), Size());
                Style(*r);
                return r;
            }
            case 3: {
                auto c = std::make_unique<MCircleShape>();
                c->SetCircle(Coord(), Coord(), Size());
                Style(*c);
                return c;
            }
            case 4: {
                auto a = std::make_unique<MCircleArcShape>();
                a->SetArc(Coord(), Coord(), Size(), Size() / 10, Size() / 5);
                Style(*a);
                return a;
            }
            case 5: {
                auto e = std::make_unique<MEllipseShape>();
                e->SetEllipse(Coord(), Coord(), Size(), Size());
                Style(*e);
                return e;
            }
            case 6: {
                auto t = std::make_unique<MTextShape>();
                t->SetString("Tessaray " + std::to_string(Pick(1000)));
                t->SetTextSize(Size() / 5);
                t->SetPoint(Point());
                return t;
            }
            case 7: {
                auto t = std::make_unique<MMultiTextShape>();
                t->SetString("two\r\nlines");
                t->SetTextSize(Size() / 5);
                t->SetPoint(Point());
                return t;
            }
            case 8: {
                auto m = std::make_unique<MMarkShape>();
                m->m_position = Point();
                m->m_size = Size() / 10;
                return m;
            }
            default: {
                auto b = std::make_unique<MBitmapShape>();
                const MFloatPoint p = Point();
                b->SetRect(p.x, p.y + Size(), p.x + Size(), p.y);
                return b;
            }
        }
    }

    std::unique_ptr<MCadShape> MakeShape() {
        const int kind = Pick(15);
        if (kind < 10) return MakeLeaf(kind);
        if (kind == 10 || kind == 11) {
            auto g = std::make_unique<MGroupShape>();
            for (int i = 0, n = 1 + Pick(4); i < n; ++i)
                g->AddShape(MakeLeaf(Pick(10)).release());
            return g;
        }
        if (kind == 12) {
            auto s = std::make_unique<MSizeShape>();
            const MFloatPoint a = Point(), b = Point();
            const MFloatPoint up(0, Size());
            s->SetPoints(a, b, a + up, b + up, (a + b) / 2 + up);
            return s;
        }
        if (kind == 13) {
            auto a = std::make_unique<MAngleShape>();
            a->SetAngles(Point(), Size(), 0.1, 0.1 + Size() / 30, 0.5);
            return a;
        }
        auto r = std::make_unique<MRadiusSizeShape>();
        r->SetCircle(Point(), Size(), Size() / 20, Size() / 4);
        return r;
    }

    // A random edit of the geometry.
    void Edit(MCadShape& s) {
        switch (Pick(6)) {
            case 0:
                s.Move(Point());
                break;
            case 1:
                s.Rotate(Coord(), Coord(), Coord() / 100);
                break;
            case 2:
                s.MirrorX(Coord(), Coord());
                break;
            case 3:
                s.MirrorY(Coord(), Coord());
                break;
            case 4:
                s.Scale(Point(), Size() / 20);
                break;
            default:
                s.ScaleXY(Point(), Size() / 20, Size() / 25);
                break;
        }
    }

    void ExpectRule(const MCadShape& s, MCadView* view, const std::string& where) {
        const std::optional<MFloatRect> expected = RecalcRule(s, view);
        if (!expected) return;
        EXPECT_EQ(Bits(s.GetDrawExtent()), Bits(*expected))
            << where << " " << s.GetRuntimeClass()->m_lpszClassName;
    }

    std::mt19937 rng{20261209u};
    TestView fine{10.0};
    TestView coarse{0.37};
};

TEST_F(DrawExtentTest, RecalcAndEditsGiveTheStoredRule) {
    for (int round = 0; round < 400; ++round) {
        std::unique_ptr<MCadShape> s = MakeShape();
        MCadView* views[] = {&fine, &coarse, nullptr};
        MCadView* view = views[round % 3];
        s->Recalc(view);
        ExpectRule(*s, view, "recalc");
        for (int step = 0; step < 4; ++step) {
            Edit(*s);
            s->Recalc(view);
            ExpectRule(*s, view, "edit");
        }
        // Another view's scale changes widths in drawing units; the old one stays until Recalc.
        MCadView* other = views[(round + 1) % 3];
        s->Recalc(other);
        ExpectRule(*s, other, "other view");
    }
}

TEST_F(DrawExtentTest, CopiesCarryTheDrawExtentAndKeepItWhenTheOriginalChanges) {
    for (int round = 0; round < 300; ++round) {
        std::unique_ptr<MCadShape> s = MakeShape();
        s->Recalc(&fine);
        const RectBits before = Bits(s->GetDrawExtent());
        std::unique_ptr<MCadShape> dup(s->Duplicate());
        std::unique_ptr<MCadShape> clone(s->Clone());
        std::unique_ptr<MCadShape> viaArchive(s->MCadShape::Duplicate());
        EXPECT_EQ(Bits(dup->GetDrawExtent()), before);
        EXPECT_EQ(Bits(clone->GetDrawExtent()), before);
        EXPECT_EQ(Bits(viaArchive->GetDrawExtent()), before);
        // The original moves on, as after an undone copy: the copies stay where they were.
        Edit(*s);
        s->Recalc(&coarse);
        EXPECT_EQ(Bits(dup->GetDrawExtent()), before);
        EXPECT_EQ(Bits(clone->GetDrawExtent()), before);
        dup.reset();
        EXPECT_EQ(Bits(viaArchive->GetDrawExtent()), before);
        ExpectRule(*s, &coarse, "original after copies");
        viaArchive->Recalc(&fine);
        ExpectRule(*viaArchive, &fine, "archived copy");
    }
}

TEST_F(DrawExtentTest, RoundTripsThroughArchiveAndTextRecalcToTheRule) {
    for (int round = 0; round < 200; ++round) {
        std::unique_ptr<MCadShape> s = MakeShape();
        s->Recalc(&fine);
        auto loaded = LoadObject<MCadShape>(StoreObject(s.get()));
        ASSERT_NE(loaded, nullptr);
        loaded->Recalc(&fine);
        ExpectRule(*loaded, &fine, "archive");
        EXPECT_EQ(Bits(loaded->GetDrawExtent()), Bits(s->GetDrawExtent()));
        const std::string text = ShapeText(*s);
        if (text.empty()) continue;
        std::unique_ptr<MCadShape> read = ReadShape(text);
        if (!read) continue;
        read->Recalc(&coarse);
        ExpectRule(*read, &coarse, "text");
    }
}

// A draw extent given as a rectangle (groups, marks, arrow heads) stays as given while the extent
// changes, until the next Recalc.
TEST_F(DrawExtentTest, GivenRectanglesStayUntilRecalc) {
    MLineShape line({0, 0}, {10, 5});
    line.SetArrowsEx(1, 3.0, 0, 0.0);
    line.Recalc(&fine);
    const RectBits arrowed = Bits(line.GetDrawExtent());
    line.ScaleXY({0, 0}, 2.0, 3.0);
    EXPECT_EQ(Bits(line.GetDrawExtent()), arrowed);
    line.SetArrowsEx(0, 0.0, 0, 0.0);
    line.Recalc(&fine);
    ExpectRule(line, &fine, "arrows removed");

    MGroupShape group;
    group.AddShape(new MLineShape({0, 0}, {4, 4}));
    group.Recalc(&fine);
    const RectBits grouped = Bits(group.GetDrawExtent());
    group.ScaleXY({0, 0}, 2.0, 2.0);
    EXPECT_EQ(Bits(group.GetDrawExtent()), grouped);
    EXPECT_NE(Bits(group.m_extent), Bits(MFloatRect(0, 0, 4, 4)));

    MMarkShape mark;
    mark.m_position = {3, 4};
    mark.Recalc(&coarse);
    const RectBits marked = Bits(mark.GetDrawExtent());
    mark.m_extent = MFloatRect();
    EXPECT_EQ(Bits(mark.GetDrawExtent()), marked);
}

}  // namespace
