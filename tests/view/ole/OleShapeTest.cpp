// Embedded objects: the stored item record survives every operation byte for byte, what can be
// shown of it is read from a hand-made record, and the shape's geometry and faults.
#include <gtest/gtest.h>

#include <sstream>

#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/helpers/TextStream.h"
#include "model/settings/LineStyle.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/ShapeEditors.h"
#include "model/shapes/ShapeFactory.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "tests/support/TestSupport.h"
#include "tests/view/ole/OleTestSupport.h"
#include "view/ClassRegistry.h"
#include "view/ole/CntrItem.h"
#include "view/ole/OleClientShape.h"
#include "view/ole/OleItemRecord.h"

using namespace oletest;

namespace {

class OleShape : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterViewClasses();
        ResetProgramState();
        doc.OnNewDocument();
    }

    // A drawing file written by hand: one layer with an embedded object and a line after it.
    static std::string HandMadeFile(const std::vector<BYTE>& record) {
        return "$$TessarayText$$\n1\n[LAYERS]\n\t0\n\t1\n[LAYER]\n\tLayer1\n\t7\n\t2\nOLE2\n\t10 20 300 "
               "150\n" +
               BlockText(record) + "LINE\n\t0 0 100 100 0 0 0 0 0 0 0\n[EOF]\n";
    }
    static std::string Text(MTessarayDoc& d) {
        std::ostringstream os;
        d.WriteText(os);
        return os.str();
    }
    // The first OLE2 shape's lines in a file text: its keyword and the TAB lines after it.
    static std::string OleSection(const std::string& text) {
        std::size_t at = text.find("OLE2\n");
        if (at == std::string::npos) return {};
        std::size_t end = text.find('\n', at) + 1;
        while (end < text.size() && text[end] == '\t')
            end = text.find('\n', end) + 1;
        return text.substr(at, end - at);
    }
    MOleClientShape* FirstOle(MTessarayDoc& d) {
        MLayer* layer = d.GetLayers()->GetLayer(0);
        for (int i = 0; layer && i < layer->GetSize(); ++i)
            if (auto* ole = dynamic_cast<MOleClientShape*>(layer->GetAt(i))) return ole;
        return nullptr;
    }

    MTessarayDoc doc;
};

