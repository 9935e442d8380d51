// A part dragged from the bar into the drawing: through the select tool, in one undo step; a drag
// that leaves, or comes from another process, changes nothing; dropped files still open.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <cmath>

#include "document/Layer.h"
#include "model/settings/OptionRecord.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/PrivateDrag.h"
#include "platform/ui/detail/ImageListQt.h"
#include "tests/app/parts/PartsTestSupport.h"
#include "tools/select/SelectTool.h"

namespace {

constexpr char kMime[] = "application/x-tessaray-part";

class PartsDrag : public PartsBarProgram {
protected:
    void SetUp() override {
        PartsBarProgram::SetUp();
        GetOptionRecord().m_snap = 0;
        LoadFromProfile({{"0", WriteList("a.qfp", "A", {"ボルト"})}});
        Frame()->GetWidget()->resize(900, 700);
        Frame()->ShowWindow(SW_SHOWNORMAL);
        QApplication::processEvents();
    }
    CWnd* View() { return Frame()->GetView(); }
    // The drag loop, played on the view: each step a phase at a client point.
    void PlayOnView(std::vector<std::pair<int, CPoint>> steps, BOOL result) {
        drag.emplace(AfxPrivateDragSlot(),
                     [this, steps, result](const std::string& mime, const std::string& data,
                                           const PrivateDragPicture& picture) {
                         payload = data;
                         if (picture.image && picture.image->GetImageCount() == 1)
                             image = picture.image->GetData()->images.front().toImage();
                         hotSpot = picture.hotSpot;
                         for (const auto& [phase, point] : steps)
                             SendPrivateDragEvent(View(), phase, mime, data, point);
                         return result;
                     });
    }
    MCadShape* LastShape() {
        MLayer* layer = Doc().GetLayers()->GetLayer(Doc().GetLayers()->GetCurrentLayerIndex());
        return layer && layer->GetSize() > 0 ? layer->GetAt(layer->GetSize() - 1) : nullptr;
    }
    MFloatPoint DrawingPoint(CPoint client) {
        std::unique_ptr<CDC> dc = Frame()->GetView()->GetPreparedClientDC();
        return Frame()->GetView()->DeviceToDoc(dc.get(), client);
    }

    std::optional<CProgramSlot<PrivateDragRunner>::Override> drag;
    std::string payload;
    QImage image;
    CPoint hotSpot;
};

}  // namespace

TEST_F(PartsDrag, APartDroppedOnTheViewLandsCentredThereSelectedInOneUndoStep) {
    const int before = ShapeCount();
    ASSERT_FALSE(Doc().CanUndo());
    PlayOnView({{kDragEnter, CPoint(100, 100)}, {kDragMove, CPoint(200, 150)}, {kDragDrop, CPoint(300, 200)}},
               TRUE);
    Bar().GetListCtrl().BeginItemDrag(0);
    EXPECT_EQ(payload, std::to_string(::getpid()) + " 0 0");
    ASSERT_EQ(ShapeCount(), before + 1);
    MCadShape* placed = LastShape();
    ASSERT_NE(placed, nullptr);
    const MFloatPoint centre = placed->GetCenter();
    const MFloatPoint expected = DrawingPoint(CPoint(300, 200));
    const MFloatPoint pixel = DrawingPoint(CPoint(301, 201)) - expected;
    EXPECT_NEAR(centre.x, expected.x, std::abs(pixel.x) + 1e-9);
    EXPECT_NEAR(centre.y, expected.y, std::abs(pixel.y) + 1e-9);
    auto* tool = dynamic_cast<MSelectTool*>(Frame()->GetView()->GetTool());
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->GetSelectionCount(), 1);

    ASSERT_TRUE(Doc().CanUndo());
    Frame()->SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(ShapeCount(), before);
    EXPECT_FALSE(Doc().CanUndo());
}

