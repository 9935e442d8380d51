// Copy, cut and paste through the clipboard (offscreen platform): the private format, the metafile
// and bitmap renderings, pictures of other programs as bitmap shapes, undo, and failures.
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstring>

#include "model/Dib.h"
#include "model/shapes/containers/PackShape.h"
#include "model/shapes/picture/BitmapShape.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/gdi/EmfBackend.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "tests/platform/EmfTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/view/ViewTestSupport.h"
#include "tests/view/ole/OleTestSupport.h"
#include "tests/view/output/ClipboardTestSupport.h"
#include "view/ClassRegistry.h"
#include "view/ViewSelection.h"
#include "view/ole/CntrItem.h"
#include "view/ole/OleClientShape.h"

using namespace cliptest;
using namespace viewtest;

namespace {

void ExpectSameAttributes(MCadShape* a, MCadShape* b) {
    EXPECT_EQ(a->GetTypeId(), b->GetTypeId());
    EXPECT_EQ(a->GetColor(), b->GetColor());
    EXPECT_EQ(a->GetLineWidth(), b->GetLineWidth());
    EXPECT_EQ(a->GetLineStyle(), b->GetLineStyle());
    const MArrowInfo x = a->GetArrows(), y = b->GetArrows();
    EXPECT_EQ(x.startStyle, y.startStyle);
    EXPECT_EQ(x.endStyle, y.endStyle);
    EXPECT_EQ(x.startSize, y.startSize);
    EXPECT_EQ(x.endSize, y.endSize);
    const MFillStyle f = a->GetFillStyle(), g = b->GetFillStyle();
    EXPECT_EQ(f.GetKind(), g.GetKind());
    ASSERT_EQ(f.GetColorCount(), g.GetColorCount());
    for (int i = 0; i < f.GetColorCount(); ++i)
        EXPECT_EQ(f.GetColors()[i], g.GetColors()[i]);
    EXPECT_NEAR(a->GetExtent().GetWidth(), b->GetExtent().GetWidth(), 1e-6);
    EXPECT_NEAR(a->GetExtent().GetHeight(), b->GetExtent().GetHeight(), 1e-6);
}

void PutDamagedPrivateData() {
    auto* mime = new QMimeData;
    mime->setData("application/x-mtessaray-object-format", QByteArray("\xFF\xFF\x01\x00garbage", 11));
    QGuiApplication::clipboard()->setMimeData(mime);
}

}  // namespace

TEST_F(Clipboard, CopyAndPasteKeepEveryAttributeAsOneUndoStepCentredInTheWindow) {
    ViewHarness h(640, 480);
    AddSelection(h);
    std::vector<MCadShape*> originals = tools.select->selected;
    EXPECT_TRUE(Enabled(*h.view, kCopy));
    h.view->SendCommand(kCopy);
    ASSERT_NE(Mime(), nullptr);
    EXPECT_TRUE(Mime()->hasFormat("application/x-mtessaray-object-format"));
    EXPECT_TRUE(Mime()->hasFormat("image/emf"));
    EXPECT_TRUE(Mime()->hasImage());
    EXPECT_FALSE(Mime()->hasFormat("image/bmp"));  // only for a single bitmap shape
    EXPECT_EQ(ShapeCount(h.doc), 3);

    EXPECT_TRUE(Enabled(*h.view, kPaste));
    const double zoom = h.view->zoom;
    h.view->SendCommand(kPaste);
    ASSERT_EQ(ShapeCount(h.doc), 6);
    EXPECT_EQ(tools.select->inserts, 1);
    EXPECT_EQ(h.view->zoom, zoom);
    MFloatRect pasted = ShapeAt(h.doc, 3)->GetExtent();
    for (int i = 0; i < 3; ++i) {
        ExpectSameAttributes(originals[static_cast<std::size_t>(i)], ShapeAt(h.doc, 3 + i));
        EXPECT_EQ(tools.select->selected[static_cast<std::size_t>(i)], ShapeAt(h.doc, 3 + i));
        pasted.Union(ShapeAt(h.doc, 3 + i)->GetExtent());
    }
    // As a group, the pasted shapes sit in the middle of the window.
    std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
    CRect client;
    h.view->GetClientRect(&client);
    const MFloatPoint centre = h.view->DeviceToDoc(dc.get(), client.CenterPoint());
    EXPECT_NEAR(pasted.GetCenter().x, centre.x, 1e-6);
    EXPECT_NEAR(pasted.GetCenter().y, centre.y, 1e-6);

    h.view->SendCommand(57643);  // undo: one step takes all three away
    EXPECT_EQ(ShapeCount(h.doc), 3);
    h.view->SendCommand(57644);
    EXPECT_EQ(ShapeCount(h.doc), 6);
}