TEST_F(OleShape, RecordShowsItsClassNamePictureAndExtent) {
    const std::vector<BYTE> record = ItemRecord(true);
    const MOleItemPresentation p = ReadOleItemPresentation(record.data(), record.size());
    EXPECT_EQ(p.className, "Microsoft Excel ワークシート");
    EXPECT_EQ(p.format, 8u);
    EXPECT_EQ(p.width, 5000);
    EXPECT_EQ(p.height, 2500);
    EXPECT_EQ(p.dib.size(), 56u);

    // Without a user type the program id names it; without either, the class id.
    std::vector<Stream> progOnly{{u"\u0001CompObj", CompObj("", "Word.Document.8")}};
    std::vector<BYTE> cfb = MakeCompoundFile(progOnly);
    EXPECT_EQ(ReadOleItemPresentation(cfb.data(), cfb.size()).className, "Word.Document.8");
    const BYTE id[16] = {0x20, 0x08, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    cfb = MakeCompoundFile({}, id);
    EXPECT_EQ(ReadOleItemPresentation(cfb.data(), cfb.size()).className,
              "{00020820-0000-0000-C000-000000000046}");
}

TEST_F(OleShape, DamagedRecordsGiveNothingAndNeverOverrun) {
    std::vector<BYTE> record = ItemRecord(true);
    // Cut anywhere, or with its chains and counts turned into nonsense, the reading stays inside.
    for (std::size_t cut = 0; cut < record.size(); cut += 37) {
        const MOleItemPresentation p = ReadOleItemPresentation(record.data(), cut);
        EXPECT_TRUE(p.dib.empty() || cut >= record.size() - 6);
    }
    const std::size_t cfb = 16;
    std::vector<BYTE> looping = record;
    Set32(looping, cfb + 512 + 4 * 3, 3);  // the mini stream's chain points at itself
    Set32(looping, cfb + 512 + 4 * 1, 1);  // and so does the directory's
    // The loops end the chains as damaged; what was read before them still names the object.
    EXPECT_EQ(ReadOleItemPresentation(looping.data(), looping.size()).className,
              "Microsoft Excel ワークシート");
    MCompoundFile file;
    ASSERT_TRUE(file.Open(looping.data() + cfb, looping.size() - cfb));
    EXPECT_TRUE(file.IsDamaged());
    EXPECT_EQ(file.GetEntryCount(), 4u);
    std::vector<BYTE> huge = record;
    Set32(huge, cfb + 44, 0x7FFFFFFF);  // FAT sector count
    EXPECT_TRUE(ReadOleItemPresentation(huge.data(), huge.size()).className.empty());
    std::vector<BYTE> bigStream = record;
    Set32(bigStream, cfb + 512 + 512 + 128 + 120, 0x7FFFFFF0);  // CompObj claims 2 GB
    EXPECT_TRUE(ReadOleItemPresentation(bigStream.data(), bigStream.size()).className.empty());
    const std::vector<BYTE> noise(3000, 0xD0);
    EXPECT_TRUE(ReadOleItemPresentation(noise.data(), noise.size()).className.empty());
}

// A record of a megabyte (a few kilobytes once deflated in a drawing) whose FAT lists one
// sector again and again, and whose directory chain loops: reading it copies each sector at most
// once, and the shape keeps its bytes and shows a frame with the class name.
TEST_F(OleShape, ALoopingRecordIsReadOnceAndKeptWhole) {
    std::vector<BYTE> record = ItemRecord(false);
    const std::size_t cfb = 16;
    const std::size_t trailer = record.size() - 6;
    // About a megabyte of empty sectors before the trailer; the first of them are DIFAT sectors.
    const std::size_t padding = 2200;
    record.insert(record.begin() + static_cast<std::ptrdiff_t>(trailer), padding * 512, 0);
    const DWORD firstPadding = static_cast<DWORD>((trailer - cfb) / 512 - 1);
    const DWORD fatCount = 2000;
    for (int i = 0; i < 109; ++i)
        Set32(record, cfb + 76 + 4 * i, 0);  // every FAT sector listed is sector 0
    const DWORD difatSectors = (fatCount - 109 + 126) / 127;
    Set32(record, cfb + 44, fatCount);
    Set32(record, cfb + 68, firstPadding);
    Set32(record, cfb + 72, difatSectors);
    for (DWORD k = 0; k < difatSectors; ++k)
        Set32(record, cfb + (firstPadding + k + 1) * 512 + 508, firstPadding + k + 1);
    Set32(record, cfb + 512 + 4 * 1, 1);  // the directory's chain points at itself

    MCompoundFile file;
    ASSERT_TRUE(file.Open(record.data() + cfb, record.size() - cfb));
    EXPECT_TRUE(file.IsDamaged());
    EXPECT_LE(file.GetEntryCount(), (record.size() - cfb) / 128);
    EXPECT_EQ(ReadOleItemPresentation(record.data(), record.size()).className,
              "Microsoft Excel ワークシート");

    // In a drawing, deflated: the shape draws its frame and saves the record unchanged.
    GetOptionRecord().m_saveCompress = 1;
    SetBinaryBlockCompression(true);
    std::ostringstream block;
    WriteBinaryBlock(block, record.data(), static_cast<int>(record.size()), TRUE);
    const std::string drawing =
        "$$TessarayText$$\n1\n[LAYERS]\n\t0\n\t1\n[LAYER]\n\tLayer1\n\t7\n\t1\nOLE2\n\t10 "
        "20 300 150\n" +
        block.str() + "[EOF]\n";
    EXPECT_LT(drawing.size(), 64u * 1024);
    ASSERT_TRUE(doc.OpenNativeBytes(drawing, "looping.qfd"));
    MOleClientShape* ole = FirstOle(doc);
    ASSERT_NE(ole, nullptr);
    ASSERT_NE(ole->GetItem(), nullptr);
    EXPECT_EQ(ole->GetItem()->GetShown().info.className, "Microsoft Excel ワークシート");
    EXPECT_EQ(ole->GetItem()->GetShown().picture, nullptr);
    MTessarayDoc again;
    ASSERT_TRUE(again.OpenNativeBytes(Text(doc), "again.qfd"));
    ASSERT_NE(FirstOle(again), nullptr);
    EXPECT_EQ(FirstOle(again)->GetItem()->GetRecord(), record);
}

TEST_F(OleShape, HandMadeDrawingRoundTripsByteForByte) {
    const std::vector<BYTE> record = ItemRecord(true);
    const std::string file = HandMadeFile(record);
    ASSERT_TRUE(doc.OpenNativeBytes(file, "hand.qfd"));
    MOleClientShape* ole = FirstOle(doc);
    ASSERT_NE(ole, nullptr);
    ASSERT_NE(ole->GetItem(), nullptr);
    EXPECT_EQ(ole->GetItem()->GetRecord(), record);
    EXPECT_EQ(ole->GetItem()->GetDocument(), &doc);
    EXPECT_EQ(ole->m_position, MFloatPoint(10, 20));
    EXPECT_EQ(ole->m_size, MFloatSize(300, 150));
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 2);

    // Uncompressed, the saved block is the hand-written one, line for line.
    GetOptionRecord().m_saveCompress = 0;
    const std::string saved = Text(doc);
    EXPECT_EQ(OleSection(saved), OleSection(file));
    // Compressed, the block decodes to the same bytes, and that file opens to the same record.
    GetOptionRecord().m_saveCompress = 1;
    const std::string packed = Text(doc);
    EXPECT_NE(OleSection(packed), OleSection(file));
    MTessarayDoc again;
    ASSERT_TRUE(again.OpenNativeBytes(packed, "again.qfd"));
    ASSERT_NE(FirstOle(again), nullptr);
    EXPECT_EQ(FirstOle(again)->GetItem()->GetRecord(), record);
}

