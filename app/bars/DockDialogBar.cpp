#include "app/bars/DockDialogBar.h"

#include <algorithm>

BOOL MDockDialogBar::Create(CFrameWnd* pParentFrame, DWORD dwStyle, UINT nID, std::string_view name,
                            CSize size) {
    if (!CDialogBar::Create(pParentFrame, dwStyle, nID, name)) return FALSE;
    if (size.cx <= 0 || size.cy <= 0) {
        CRect rect;
        GetBarWindowRect(&rect);
        size = CSize(rect.Width(), rect.Height());
    }
    Remember(size);
    ApplyBarSize();
    return TRUE;
}

void MDockDialogBar::GetBarSizeLimits(CSize* minSize, CSize* maxSize) const {
    if (minSize) *minSize = CSize(GetMinWidth(), GetMinHeight());
    if (maxSize)
        *maxSize = CSize(std::max(GetMinWidth(), GetMaxWidth()), std::max(GetMinHeight(), GetMaxHeight()));
}

CSize MDockDialogBar::GetBarSize(BOOL bFloating) {
    return CalcDynamicLayout(-1, bFloating ? LM_MRUWIDTH : LM_VERTDOCK);
}

void MDockDialogBar::OnSize(UINT /*nType*/, int cx, int cy) {
    if (cx <= 0 || cy <= 0) return;
    CRect rect;
    GetBarWindowRect(&rect);
    Remember(CSize(rect.Width(), rect.Height()));
    RepositionControls();
}

void MDockDialogBar::Remember(CSize size) {
    m_size = (static_cast<DWORD>(size.cx) & 0xFFFFu) | ((static_cast<DWORD>(size.cy) & 0xFFFFu) << 16);
}

CSize MDockDialogBar::Clamp(CSize size) const {
    return CSize(std::clamp<int>(size.cx, GetMinWidth(), std::max(GetMinWidth(), GetMaxWidth())),
                 std::clamp<int>(size.cy, GetMinHeight(), std::max(GetMinHeight(), GetMaxHeight())));
}

CSize MDockDialogBar::CalcLayout(DWORD dwMode, int nLength) {
    const DWORD style = GetBarStyle();
    CSize size = GetRememberedSize();
    if (style & CBRS_SIZE_FIXED) {
        size = CSize(0, 0);
    } else if ((style & CBRS_SIZE_DYNAMIC) && !(dwMode & (LM_MRUWIDTH | LM_HORZDOCK | LM_VERTDOCK)) &&
               nLength != -1) {
        // A floating bar dragged by one edge takes the new length there and keeps the other.
        size = (dwMode & LM_LENGTHY) ? CSize(size.cx, nLength) : CSize(nLength, size.cy);
        size = Clamp(size);
        Remember(size);
    }
    size = Clamp(size);
    if ((dwMode & LM_COMMIT) && (style & CBRS_FLOATING) && (style & CBRS_SIZE_DYNAMIC)) Remember(size);
    return size;
}

CSize MDockDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    return CalcLayout((bStretch ? LM_STRETCH : 0u) | (bHorz ? LM_HORZ : 0u), -1);
}

CSize MDockDialogBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout(dwMode & LM_STRETCH ? TRUE : FALSE, dwMode & LM_HORZDOCK ? TRUE : FALSE);
    return CalcLayout(dwMode, nLength);
}
