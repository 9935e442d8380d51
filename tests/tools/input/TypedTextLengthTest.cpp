// Texts typed into the tools' text dialogs are as long as a drawing keeps: a longer line is cut
// between two characters where it enters, the user is told, and the saved drawing reads back whole.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "document/TessarayDoc.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/text/TextTestSupport.h"

using namespace tooltest;
using ::testing::HasSubstr;

namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    out.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

struct TypedText {
    const char* road;
    UINT tool, dialog;
    int edit;
    std::string typed;
    // The lines the drawing keeps, and whether the user is told of a cut.
    std::vector<std::string> kept;
    bool told;
};

// The tool's dialog takes the text and the tool commits its shape.
void Enter(texttest::TextHarness& h, const TypedText& t) {
    h.Choose(t.tool);
    h.dialogs.Script(t.dialog, DialogScript().SetText(t.edit, t.typed).Ok());
    if (t.tool == ID_TOOL_SIZE) {
        h.RightClick(h.At(0, 0), MK_CONTROL);
        h.Click(h.At(1000, 1000));
        h.Click(h.At(3000, 1000));
        h.Click(h.At(2000, 1500));
    } else if (t.tool == ID_TOOL_LABEL || t.tool == ID_TOOL_BALLOON) {
        h.Click(h.At(1000, 1000));
        h.Click(h.At(3000, 1000));
        h.DoubleClickAt(h.At(3000, 3000));
    } else {
        h.Click(h.At(1000, 1000));
        h.Click(h.At(2000, 1000));
    }
}

}  // namespace

TEST(TypedTextLength, ALineLongerThanADrawingKeepsIsCutWhereItEntersAndSaid) {
    // 65537 bytes in the file's code page, where a kana takes two: the last kana would not fit
    // whole, so the cut falls before it. The multi-line text's lines are cut each on its own, and the CR of the edit's
    // line ends takes no room. The label's is longer than a one-line edit held by itself.
    const std::string kanaLine = "a" + Repeat("あ", 32768), kanaKept = "a" + Repeat("あ", 32767);
    const std::string b70000 = Repeat("b", 70000), b65535 = Repeat("b", 65535);
    const std::string c40000 = Repeat("c", 40000), d65535 = Repeat("d", 65535);
    const std::string e65536 = Repeat("e", 65536), e65535 = Repeat("e", 65535);
    const TypedText cases[] = {
        {"text", ID_TOOL_TEXT, 140, IDC_TEXT_STRING, kanaLine, {kanaKept}, true},
        {"multi-line text", ID_TOOL_MULTITEXT, 239, IDC_TEXT_STRING, b70000 + "\r\nok", {b65535, "ok"}, true},
        {"label", ID_TOOL_LABEL, 162, IDC_TEXT_STRING, c40000, {c40000}, false},
        {"balloon", ID_TOOL_BALLOON, 163, IDC_BALLOON_TEXT, d65535, {d65535}, false},
        {"dimension", ID_TOOL_SIZE, 161, IDC_TEXT, e65536, {e65535}, true},
    };
    for (const TypedText& t : cases) {
        SCOPED_TRACE(t.road);
        texttest::TextHarness h;
        MessageBoxRecorder messages;
        Enter(h, t);
        ASSERT_EQ(h.CommittedCount(), 1);
        EXPECT_EQ(messages.Saw(IDS_TEXT_CUT_TO_STORED), t.told);
        const std::string drawing = h.NativeText();
        for (const std::string& line : t.kept)
            EXPECT_THAT(drawing, HasSubstr("\t" + line + "\n")) << line.size() << " bytes";

        const std::string path = MakeTempDir("typed-text-length") + "/long.qfd";
        ASSERT_TRUE(h.doc.OnSaveDocument(path));
        MTessarayDoc reopened;
        ASSERT_TRUE(reopened.OnOpenDocument(path));
        std::ostringstream again;
        reopened.WriteText(again);
        EXPECT_TRUE(again.str() == drawing) << "the drawing reads back whole";
    }
}