TEST_F(OleShape, ArchiveDuplicateUndoAndLayerMoveKeepTheRecord) {
    const std::vector<BYTE> record = ItemRecord(false);
    auto* item = new MCntrItem(&doc);
    item->SetRecord(record);
    auto* ole = new MOleClientShape(item);
    ole->SetRect(0, 50, 100, 0);
    doc.AddShape(ole, 0);

    // Archive round trip into a document: a live item of that document with the same bytes.
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        ar.WriteObject(ole);
    }
    mem.Seek(0, CFile::begin);
    CArchive in(&mem, CArchive::load);
    in.m_pDocument = &doc;
    std::unique_ptr<CObject> read(in.ReadObject(RUNTIME_CLASS(MOleClientShape)));
    auto* copy = dynamic_cast<MOleClientShape*>(read.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->GetItem(), nullptr);
    EXPECT_EQ(copy->GetItem()->GetRecord(), record);
    EXPECT_EQ(copy->GetItem()->GetDocument(), &doc);
    EXPECT_EQ(copy->GetItem()->m_shape, copy);
    EXPECT_EQ(copy->GetItem()->m_sizeFromItem, 0);
    EXPECT_EQ(copy->GetRect(), ole->GetRect());

    // Duplicates own their own copy of the bytes.
    std::unique_ptr<MCadShape> dup(ole->Duplicate());
    auto* d = static_cast<MOleClientShape*>(dup.get());
    EXPECT_EQ(d->GetItem()->GetRecord(), record);
    EXPECT_NE(d->GetItem(), ole->GetItem());
    EXPECT_EQ(d->GetExtent(), ole->GetExtent());

    // Deleted and brought back by undo; moved to another layer in one step and back.
    GetOptionRecord().m_saveCompress = 0;
    const std::string before = OleSection(Text(doc));
    doc.BeginUndo();
    doc.RemoveShape(ole, -1, TRUE);
    doc.EndUndo();
    EXPECT_EQ(ole->m_detached, 1);
    doc.Undo(nullptr);
    EXPECT_EQ(ole->m_detached, 0);
    EXPECT_EQ(FirstOle(doc), ole);
    // To another layer: the moved shape is a duplicate, the original goes to the undo record.
    doc.AddNewLayer();
    doc.BeginUndo();
    MCadShape* moved = ole->Duplicate();
    doc.RemoveShape(ole, 0, TRUE);
    doc.AddShape(moved, 1);
    doc.EndUndo();
    EXPECT_EQ(doc.GetLayers()->GetLayer(1)->GetAt(0), moved);
    EXPECT_EQ(OleSection(Text(doc)), before);
    doc.Undo(nullptr);
    EXPECT_EQ(OleSection(Text(doc)), before);
    EXPECT_EQ(ole->GetItem()->GetRecord(), record);
}

