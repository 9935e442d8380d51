#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "document/DocumentTool.h"
#include "document/ToolSettings.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/TextFile.h"

namespace {

// A tool as the [TOOLS] section sees it; "CIRCLE" keeps a radius of its own.
class FakeTool : public MDocumentTool {
public:
    FakeTool(CString key, BOOL autoLayer, bool ownValues = false)
        : m_key(std::move(key)), m_autoLayer(autoLayer), m_ownValues(ownValues) {}
    void Reset() override { ++resets; }
    CString GetKey() const override { return m_key; }
    CString GetTitle() const override { return "title " + m_key; }
    BOOL IsAutoLayerCapable() const override { return m_autoLayer; }
    CString GetAutoLayerName() const override { return m_layer; }
    void SetAutoLayerName(const CString& name) override { m_layer = name; }
    BOOL HasSettings() const override { return m_ownValues || MDocumentTool::HasSettings(); }
    void SaveSettings(std::ostream& os) override {
        if (m_ownValues) os << '\t' << radius << '\n';
    }
    void LoadSettings(std::istream& is) override {
        if (!m_ownValues) return;
        is >> radius;
        SkipTextLine(is);
    }

    double radius = 100.0;
    int resets = 0;
    CString m_key;
    BOOL m_autoLayer;
    bool m_ownValues;
    CString m_layer;
};

class FakeToolArray : public MDocumentToolArray {
public:
    int GetToolCount() const override { return static_cast<int>(tools.size()); }
    MDocumentTool* GetToolAt(int i) const override {
        return i >= 0 && i < GetToolCount() ? tools[static_cast<std::size_t>(i)].get() : nullptr;
    }
    FakeTool* Add(CString key, BOOL autoLayer, bool own = false) {
        tools.push_back(std::make_unique<FakeTool>(std::move(key), autoLayer, own));
        return tools.back().get();
    }
    std::vector<std::unique_ptr<FakeTool>> tools;
};

std::string WriteTool() {
    TextOutput out;
    out.precision(15);
    WriteCommonToolSettings(out);
    return out.str();
}

class ToolSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ResetToolSettings();
        ResetSizeFormats();
    }
    void TearDown() override {
        ResetToolSettings();
        ResetSizeFormats();
    }
};

}  // namespace

TEST_F(ToolSettings, ToolSectionRoundTripsToTheSameText) {
    MDrawAttributes& a = GetDrawAttributes();
    a.lineColor = 0x00FF8040;
    a.lineType = 0x83;
    a.lineWidth = 0.35;
    a.faceFill = MFillStyle(kFillLinear, 0.5, 0x0000FF, 0xFFFFFF);
    a.arrows = MArrowInfo(2, 3.5, 5, 0.1);
    MCoordinateEntry& j = GetCoordinateEntry();
    j.baseMode = 1;
    j.kind = 1;
    j.x = 12.5;
    j.y = -3;
    j.angle = 33.3;
    j.distance = 0.1;
    j.xChecked = 0;
    j.angleChecked = 0;
    AngleDialogAngle() = 45.25;

    const std::string text = WriteTool();
    EXPECT_EQ(text.substr(0, text.find("JUMP")),
              "STYLE\n\t16744512 131 0.35 G1 0.5 2 255 16777215\n\t2 3.5 5 0.1\n");
    EXPECT_NE(text.find("JUMP\n\t1 1 12.5 -3 33.3 0.1 0 1 1 0\nANGLE\n\t45.25\nSIZE\n"), std::string::npos);

    ResetToolSettings();
    TextInput in(text + "[TOOLS]\n");
    ReadCommonToolSettings(in);
    EXPECT_FALSE(in.fail());
    EXPECT_EQ(in.peek(), '[');
    EXPECT_EQ(GetDrawAttributes().faceFill, a.faceFill);
    EXPECT_EQ(GetCoordinateEntry().distance, 0.1);
    EXPECT_EQ(WriteTool(), text);
}

