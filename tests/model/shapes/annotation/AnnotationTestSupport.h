// Helpers of the text, dimension, label and balloon tests: images to draw into and read back,
// a back end that records text output, and DXF group readers.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "interchange/DxfOutStream.h"
#include "platform/gdi/DC.h"
#include "tests/model/render/RecordingBackend.h"
#include "tests/model/shapes/ShapeTestSupport.h"

namespace annotationtest {

// An image of width x height device pixels showing the drawing rectangle from (x0, y0) (its
// lower-left corner, drawing units) through the given view.
class Image {
public:
    Image(MCadView& view, int width, int height, MFloatPoint lowerLeft)
        : m_view(view), m_width(width), m_height(height) {
        m_dc.CreateImageDC(width, height);
        const CPoint ll = view.DocToLogical(lowerLeft);
        m_dc.SetWindowOrg(ll.x, ll.y - height);
    }
    CDC& dc() { return m_dc; }
    // Device pixel of a drawing point.
    CPoint Device(const MFloatPoint& p) {
        CPoint q = m_view.DocToLogical(p);
        m_dc.LPtoDP(&q);
        return q;
    }
    // Colour of a device pixel (GetPixel itself takes logical coordinates).
    COLORREF Pixel(int x, int y) {
        m_dc.Flush();
        POINT p{x, y};
        m_dc.DPtoLP(&p);
        return m_dc.GetPixel(p.x, p.y);
    }
    bool IsInk(int x, int y) {
        const COLORREF c = Pixel(x, y);
        return c != 0xFFFFFF && c != 0xFFFFFFFF;
    }
    // Non-white pixels inside the device rectangle.
    int CountInk(const CRect& r) {
        m_dc.Flush();
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (IsInk(x, y)) ++n;
        return n;
    }
    int CountInk() { return CountInk(CRect(0, 0, Width(), Height())); }
    // Pixels of exactly this colour.
    int Count(COLORREF color) {
        m_dc.Flush();
        int n = 0;
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                if (Pixel(x, y) == color) ++n;
        return n;
    }
    // Bounding box of the non-white pixels (right and bottom exclusive); empty when none.
    CRect InkBounds() {
        m_dc.Flush();
        CRect r(Width(), Height(), 0, 0);
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                if (IsInk(x, y)) {
                    r.left = std::min<LONG>(r.left, x), r.right = std::max<LONG>(r.right, x + 1);
                    r.top = std::min<LONG>(r.top, y), r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r.left < r.right ? r : CRect();
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    MCadView& m_view;
    int m_width;
    int m_height;
    CDC m_dc;
};

// Records every text output with its reference point (device pixels), string and font.
class TextRecorder : public RecordingBackend {
public:
    struct Output {
        double x, y;
        std::string text;
        LOGFONT font;
        UINT align;
    };
    void TextOut(double x, double y, UINT options, const RECT* rect, const std::string& text,
                 const GdiAttributes& a) override {
        RecordingBackend::TextOut(x, y, options, rect, text, a);
        outputs.push_back({x, y, text, a.font, a.textAlign});
    }
    std::vector<Output> outputs;
};

// The groups of a DXF text as (code, value) pairs.
inline std::vector<std::pair<int, std::string>> DxfGroups(const std::string& text) {
    std::vector<std::pair<int, std::string>> groups;
    std::istringstream in(text);
    std::string code, value;
    while (std::getline(in, code) && std::getline(in, value))
        groups.emplace_back(std::stoi(code), value);
    return groups;
}

// Values of one group code, in order.
inline std::vector<std::string> DxfValues(const std::string& text, int code) {
    std::vector<std::string> values;
    for (const auto& g : DxfGroups(text))
        if (g.first == code) values.push_back(g.second);
    return values;
}

inline int CountEntities(const std::string& text, const std::string& name) {
    int n = 0;
    for (const auto& g : DxfGroups(text))
        if (g.first == 0 && g.second == name) ++n;
    return n;
}

}  // namespace annotationtest