TEST_F(Clipboard, CutRemovesTheSelectionAndPasteBringsItBack) {
    ViewHarness h(640, 480);
    AddSelection(h);
    h.view->SendCommand(kCut);
    EXPECT_EQ(ShapeCount(h.doc), 0);
    EXPECT_FALSE(Enabled(*h.view, kCopy));
    h.view->SendCommand(kPaste);
    EXPECT_EQ(ShapeCount(h.doc), 3);
    h.view->SendCommand(57643);
    EXPECT_EQ(ShapeCount(h.doc), 0);
}

TEST_F(Clipboard, RenderingsAreAtZoomOneWhateverTheViewShows) {
    ViewHarness h(640, 480);
    auto* a = h.AddLine(1000, 1000, 6000, 3000);
    tools.select->selected = {a};
    h.view->SwitchToSelectTool();
    h.view->ZoomAt(MFloatPoint(3000, 2000), 3.0, FALSE);
    const double scaleBefore = h.view->unitScaleX;
    h.view->SendCommand(kCopy);
    EXPECT_EQ(h.view->unitScaleX, scaleBefore);  // the screen scale came back

    MCadView zoomOne(&h.doc.GetPaperInfo());
    zoomOne.SetScale(nullptr, 1.0);
    a->Recalc(&zoomOne);
    CRect r = zoomOne.DocToLogicalRect(a->GetDrawExtent());
    r.NormalizeRect();
    a->Recalc(h.view.get());
    const QImage image = qvariant_cast<QImage>(Mime()->imageData());
    EXPECT_EQ(image.width(), r.Width() + 6);
    EXPECT_EQ(image.height(), r.Height() + 6);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    EXPECT_GT(ink, r.Width() / 2);

    const QByteArray emfBytes = Mime()->data("image/emf");
    EmfFile emf(std::vector<BYTE>(emfBytes.begin(), emfBytes.end()));
    ASSERT_TRUE(emf.valid) << emf.error;
    EXPECT_EQ(emf.Description(), std::u16string(u"Tessaray\0Shape\0\0", 16));
    const double mm = 25.4 / 96;
    EXPECT_EQ(emf.Rect(0, 24), CRect(0, 0, static_cast<LONG>((r.Width() + 1) * mm * 100 + 0.5),
                                     static_cast<LONG>((r.Height() + 1) * mm * 100 + 0.5)));
    // The picture starts at the selection's corner.
    const EmfRecord* poly =
        emf.First(EMR_POLYLINE16) ? emf.First(EMR_POLYLINE16) : emf.First(EMR_POLYPOLYLINE16);
    ASSERT_NE(poly, nullptr);
    EXPECT_LE(emf.I32(poly->index, 8), 2);
    EXPECT_GE(emf.I32(poly->index, 8), 0);
}

TEST_F(Clipboard, ASingleBitmapAlsoOffersItsDib) {
    ViewHarness h(640, 480);
    auto* bitmap = new MBitmapShape;
    auto image = std::make_unique<MDib>(3, 2, 24);
    image->CreateSection(nullptr);
    bitmap->SetImage(std::move(image));
    bitmap->SetRect(0, 1000, 1500, 0);
    h.doc.AppendShape(bitmap, 0);
    bitmap->Recalc(h.view.get());
    tools.select->selected = {bitmap};
    h.view->SwitchToSelectTool();
    h.view->SendCommand(kCopy);
    EXPECT_TRUE(Mime()->hasFormat("image/bmp"));
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    std::vector<BYTE> dib;
    ASSERT_TRUE(data.GetData(CF_DIB, dib));
    EXPECT_EQ(dib.size(), 40u + 2 * 12u);  // 24-bit rows of 3 pixels padded to 12 bytes
    EXPECT_EQ(dib[14], 24);
}

