// The harness of the circle family's tool tests: a tool chosen by its command, grid snapping so
// that clicks land exactly, and the committed shape read back from the drawing's native text.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/settings/OptionRecord.h"
#include "tests/tools/ToolTestSupport.h"

namespace circletest {

// The drawing's origin, mid-paper: a grid point.
inline const MFloatPoint kBase(21000, 14850);
inline MFloatPoint At(double dx, double dy) {
    return MFloatPoint(kBase.x + dx, kBase.y + dy);
}
constexpr double kPi = 3.141592653589793;

template <class T>
struct FamilyHarness : tooltest::ToolHarness {
    explicit FamilyHarness(UINT command) {
        tool = dynamic_cast<T*>(Choose(command));
        GetOptionRecord().m_snap = kSnapGrid;
        // A partial repaint draws the dashed print-area frame in another phase than a whole one.
        GetOptionRecord().m_show &= ~MOptionRecord::kShowPrintArea;
        Repaint();
    }
    int ShapeCount() { return doc.GetLayers()->GetLayer(0)->GetSize(); }
    // The first numbers of the last shape of the keyword in the drawing as saved, or none.
    std::vector<double> Saved(const std::string& keyword, int count) {
        const std::string text = NativeText();
        const std::size_t layers = text.find("[LAYERS]");
        const std::size_t at = text.rfind("\n" + keyword + "\n\t");
        if (layers == std::string::npos || at == std::string::npos || at < layers) return {};
        std::istringstream values(text.substr(at + keyword.size() + 3));
        std::vector<double> out(static_cast<std::size_t>(count));
        for (double& v : out)
            values >> v;
        return values ? out : std::vector<double>();
    }
    // The native text of a dialog's values: the script, then Ctrl + right click.
    void Numeric(UINT dialog, DialogScript script) {
        dialogs.Script(dialog, std::move(script));
        RightClick(At(0, 0), MK_CONTROL);
    }
    T* tool = nullptr;
};

// Each value near its expectation.
inline ::testing::AssertionResult Near(const std::vector<double>& got, const std::vector<double>& want,
                                       double tolerance = 1e-3) {
    if (got.size() != want.size()) return ::testing::AssertionFailure() << "no shape of that kind was saved";
    for (std::size_t i = 0; i < got.size(); ++i)
        if (!(std::fabs(got[i] - want[i]) <= tolerance))
            return ::testing::AssertionFailure() << "value " << i << " is " << got[i] << ", not " << want[i];
    return ::testing::AssertionSuccess();
}

}  // namespace circletest
