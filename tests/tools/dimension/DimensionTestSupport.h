// The linear dimension tools' tests: a harness with end-point and grid snapping on a pitch of 10,
// the program-wide dimension style and formats as the program starts them, and the dimensions of
// the drawing. The tests give points relative to kBase, a point the view shows zoomed in so far
// that a pixel is finer than the grid.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include "model/SnapPoint.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/dimension/SizeShape.h"

#include "tests/support/TestSupport.h"
#include "tests/tools/ToolTestSupport.h"
#include "view/Grid.h"

namespace dimtest {

using tooltest::ToolHarness;

inline const MFloatPoint kBase(2000, 2000);

struct DimensionHarness : ToolHarness {
    DimensionHarness() {
        view->ZoomAt(kBase, 16, FALSE);
        GetDefaultSizeStyle() = SmallStyle();
        ResetSizeFormats();
        SetSizeFormatListPosition(0);
        GetOptionRecord().m_snap = kSnapEndPoint | kSnapGrid;
        view->GetGrid()->m_pitchX = view->GetGrid()->m_pitchY = 10.0;
        view->Invalidate();
        view->UpdateWindow();
    }
    ~DimensionHarness() {
        GetDefaultSizeStyle() = MSizeStyle();
        ResetSizeFormats();
        SetSizeFormatListPosition(0);
    }
    // Text and arrows of a few grid steps, so that a dimension of 100 shows whole.
    static MSizeStyle SmallStyle() {
        MSizeStyle style;
        style.m_textHeight = style.m_arrowSize = 0.2;
        style.m_extensionGap = style.m_outsideLeader = style.m_extensionOvershoot = style.m_textGap = 0.05;
        return style;
    }
    // The mouse at points relative to kBase.
    void Click(const MFloatPoint& p, UINT keys = 0) { ToolHarness::Click(kBase + p, keys); }
    void MoveTo(const MFloatPoint& p, UINT keys = 0) { ToolHarness::MoveTo(kBase + p, keys); }
    void RightClick(const MFloatPoint& p, UINT keys = 0) { ToolHarness::RightClick(kBase + p, keys); }

    // The dimensions of the first layer, in order.
    std::vector<MSizeShape*> Dimensions() { return ShapesOf<MSizeShape>(); }
    // The shapes of type T in the first layer, in order.
    template <class T>
    std::vector<T*> ShapesOf() {
        std::vector<T*> out;
        const MLayer* layer = doc.GetLayers()->GetLayer(0);
        for (int i = 0; i < layer->GetSize(); ++i)
            if (auto* shape = dynamic_cast<T*>(layer->GetAt(i))) out.push_back(shape);
        return out;
    }
    // Adds a shape to the first layer (the document owns it).
    template <class T>
    T* Add(T* shape) {
        doc.AppendShape(shape, 0);
        shape->Recalc(view.get());
        return shape;
    }
    // As ExpectOneUndoStep, for the drawing without the tools' values: the tools keep the last
    // measured length, which undo does not take back.
    void ExpectOneDrawingStep(const std::function<void()>& action) {
        const std::string before = Drawing();
        const int steps = UndoSteps();
        action();
        const std::string after = Drawing();
        EXPECT_EQ(UndoSteps(), steps + 1) << "one new undo step";
        EXPECT_NE(after, before) << "the action changed the drawing";
        view->SendCommand(ID_EDIT_UNDO);
        EXPECT_EQ(Drawing(), before) << "undo gives the drawing before the action";
        view->SendCommand(ID_EDIT_REDO);
        EXPECT_EQ(Drawing(), after) << "redo gives the drawing after the action";
    }
    // The native text without its [TOOLS] section.
    std::string Drawing() {
        std::string text = NativeText();
        const std::size_t from = text.find("[TOOLS]\n");
        const std::size_t to = text.find("\n[", from + 1);
        if (from != std::string::npos && to != std::string::npos) text.erase(from, to + 1 - from);
        return text;
    }
    // Three clicks, one dimension, one undo step, no XOR left behind.
    void Dimension(const MFloatPoint& start, const MFloatPoint& end, const MFloatPoint& line) {
        ExpectOneDrawingStep([&] {
            Click(start);
            MoveTo(end);
            Click(end);
            MoveTo(line);
            Click(line);
        });
        EXPECT_TRUE(NoXorResidue());
    }
    // Ctrl + right click opens the numeric entry with the script queued for it.
    void NumericEntry(DialogScript script, const MFloatPoint& at = MFloatPoint(0, 0)) {
        dialogs.Script(161, std::move(script));
        RightClick(at, MK_CONTROL);
    }
};

// The tools' values as a drawing's [TOOLS] section holds them, and read back from such text.
inline std::string SavedTools() {
    std::ostringstream os;
    GetDrawToolArray().SaveSettings(os);
    return os.str();
}

inline void LoadTools(const std::string& text) {
    std::istringstream in(text);
    GetDrawToolArray().LoadSettings(in);
}

}  // namespace dimtest
