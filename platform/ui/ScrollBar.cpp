#include "platform/ui/ScrollBar.h"

#include <QScrollBar>
#include <algorithm>

#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/Idle.h"
#include "platform/ui/detail/WndImpl.h"

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
            return 1920;
        case SM_CYSCREEN:
            return 1080;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CXHTHUMB:
            return 17;
        case SM_CYMENU:
            return 19;
        default:
            return 0;
    }
}

CScrollBar::~CScrollBar() = default;

BOOL CScrollBar::Create(UINT style, const CRect& rect, CWnd* pParent, UINT nID) {
    m_vertical = (style & SBS_VERT) != 0;
    auto* bar =
        new QScrollBar(m_vertical ? Qt::Vertical : Qt::Horizontal, pParent ? pParent->GetWidget() : nullptr);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setSingleStep(1);
    Attach(bar, pParent == nullptr || pParent->GetWidget() == nullptr);
    SetDlgCtrlID(nID);
    if (pParent) pParent->RegisterDlgItem(nID, this);
    MoveWindow(rect, FALSE);
    QObject::connect(bar, &QAbstractSlider::actionTriggered, GetImpl().context.get(),
                     [this, bar](int action) {
                         if (m_applying) return;
                         UINT code = SB_ENDSCROLL;
                         switch (action) {
                             case QAbstractSlider::SliderSingleStepAdd:
                                 code = SB_LINEDOWN;
                                 break;
                             case QAbstractSlider::SliderSingleStepSub:
                                 code = SB_LINEUP;
                                 break;
                             case QAbstractSlider::SliderPageStepAdd:
                                 code = SB_PAGEDOWN;
                                 break;
                             case QAbstractSlider::SliderPageStepSub:
                                 code = SB_PAGEUP;
                                 break;
                             case QAbstractSlider::SliderToMinimum:
                                 code = SB_TOP;
                                 break;
                             case QAbstractSlider::SliderToMaximum:
                                 code = SB_BOTTOM;
                                 break;
                             case QAbstractSlider::SliderMove:
                                 code = SB_THUMBTRACK;
                                 break;
                             default:
                                 return;
                         }
                         const int pos = bar->sliderPosition();
                         Notify(code, pos);
                         // The owner decides where the thumb goes (it set the position while handling the
                         // code).
                         bar->setSliderPosition(m_info.nPos);
                     });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, GetImpl().context.get(), [this, bar] {
        if (!m_applying) Notify(SB_THUMBPOSITION, bar->sliderPosition());
    });
    Apply();
    return TRUE;
}

void CScrollBar::SetScrollInfo(const SCROLLINFO& info, BOOL) {
    m_info = info;
    if (m_info.nMax < m_info.nMin) m_info.nMax = m_info.nMin;
    m_info.nPos = std::clamp(m_info.nPos, m_info.nMin, std::max(m_info.nMin, GetScrollLimit()));
    Apply();
}

void CScrollBar::SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw) {
    SCROLLINFO info = m_info;
    info.nMin = nMinPos;
    info.nMax = nMaxPos;
    SetScrollInfo(info, bRedraw);
}

int CScrollBar::SetScrollPos(int nPos, BOOL) {
    const int old = m_info.nPos;
    m_info.nPos = std::clamp(nPos, m_info.nMin, std::max(m_info.nMin, GetScrollLimit()));
    Apply();
    return old;
}

int CScrollBar::GetScrollLimit() const {
    const int page = static_cast<int>(std::min<UINT>(m_info.nPage, 0x7FFFFFFF));
    return std::max(m_info.nMin, m_info.nMax - std::max(page, 1) + 1);
}

void CScrollBar::SendScroll(UINT nSBCode, int nPos) {
    Notify(nSBCode, nPos);
    if (nSBCode != SB_ENDSCROLL) Notify(SB_ENDSCROLL, 0);
}

void CScrollBar::Apply() {
    auto* bar = qobject_cast<QScrollBar*>(GetWidget());
    if (!bar) return;
    m_applying = true;
    bar->setRange(m_info.nMin, std::max(m_info.nMin, GetScrollLimit()));
    bar->setPageStep(std::max(1, static_cast<int>(std::min<UINT>(m_info.nPage, 0x7FFFFFFF))));
    bar->setValue(m_info.nPos);
    m_applying = false;
}

void CScrollBar::Notify(UINT nSBCode, int nPos) {
    CWnd* owner = GetOwner();
    if (!owner) return;
    AfxTryCall([&] {
        if (m_vertical)
            owner->OnVScroll(nSBCode, static_cast<UINT>(nPos), this);
        else
            owner->OnHScroll(nSBCode, static_cast<UINT>(nPos), this);
    });
    AfxRequestIdle();
}
