// Placed block copies turned in place against the group's own turn: the same bytes for random
// blocks of every kind the reader builds, for the blocks of the benchmark drawing and for those of
// real files.
#include <bit>
#include <cstdint>
#include <filesystem>
#include <random>
#include <typeinfo>

#include "DxfTestSupport.h"
#include "bench/BenchDxf.h"
#include "interchange/DxfBlockCopy.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Archive.h"
#include "platform/File.h"

using namespace dxftest;

namespace {

std::vector<BYTE> Stored(const MCadShape* shape) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << shape;
    }
    return file.Data();
}

// Every base point of the group and its nested groups, bit for bit.
void CollectBasePoints(const MCadShape* shape, std::vector<std::uint64_t>& out) {
    const auto* group = dynamic_cast<const MGroupShape*>(shape);
    if (!group) return;
    if (group->HasBasePoint()) {
        out.push_back(std::bit_cast<std::uint64_t>(group->GetBasePoint().x));
        out.push_back(std::bit_cast<std::uint64_t>(group->GetBasePoint().y));
    }
    for (int i = 0; i < group->GetShapeCount(); ++i)
        CollectBasePoints(group->GetShapeAt(i), out);
}

// The group turned both ways about (cx, cy) gives the same shapes.
void ExpectSameTurn(const MGroupShape& block, double cx, double cy, double angle) {
    std::unique_ptr<MGroupShape> old(static_cast<MGroupShape*>(block.Duplicate()));
    std::unique_ptr<MGroupShape> now(static_cast<MGroupShape*>(block.Duplicate()));
    old->Rotate(cx, cy, angle);
    TurnPlacedCopy(*now, cx, cy, angle);
    EXPECT_EQ(Stored(old.get()), Stored(now.get())) << "angle " << angle;
    std::vector<std::uint64_t> oldBases, nowBases;
    CollectBasePoints(old.get(), oldBases);
    CollectBasePoints(now.get(), nowBases);
    EXPECT_EQ(oldBases, nowBases);
}

std::unique_ptr<MCadShape> RandomMember(std::mt19937& rng, int depth, bool withRect) {
    std::uniform_real_distribution<double> v(-500.0, 500.0);
    const int kinds = withRect ? 9 : 8;
    switch (static_cast<int>(rng() % static_cast<unsigned>(depth > 2 ? kinds - 1 : kinds))) {
        case 0:
            return std::make_unique<MLineShape>(MFloatPoint(v(rng), v(rng)), MFloatPoint(v(rng), v(rng)));
        case 1: {
            auto circle = std::make_unique<MCircleShape>();
            circle->SetCircle(v(rng), v(rng), std::fabs(v(rng)) + 1);
            return circle;
        }
        case 2: {
            auto arc = std::make_unique<MCircleArcShape>();
            arc->SetArc(v(rng), v(rng), std::fabs(v(rng)) + 1, v(rng) / 100, v(rng) / 100);
            return arc;
        }
        case 3: {
            auto text = std::make_unique<MTextShape>();
            text->SetString("文字 " + std::to_string(rng() % 1000));
            text->SetTextSize(2.5);
            text->SetAngle(v(rng) / 100);
            text->SetPoint(MFloatPoint(v(rng), v(rng)));
            return text;
        }
        case 4: {
            auto multi = std::make_unique<MMultiTextShape>();
            multi->SetString("一行\n二行");
            multi->SetBoxSize(40, -10);
            multi->SetPoint(MFloatPoint(v(rng), v(rng)));
            return multi;
        }
        case 5:
        case 6: {
            std::unique_ptr<MSplineShapeBase> spline;
            if (rng() % 2)
                spline = std::make_unique<MSplineShape>();
            else
                spline = std::make_unique<MSplineLoopShape>();
            MFloatPointArray points;
            for (int k = 0; k < 4; ++k)
                points.Add(MFloatPoint(v(rng), v(rng)));
            spline->SetControlPoints(points);
            return spline;
        }
        case 7: {
            auto group = std::make_unique<MGroupShape>();
            for (int k = 0; k < 3; ++k)
                group->AddShape(RandomMember(rng, depth + 1, withRect).release());
            if (rng() % 2) group->SetBasePoint(MFloatPoint(v(rng), v(rng)));
            return group;
        }
        default: {
            auto rect = std::make_unique<MRectShape>();
            rect->SetRect(v(rng), v(rng), 30, 20);
            return rect;
        }
    }
}

class DxfBlockCopy : public DxfTest {};

