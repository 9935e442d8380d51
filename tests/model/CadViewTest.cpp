#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/model/render/RecordingBackend.h"
#include "model/CadView.h"
#include "model/PaperInfo.h"
#include "platform/gdi/DC.h"

namespace {

MPaperInfo Paper(double scale, int code) {
    return MPaperInfo(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("s", scale), 1, code);
}

// Exactly one logical pixel per paper millimetre: 254 dpi at zoom 0.1.
void SetUnitScale(MCadView& view) {
    CDC dc;
    dc.AttachBackend(std::make_unique<RecordingBackend>(CRect(0, 0, 10, 10), 254));
    view.SetScale(&dc, 0.1);
}

class PreparingView : public MCadView {
public:
    using MCadView::MCadView;
    std::unique_ptr<CDC> GetClientDC() override {
        ++clientDCs;
        auto dc = std::make_unique<CDC>();
        dc->AttachBackend(std::make_unique<RecordingBackend>(CRect(0, 0, 100, 100), dpi));
        return dc;
    }
    void OnPrepareDC(CDC* dc) override { dc->SetWindowOrg(-7, -9); }
    int clientDCs = 0;
    int dpi = 120;
};

}  // namespace

TEST(CadViewTest, ScaleFieldsFollowResolutionZoomAndPaperScale) {
    const MPaperInfo paper = Paper(0.01, 0);
    MCadView view(&paper);
    // A new view has the 96-dpi screen scale at zoom 1.
    EXPECT_DOUBLE_EQ(view.paperScaleX, 96 / 25.4);
    EXPECT_DOUBLE_EQ(view.paperScaleY, -96 / 25.4);
    EXPECT_DOUBLE_EQ(view.unitScaleX, 96 / 25.4 * 0.01);
    EXPECT_DOUBLE_EQ(view.unitInvY, 1 / (-96 / 25.4 * 0.01));
    EXPECT_DOUBLE_EQ(view.pixelDiagonal, std::hypot(25.4 / 96, 25.4 / 96));

    CDC printer;
    printer.AttachBackend(std::make_unique<RecordingBackend>(CRect(0, 0, 10, 10), 600, true), true);
    view.SetScale(&printer, 2.0);
    EXPECT_DOUBLE_EQ(view.paperScaleX, 600 / 25.4 * 2);
    EXPECT_DOUBLE_EQ(view.unitScaleY, -600 / 25.4 * 2 * 0.01);

    // Nothing that cannot be inverted is taken.
    const double before = view.unitScaleX;
    view.SetScale(&printer, 0.0);
    view.SetScale(&printer, std::numeric_limits<double>::quiet_NaN());
    view.SetScale(&printer, -1.0);
    EXPECT_EQ(view.unitScaleX, before);
}

TEST(CadViewTest, PaperOriginIsLogicalZeroAndNearestRoundsHalfUp) {
    const MPaperInfo paper = Paper(1.0, 0);
    MCadView view(&paper);
    SetUnitScale(view);
    EXPECT_EQ(view.DocToLogical(MFloatPoint(0, 0)), CPoint(0, 0));
    EXPECT_EQ(view.DocToLogical(MFloatPoint(1, 0)), CPoint(1, 0));
    EXPECT_EQ(view.DocToLogical(MFloatPoint(2.5, 0)), CPoint(3, 0));
    EXPECT_EQ(view.DocToLogical(MFloatPoint(-2.5, 0)), CPoint(-2, 0));
    EXPECT_EQ(view.DocToLogical(MFloatPoint(0, 2.5)), CPoint(0, -2));  // y grows downwards
    EXPECT_EQ(view.DocToLogicalSize(2.5, -2.5), CSize(3, 3));

    // Bottom-left origin on A4 landscape at 1 : 100: the offset is (0, -21000).
    const MPaperInfo bottomLeft = Paper(0.01, 6);
    MCadView screen(&bottomLeft);
    EXPECT_EQ(screen.DocToLogical(MFloatPoint(0, 21000)), CPoint(0, 0));
    EXPECT_EQ(screen.DocToLogical(MFloatPoint(100, 21000)),
              CPoint(static_cast<LONG>(std::floor(100 * screen.unitScaleX + 0.5)), 0));
    const MFloatPoint paperPoint = screen.DocToPaper(0, 0);
    EXPECT_DOUBLE_EQ(paperPoint.x, 0);
    EXPECT_DOUBLE_EQ(paperPoint.y, -210);
    EXPECT_DOUBLE_EQ(screen.PaperToDocLength(1.0), 100.0);
    EXPECT_DOUBLE_EQ(screen.DocToPaperLength(100.0), 1.0);
}

