// Helpers of the control tests: owner-drawn items painted onto images, counted by colour.
#pragma once

#include <memory>

#include "platform/gdi/DC.h"
#include "platform/ui/OwnerDraw.h"
#include "platform/ui/Wnd.h"

namespace controlstest {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kGrey = 0x808080;

// Item `index` of the control painted with one action and state on a white width x height image.
inline std::unique_ptr<CDC> PaintItem(CWnd& control, int index, UINT action, UINT state, int width,
                                      int height) {
    auto dc = std::make_unique<CDC>();
    dc->CreateImageDC(width, height);
    DrawOwnerDrawItem(&control, index, action, state, dc.get(), CRect(0, 0, width, height));
    dc->Flush();
    return dc;
}

// Pixels of the colour inside [x0, x1) x [y0, y1).
inline int CountColor(CDC& dc, COLORREF color, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += dc.GetPixel(x, y) == color;
    return n;
}

// Pixels of any other colour inside [x0, x1) x [y0, y1).
inline int CountOther(CDC& dc, COLORREF color, int x0, int y0, int x1, int y1) {
    return (x1 - x0) * (y1 - y0) - CountColor(dc, color, x0, y0, x1, y1);
}

}  // namespace controlstest