TEST_F(Clipboard, APictureOfAnotherProgramPastesAsABitmapShape) {
    ViewHarness h(640, 480);
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    ASSERT_TRUE(SetClipboardImageFile(std::vector<BYTE>(png.begin(), png.end())));
    EXPECT_TRUE(Enabled(*h.view, kPaste));
    // Without a select tool the paste goes into the drawing directly, as one undo step.
    h.view->SendCommand(kPaste);
    ASSERT_EQ(ShapeCount(h.doc), 1);
    auto* shape = dynamic_cast<MBitmapShape*>(ShapeAt(h.doc, 0));
    ASSERT_NE(shape, nullptr);
    ASSERT_TRUE(shape->HasImage());
    EXPECT_EQ(shape->GetImage()->GetSize().cx, 4);
    EXPECT_EQ(shape->GetImage()->GetSize().cy, 3);
    // 4 pixels at 96 dpi on paper at 1 : 100.
    EXPECT_NEAR(shape->m_size.cx, 4 / 3.78 / 0.01, 1e-6);
    // Top-left pixel red: bottom-up rows put it in the last row of bits.
    const BYTE* bits = shape->GetImage()->GetBits();
    const std::size_t last = 2 * 16;
    EXPECT_EQ(bits[last + 2], 255);
    EXPECT_EQ(bits[last + 1], 0);
    h.view->SendCommand(57643);
    EXPECT_EQ(ShapeCount(h.doc), 0);
}

TEST_F(Clipboard, TextAloneCannotBePasted) {
    ViewHarness h(640, 480);
    SetClipboardText("just words");
    EXPECT_FALSE(Enabled(*h.view, kPaste));
    EmptyClipboard();
    EXPECT_FALSE(Enabled(*h.view, kPaste));
}

TEST_F(Clipboard, FailedPastesReportAndLeaveNothingBehind) {
    ViewHarness h(640, 480);
    MessageBoxRecorder boxes;
    // Damaged private data.
    PutDamagedPrivateData();
    h.view->SendCommand(kPaste);
    EXPECT_TRUE(boxes.Saw(62790));
    EXPECT_EQ(ShapeCount(h.doc), 0);
    EXPECT_EQ(h.doc.GetOpenPack(), nullptr);

    // A pack whose insertion fails: its members are deleted (the leak checker would see them).
    AddSelection(h);
    h.view->SendCommand(kCopy);
    tools.select->failInsert = true;
    const int before = static_cast<int>(boxes.Messages().size());
    h.view->SendCommand(kPaste);
    EXPECT_EQ(static_cast<int>(boxes.Messages().size()), before + 1);
    EXPECT_EQ(ShapeCount(h.doc), 3);
}

// Private data of a pack holding a group inside a group ... 100,000 levels deep (never closed): the
// paste reports its failure instead of exhausting the call stack, and the drawing stays as it was.
TEST_F(Clipboard, DeeplyNestedGroupsFailThePasteAndLeaveTheDrawing) {
    ViewHarness h(640, 480);
    h.AddLine(0, 0, 1000, 1000);
    QByteArray data;
    auto put16 = [&data](WORD w) { data.append(char(w & 0xFF)).append(char(w >> 8)); };
    auto newClass = [&](const char* name) {
        put16(0xFFFF), put16(1), put16(WORD(std::strlen(name)));
        data.append(name);
    };
    newClass("MPackShape");  // class 1, object 2
    put16(1);
    newClass("MGroupShape");  // class 3, object 4
    for (int level = 0; level < 100000; ++level) {
        put16(1);       // one member
        put16(0x8003);  // of class 3
    }
    ASSERT_GT(data.size(), 400000);
    auto* mime = new QMimeData;
    mime->setData("application/x-mtessaray-object-format", data);
    QGuiApplication::clipboard()->setMimeData(mime);
    MessageBoxRecorder boxes;
    h.view->SendCommand(kPaste);
    EXPECT_TRUE(boxes.Saw(62790));
    EXPECT_EQ(ShapeCount(h.doc), 1);
    EXPECT_EQ(h.doc.GetOpenPack(), nullptr);
    EXPECT_FALSE(h.doc.CanUndo());
}