TEST_F(DxfBlockCopy, RandomBlocksTurnAsTheGroupTurnsThem) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> v(-1000.0, 1000.0);
    const double kPi = 3.141592653589793;
    const double angles[] = {kPi / 2, kPi, -kPi / 2, 2 * kPi, 1e-12, 0.7853981633974483};
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        MGroupShape block;
        // Some blocks hold a rectangle, which turns into a polygon: those take the group's way.
        const bool withRect = round % 5 == 0;
        for (int k = 0; k < 5; ++k)
            block.AddShape(RandomMember(rng, 0, withRect).release());
        if (round % 2) block.SetBasePoint(MFloatPoint(v(rng), v(rng)));
        block.Recalc(nullptr);
        const double angle = round < 6 ? angles[round] : v(rng) / 50;
        ExpectSameTurn(block, v(rng), v(rng), angle);
    }
}

TEST_F(DxfBlockCopy, OnlyTheReadersKindsTurnInPlace) {
    MGroupShape block;
    block.AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(1, 1)));
    auto* nested = new MGroupShape;
    nested->AddShape(new MCircleShape);
    block.AddShape(nested);
    EXPECT_TRUE(TurnsInPlace(&block));
    nested->AddShape(new MRectShape);
    EXPECT_FALSE(TurnsInPlace(&block));
}

// A block of every kind (and a nested, turned and scaled placement) placed as it stands, then
// moved, scaled and turned: the reader's copy is the plain copy moved, scaled and turned by the group.
TEST_F(DxfBlockCopy, PlacementsAreTheCopiesMovedScaledAndTurned) {
    const std::string blocks =
        "0|SECTION|2|BLOCKS|"
        "0|BLOCK|2|INNER|10|1.25|20|-2.5|"
        "0|LINE|8|0|62|3|10|1.5|20|2.25|11|7.75|21|3.125|"
        "0|CIRCLE|8|0|10|4.5|20|1.5|40|2.75|"
        "0|ARC|8|0|10|-3.5|20|6.25|40|1.5|50|33|51|211|"
        "0|TEXT|8|0|10|2.5|20|3.5|40|1.25|50|12|1|AB|"
        "0|LWPOLYLINE|8|0|70|1|10|1.5|20|1.5|42|0.5|10|6.5|20|1.5|10|6.5|20|4.5|"
        "0|ENDBLK|"
        "0|BLOCK|2|OUTER|10|-3.75|20|2.125|"
        "0|LINE|8|0|10|1.5|20|2.5|11|9.5|21|-4.5|"
        "0|INSERT|8|0|2|INNER|10|3.5|20|1.5|41|2|42|0.5|50|30|"
        "0|ENDBLK|0|ENDSEC|";
    const auto placed = [&](const std::string& insert) {
        MTessarayDoc file;
        MDXFReader reader(file);
        EXPECT_EQ(reader.ReadBytes(
                      Dxf(blocks + "0|SECTION|2|ENTITIES|0|INSERT|8|0|2|OUTER|" + insert + "0|ENDSEC|0|EOF")),
                  1);
        const std::vector<MCadShape*> shapes = AllShapes(file);
        EXPECT_EQ(shapes.size(), 1u);
        return std::unique_ptr<MCadShape>(shapes.empty() ? nullptr : shapes[0]->Duplicate());
    };
    const std::unique_ptr<MCadShape> asItStands = placed("10|-3.75|20|2.125|");
    ASSERT_NE(asItStands, nullptr);
    struct Case {
        double x, y, sx, sy, degrees;
    };
    for (const Case& c : {Case{100.5, 50.25, 1.5, 1.5, 17}, Case{-7.5, 3.25, 2, -0.5, 90},
                          Case{0.125, -9.5, 1, 1, 243.5}, Case{3.5, 4.5, -1, 1, 180}}) {
        SCOPED_TRACE(c.degrees);
        std::unique_ptr<MCadShape> expected(asItStands->Duplicate());
        const MFloatPoint p(c.x, c.y);
        expected->Move(p - expected->GetCenter());
        if (c.sx != 1.0 || c.sy != 1.0) expected->ScaleXY(p, c.sx, c.sy);
        const double angle = std::fmod(c.degrees, 360.0) * 3.141592653589793 / 180.0;
        expected->Rotate(p.x, p.y, angle);
        const std::unique_ptr<MCadShape> read = placed(
            "10|" + std::to_string(c.x) + "|20|" + std::to_string(c.y) + "|41|" + std::to_string(c.sx) +
            "|42|" + std::to_string(c.sy) + "|50|" + std::to_string(c.degrees) + "|");
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(Stored(read.get()), Stored(expected.get()));
    }
}

