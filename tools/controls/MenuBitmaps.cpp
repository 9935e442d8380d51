#include "tools/controls/MenuBitmaps.h"

#include "model/render/PolyLine.h"
#include "model/settings/LineStyle.h"
#include "platform/gdi/DC.h"
#include "platform/ui/ScrollBar.h"

namespace {

std::vector<std::unique_ptr<CBitmap>>& Bitmaps() {
    static std::vector<std::unique_ptr<CBitmap>> bitmaps;
    return bitmaps;
}

// The height of the menu font's characters, or the menu bar's height when it cannot be measured.
int MenuFontHeight(CDC& dc) {
    CFont font;
    NONCLIENTMETRICS metrics;
    CFont* old = nullptr;
    if (GetNonClientMetrics(&metrics) && font.CreateFontIndirect(&metrics.lfMenuFont))
        old = dc.SelectObject(&font);
    TEXTMETRIC tm;
    const int height = dc.GetTextMetrics(&tm) && tm.tmHeight > 0 ? tm.tmHeight : GetSystemMetrics(SM_CYMENU);
    if (old) dc.SelectObject(old);
    return height;
}

}  // namespace

void InitLineStyleBitmaps() {
    std::vector<std::unique_ptr<CBitmap>>& bitmaps = Bitmaps();
    // Menus keep pointers to the pictures: they are never replaced.
    if (!bitmaps.empty()) return;
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) return;
    const int height = MenuFontHeight(dc);
    const int width = static_cast<int>(dc.GetDeviceCaps(LOGPIXELSX) / 25.4 * 24);
    const int count = GetLineStyleTable().GetSize();
    for (int i = 0; i < count; ++i) {
        auto bitmap = std::make_unique<CBitmap>();
        if (!bitmap->CreateCompatibleBitmap(nullptr, width, height)) return;
        CBitmap* old = dc.SelectObject(bitmap.get());
        const CRect all(0, 0, width, height);
        dc.FillSolidRect(&all, GetSysColor(COLOR_MENU));
        DrawLineStyleSample(&dc, i, 0, 0, width, height);
        dc.SelectObject(old);
        bitmaps.push_back(std::move(bitmap));
    }
}

const std::vector<std::unique_ptr<CBitmap>>& GetLineStyleBitmaps() {
    return Bitmaps();
}

BOOL BuildLineStyleMenu(CMenu& popup) {
    const std::vector<std::unique_ptr<CBitmap>>& bitmaps = Bitmaps();
    if (bitmaps.empty()) return FALSE;
    popup.CreatePopupMenu();
    for (std::size_t i = 0; i < bitmaps.size(); ++i)
        popup.AppendMenu(MF_BITMAP, kLineStyleCommandFirst + static_cast<UINT>(i), bitmaps[i].get());
    return TRUE;
}