TEST_F(OleShape, ShapeReadWithoutADocumentKeepsRawBytesAndWritesThemBack) {
    const std::vector<BYTE> record = ItemRecord(true);
    std::istringstream is("OLE2\n\t1 2 3 4\n" + BlockText(record));
    std::unique_ptr<MCadShape> shape(ReadShapeText(nullptr, is));
    auto* ole = dynamic_cast<MOleClientShape*>(shape.get());
    ASSERT_NE(ole, nullptr);
    EXPECT_EQ(ole->GetItem(), nullptr);
    EXPECT_EQ(ole->GetRawItem(), record);
    GetOptionRecord().m_saveCompress = 0;
    std::ostringstream os;
    WriteShapeText(nullptr, os, ole);
    EXPECT_EQ(os.str(), "OLE2\n\t1 2 3 4\n" + BlockText(record));
    // A later load into a document makes the bytes a live item.
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        ar.WriteObject(ole);
    }
    mem.Seek(0, CFile::begin);
    CArchive in(&mem, CArchive::load);
    in.m_pDocument = &doc;
    std::unique_ptr<CObject> live(in.ReadObject(RUNTIME_CLASS(MOleClientShape)));
    auto* liveShape = static_cast<MOleClientShape*>(live.get());
    ASSERT_NE(liveShape->GetItem(), nullptr);
    EXPECT_EQ(liveShape->GetItem()->GetRecord(), record);
    std::unique_ptr<MCadShape> made(GetShapeFactory().CreateByName("OLE2"));
    ASSERT_NE(dynamic_cast<MOleClientShape*>(made.get()), nullptr);
}

