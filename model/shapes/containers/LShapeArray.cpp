#include "model/shapes/containers/LShapeArray.h"

#include "model/CadView.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/containers/ShapeArrayQueries.h"
#include "platform/Archive.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"

IMPLEMENT_SERIAL(MLShapeArray, CObject, 1)

MLShapeArray::MLShapeArray(BOOL owns)
    : m_values(std::make_unique<MDWordArray>()), m_shapes(std::make_unique<MShapeArray>(owns)) {}

MLShapeArray::~MLShapeArray() = default;

void MLShapeArray::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    m_shapes->Serialize(ar);
    m_values->Serialize(ar);
    // Keep one value per shape even when the stored counts disagree.
    if (ar.IsLoading() && m_values->GetSize() != m_shapes->GetSize()) m_values->SetSize(m_shapes->GetSize());
}

namespace {

template <class Pred>
BOOL AllMembers(const MShapeArray& shapes, Pred pred) {
    if (shapes.GetSize() == 0) return FALSE;
    for (int i = 0; i < shapes.GetSize(); ++i) {
        const MCadShape* s = shapes.GetAt(i);
        if (!s || !pred(s)) return FALSE;
    }
    return TRUE;
}

}  // namespace

void MLShapeArray::SetTextSize(double size) {
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->ChangeTextStyle(MTextStyleChange::Size(size)); });
}

double MLShapeArray::GetTextSize() const {
    const MCadShape* first = nullptr;
    for (int i = 0; i < m_shapes->GetSize() && !first; ++i) {
        const MCadShape* s = m_shapes->GetAt(i);
        if (s && s->HasText()) first = s;
    }
    if (!first) return 0.0;
    const double size = first->TextStyle().size;
    return AllTextShapes(*m_shapes, [&](const MCadShape* s) { return s->TextStyle().size == size; }) ? size
                                                                                                     : 0.0;
}

void MLShapeArray::SetFontName(const CString& name) {
    const MTextFontName font(name);
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->ChangeTextStyle(MTextStyleChange::Font(font)); });
}

CString MLShapeArray::GetFontName() const {
    const MCadShape* first = nullptr;
    for (int i = 0; i < m_shapes->GetSize() && !first; ++i) {
        const MCadShape* s = m_shapes->GetAt(i);
        if (s && s->HasText()) first = s;
    }
    if (!first) return {};
    const MTextFontName name = first->TextStyle().fontName;
    return AllTextShapes(*m_shapes, [&](const MCadShape* s) { return s->TextStyle().fontName == name; })
               ? name.Name()
               : CString();
}

BOOL MLShapeArray::HasTextFlag(int flag) const {
    if (flag != kTextFrame)
        return AllTextShapes(*m_shapes, [&](const MCadShape* s) { return s->HasTextFlag(flag) != 0; });
    // The frame is a text's own: the shapes that only hold texts do not count.
    bool any = false;
    for (int i = 0; i < m_shapes->GetSize(); ++i) {
        const MCadShape* s = m_shapes->GetAt(i);
        if (!s || !s->IsText()) continue;
        any = true;
        if (!s->HasTextFlag(kTextFrame)) return FALSE;
    }
    return any ? TRUE : FALSE;
}

int MLShapeArray::GetAlignment() const {
    bool first = true;
    int horizontal = 0, vertical = 0;
    for (int i = 0; i < m_shapes->GetSize(); ++i) {
        const MCadShape* s = m_shapes->GetAt(i);
        if (!s || s->GetTypeId() != kShapeMultiText) continue;
        const int word = s->TextStyle().alignment;
        if (first) {
            horizontal = word & 0x3;
            vertical = word & 0xC;
            first = false;
        } else {
            if ((word & 0x3) != horizontal) horizontal = 0;
            if ((word & 0xC) != vertical) vertical = 0;
        }
    }
    return horizontal | vertical;
}

void MLShapeArray::SetTextColor(COLORREF color) {
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->ChangeTextStyle(MTextStyleChange::Color(color)); });
}
COLORREF MLShapeArray::GetTextColor() const {
    return CommonShapeValue<COLORREF>(
        *m_shapes, [](const MCadShape* s) { return s->TextStyle().color; }, COLORREF(-1));
}

void MLShapeArray::SetFillStyle(const MFillStyle& fill) {
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->SetFillStyle(fill); });
}
MFillStyle MLShapeArray::GetFillStyle() const {
    return CommonShapeValue<MFillStyle>(
        *m_shapes, [](const MCadShape* s) { return s->GetFillStyle(); }, MFillStyle(COLORREF(-1)));
}

void MLShapeArray::SetColor(COLORREF color) {
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->SetColor(color); });
}
COLORREF MLShapeArray::GetColor() const {
    return CommonShapeValue<COLORREF>(
        *m_shapes, [](const MCadShape* s) { return s->GetColor(); }, COLORREF(-1));
}

double MLShapeArray::GetLineWidth() const {
    return CommonShapeValue<double>(
        *m_shapes, [](const MCadShape* s) { return s->GetLineWidth(); }, -1.0);
}
void MLShapeArray::SetLineWidth(double width) {
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->SetLineWidth(width); });
}

int MLShapeArray::GetLineStyle() const {
    return CommonShapeValue<int>(
        *m_shapes, [](const MCadShape* s) { return s->GetLineStyle(); }, -1);
}
void MLShapeArray::SetLineStyle(int lineStyle) {
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->SetLineStyle(lineStyle); });
}

