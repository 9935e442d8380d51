// What the native reader leaves out of a drawing or changes on the way in is told in one message
// at the end; a drawing that lost anything opens untitled, so that saving cannot put less in place
// of the file, and what the program saves of it reads back whole.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/Dib.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/picture/BitmapShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/document/DocumentTestSupport.h"

using namespace doctest;

namespace {

std::string Drawing(int count, const std::string& shapes) {
    return "$$TessarayText$$\n1\n[LAYERS]\n\t0\n\t1\n[LAYER]\n\tL\n\t7\n\t" + std::to_string(count) + "\n" +
           shapes + "[EOF]\n";
}

std::string Text(const MCadShape& shape) {
    TextOutput out;
    out.precision(15);
    WriteShapeText(nullptr, out, &shape);
    return out.str();
}

const std::string kLine = "LINE\n\t0 0 10 10 0 0 0 1 3 5 2\n";

// A height the file holds but whose measured box no number can.
std::string TallText() {
    MTextShape text;
    text.SetString("abcde");
    text.SetTextSize(1e308);
    return Text(text);
}

// A 4 x 4 picture whose bits end after 3 of their 48 bytes, at the next record's keyword.
const std::string kDamagedPicture =
    "BITMAP\n\t0 0 100 100\n\t14 BASE64 0\n\tQk1mAAAAAAAAADYAAAA=\n\t40 BASE64 0\n"
    "\tKAAAAAQAAAAEAAAAAQAYAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA==\n\t48 BASE64 0\n\tAAAA\n";

// Half the pixels a drawing's pictures may hold together, and a little more.
std::string LargePicture() {
    MBitmapShape picture;
    picture.SetRect(0, 100, 100, 0);
    picture.SetImage(std::make_unique<MDib>(16384, 2731, 24));
    return Text(picture);
}

std::string Nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "GROUP\n\t1\n\t0 0 0\n";
    text += kLine;
    for (int i = 0; i < depth; ++i)
        text += "0\n";
    return text;
}

int Leaves(const MCadShape* top) {
    std::vector<const MCadShape*> pending{top};
    int leaves = 0;
    while (!pending.empty()) {
        const MCadShape* s = pending.back();
        pending.pop_back();
        const auto* group = dynamic_cast<const MGroupShape*>(s);
        leaves += group ? 0 : 1;
        for (int i = 0; group && i < group->GetShapeCount(); ++i)
            pending.push_back(group->GetShapeAt(i));
    }
    return leaves;
}

// The first layer's shapes by keyword; a group with the number of shapes it holds at any depth, a
// picture without its image marked.
std::string Kept(MTessarayDoc& doc) {
    std::string kept;
    const MLayer* layer = doc.GetLayers()->GetLayer(0);
    for (int i = 0; i < layer->GetSize(); ++i) {
        const MCadShape* s = layer->GetAt(i);
        kept += (kept.empty() ? "" : " ") + std::string(s->GetTypeName());
        if (dynamic_cast<const MGroupShape*>(s)) kept += "(" + std::to_string(Leaves(s)) + ")";
        if (const auto* picture = dynamic_cast<const MBitmapShape*>(s); picture && !picture->HasImage())
            kept += "(none)";
    }
    return kept;
}

class NativeFileLosses : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        dir = MakeTempDir("native_losses");
    }
    std::string dir;
};

}  // namespace

TEST_F(NativeFileLosses, WhatTheReaderLeavesOutIsToldOnceAndTheDrawingOpensUntitled) {
    SetBinaryBlockCompression(true);
    const std::string picture = LargePicture();
    const struct {
        const char* name;
        int count;
        std::string shapes;
        const char* kept;
        std::string note;
        bool untitled;
    } cases[] = {
        {"a number out of range", 2, "LINE\n\t0 0 1e308 1e309 0 0 0 1 3 5 2\n" + kLine, "LINE",
         "次の図形は読み込めませんでした:\n    LINE 1", true},
        {"a text measured infinite", 2, TallText() + kLine, "LINE",
         "次の図形は読み込めませんでした:\n    TEXT 1", true},
        {"a group's member", 1, "GROUP\n\t2\n\t0 0 0\n" + TallText() + kLine + "0\n", "GROUP(1)",
         "次の図形は読み込めませんでした:\n    TEXT 1", true},
        {"damaged pictures", 4, kDamagedPicture + kDamagedPicture + kDamagedPicture + kLine,
         "BITMAP(none) BITMAP(none) BITMAP(none) LINE", "壊れている画像 (3個) は読み込めませんでした。",
         true},
        {"pictures past the budget", 2, picture + picture, "BITMAP BITMAP(none)",
         "画像が合わせて大きすぎるため、残りの画像 (1個) は読み込みませんでした。", true},
        {"a text line longer than a drawing keeps", 2,
         "TEXT\n\t0 0 10 -1 1 0 0 0 0 0 0 0 0 16777216 0 0 0 0 0\n\tF\n\t1\n\t" + std::string(70000, 'x') +
             "\n" + kLine,
         "TEXT LINE", "長すぎる文字列は途中までを読み込みました。", true},
        {"groups past the nesting limit", 2, Nested(kMaxGroupNesting + 1) + kLine, "GROUP(1) LINE",
         "グループの入れ子が200段を超える部分 (1段) は、グループを解いて読み込みました。", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "/in.qfd";
        WriteBytes(path, Drawing(c.count, c.shapes));
        MessageBoxRecorder boxes;
        MTessarayDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(path));
        EXPECT_EQ(Kept(doc), c.kept);
        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].text,
                  "\"" + path + "\"\n\n" + c.note +
                      (c.untitled ? "\n\n読み込めた部分を無題の図面として開きました。" : ""));
        EXPECT_EQ(GetImported(), c.untitled ? 1 : 0);

        ASSERT_TRUE(doc.OnSaveDocument(dir + "/saved.qfd"));
        MTessarayDoc again;
        ASSERT_TRUE(again.OnOpenDocument(dir + "/saved.qfd"));
        EXPECT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(FileText(again), FileText(doc));
    }
}
