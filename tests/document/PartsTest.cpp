// The parts library: parts, lists, placement with rescaling, icons, and the parts file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "document/ClassRegistry.h"
#include "document/parts/CadParts.h"
#include "document/parts/CadPartsList.h"
#include "model/CadView.h"
#include "model/Dib.h"
#include "model/PaperInfo.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "tests/support/TestSupport.h"

namespace {

MCadView* g_activeView = nullptr;
MCadView* ActiveView() {
    return g_activeView;
}

class PartsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDocumentClasses();
        RegisterPartsClasses();
        SetPartsViewProvider(nullptr);
    }
    void TearDown() override { SetPartsViewProvider(nullptr); }

    static MCadShape* Line(double x1, double y1, double x2, double y2) {
        return new MLineShape({x1, y1}, {x2, y2});
    }
    MCadParts* Part(const std::string& name, MCadShape* shape, int keepSize = 1, double scale = 1.0) {
        return new MCadParts(&view, name, shape, keepSize, scale);
    }
    static std::string Written(const MCadPartsList& list) {
        TextOutput os;
        os.precision(15);
        list.WritePartsFile(os);
        return EncodeTextFile(os.str());
    }
    static void Load(MCadPartsList& list, const std::string& text) {
        TextInput is(text);
        list.LoadPartsFile(is);
    }
    // The icon pixel (x, y from the top left): true for black.
    static bool Black(const MDib& dib, int x, int y) {
        const BYTE* row = dib.GetBits() + (31 - y) * (dib.GetBitsSize() / 32);
        const int index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
        return index == 0;
    }
    static CRect BlackBounds(const MDib& dib) {
        CRect r(32, 32, -1, -1);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (Black(dib, x, y)) {
                    r.left = std::min<LONG>(r.left, x), r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x), r.bottom = std::max<LONG>(r.bottom, y);
                }
        return r;
    }

    MPaperInfo paper{MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1:1", 1.0), 1, 6};
    MCadView view{&paper};
    MessageBoxRecorder messages;
};

TEST_F(PartsTest, PartsFilesRoundTripByteForByte) {
    MCadPartsList list("家具");
    auto* group = new MGroupShape;
    group->AddShape(Line(0, 0, 10, 0));
    group->AddShape(Line(0, 0, 0, 5));
    group->SetBasePoint({1, 2});
    list.Add(Part("机", group, 0, 0.01));
    auto* circle = new MCircleShape;
    circle->SetCircle(3, 4, 2.5);
    list.Add(Part("丸", circle, 1, 1.0 / 3));
    const std::string first = Written(list);

    MCadPartsList again;
    Load(again, DecodeTextFile(first));
    ASSERT_EQ(again.GetSize(), 2);
    EXPECT_EQ(again.GetName(), "家具");
    EXPECT_EQ(again.m_modified, 0);
    EXPECT_EQ(again.GetAt(0)->m_name, "机");
    EXPECT_EQ(again.GetAt(0)->m_keepSize, 0);
    EXPECT_EQ(again.GetAt(0)->m_registeredScale, 0.01);
    EXPECT_EQ(again.GetAt(1)->m_registeredScale, 1.0 / 3) << "numbers come back exactly";
    ASSERT_NE(again.GetAt(1)->GetIcon(), nullptr);
    EXPECT_EQ(Written(again), first);

    // The layout line by line.
    const std::string text = DecodeTextFile(first);
    EXPECT_EQ(text.rfind("$$TessarayPart$$\n2\n[NAME]\n\t家具\n[SIZE]\n\t2\n[PARTS]\n\t机\n", 0), 0u);
    EXPECT_NE(text.find("\n\t0 0.01\nGROUP\n"), std::string::npos);
    EXPECT_NE(text.find("\nICON\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 6), "[EOF]\n");
}

TEST_F(PartsTest, AHandWrittenFileReadsAndWritesBackUnchanged) {
    TextOutput shape;
    MLineShape line({0, 0}, {20, 10});
    WriteShapeText(nullptr, shape, &line);
    TextOutput icon;
    MDib dib(32, 32, 4);
    dib.SetColorEntry(1, 0xFFFFFF);
    dib.CreateSection(nullptr);
    dib.WriteText(icon);
    const std::string text = "$$TessarayPart$$\n2\n[NAME]\n\tテスト\n[SIZE]\n\t1\n[PARTS]\n\t線\n\t1 0.02\n" +
                             shape.str() + "ICON\n" + icon.str() + "[EOF]\n";
    MCadPartsList list;
    Load(list, text);
    ASSERT_EQ(list.GetSize(), 1);
    EXPECT_EQ(list.GetAt(0)->m_name, "線");
    EXPECT_EQ(list.GetAt(0)->m_registeredScale, 0.02);
    EXPECT_EQ(Written(list), EncodeTextFile(text));
}

TEST_F(PartsTest, HeaderAndVersionAreChecked) {
    MCadPartsList list;
    list.m_path = "/x/a.qfp";
    const std::string rest = "\n[NAME]\n\tn\n[EOF]\n";
    try {
        Load(list, "$$TessarayPart$$ \n2" + rest);
        FAIL() << "a header with a trailing blank was taken";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
        EXPECT_EQ(e.m_strFileName, "/x/a.qfp");
    }
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "\"/x/a.qfp\"ファイルの種類が違います。");
    EXPECT_THROW(Load(list, ""), CArchiveException);
    EXPECT_THROW(Load(list, "$$tessaraypart$$\n2" + rest), CArchiveException);

    for (const char* version : {"1", "0", "-4", "2"}) {
        Load(list, std::string("$$TessarayPart$$\n") + version + rest);
        EXPECT_EQ(list.GetName(), "n") << version;
    }
    EXPECT_THROW(Load(list, "$$TessarayPart$$\n3" + rest), CArchiveException);
    EXPECT_EQ(messages.Messages().back().text, "\"/x/a.qfp\"このファイルのバージョンには対応していません。");
}

TEST_F(PartsTest, TheSectionLoopToleratesWhatItDoesNotKnow) {
    MCadPartsList source("s");
    for (int i = 0; i < 3; ++i)
        source.Add(Part("p" + std::to_string(i), Line(0, 0, i + 1, 0)));
    std::string text = DecodeTextFile(Written(source));

    // The count after [SIZE] does not limit reading.
    MCadPartsList list;
    std::string says1 = text;
    says1.replace(says1.find("[SIZE]\n\t3"), 9, "[SIZE]\n\t1");
    Load(list, says1);
    EXPECT_EQ(list.GetSize(), 3);

    // Lines before [NAME], comments, and unknown sections, which swallow their next line.
    std::string noisy = text;
    noisy.replace(noisy.find("[NAME]"), 0, "stray line\n#comment\n[OTHER]\n[NAME]\n\tswallowed\n");
    Load(list, noisy);
    EXPECT_EQ(list.GetName(), "s");
    EXPECT_EQ(list.GetSize(), 3);

    // A damaged number is skipped with the rest of its line.
    std::string damaged = text;
    damaged.replace(damaged.find("[SIZE]\n\t3"), 9, "[SIZE]\n\tthree");
    Load(list, damaged);
    EXPECT_EQ(list.GetSize(), 3);
}

TEST_F(PartsTest, KeepSizeIsOneBitOfTheNumberRead) {
    MCadPartsList source("s");
    source.Add(Part("a", Line(0, 0, 1, 0)));
    source.Add(Part("b", Line(0, 0, 2, 0)));
    std::string text = DecodeTextFile(Written(source));
    text.replace(text.find("\t1 1\n"), 5, "\t3 1\n");
    text.replace(text.find("\t1 1\n"), 5, "\t2 1\n");
    MCadPartsList list;
    Load(list, text);
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.GetAt(0)->m_keepSize, 1);
    EXPECT_EQ(list.GetAt(1)->m_keepSize, 0);
}