TEST(CadViewTest, RectanglesKeepTheirEdgesAndRoundTrip) {
    const MPaperInfo paper = Paper(1.0, 0);
    MCadView view(&paper);
    SetUnitScale(view);
    const MFloatRect r(10, -40, 30, -20);  // left 10, bottom -40, right 30, top -20
    const CRect logical = view.DocToLogicalRect(r);
    EXPECT_EQ(logical, CRect(10, 20, 30, 40));
    const MFloatRect back = view.LogicalToDocRect(logical);
    EXPECT_EQ(back, r);
    // Not normalised: a rectangle given upside down stays upside down.
    MFloatRect flipped;
    flipped.left = 30, flipped.right = 10, flipped.top = -40, flipped.bottom = -20;
    EXPECT_EQ(view.DocToLogicalRect(flipped), CRect(30, 40, 10, 20));

    MFloatRect paperRect;
    paperRect.left = 0, paperRect.top = 0, paperRect.right = 297, paperRect.bottom = -210;
    EXPECT_EQ(view.PaperToLogicalRect(paperRect), CRect(0, 0, 297, 210));
    const MFloatRect docRect = view.PaperToDocRect(view.DocToPaperRect(r));
    EXPECT_EQ(docRect, r);
}

TEST(CadViewTest, DeviceConversionsGoThroughTheContextsMapping) {
    const MPaperInfo paper = Paper(1.0, 0);
    MCadView view(&paper);
    SetUnitScale(view);
    CDC dc;
    dc.SetWindowOrg(5, 7);
    dc.SetViewportOrg(100, 0);
    EXPECT_EQ(view.DocToDevice(&dc, MFloatPoint(10, -10)), CPoint(105, 3));
    const MFloatPoint p = view.DeviceToDoc(&dc, CPoint(105, 3));
    EXPECT_DOUBLE_EQ(p.x, 10);
    EXPECT_DOUBLE_EQ(p.y, -10);
    MFloatRect paperRect;
    paperRect.left = 50, paperRect.top = 0, paperRect.right = 0, paperRect.bottom = -20;
    EXPECT_EQ(view.PaperToDeviceRect(&dc, paperRect), CRect(95, -7, 145, 13));  // normalised first
    const MFloatRect docRect = view.DeviceRectToDoc(&dc, CRect(95, -7, 145, 13));
    EXPECT_DOUBLE_EQ(docRect.left, 0);
    EXPECT_DOUBLE_EQ(docRect.top, 0);
    EXPECT_DOUBLE_EQ(docRect.right, 50);
    EXPECT_DOUBLE_EQ(docRect.bottom, -20);
}

TEST(CadViewTest, PaperChangesTakeEffectAtOnceAndUserOriginShifts) {
    MPaperInfo paper = Paper(1.0, 0);
    MCadView view(&paper);
    SetUnitScale(view);
    paper.SetOriginPosition(4);                                         // centre
    EXPECT_EQ(view.DocToLogical(MFloatPoint(0, 0)), CPoint(149, 105));  // 148.5 rounds up
    view.SetOrigin(10, 20);
    const MFloatPoint u = view.DocToUser(15, 25);
    EXPECT_DOUBLE_EQ(u.x, 5);
    EXPECT_DOUBLE_EQ(u.y, 5);
    const MFloatPoint d = view.UserToDoc(u);
    EXPECT_DOUBLE_EQ(d.x, 15);
    EXPECT_DOUBLE_EQ(view.UserToDocLength(3.0), 3.0);

    MCadView noPaper;
    EXPECT_DOUBLE_EQ(noPaper.PaperToDocLength(2.0), 2.0);
}

TEST(CadViewTest, HugeCoordinatesStayFiniteIntegers) {
    const MPaperInfo paper = Paper(1.0, 0);
    MCadView view(&paper);
    view.SetScale(nullptr, 1e6);
    const CPoint far = view.DocToLogical(MFloatPoint(1e300, -1e300));
    EXPECT_GT(far.x, 1 << 28);
    EXPECT_GT(far.y, 1 << 28);
    const CPoint nan = view.DocToLogical(MFloatPoint(std::numeric_limits<double>::quiet_NaN(), 0));
    EXPECT_EQ(nan.x, 0);
}

TEST(CadViewTest, WindowServicesHaveOffScreenDefaultsAndOverrides) {
    const MPaperInfo paper = Paper(1.0, 0);
    MCadView plain(&paper);
    std::unique_ptr<CDC> dc = plain.GetPreparedClientDC();
    ASSERT_TRUE(dc);
    EXPECT_EQ(dc->GetDeviceCaps(LOGPIXELSX), 96);
    plain.InvalidateRect(nullptr, TRUE);

    PreparingView view(&paper);
    view.zoom = 2.0;
    view.RecalcScale();
    EXPECT_EQ(view.clientDCs, 1);
    EXPECT_DOUBLE_EQ(view.paperScaleX, 120 / 25.4 * 2);
    std::unique_ptr<CDC> prepared = view.GetPreparedClientDC();
    EXPECT_EQ(prepared->GetWindowOrg(), CPoint(-7, -9));
}
