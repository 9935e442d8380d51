// Helpers of the curve and closed-shape tests: round trips that must reproduce their bytes, DXF
// groups, snapping with a wide search square and pixel counting.
#pragma once

#include <gtest/gtest.h>

#include <cfloat>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/model/shapes/ShapeTestSupport.h"
#include "model/SnapPoint.h"
#include "platform/gdi/DC.h"

namespace curvetest {

// Writes the archive form, reads it back and writes it again: both byte strings must match.
template <class T>
std::unique_ptr<T> ArchiveRoundTrip(const T& shape) {
    const std::vector<BYTE> first = shapetest::StoreObject(&shape);
    std::unique_ptr<T> copy = shapetest::LoadObject<T>(first);
    EXPECT_TRUE(copy);
    if (!copy) return nullptr;
    EXPECT_EQ(shapetest::StoreObject(copy.get()), first);
    return copy;
}

// The same with the text form; the copy comes back through the factory.
template <class T>
std::unique_ptr<T> TextRoundTrip(const T& shape) {
    const std::string first = shapetest::ShapeText(shape);
    std::unique_ptr<MCadShape> read = shapetest::ReadShape(first);
    EXPECT_TRUE(read) << first;
    if (!read) return nullptr;
    EXPECT_EQ(read->GetRuntimeClass(), shape.GetRuntimeClass());
    EXPECT_EQ(shapetest::ShapeText(*read), first);
    return std::unique_ptr<T>(static_cast<T*>(read.release()));
}

// The (code, value) pairs of DXF text.
inline std::vector<std::pair<int, std::string>> DxfGroups(const std::string& text) {
    std::vector<std::pair<int, std::string>> groups;
    std::istringstream in(text);
    std::string code, value;
    while (std::getline(in, code) && std::getline(in, value))
        groups.emplace_back(std::stoi(code), value);
    return groups;
}

// The entity names (group 0) of DXF text, in order.
inline std::vector<std::string> DxfEntities(const std::string& text) {
    std::vector<std::string> names;
    for (const auto& [code, value] : DxfGroups(text))
        if (code == 0) names.push_back(value);
    return names;
}

// The best snap of a shape for the cursor within a wide square.
inline MSnapPoint Snap(MCadShape& shape, const MFloatPoint& cursor, int kinds) {
    MSnapPoint snap;
    shape.SnapPoints(snap, cursor, MFloatRect(-1000, -1000, 1000, 1000), kinds, DBL_MAX);
    return snap;
}

// An image to draw into; logical pixels are image pixels.
struct Canvas {
    Canvas(int width, int height) : w(width), h(height) { EXPECT_TRUE(dc.CreateImageDC(width, height)); }
    COLORREF At(int x, int y) {
        dc.Flush();
        return dc.GetPixel(x, y);
    }
    // Pixels of that colour within the square of half side r around (x, y).
    int CountNear(int x, int y, int r, COLORREF colour) {
        dc.Flush();
        int n = 0;
        for (int yy = y - r; yy <= y + r; ++yy)
            for (int xx = x - r; xx <= x + r; ++xx)
                if (xx >= 0 && yy >= 0 && xx < w && yy < h && dc.GetPixel(xx, yy) == colour) ++n;
        return n;
    }
    int Count(COLORREF colour) { return CountNear(w / 2, h / 2, std::max(w, h), colour); }
    int w, h;
    CDC dc;
};

}  // namespace curvetest