TEST_F(OleShape, ShapeWithNothingWritesAnEmptyBlockSoTheRestOfTheFileReads) {
    MessageBoxRecorder boxes;
    doc.AddShape(new MOleClientShape(), 0);
    doc.AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(10, 10)), 0);
    const std::string text = Text(doc);
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, kOleItemNull);
    MTessarayDoc again;
    ASSERT_TRUE(again.OpenNativeBytes(text, "empty.qfd"));
    MLayer* layer = again.GetLayers()->GetLayer(0);
    ASSERT_EQ(layer->GetSize(), 2);
    EXPECT_NE(dynamic_cast<MLineShape*>(layer->GetAt(1)), nullptr);
    // The empty block is reported when read, and that shape has neither item nor bytes.
    ASSERT_EQ(boxes.Messages().size(), 2u);
    EXPECT_EQ(boxes.Messages()[1].text, kInvalidOleFile);
    auto* ole = static_cast<MOleClientShape*>(layer->GetAt(0));
    EXPECT_EQ(ole->GetRecord(), nullptr);
    // Such a shape draws nothing.
    MCadView view(&again.GetPaperInfo());
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(200, 200));
    ole->SetRect(0, 100, 100, 0);
    ole->Draw(&view, &dc);
    const QImage* image = GetDCImage(dc);
    for (int y = 0; y < 200; y += 5)
        for (int x = 0; x < 200; x += 5)
            ASSERT_EQ(image->pixel(x, y) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(OleShape, DrawsItsPictureOrAFrameWithTheClassName) {
    MCadView view(&doc.GetPaperInfo());
    view.SetScale(nullptr, 1.0);
    auto shapeWith = [&](bool picture) {
        auto* item = new MCntrItem(&doc);
        item->SetRecord(ItemRecord(picture));
        auto* ole = new MOleClientShape(item);
        ole->SetRect(view.LogicalToDoc(CPoint(20, 20)).x, view.LogicalToDoc(CPoint(20, 20)).y,
                     view.LogicalToDoc(CPoint(220, 120)).x, view.LogicalToDoc(CPoint(220, 120)).y);
        ole->Recalc(&view);
        return std::unique_ptr<MOleClientShape>(ole);
    };
    {
        auto ole = shapeWith(true);
        CDC dc;
        ASSERT_TRUE(dc.CreateImageDC(300, 200));
        ole->Draw(&view, &dc);
        const QImage* img = GetDCImage(dc);
        const CRect r = view.DocToLogicalRect(ole->GetExtent());
        // Top row of the picture red and green, bottom row blue and white.
        EXPECT_EQ(img->pixel(r.left + 10, r.top + 10) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(img->pixel(r.right - 10, r.top + 10) & 0xFFFFFF, 0x00FF00u);
        EXPECT_EQ(img->pixel(r.left + 10, r.bottom - 10) & 0xFFFFFF, 0x0000FFu);
        EXPECT_EQ(img->pixel(r.right - 10, r.bottom - 10) & 0xFFFFFF, 0xFFFFFFu);
    }
    {
        auto ole = shapeWith(false);
        CDC dc;
        ASSERT_TRUE(dc.CreateImageDC(300, 200));
        ole->Draw(&view, &dc);
        const QImage* img = GetDCImage(dc);
        CRect r = view.DocToLogicalRect(ole->GetExtent());
        r.NormalizeRect();
        EXPECT_NE(img->pixel(r.left, (r.top + r.bottom) / 2) & 0xFFFFFF, 0xFFFFFFu);  // the frame
        int ink = 0;
        for (int y = r.top + 3; y < r.bottom - 3; ++y)
            for (int x = r.left + 3; x < r.right - 3; ++x)
                ink += (img->pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(ink, 50);  // the class name
        EXPECT_LT(ink, r.Width() * r.Height() / 2);
    }
}

TEST_F(OleShape, GeometrySnapsAndTheSizeTakenFromANewObject) {
    // A new object of 50 x 25 mm on paper at 1 : 100 is 5000 x 2500 drawing units, once.
    ASSERT_DOUBLE_EQ(doc.GetPaperInfo().GetScale(), 0.01);
    auto* item = new MCntrItem(&doc);
    item->SetRecord(ItemRecord(true, 5000, 2500));
    MOleClientShape ole(item);
    EXPECT_EQ(item->m_sizeFromItem, 1);
    EXPECT_FALSE(ole.IsValid());
    item->UpdateSizeFromItem();
    EXPECT_NEAR(ole.m_size.cx, 5000, 1e-9);
    EXPECT_NEAR(ole.m_size.cy, 2500, 1e-9);
    EXPECT_EQ(item->m_sizeFromItem, 0);
    ole.SetSize(10, 10);
    item->OnChange(OLE_CHANGED, 0);
    EXPECT_EQ(ole.m_size, MFloatSize(10, 10));
    EXPECT_TRUE(ole.IsValid());
    ole.SetSize(0, 10);
    EXPECT_FALSE(ole.IsValid());

    ole.SetRect(100, 50, 0, 0);  // given right to left: the extent is normalised
    EXPECT_EQ(ole.GetExtent(), MFloatRect(0, 0, 100, 50));
    ole.Recalc(nullptr);
    EXPECT_EQ(ole.m_position, MFloatPoint(0, 0));
    EXPECT_EQ(ole.m_size, MFloatSize(100, 50));
    EXPECT_EQ(ole.GetDrawExtent(), ole.GetExtent());

    MSnapPoint snap;
    const MFloatRect everywhere(-1000, -1000, 1000, 1000);
    ole.SnapPoints(snap, MFloatPoint(99, 49), everywhere, kSnapEndPoint, DBL_MAX);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(100, 50));
    ole.SnapPoints(snap, MFloatPoint(51, 26), everywhere, kSnapCenter, DBL_MAX);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(50, 25));
    ole.SnapPoints(snap, MFloatPoint(1, 24), everywhere, kSnapMidPoint, DBL_MAX);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(0, 25));

    ole.ScaleXY(MFloatPoint(0, 0), 2, 3);
    ole.Recalc(nullptr);
    EXPECT_EQ(ole.GetExtent(), MFloatRect(0, 0, 200, 150));
    ole.ScaleXY(MFloatPoint(0, 0), 0, 3);  // a zero factor changes nothing
    EXPECT_EQ(ole.GetExtent(), MFloatRect(0, 0, 200, 150));
    ole.Move(MFloatPoint(5, -5));
    ole.Recalc(nullptr);
    EXPECT_EQ(ole.GetExtent(), MFloatRect(5, -5, 205, 145));

    MessageBoxRecorder boxes;
    EXPECT_FALSE(EditShape(ole, nullptr));
    EXPECT_EQ(boxes.Messages().size(), 1u);
}

}  // namespace
