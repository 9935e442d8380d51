// A resizable dialog bar: it remembers its last whole-window size and answers the layout queries
// from it, within the minimum and maximum sizes a subclass chooses, and places its controls
// whenever its size changes.
#pragma once

#include "platform/ui/DialogBar.h"

class MDockDialogBar : public CDialogBar {
public:
    // The bar's window starts at size (the window as it is when size is empty), which is
    // remembered.
    BOOL Create(CFrameWnd* pParentFrame, DWORD dwStyle, UINT nID, std::string_view name,
                CSize size = CSize());

    virtual CSize CalcLayout(DWORD dwMode, int nLength);
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    virtual void RepositionControls() {}
    virtual int GetMinWidth() const { return 32; }
    virtual int GetMinHeight() const { return 32; }
    virtual int GetMaxWidth() const { return 0x7FFF; }
    virtual int GetMaxHeight() const { return 0x7FFF; }

    // The frame's window keeps to the limits and takes the remembered size.
    void GetBarSizeLimits(CSize* minSize, CSize* maxSize) const override;
    CSize GetBarSize(BOOL bFloating) override;

    CSize GetRememberedSize() const {
        return CSize(static_cast<int>(m_size & 0xFFFFu), static_cast<int>(m_size >> 16));
    }
    void OnSize(UINT nType, int cx, int cy) override;

private:
    void Remember(CSize size);
    CSize Clamp(CSize size) const;

    // Width in the low word, height in the high word.
    DWORD m_size = 0;
};