TEST_F(ToolSettings, MissingKeywordsLeaveTheirValuesAndUnknownLinesAreSkipped) {
    GetCoordinateEntry().x = 77.0;
    AngleDialogAngle() = 12.0;
    TextInput in("# comment\nCOLOR\n\t1 2 3\nSTYLE\n\t255 2 0.5 16777216\n\t1 2 1 2\n[TOOLS]\n\t53\n");
    ReadCommonToolSettings(in);
    EXPECT_FALSE(in.fail());
    EXPECT_EQ(GetDrawAttributes().lineColor, 255u);
    EXPECT_TRUE(GetDrawAttributes().faceFill.IsNone());
    EXPECT_EQ(GetDrawAttributes().arrows, MArrowInfo(1, 2, 1, 2));
    EXPECT_EQ(GetCoordinateEntry().x, 77.0);
    EXPECT_EQ(AngleDialogAngle(), 12.0);
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "[TOOLS]");
}

TEST_F(ToolSettings, DamagedOrUnusableValuesKeepThePreviousOnes) {
    for (const char* body : {"STYLE\n\t255 x 0.5 0\n", "STYLE\n\t255 1 nan 0\n\t0 4 0 4\n",
                             "STYLE\n\t255 1 0.5 0\n\t0 inf 0 4\n", "JUMP\n\t1 0 1 2\n", "ANGLE\n\tabc\n"}) {
        ResetToolSettings();
        TextInput in(body);
        ReadCommonToolSettings(in);
        EXPECT_TRUE(in.fail()) << body;
        EXPECT_EQ(GetDrawAttributes().lineColor, 0u) << body;
        EXPECT_EQ(GetDrawAttributes().lineWidth, 0.0) << body;
        EXPECT_EQ(GetDrawAttributes().arrows, MArrowInfo(0, 4.0, 0, 4.0)) << body;
        EXPECT_EQ(GetCoordinateEntry().baseMode, MCoordinateEntry::kOffset) << body;
        EXPECT_EQ(AngleDialogAngle(), 90.0) << body;
    }
    // A base mode no radio button shows falls back to the start value.
    TextInput in("JUMP\n\t9 4 1 2 3 4 1 1 1 1\n");
    ReadCommonToolSettings(in);
    EXPECT_EQ(GetCoordinateEntry().baseMode, MCoordinateEntry::kOffset);
    EXPECT_EQ(GetCoordinateEntry().kind, MCoordinateEntry::kCartesian);
    EXPECT_EQ(GetCoordinateEntry().distance, 4.0);
}

TEST(ToolArraySettings, ToolsWithoutSettingsWriteOnlyTheCount) {
    FakeToolArray tools;
    for (int i = 0; i < 53; ++i)
        tools.Add("T" + std::to_string(i), i % 2);
    TextOutput out;
    tools.SaveSettings(out);
    EXPECT_EQ(out.str(), "\t53\n");
}

TEST(ToolArraySettings, LayerBindingsAndOwnValuesRoundTrip) {
    FakeToolArray tools;
    FakeTool* line = tools.Add("LINE", TRUE);
    tools.Add("SELECT", FALSE)->SetAutoLayerName("ignored: not capable");
    FakeTool* circle = tools.Add("CIRCLE", TRUE, true);
    line->SetAutoLayerName("壁");
    circle->radius = 250.5;
    TextOutput out;
    tools.SaveSettings(out);
    EXPECT_EQ(out.str(), "\t3\nLINE\n\t壁\nCIRCLE\n\t\n\t250.5\n");

    line->SetAutoLayerName("");
    circle->SetAutoLayerName("x");
    circle->radius = 1;
    TextInput in(out.str() + "[LAYERS]\n");
    tools.LoadSettings(in);
    EXPECT_EQ(line->GetAutoLayerName(), "壁");
    EXPECT_EQ(circle->GetAutoLayerName(), "") << "a lone TAB is no binding";
    EXPECT_EQ(circle->radius, 250.5);
    EXPECT_EQ(in.peek(), '[');
}

