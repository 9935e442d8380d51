#include "platform/ui/SliderCtrl.h"

#include <QSlider>
#include <algorithm>

#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/Idle.h"
#include "platform/ui/detail/WndImpl.h"

namespace {
QSlider* Slider(const CWnd* w) {
    return qobject_cast<QSlider*>(w->GetWidget());
}

UINT CodeOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            return TB_LINEDOWN;
        case QAbstractSlider::SliderSingleStepSub:
            return TB_LINEUP;
        case QAbstractSlider::SliderPageStepAdd:
            return TB_PAGEDOWN;
        case QAbstractSlider::SliderPageStepSub:
            return TB_PAGEUP;
        case QAbstractSlider::SliderToMinimum:
            return TB_TOP;
        case QAbstractSlider::SliderToMaximum:
            return TB_BOTTOM;
        default:
            return TB_THUMBTRACK;
    }
}
}  // namespace

BOOL CSliderCtrl::Create(UINT style, CWnd* pParent, UINT nID) {
    auto* slider = new QSlider(Qt::Horizontal, pParent ? pParent->GetWidget() : nullptr);
    slider->setRange(0, 100);
    slider->setTracking(true);
    Attach(slider, pParent == nullptr || pParent->GetWidget() == nullptr);
    SetDlgCtrlID(nID);
    if (pParent) pParent->RegisterDlgItem(nID, this);
    QObject* ctx = GetImpl().context.get();
    // The thumb has moved (the value follows the action): the owner hears of the new position.
    QObject::connect(slider, &QAbstractSlider::actionTriggered, ctx, [this, slider](int action) {
        if (m_applying || action == QAbstractSlider::SliderNoAction) return;
        const int pos = slider->sliderPosition();
        m_applying = true;
        slider->setValue(pos);
        m_applying = false;
        Notify(CodeOf(action), pos);
        if (!slider->isSliderDown()) Notify(TB_ENDTRACK, pos);
    });
    QObject::connect(slider, &QAbstractSlider::sliderReleased, ctx,
                     [this, slider] { Notify(TB_ENDTRACK, slider->value()); });
    return TRUE;
}

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL) {
    if (QSlider* s = Slider(this)) {
        m_applying = true;
        s->setRange(nMin, std::max(nMin, nMax));
        m_applying = false;
    }
}

void CSliderCtrl::GetRange(int& nMin, int& nMax) const {
    QSlider* s = Slider(this);
    nMin = s ? s->minimum() : 0;
    nMax = s ? s->maximum() : 0;
}

void CSliderCtrl::SetPos(int nPos) {
    if (QSlider* s = Slider(this)) {
        m_applying = true;
        s->setValue(nPos);
        m_applying = false;
    }
}

int CSliderCtrl::GetPos() const {
    QSlider* s = Slider(this);
    return s ? s->value() : 0;
}

void CSliderCtrl::MoveThumb(int nPos) {
    QSlider* s = Slider(this);
    if (!s || !s->isEnabled()) return;
    SetPos(nPos);
    Notify(TB_THUMBTRACK, s->value());
    Notify(TB_ENDTRACK, s->value());
}

void CSliderCtrl::Notify(UINT nCode, int nPos) {
    CWnd* owner = GetOwner();
    if (!owner) return;
    AfxTryCall([&] { owner->OnHScroll(nCode, static_cast<UINT>(nPos), nullptr); });
    AfxRequestIdle();
}