TEST_F(PartsTest, APartWithoutItsIconLineKeepsTheNextPart) {
    MCadPartsList source("s");
    source.Add(Part("a", Line(0, 0, 1, 0)));
    source.Add(Part("b", Line(0, 0, 2, 0)));
    std::string text = DecodeTextFile(Written(source));
    // Take out the first part's icon: the second "[PARTS]" follows the shape directly.
    const std::size_t icon = text.find("ICON\n");
    text.erase(icon, text.find("[PARTS]", icon) - icon);

    MCadPartsList list;
    Load(list, text);
    EXPECT_EQ(list.GetSize(), 1);  // without a view the first part has no icon and is dropped
    EXPECT_EQ(list.GetAt(0)->m_name, "b");

    g_activeView = &view;
    SetPartsViewProvider(ActiveView);
    Load(list, text);
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.GetAt(0)->m_name, "a");
    EXPECT_NE(list.GetAt(0)->GetIcon(), nullptr);
    EXPECT_EQ(list.GetAt(1)->m_name, "b");
}

TEST_F(PartsTest, PlacementKeepsTheSizeOnPaperWhenAsked) {
    MCadParts scaled(&view, "s", Line(0, 0, 100, 0), 0, 0.01);
    MPaperInfo drawing(MPaperSizeInfo("A4", "", 297, 210), MPaperScaleInfo("1:50", 0.02), 1, 6);
    MCadView drawingView(&drawing);
    std::unique_ptr<MCadShape> copy(scaled.Instantiate(&drawingView));
    auto* line = dynamic_cast<MLineShape*>(copy.get());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_start, MFloatPoint(25, 0));  // halved about the centre (50, 0)
    EXPECT_EQ(line->m_end, MFloatPoint(75, 0));
    EXPECT_NE(copy.get(), scaled.GetShape());

    MCadParts same(&view, "s", Line(0, 0, 100, 0), 0, 0.02);
    copy.reset(same.Instantiate(&drawingView));
    EXPECT_EQ(dynamic_cast<MLineShape*>(copy.get())->m_end, MFloatPoint(100, 0));
    MCadParts kept(&view, "s", Line(0, 0, 100, 0), 1, 0.01);
    copy.reset(kept.Instantiate(&drawingView));
    EXPECT_EQ(dynamic_cast<MLineShape*>(copy.get())->m_end, MFloatPoint(100, 0));
}