TEST(ToolArraySettings, UnknownAndWrongCaseKeysConsumeOnlyTheirTwoLines) {
    FakeToolArray tools;
    FakeTool* line = tools.Add("LINE", TRUE);
    FakeTool* rect = tools.Add("RECT", TRUE);
    TextInput in("\t53\nline\n\tA\nGONE\n\tB\nRECT\n\tC\n[LAYERS]\n");
    tools.LoadSettings(in);
    EXPECT_EQ(line->GetAutoLayerName(), "");
    EXPECT_EQ(rect->GetAutoLayerName(), "C");
    EXPECT_EQ(in.peek(), '[');
    EXPECT_EQ(tools.FindByTitle("title RECT"), rect);
    EXPECT_EQ(tools.FindByTitle("nothing"), nullptr);
}

TEST_F(ToolSettings, EachUnusableValueReadsBackAsItsStartValueAndTheOthersStay) {
    struct Case {
        const char* body;
        std::function<void()> expect;
    };
    const MDrawAttributes start;
    const Case cases[] = {
        // A line style whose low 7 bits name no style of the table, and a negative one.
        {"STYLE\n\t255 72 0.5 16777216\n\t1 2 3 4\n",
         [&] {
             EXPECT_EQ(GetDrawAttributes().lineType, start.lineType);
             EXPECT_EQ(GetDrawAttributes().lineWidth, 0.5);
         }},
        {"STYLE\n\t255 -1 0.5 16777216\n\t1 2 3 4\n",
         [&] { EXPECT_EQ(GetDrawAttributes().lineType, start.lineType); }},
        {"STYLE\n\t255 136 -0.25 16777216\n\t1 2 3 4\n",
         [&] {
             EXPECT_EQ(GetDrawAttributes().lineType, 136) << "an auxiliary line of style 8";
             EXPECT_EQ(GetDrawAttributes().lineWidth, start.lineWidth);
         }},
        {"STYLE\n\t255 1 0.5 16777216\n\t7 0 -1 -2\n",
         [&] { EXPECT_EQ(GetDrawAttributes().arrows, start.arrows); }},
        {"STYLE\n\t255 1 0.5 16777216\n\t6 0.5 2 0\n",
         [&] { EXPECT_EQ(GetDrawAttributes().arrows, MArrowInfo(6, 0.5, 2, start.arrows.endSize)); }},
        {"ANGLE\n\t-400\n", [&] { EXPECT_EQ(AngleDialogAngle(), 90.0); }},
        {"ANGLE\n\t-360\n", [&] { EXPECT_EQ(AngleDialogAngle(), -360.0); }},
    };
    for (const Case& c : cases) {
        ResetToolSettings();
        TextInput in(std::string(c.body) + "[TOOLS]\n");
        ReadCommonToolSettings(in);
        EXPECT_FALSE(in.fail()) << c.body;
        EXPECT_EQ(in.peek(), '[') << c.body;
        if (c.body[0] == 'S') EXPECT_EQ(GetDrawAttributes().lineColor, 255u) << c.body;
        c.expect();
    }
}

TEST(ToolArraySettings, EachToolReadsOnlyItsOwnLines) {
    FakeToolArray tools;
    FakeTool* circle = tools.Add("CIRCLE", TRUE, true);
    FakeTool* rect = tools.Add("RECT", TRUE);
    FakeTool* arc = tools.Add("ARC", TRUE, true);
    // A key no tool has, with three value lines; a tool with more lines than it reads; a tool with
    // fewer lines than it reads.
    TextInput in(
        "\t53\nGONE\n\tL\n\t1\n\t2 3\n\t4\nCIRCLE\n\tC\n\t7.5\n\t8\n\t9\nRECT\n\tR\nARC\n\tA\n[LAYERS]\n");
    tools.LoadSettings(in);
    EXPECT_EQ(circle->radius, 7.5);
    EXPECT_EQ(circle->GetAutoLayerName(), "C");
    EXPECT_EQ(rect->GetAutoLayerName(), "R");
    EXPECT_EQ(arc->GetAutoLayerName(), "A");
    EXPECT_EQ(arc->radius, 100.0) << "no value line: the value stays";
    EXPECT_EQ(in.peek(), '[');
    // A key without its layer line has no automatic layer; the next key is still a key.
    TextInput cut("\t53\nCIRCLE\nRECT\n\tS\n");
    tools.LoadSettings(cut);
    EXPECT_EQ(circle->GetAutoLayerName(), "");
    EXPECT_EQ(rect->GetAutoLayerName(), "S");
}