MArrowInfo MLShapeArray::GetArrows() const {
    MArrowInfo result(kArrowStyleMixed, kArrowSizeMixed, kArrowStyleMixed, kArrowSizeMixed);
    bool first = true;
    for (int i = 0; i < m_shapes->GetSize(); ++i) {
        const MCadShape* s = m_shapes->GetAt(i);
        if (!s) continue;
        const MArrowInfo a = s->GetArrows();
        const double startSize = a.GetStartSize(), endSize = a.GetEndSize();
        if (first) {
            result = MArrowInfo(a.startStyle, startSize, a.endStyle, endSize);
            first = false;
            continue;
        }
        if (a.startStyle != result.startStyle) result.startStyle = kArrowStyleMixed;
        if (a.endStyle != result.endStyle) result.endStyle = kArrowStyleMixed;
        if (startSize != result.startSize) result.startSize = kArrowSizeMixed;
        if (endSize != result.endSize) result.endSize = kArrowSizeMixed;
    }
    return result;
}

void MLShapeArray::MirrorX(double x, double y) {
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->MirrorX(x, y); });
}
void MLShapeArray::MirrorY(double x, double y) {
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->MirrorY(x, y); });
}
void MLShapeArray::Rotate(double cx, double cy, double angle) {
    ForEachShape(*m_shapes, [&](MCadShape* s) { s->Rotate(cx, cy, angle); });
}

BOOL MLShapeArray::SupportsEdit1() const {
    return AllMembers(*m_shapes, [](const MCadShape* s) { return s->HasCapability(kShapeCanFlipX) != 0; });
}
BOOL MLShapeArray::SupportsEdit2() const {
    return AllMembers(*m_shapes, [](const MCadShape* s) { return s->HasCapability(kShapeCanFlipY) != 0; });
}
BOOL MLShapeArray::SupportsEdit3() const {
    return AllMembers(*m_shapes, [](const MCadShape* s) { return s->HasCapability(kShapeCanRotate) != 0; });
}
BOOL MLShapeArray::SupportsEdit4() const {
    return AllMembers(*m_shapes, [](const MCadShape* s) { return s->HasCapability(kShapeCanReshape) != 0; });
}

void MLShapeArray::Invalidate(MCadView* view, BOOL erase) {
    if (GetSize() == 0 || !view) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    CRect r = view->DocToDeviceRect(dc.get(), m_shapes->GetDrawExtent());
    r.NormalizeRect();
    r.InflateRect(2, 2);
    view->InvalidateRect(&r, erase);
}

int MLShapeArray::Add(MCadShape* shape, DWORD value) {
    m_values->Add(value);
    return m_shapes->Add(shape);
}

void MLShapeArray::InsertAt(int index, MCadShape* shape, DWORD value) {
    if (index < 0 || index > GetSize()) AfxThrowInvalidArgException();
    m_values->InsertAt(index, value);
    m_shapes->InsertAt(index, shape);
}

void MLShapeArray::SetAt(int index, MCadShape* shape, DWORD value) {
    if (index < 0 || index >= GetSize()) AfxThrowInvalidArgException();
    m_values->SetAt(index, value);
    m_shapes->SetAt(index, shape);
}

void MLShapeArray::RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) AfxThrowInvalidArgException();
    m_values->RemoveAt(index);
    m_shapes->RemoveAt(index);
}

int MLShapeArray::Remove(MCadShape* shape) {
    const int index = Find(shape);
    if (index >= 0) RemoveAt(index);
    return index;
}

void MLShapeArray::SetSize(int n) {
    if (n < 0) AfxThrowInvalidArgException();
    m_values->SetSize(n);
    m_shapes->SetSize(n);
}

void MLShapeArray::RemoveAll() {
    m_values->RemoveAll();
    m_shapes->RemoveAll();
}

void MLShapeArray::DeleteAll() {
    m_shapes->DeleteAll();
    m_values->RemoveAll();
}

void MLShapeArray::Recalc(MCadView* view) {
    m_shapes->RecalcAll(view);
}

void MLShapeArray::Move(const MFloatPoint& offset) {
    for (int i = 0; i < m_shapes->GetSize(); ++i)
        if (MCadShape* s = m_shapes->GetAt(i)) s->Move(offset);
}

MCadShape* MLShapeArray::HitTest(MCadView* view, int x, int y, int tolerance) const {
    return m_shapes->HitTest(view, x, y, tolerance);
}

namespace {

// The tracking outline of the shapes whose draw extent, inflated by margin pixels, meets the DC's
// clip box: a large selection costs what the window shows, not what the drawing holds.
void DrawTrackingVisible(const MShapeArray& shapes, MCadView* view, CDC* dc, int margin) {
    CRect clip;
    if (!dc->HasAttribDC() || dc->GetClipBox(&clip) == RGN_ERROR) {
        for (int i = 0; i < shapes.GetSize(); ++i)
            if (MCadShape* s = shapes.GetAt(i)) s->Render(view, dc, MDrawMode::kTracking);
        return;
    }
    clip.InflateRect(margin, margin);
    MFloatRect area = view->LogicalToDocRect(clip);
    area.Normalize();
    for (int i = 0; i < shapes.GetSize(); ++i) {
        MCadShape* s = shapes.GetAt(i);
        if (s && s->GetDrawExtent().Overlaps(area)) s->Render(view, dc, MDrawMode::kTracking);
    }
}

}  // namespace

void MLShapeArray::DrawMarked(MCadView* view, CDC* dc) {
    if (!dc) return;
    CPen green(PS_SOLID, 1, RGB(0, 255, 0));
    CSelectScope selectGreen(dc, &green);
    CSelectScope selectBrush(dc, NULL_BRUSH);
    DrawTrackingVisible(*m_shapes, view, dc, 2);
    if (GetOptionRecord().m_drawSelectedShape == 2) {
        CPen yellow(PS_SOLID, 3, RGB(255, 255, 0));
        CSelectScope selectYellow(dc, &yellow);
        DrawTrackingVisible(*m_shapes, view, dc, 3);
    }
}