TEST_F(PartsTest, IconsAreCentredAndReducedToFit) {
    // 5 mm at 96 dpi is about 19 pixels: drawn at zoom 1, centred.
    MCadParts small(&view, "s", Line(0, 0, 5, 0), 1, 1.0);
    ASSERT_NE(small.GetIcon(), nullptr);
    const MDib& icon = *small.GetIcon();
    EXPECT_EQ(icon.GetSize().cx, 32);
    EXPECT_EQ(icon.GetHeader()->biBitCount, 4);
    EXPECT_EQ(icon.GetColorEntry(1), 0xFFFFFFu);
    const CRect b = BlackBounds(icon);
    EXPECT_NEAR(b.right - b.left, 19, 1);
    EXPECT_NEAR(b.left + b.right, 31, 2);
    EXPECT_NEAR(b.top, 16, 1);
    EXPECT_FALSE(Black(icon, 0, 0));

    MCadParts large(&view, "l", Line(0, 0, 100, 50), 1, 1.0);
    const CRect l = BlackBounds(*large.GetIcon());
    EXPECT_NEAR(l.right - l.left, 31, 1);
    EXPECT_NEAR(l.bottom - l.top, 15, 1);
    EXPECT_EQ(view.zoom, 1.0);  // restored
}

TEST_F(PartsTest, ClonesShareNothing) {
    MCadParts part(&view, "p", Line(0, 0, 5, 0), 0, 0.5);
    std::unique_ptr<MCadParts> clone(CloneParts(part));
    EXPECT_EQ(clone->m_name, "p");
    EXPECT_EQ(clone->m_keepSize, 0);
    EXPECT_EQ(clone->m_registeredScale, 0.5);
    ASSERT_NE(clone->GetShape(), part.GetShape());
    ASSERT_NE(clone->GetIcon(), part.GetIcon());
    EXPECT_EQ(clone->GetIcon()->GetBitsSize(), part.GetIcon()->GetBitsSize());
    clone->GetShape()->Move({1, 1});
    EXPECT_EQ(dynamic_cast<MLineShape*>(part.GetShape())->m_start, MFloatPoint(0, 0));
}

TEST_F(PartsTest, ListsTrackChangesAndGuardTheirIndexes) {
    MCadPartsList list("a");
    EXPECT_EQ(list.m_modified, 0);
    EXPECT_EQ(list.GetCurrent(), nullptr);
    EXPECT_EQ(list.GetCurrent(&view), nullptr);
    MCadParts* p = Part("p", Line(0, 0, 1, 0));
    EXPECT_EQ(list.Add(p), 0);
    EXPECT_EQ(list.m_modified, 1);
    EXPECT_EQ(list.GetAt(0), p);
    EXPECT_EQ(list.GetAt(1), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
    std::unique_ptr<MCadShape> placed(list.GetCurrent(&view));
    EXPECT_NE(placed, nullptr);
    list.m_modified = 0;
    list.RemoveAt(5);
    EXPECT_EQ(list.m_modified, 0);
    list.RemoveAt(0);
    EXPECT_EQ(list.m_modified, 1);
    EXPECT_EQ(list.GetSize(), 0);
    delete p;  // taken out, not deleted
    list.SetName("b");
    EXPECT_EQ(list.GetName(), "b");

    MCadPartsListList lists;
    auto* first = new MCadPartsList("1");
    first->m_path = "/p/1.qfp";
    lists.Add(first);
    EXPECT_EQ(lists.GetCurrent(), first);
    EXPECT_EQ(lists.GetAt(1), nullptr);
    EXPECT_EQ(lists.FindPath("/p/1.qfp"), 0);
    EXPECT_EQ(lists.FindPath("/p/2.qfp"), -1);
}

TEST_F(PartsTest, ListsAreSavedAndLoadedThroughFiles) {
    const std::string dir = MakeTempDir("PartsFiles");
    MCadPartsList list("保存");
    list.m_path = dir + "/a.qfp";
    list.Add(Part("p", Line(0, 0, 3, 4)));
    ASSERT_TRUE(SavePartsListFile(list));
    std::ifstream in(list.m_path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, Written(list));
    EXPECT_NE(bytes.find("\r\n"), std::string::npos);

    MCadPartsList loaded;
    LoadPartsListFile(loaded, list.m_path);
    EXPECT_EQ(loaded.m_path, list.m_path);
    EXPECT_EQ(loaded.GetName(), "保存");
    EXPECT_EQ(loaded.GetSize(), 1);

    MCadPartsList missing;
    EXPECT_THROW(LoadPartsListFile(missing, dir + "/none.qfp"), CArchiveException);
    EXPECT_EQ(messages.Messages().back().text, "\"" + dir + "/none.qfp\"ファイルの種類が違います。");

    list.m_path = dir + "/no/such/folder/a.qfp";
    const std::size_t before = messages.Messages().size();
    EXPECT_FALSE(SavePartsListFile(list));
    EXPECT_GT(messages.Messages().size(), before);
}

}  // namespace
