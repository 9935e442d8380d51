// What a paste takes from the private clipboard format: every character, from this build's form and
// from the code page form of older builds; no shape with a value that is not finite; texts no longer
// than a drawing keeps. What it leaves out or cuts is told in one message.
#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>

#include "model/helpers/StoredText.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "tests/view/output/ClipboardTestSupport.h"

using namespace cliptest;

namespace {

constexpr const char* kUtf8Mime = "application/x-mtessaray-object-format-utf-8";
constexpr const char* kCodePageMime = "application/x-mtessaray-object-format";

class ClipboardIncoming : public Clipboard {
protected:
    // The shapes in a pack, archived as a copy writes it (mode: CArchive::utf8 or 0 for the code
    // page form), alone on the clipboard under mime.
    static void Put(const char* mime, UINT mode, std::vector<MCadShape*> shapes) {
        MPackShape pack;
        for (MCadShape* s : shapes)
            pack.AddShape(s);
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store | mode);
            ar.WriteObject(&pack);
            ar.Close();
        }
        for (MCadShape* s : shapes)
            delete s;
        const std::vector<BYTE> bytes = file.Detach();
        auto* data = new QMimeData;
        data->setData(mime, QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())));
        QGuiApplication::clipboard()->setMimeData(data);
    }
    static MTextShape* Text(const std::string& string, double height = 350) {
        auto* text = new MTextShape;
        text->SetString(string);
        text->SetTextSize(height);
        text->SetPoint(MFloatPoint(500, 500));
        return text;
    }
    static MLineShape* Line(double x0) { return new MLineShape(MFloatPoint(x0, 0), MFloatPoint(2000, 1000)); }
    static std::string Pasted(MCadShape* shape) {
        if (auto* text = dynamic_cast<MTextShape*>(shape)) return text->GetString();
        if (auto* size = dynamic_cast<MSizeBaseShape*>(shape)) return size->GetText();
        return "(no text)";
    }
};

// A copy keeps every character; the form older builds wrote is read in their code page.
TEST_F(ClipboardIncoming, TextsComeBackWholeFromEitherForm) {
    const struct {
        const char* form;
        bool copied;  // through the copy command, or as an older build left it
        const char* text;
    } cases[] = {
        {"copied here", true, "x∛y ä ⌀"},
        {"older build", false, "日本 ｶﾅ abc"},
    };
    for (const auto& c : cases) {
        ViewHarness h(640, 480);
        MTextShape* original = Text(c.text);
        h.doc.AppendShape(original, 0);
        original->Recalc(h.view.get());
        if (c.copied) {
            tools.select->selected = {original};
            h.view->SwitchToSelectTool();
            h.view->SendCommand(kCopy);
        } else {
            Put(kCodePageMime, 0, {Text(c.text)});
        }
        MessageBoxRecorder boxes;
        h.view->SendCommand(kPaste);
        EXPECT_EQ(ShapeCount(h.doc), 2) << c.form;
        if (ShapeCount(h.doc) == 2) EXPECT_EQ(Pasted(ShapeAt(h.doc, 1)), c.text) << c.form;
        EXPECT_TRUE(boxes.Messages().empty()) << c.form;
        tools.select->selected.clear();
    }
}

// A shape with a value the drawing cannot hold, as archived or once its text is measured, stays
// out; the others come in, and the message gives its kind and count. With nothing left the message
// is the same, not that the paste failed.
TEST_F(ClipboardIncoming, ShapesThatAreNotFiniteStayOutAndAreTold) {
    const struct {
        const char* what;
        const char* mime;
        UINT mode;
        std::function<MCadShape*()> bad;
        int kept;  // finite shapes beside the two bad ones
        const char* told;
    } cases[] = {
        {"infinite coordinate", kUtf8Mime, CArchive::utf8, [] { return Line(INFINITY); }, 2, "LINE 2"},
        {"NaN coordinate", kCodePageMime, 0, [] { return Line(NAN); }, 2, "LINE 2"},
        {"box measured infinite", kUtf8Mime, CArchive::utf8, [] { return Text("abcde", DBL_MAX); }, 2,
         "TEXT 2"},
        {"nothing finite", kUtf8Mime, CArchive::utf8, [] { return Line(INFINITY); }, 0, "LINE 2"},
    };
    for (const auto& c : cases) {
        ViewHarness h(640, 480);
        std::vector<MCadShape*> shapes = {c.bad(), c.bad()};
        if (c.kept) shapes.insert(shapes.begin() + 1, {Line(0), Text("kept")});
        Put(c.mime, c.mode, shapes);
        MessageBoxRecorder boxes;
        h.view->SendCommand(kPaste);
        EXPECT_EQ(ShapeCount(h.doc), c.kept) << c.what;
        for (int i = 0; i < ShapeCount(h.doc); ++i)
            EXPECT_TRUE(ShapeAt(h.doc, i)->HasFiniteValues()) << c.what;
        EXPECT_EQ(boxes.Messages().size(), 1u) << c.what;
        if (boxes.Messages().empty()) continue;
        EXPECT_EQ(boxes.Messages()[0].text,
                  std::string("次の図形は数値が正しくないため貼り付けませんでした:\n    ") + c.told)
            << c.what;
        EXPECT_EQ(h.doc.GetOpenPack(), nullptr) << c.what;
    }
}

// The roads that can bring a longer text: the program's own form, whose one-byte katakana take three
// bytes each, and a dimension's text, archived at any length.
TEST_F(ClipboardIncoming, TextsLongerThanADrawingKeepsAreCutAndTold) {
    std::string katakana;
    for (int i = 0; i < 70000; ++i)
        katakana += "ｱ";
    const struct {
        const char* what;
        const char* mime;
        UINT mode;
        std::function<MCadShape*()> shape;
        std::string kept;
    } cases[] = {
        {"UTF-8 text", kUtf8Mime, CArchive::utf8, [&] { return Text(katakana); },
         katakana.substr(0, kMaxStoredTextBytes * 3)},  // one byte each in the file
        {"dimension", kUtf8Mime, CArchive::utf8,
         [] {
             auto* size = new MSizeShape;
             size->SetPoints({0, 0}, {100, 0}, {0, 20}, {100, 20}, {50, 20});
             size->SetFlags(MSizeBaseShape::kUserText);
             size->SetText(std::string(70000, '8'));
             return size;
         },
         std::string(kMaxStoredTextBytes, '8')},
    };
    for (const auto& c : cases) {
        ViewHarness h(640, 480);
        Put(c.mime, c.mode, {c.shape()});
        MessageBoxRecorder boxes;
        h.view->SendCommand(kPaste);
        EXPECT_EQ(ShapeCount(h.doc), 1) << c.what;
        if (ShapeCount(h.doc) != 1) continue;
        const std::string pasted = Pasted(ShapeAt(h.doc, 0));
        EXPECT_EQ(pasted.size(), c.kept.size()) << c.what;
        EXPECT_TRUE(pasted == c.kept) << c.what;
        EXPECT_EQ(boxes.Messages().size(), 1u) << c.what;
        if (boxes.Messages().empty()) continue;
        EXPECT_EQ(boxes.Messages()[0].text, "長すぎる文字列は途中までを貼り付けました。") << c.what;
    }
}

}  // namespace