TEST_F(PartsDrag, ADragThatLeavesOrIsDroppedElsewhereAddsNothing) {
    const int before = ShapeCount();
    PlayOnView({{kDragEnter, CPoint(100, 100)}, {kDragMove, CPoint(150, 120)}, {kDragLeave, CPoint()}},
               FALSE);
    Bar().GetListCtrl().BeginItemDrag(0);
    // Released outside the view: the toolkit's loop ends without a drop or a leave.
    PlayOnView({{kDragEnter, CPoint(100, 100)}, {kDragMove, CPoint(150, 120)}}, FALSE);
    Bar().GetListCtrl().BeginItemDrag(0);
    EXPECT_EQ(ShapeCount(), before);
    EXPECT_FALSE(Doc().CanUndo());

    // The next click places nothing.
    View()->OnLButtonDown(MK_LBUTTON, CPoint(250, 250));
    View()->OnLButtonUp(0, CPoint(250, 250));
    EXPECT_EQ(ShapeCount(), before);
    EXPECT_FALSE(Doc().CanUndo());
}

TEST_F(PartsDrag, ADragFromAnotherProcessIsRefusedAndDroppedFilesStillReachTheFrame) {
    const int before = ShapeCount();
    const std::string foreign = std::to_string(::getpid() + 1) + " 0 0";
    EXPECT_FALSE(SendPrivateDragEvent(View(), kDragEnter, kMime, foreign, CPoint(100, 100)));
    EXPECT_FALSE(SendPrivateDragEvent(View(), kDragDrop, kMime, foreign, CPoint(100, 100)));
    EXPECT_EQ(ShapeCount(), before);

    Frame()->DragAcceptFiles(TRUE);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(PathOf("drawing.qfd")))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(View()->GetWidget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
}

TEST_F(PartsDrag, APartDroppedOnItsOwnListStaysItemForPart) {
    ASSERT_TRUE(Bar().AddPartsToCurrentList(Part("ナット").release()));
    const std::string data = std::to_string(::getpid()) + " 0 1";
    CWnd* list = &Bar().GetListCtrl();
    EXPECT_TRUE(SendPrivateDragEvent(list, kDragEnter, kMime, data, CPoint(2, 2)));
    EXPECT_TRUE(SendPrivateDragEvent(list, kDragDrop, kMime, data, CPoint(2, 2)));
    EXPECT_EQ(Bar().GetListCtrl().GetItemText(0), "ボルト");
    Bar().GetListCtrl().ClickItem(1);
    ASSERT_NE(Bar().GetSelectedParts(), nullptr);
    EXPECT_EQ(Bar().GetSelectedParts()->m_name, "ナット");
    // Another tab's part is not this list's to move.
    EXPECT_FALSE(
        SendPrivateDragEvent(list, kDragEnter, kMime, std::to_string(::getpid()) + " 3 0", CPoint(2, 2)));
}

TEST_F(PartsDrag, TheDragCarriesThePartsIconHeldWhereThePointerTookIt) {
    PlayOnView({{kDragEnter, CPoint(100, 100)}, {kDragLeave, CPoint()}}, FALSE);
    Bar().GetListCtrl().BeginItemDrag(0);
    ASSERT_FALSE(image.isNull()) << "a drag without a picture";
    ASSERT_EQ(image.size(), QSize(MCadParts::kIconSize, MCadParts::kIconSize));
    std::unique_ptr<CBitmap> icon = PartsIconBitmap(*Bar().GetList(0)->GetAt(0)->GetIcon());
    ASSERT_NE(icon, nullptr);
    for (int y = 0; y < MCadParts::kIconSize; ++y)
        for (int x = 0; x < MCadParts::kIconSize; ++x) {
            const COLORREF c = icon->GetPixel(x, y);
            ASSERT_EQ(image.pixelColor(x, y), QColor(GetRValue(c), GetGValue(c), GetBValue(c)))
                << x << "," << y;
        }
    // Taken by its middle, it is held there.
    EXPECT_EQ(hotSpot, CPoint(MCadParts::kIconSize / 2, MCadParts::kIconSize / 2));
}