// The copy made from the numbers is the one storing and loading makes: the same class, stored
// bytes, extents and outline, and the same extents once both are recalculated (texts keep their
// measure).
void ExpectArchiveCopy(const MCadShape& shape) {
    const std::unique_ptr<MCadShape> archived(shape.MCadShape::Duplicate()), direct(shape.Duplicate());
    ASSERT_EQ(typeid(*direct), typeid(*archived));
    EXPECT_EQ(Stored(direct.get()), Stored(archived.get()));
    const auto same = [](const MCadShape& a, const MCadShape& b) {
        EXPECT_EQ(a.GetExtent(), b.GetExtent());
        EXPECT_EQ(a.GetDrawExtent(), b.GetDrawExtent());
        const MFloatPointArray &pa = a.GetPoints(), &pb = b.GetPoints();
        ASSERT_EQ(pa.GetSize(), pb.GetSize());
        for (int i = 0; i < pa.GetSize(); ++i)
            EXPECT_TRUE(pa[i].x == pb[i].x && pa[i].y == pb[i].y) << "point " << i;
    };
    same(*direct, *archived);
    direct->Recalc(nullptr);
    archived->Recalc(nullptr);
    same(*direct, *archived);
}

TEST_F(DxfBlockCopy, CopiesFromTheNumbersAreTheArchiveCopies) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> v(-1000.0, 1000.0);
    const MFillStyle fills[] = {MFillStyle(), MFillStyle(0x123456),
                                MFillStyle(kFillLinear, 0.5, 0xFF, 0xFF00),
                                MFillStyle(kFillCircular, 0.25, 0.5, 0.75, 0xFF, 0xFF00, 0xFF0000, 0.5)};
    // A character cut at the end, a zero byte, and more than an archive's string holds.
    const std::string strings[] = {"図面", "AB\xE3\x81", std::string("A\0B", 3), std::string(70000, 'x')};
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        std::unique_ptr<MCadShape> shape = RandomMember(rng, 0, round % 7 == 0);
        if (round % 4 == 3) {
            auto polygon = std::make_unique<MPolygonShape>(3 + round % 5, round % 8 == 3 ? TRUE : FALSE);
            for (MFloatPoint& p : polygon->m_points)
                p = MFloatPoint(v(rng), v(rng));
            shape = std::move(polygon);
        }
        shape->SetFillStyle(fills[round % 4]);
        if (round % 5 == 1) shape->SetLineStyle(kAuxiliaryLine | 2);
        if (auto* polygon = dynamic_cast<MPolygonShape*>(shape.get()); polygon && round % 3 == 0) {
            polygon->m_arrows = MArrowInfo(1, 2.5, 3, 4.5);
            polygon->m_flags ^= MPolygonShape::kVertexSnap;
        }
        // Angles as no arc keeps them: loading puts them in order.
        if (auto* arc = dynamic_cast<MCircleArcShape*>(shape.get()); arc && round % 2)
            arc->m_startAngle += 20.0;
        if (auto* text = dynamic_cast<MTextShape*>(shape.get()); text && round % 6 < 4) {
            text->SetString(strings[round % 6]);
            text->SetFontName(round % 2 ? "ＭＳ 明朝" : "Face\xE3");
        }
        shape->Recalc(nullptr);
        // Moved once or three times: an outline computed from the numbers is shifted or kept.
        for (int k = 0; k < round % 3 * 2 - 1; ++k)
            shape->Move(MFloatPoint(v(rng), v(rng)));
        ExpectArchiveCopy(*shape);
    }
    ASSERT_EQ(Read(bench::MakeDxf(600)), 1);
    for (MCadShape* shape : AllShapes(doc))
        ExpectArchiveCopy(*shape);
}

// Every placed block of the drawing turned once more, both ways; how many there were.
int ExpectSameTurnsOfGroups(const MTessarayDoc& file, std::mt19937& rng) {
    std::uniform_real_distribution<double> v(-1000.0, 1000.0);
    int groups = 0;
    for (MCadShape* shape : AllShapes(file)) {
        const auto* group = dynamic_cast<const MGroupShape*>(shape);
        if (!group || group->GetRuntimeClass() != RUNTIME_CLASS(MGroupShape)) continue;
        ++groups;
        ExpectSameTurn(*group, v(rng), v(rng), v(rng) / 50);
    }
    return groups;
}

TEST_F(DxfBlockCopy, BenchmarkAndRealDrawingsTurnTheSame) {
    std::mt19937 rng(11);
    ASSERT_EQ(Read(bench::MakeDxf(600)), 1);
    EXPECT_EQ(ExpectSameTurnsOfGroups(doc, rng), 100);
    const std::string dir = TestDataDir();
    if (dir.empty() || !std::filesystem::is_directory(dir + "/dxf"))
        GTEST_SKIP() << "no DXF files under " TESSARAY_TESTDATA_DIR "/dxf";
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/dxf")) {
        std::string ext = entry.path().extension().string();
        for (char& c : ext)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext != ".dxf") continue;
        SCOPED_TRACE(entry.path().string());
        MTessarayDoc file;
        MDXFReader reader(file);
        MessageBoxRecorder told;
        ASSERT_EQ(reader.Read(entry.path().string()), 1);
        ExpectSameTurnsOfGroups(file, rng);
    }
}

}  // namespace
