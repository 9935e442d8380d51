#include "widgets/MenuBitmaps.h"

#include <algorithm>

#include "model/render/PolyLine.h"
#include "model/settings/LineStyle.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/ScrollBar.h"
#include "resources/ResourceIds.h"
#include "widgets/ColorPalette.h"

namespace {

std::vector<std::unique_ptr<CBitmap>>& Bitmaps() {
    static std::vector<std::unique_ptr<CBitmap>> bitmaps;
    return bitmaps;
}

std::vector<std::unique_ptr<CBitmap>>& Swatches() {
    static std::vector<std::unique_ptr<CBitmap>> swatches;
    return swatches;
}

// One MF_BITMAP item per picture, commands from firstCommand.
BOOL BuildPictureMenu(const std::vector<std::unique_ptr<CBitmap>>& pictures, CMenu& popup,
                      UINT firstCommand) {
    if (pictures.empty()) return FALSE;
    popup.CreatePopupMenu();
    for (std::size_t i = 0; i < pictures.size(); ++i)
        popup.AppendMenu(MF_BITMAP, firstCommand + static_cast<UINT>(i), pictures[i].get());
    return TRUE;
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
    return BuildPictureMenu(Bitmaps(), popup, kLineStyleCommandFirst);
}

void InitColorSwatchBitmaps() {
    std::vector<std::unique_ptr<CBitmap>>& swatches = Swatches();
    if (!swatches.empty()) return;
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) return;
    CFont font;
    NONCLIENTMETRICS metrics;
    CFont* oldFont = nullptr;
    if (GetNonClientMetrics(&metrics) && font.CreateFontIndirect(&metrics.lfMenuFont))
        oldFont = dc.SelectObject(&font);
    const std::string transparent = AfxLoadString(IDS_TRANSPARENT);
    const CSize text = dc.GetTextExtent(transparent);
    const int width = std::max(2, 2 * text.cx), height = std::max(2, static_cast<int>(text.cy));
    const auto& colors = GetMenuColors();
    CPen black(PS_SOLID, 1, 0);
    for (COLORREF color : colors) {
        auto bitmap = std::make_unique<CBitmap>();
        if (!bitmap->CreateCompatibleBitmap(nullptr, width, height)) break;
        CBitmap* old = dc.SelectObject(bitmap.get());
        if (color == kNoColor) {
            const CRect all(0, 0, width, height);
            dc.FillSolidRect(&all, GetSysColor(COLOR_MENU));
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(GetSysColor(COLOR_MENUTEXT));
            dc.TextOut(width / 4, 0, transparent);
        } else {
            CBrush brush(color);
            CPen* oldPen = dc.SelectObject(&black);
            CBrush* oldBrush = dc.SelectObject(&brush);
            dc.Rectangle(0, 0, width, height);
            dc.SelectObject(oldBrush);
            dc.SelectObject(oldPen);
        }
        dc.SelectObject(old);
        swatches.push_back(std::move(bitmap));
    }
    if (oldFont) dc.SelectObject(oldFont);
}

const std::vector<std::unique_ptr<CBitmap>>& GetColorSwatchBitmaps() {
    return Swatches();
}

BOOL BuildColorSwatchMenu(CMenu& popup, UINT firstCommand) {
    return BuildPictureMenu(Swatches(), popup, firstCommand);
}