// Private data whose pack lists empty (null) entries among its shapes: the shapes are pasted, the
// empty entries are not.
TEST_F(Clipboard, EmptyEntriesOfThePastedPackAreSkipped) {
    ViewHarness h(640, 480);
    tools.select->selected = {h.AddLine(0, 0, 1000, 1000)};
    h.view->SwitchToSelectTool();
    h.view->SendCommand(kCopy);
    QByteArray data = Mime()->data("application/x-mtessaray-object-format");
    // The pack's class (new-class tag, schema, name length, "MPackShape"), then its shape count.
    ASSERT_EQ(data.mid(6, 10), QByteArray("MPackShape"));
    ASSERT_EQ(data[16], 1);
    data[16] = 3;
    data.insert(18, QByteArray(2, '\0'));               // null before the line
    data.insert(data.size() - 4, QByteArray(2, '\0'));  // and after it, before the owns flag
    auto* mime = new QMimeData;
    mime->setData("application/x-mtessaray-object-format", data);
    QGuiApplication::clipboard()->setMimeData(mime);
    MessageBoxRecorder boxes;
    h.view->SendCommand(kPaste);
    EXPECT_TRUE(boxes.Messages().empty());
    ASSERT_EQ(ShapeCount(h.doc), 2);
    EXPECT_NE(dynamic_cast<MLineShape*>(ShapeAt(h.doc, 1)), nullptr);
}

TEST_F(Clipboard, EmbeddedObjectsSurviveCopyAndPaste) {
    ViewHarness h(640, 480);
    const std::vector<BYTE> record = oletest::ItemRecord(true);
    auto* item = new MCntrItem(&h.doc);
    item->SetRecord(record);
    auto* ole = new MOleClientShape(item);
    ole->SetRect(0, 2000, 3000, 0);
    h.doc.AppendShape(ole, 0);
    ole->Recalc(h.view.get());
    tools.select->selected = {ole};
    h.view->SwitchToSelectTool();
    h.view->SendCommand(kCopy);
    h.view->SendCommand(kPaste);
    ASSERT_EQ(ShapeCount(h.doc), 2);
    auto* copy = dynamic_cast<MOleClientShape*>(ShapeAt(h.doc, 1));
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->GetItem(), nullptr);
    EXPECT_EQ(copy->GetItem()->GetRecord(), record);
    EXPECT_EQ(copy->GetItem()->GetDocument(), &h.doc);
}

TEST_F(Clipboard, PasteSpecialOffersWhatCanBePastedAndObjectsAreNotAvailable) {
    ViewHarness h(640, 480);
    AddSelection(h);
    h.view->SendCommand(kCopy);
    DialogRunner runner;
    runner.Script(0xE902, DialogScript().Cancel());
    h.view->SendCommand(57639);
    EXPECT_EQ(ShapeCount(h.doc), 3);
    runner.Script(0xE902, DialogScript().Select(1100, 0).Ok());
    h.view->SendCommand(57639);
    EXPECT_EQ(ShapeCount(h.doc), 6);
    ASSERT_EQ(runner.Dialogs().size(), 2u);
    EXPECT_EQ(runner.Dialogs()[1].result, IDOK);

    // Creating an embedded object is refused with its reason, and nothing changes.
    MessageBoxRecorder boxes;
    h.view->SendCommand(57856);
    EXPECT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(ShapeCount(h.doc), 6);
}

TEST_F(Clipboard, PasteSpecialFailsTheWayAPasteDoes) {
    ViewHarness h(640, 480);
    MessageBoxRecorder boxes;
    PutDamagedPrivateData();
    DialogRunner runner;
    runner.Script(0xE902, DialogScript().Select(1100, 0).Ok());
    h.view->SendCommand(57639);
    ASSERT_EQ(runner.Dialogs().size(), 1u);
    EXPECT_TRUE(boxes.Saw(62790));
    EXPECT_EQ(ShapeCount(h.doc), 0);
    EXPECT_EQ(h.doc.GetOpenPack(), nullptr);
}
