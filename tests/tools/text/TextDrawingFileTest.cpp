// The text, multi-line text, label and balloon tools and their shapes through a drawing file: the
// tools' value lines and the balloon's radius bounds come back from the file as they were.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/text/TextTestSupport.h"
#include "tools/DrawToolArray.h"

using namespace tooltest;
using ::testing::HasSubstr;

namespace {

std::string Saved(MDrawTool* tool) {
    std::ostringstream out;
    tool->SaveSettings(out);
    return out.str();
}

void Load(MDrawTool* tool, const std::string& lines) {
    std::istringstream in(lines);
    tool->LoadSettings(in);
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

MDrawTool* ToolOf(UINT command) {
    return GetDrawToolArray().FindByCommand(command);
}

struct ToolLines {
    UINT command;
    const char* key;
    std::string set;      // the values the drawing is saved with
    std::string scratch;  // what the tool holds when the drawing is opened again
};

// Kana texts and font names, and numbers only the shortest exact form writes back unchanged.
const ToolLines kLines[] = {
    {ID_TOOL_TEXT, "TEXT", "\tＭＳ 明朝\n\t6 0 2.5 0.30000000000000004\n\t日本語の文字\n",
     "\tx\n\t0 0 8 0\n\ty\n"},
    {ID_TOOL_MULTITEXT, "MULTITEXT",
     "\t9\n\tＭＳ ゴシック\n\t0 3.3333333333333335 0.5 1\n\t2\n\tかな\n\t漢字\n",
     "\t0\n\tx\n\t0 8 0 0\n\t1\n\ty\n"},
    {ID_TOOL_LABEL, "LABEL", "\t100 0\n\tＭＳ 明朝\n\t6 1.5 2 4 \n\tラベル\n",
     "\t100 0\n\tx\n\t10 1 1 3\n\ty\n"},
    {ID_TOOL_BALLOON, "BALLOON", "\t100 0\n\tＭＳ 明朝\n\t7 5 2.5 30 2.25 1 0\n\t番号\n",
     "\t100 0\n\tx\n\t7 1 3 32 4 0 0\n\ty\n"},
};

}  // namespace

TEST(TextToolsInTheDrawing, TheFourToolsReadBackTheirLinesAfterSaveAndOpen) {
    texttest::TextHarness h;
    for (const ToolLines& tool : kLines)
        Load(ToolOf(tool.command), tool.set);
    const std::string before = h.NativeText();
    for (const ToolLines& tool : kLines)
        EXPECT_THAT(before, HasSubstr(std::string(tool.key) + "\n\t\n" + tool.set)) << tool.key;

    const std::string path = MakeTempDir("text-tool-settings") + "/texts.qfd";
    ASSERT_TRUE(h.doc.OnSaveDocument(path));
    for (const ToolLines& tool : kLines)
        Load(ToolOf(tool.command), tool.scratch);
    MTessarayDoc other;
    ASSERT_TRUE(other.OnOpenDocument(path));
    for (const ToolLines& tool : kLines)
        EXPECT_EQ(Saved(ToolOf(tool.command)), tool.set) << tool.key;
    EXPECT_EQ(h.NativeText(), before) << "saved again byte for byte";
}

TEST(TextToolsInTheDrawing, ABalloonKeepsItsRadiusBoundsThroughTheFile) {
    texttest::TextHarness h;
    h.Choose(ID_TOOL_BALLOON);
    // Paper 1:50: 2.5 mm and 32 mm are 125 and 1600 drawing units.
    h.dialogs.Script(163, DialogScript()
                              .SetText(1093, "とても長い文字列とても長い文字列とても長い文字列")
                              .SetCheck(1100, 1)
                              .SetText(1102, "2.5")
                              .SetCheck(1101, 1)
                              .SetText(1103, "32")
                              .Ok());
    h.Click(h.At(1000, 1000));
    h.Click(h.At(3000, 1000));
    h.DoubleClickAt(h.At(3000, 3000));
    ASSERT_EQ(h.CommittedCount(), 1);
    EXPECT_THAT(h.NativeText(), HasSubstr("\t125 1600\n"));
    // Undo and redo bring back the same balloon.
    h.view->SendCommand(ID_EDIT_UNDO);
    h.view->SendCommand(ID_EDIT_REDO);
    auto* redone = dynamic_cast<MBalloonShape*>(h.Committed(0));
    ASSERT_NE(redone, nullptr);
    EXPECT_EQ(redone->GetMinRadius(), 125.0);
    EXPECT_EQ(redone->GetMaxRadius(), 1600.0);

    const std::string dir = MakeTempDir("balloon-radii");
    ASSERT_TRUE(h.doc.OnSaveDocument(dir + "/first.qfd"));
    MTessarayDoc other;
    ASSERT_TRUE(other.OnOpenDocument(dir + "/first.qfd"));
    other.RecalcAll(nullptr);
    auto* balloon = dynamic_cast<MBalloonShape*>(other.GetLayers()->GetLayer(0)->GetAt(0));
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(balloon->GetMinRadius(), 125.0);
    EXPECT_EQ(balloon->GetMaxRadius(), 1600.0);
    EXPECT_NEAR(balloon->GetCircle()->m_radius, 1600.0, 1e-6) << "the long text is still limited";
    ASSERT_TRUE(other.OnSaveDocument(dir + "/second.qfd"));
    EXPECT_EQ(Bytes(dir + "/second.qfd"), Bytes(dir + "/first.qfd"));
}

// The file holds texts in code page 932, a character without a form there as '?'. The width saved
// was measured for the text in memory, so an opened file measured its '?' anew and the next save
// differed ("?27.3205": 7.25 saved, 7.05 after opening).
TEST(TextToolsInTheDrawing, ATextBeyondCodePage932SavesTheSameAfterOpening) {
    const struct {
        const char* name;
        MTextShape* shape;
    } texts[] = {
        {"text", new MTextShape},
        {"multi-line text", new MMultiTextShape},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.name);
        texttest::TextHarness h;
        t.shape->SetString("∛27.3205 ä");
        t.shape->SetTextSize(5.0);
        t.shape->SetPoint(h.At(1000, 1000));
        h.doc.AppendShape(t.shape, 0);
        t.shape->Recalc(h.view.get());

        const std::string dir = MakeTempDir("text-beyond-cp932");
        ASSERT_TRUE(h.doc.OnSaveDocument(dir + "/first.qfd"));
        EXPECT_THAT(Bytes(dir + "/first.qfd"), HasSubstr("\t?27.3205 ?\r\n"));
        MTessarayDoc other;
        ASSERT_TRUE(other.OnOpenDocument(dir + "/first.qfd"));
        other.RecalcAll(h.view.get());
        ASSERT_TRUE(other.OnSaveDocument(dir + "/second.qfd"));
        EXPECT_EQ(Bytes(dir + "/second.qfd"), Bytes(dir + "/first.qfd"));
    }
}
