// Helpers of the edit tools' tests: the lines and arcs of a drawing read back from its native
// text, and a harness with a corner of two lines at a point the view shows whole.
#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/ToolTestSupport.h"

namespace edittest {

// One shape's values line: LINE x0 y0 x1 y1 colour style width arrows..., ARC cx cy r a0 a1 ...
using Values = std::vector<double>;

// The value lines of every record of the type, in drawing order.
inline std::vector<Values> Records(const std::string& text, const std::string& type) {
    std::vector<Values> out;
    // Only the layers: a tool's key in [TOOLS] may equal a record type ("LINE").
    const std::size_t layers = text.find("[LAYERS]");
    std::istringstream in(layers == std::string::npos ? text : text.substr(layers));
    std::string line;
    bool take = false;
    while (std::getline(in, line)) {
        if (take && !line.empty() && line[0] == '\t') {
            std::istringstream numbers(line);
            Values values;
            double v = 0.0;
            while (numbers >> v)
                values.push_back(v);
            out.push_back(values);
        }
        take = line == type;
    }
    return out;
}

struct Segment {
    double x0, y0, x1, y1;
};
inline std::vector<Segment> Lines(const std::string& text) {
    std::vector<Segment> out;
    for (const Values& v : Records(text, "LINE"))
        out.push_back({v[0], v[1], v[2], v[3]});
    return out;
}

// The segment of the drawing with these ends (in either order), within tolerance.
inline ::testing::AssertionResult HasLine(const std::string& text, double x0, double y0, double x1, double y1,
                                          double tolerance = 1e-6) {
    const auto near = [&](double a, double b) { return std::fabs(a - b) <= tolerance; };
    for (const Segment& s : Lines(text))
        if ((near(s.x0, x0) && near(s.y0, y0) && near(s.x1, x1) && near(s.y1, y1)) ||
            (near(s.x0, x1) && near(s.y0, y1) && near(s.x1, x0) && near(s.y1, y0)))
            return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "no line (" << x0 << ", " << y0 << ")-(" << x1 << ", " << y1 << ") in:\n"
           << text.substr(text.find("[LAYER]"));
}

// The action leaves the drawing and the undo history as they were.
inline void ExpectNoChange(tooltest::ToolHarness& h, const std::function<void()>& action) {
    const std::string before = h.NativeText();
    const int steps = h.UndoSteps();
    action();
    EXPECT_EQ(h.NativeText(), before) << "the drawing is unchanged";
    EXPECT_EQ(h.UndoSteps(), steps) << "no undo step";
}

// Drawing points on whole pixels counted from an origin pixel (y up), so that a click lands
// exactly on them and a line between them is where the user sees it.
class PixelGrid {
public:
    explicit PixelGrid(tooltest::ToolHarness& h, CPoint origin = CPoint(200, 420))
        : m_h(h), m_origin(origin) {}
    MFloatPoint operator()(int dx, int dy) const {
        return m_h.ToDrawing(CPoint(m_origin.x + dx, m_origin.y - dy));
    }
    // Drawing units per pixel.
    double Unit() const { return (*this)(100, 0).x / 100 - (*this)(0, 0).x / 100; }
    MLineShape* AddLine(const MFloatPoint& a, const MFloatPoint& b) const {
        return m_h.AddLine(a.x, a.y, b.x, b.y);
    }

private:
    tooltest::ToolHarness& m_h;
    CPoint m_origin;
};

inline ::testing::AssertionResult HasLine(const std::string& text, const MFloatPoint& a, const MFloatPoint& b,
                                          double tolerance = 1e-6) {
    return HasLine(text, a.x, a.y, b.x, b.y, tolerance);
}

}  // namespace edittest
