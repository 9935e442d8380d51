#include "view/ole/OleClientShape.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>

#include "document/TessarayDoc.h"
#include "model/CadView.h"
#include "model/Dib.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeEditors.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/containers/RectPicking.h"
#include "platform/Archive.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "view/ole/CntrItem.h"

IMPLEMENT_SERIAL(MOleClientShape, MCadShape, 1)

namespace {

// Why editing does nothing here.
constexpr const char* kNoObjectServer =
    "埋め込まれたｵﾌﾞｼﾞｪｸﾄはこのｼｽﾃﾑでは編集できません。ｵﾌﾞｼﾞｪｸﾄのﾃﾞｰﾀはそのまま保存されます。";
constexpr const char* kPlaceholderFace = "ＭＳ ゴシック";

BOOL EditOleClientShape(MCadShape&, MCadView*) {
    AfxMessageBox(kNoObjectServer, MB_OK | MB_ICONINFORMATION);
    return FALSE;
}

}  // namespace

void RegisterOleClientShapeEditor() {
    RegisterShapeEditor(RUNTIME_CLASS(MOleClientShape), EditOleClientShape);
}

MOleClientShape::MOleClientShape() = default;

MOleClientShape::MOleClientShape(MCntrItem* item) : m_item(item) {
    if (m_item) m_item->m_shape = this;
}

MOleClientShape::~MOleClientShape() = default;

short MOleClientShape::GetTypeId() const {
    return kShapeOle2;
}

const std::vector<BYTE>* MOleClientShape::GetRecord() const {
    if (m_item) return &m_item->GetRecord();
    if (!m_rawItem.empty()) return &m_rawItem;
    return nullptr;
}

MFloatRect MOleClientShape::GetRect() const {
    MFloatRect r(m_position, m_size);
    r.Normalize();
    return r;
}

void MOleClientShape::SetRect(double left, double top, double right, double bottom) {
    m_position = {left, bottom};
    m_size = {right - left, top - bottom};
    m_extent = GetRect();
}

void MOleClientShape::SetSize(double width, double height) {
    m_size = {width, height};
    m_extent = GetRect();
}

void MOleClientShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        if (m_item) {
            m_item->Serialize(ar);
        } else {
            // The raw bytes in the item's own form; a shape with neither writes an empty record.
            MCntrItem raw;
            raw.SetRecord(m_rawItem);
            raw.Serialize(ar);
        }
        ar << m_position << m_size;
        return;
    }
    m_item.reset();
    m_rawItem.clear();
    m_rawShown.reset();
    auto item = std::make_unique<MCntrItem>();
    item->Serialize(ar);
    ar >> m_position >> m_size;
    m_item = std::move(item);
    m_item->m_shape = this;
    m_extent = GetRect();
}

void MOleClientShape::DrawPlaceholder(MCadView* view, CDC* dc, const CRect& r) {
    // A frame with the object's class name, as far as it fits.
    const MOleShown* shown = m_item ? &m_item->GetShown() : m_rawShown.get();
    const COLORREF ink = MapColorForMono(dc, RGB(128, 128, 128));
    CPen pen(PS_SOLID, 1, ink);
    {
        CSelectScope selectPen(dc, &pen);
        CSelectScope selectBrush(dc, HOLLOW_BRUSH);
        dc->Rectangle(&r);
    }
    std::string name = shown ? shown->info.className : std::string();
    if (name.empty()) name = "OLE";
    const int height = std::min(16, r.Height() - 4);
    if (height < 6 || r.Width() < 8) return;
    LOGFONT lf;
    lf.lfHeight = -height;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfFaceName = kPlaceholderFace;
    CFont font;
    font.CreateFontIndirect(&lf);
    const int saved = dc->SaveDC();
    CRect inside = r;
    inside.DeflateRect(2, 2);
    dc->IntersectClipRect(&inside);
    dc->SelectObject(&font);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(MapTextColorForMono(dc, RGB(64, 64, 64)));
    dc->SetTextAlign(TA_CENTER | TA_BASELINE);
    TEXTMETRIC tm;
    dc->GetTextMetrics(&tm);
    dc->TextOut((r.left + r.right) / 2, (r.top + r.bottom) / 2 + (tm.tmAscent - tm.tmDescent) / 2, name);
    dc->RestoreDC(saved);
}

void MOleClientShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    switch (mode) {
        case MDrawMode::kNormal:
            return DrawNormal(view, dc);
        case MDrawMode::kTracking:
            return DrawTracking(view, dc);
        case MDrawMode::kGrayed:
            return DrawGrayed(view, dc);
        case MDrawMode::kHighlight:
            return;  // nothing for the pixel tests to hit
    }
}

void MOleClientShape::DrawNormal(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    const std::vector<BYTE>* record = GetRecord();
    if (!record) return;
    if (!m_item && !m_rawShown) {
        m_rawShown = std::make_unique<MOleShown>();
        m_rawShown->Read(m_rawItem);
    }
    CRect r = view->DocToLogicalRect(m_extent);
    r.NormalizeRect();
    if (r.Width() <= 0 || r.Height() <= 0 || !dc->RectVisible(&r)) return;
    const int oldMode = dc->SetStretchBltMode(COLORONCOLOR);
    const MOleShown& shown = m_item ? m_item->GetShown() : *m_rawShown;
    if (shown.picture) {
        const SIZE pixels = shown.picture->GetSize();
        shown.picture->StretchDraw(dc, 0, 0, pixels.cx, std::abs(pixels.cy), r.left, r.top, r.Width(),
                                   r.Height());
    } else {
        DrawPlaceholder(view, dc, r);
    }
    dc->SetStretchBltMode(oldMode);
}

void MOleClientShape::DrawTracking(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    const CRect r = view->DocToLogicalRect(GetRect());
    dc->Rectangle(&r);
}

void MOleClientShape::DrawGrayed(MCadView* view, CDC* dc) {
    if (!view || !dc || !m_item) return;
    DrawGrayedRect(view, dc, GetRect());
}

void MOleClientShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& c = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    MFloatRect r(m_position, m_size);
    r.Scale(c, sx, sy);
    SetRect(r.left, r.top, r.right, r.bottom);
}

void MOleClientShape::Move(const MFloatPoint& offset) {
    m_position += offset;
}

double MOleClientShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                   int kinds, double best) {
    return SnapRectPoints(snap, cursor, aperture, kinds, best, m_extent, this);
}

BOOL MOleClientShape::HitTestPixel(MCadView* view, const CPoint& point, int tolerance) {
    return view && PickSquareMeets(view, point, tolerance, GetExtentPickRect(view, m_extent));
}

BOOL MOleClientShape::IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) {
    if (!view) return FALSE;
    CRect overlap;
    return overlap.IntersectRect(GetExtentPickRect(view, m_extent), rect);
}

BOOL MOleClientShape::IntersectsRectPixel(MCadView*, const CRect&, const MFloatRect& area) {
    return m_extent.Overlaps(area);
}

MCadShape* MOleClientShape::Duplicate() const {
    auto copy = std::make_unique<MOleClientShape>();
    copy->m_position = m_position;
    copy->m_size = m_size;
    copy->CopyExtentsFrom(*this);
    if (!m_item) {
        copy->m_rawItem = m_rawItem;
        return copy.release();
    }
    // The copy's item belongs to the same document and holds the same record.
    auto item = std::make_unique<MCntrItem>();
    item->SetDocument(m_item->GetDocument());
    item->SetRecord(m_item->GetRecord());
    copy->m_item = std::move(item);
    copy->m_item->m_shape = copy.get();
    return copy.release();
}

BOOL MOleClientShape::IsValid() const {
    return m_size.cx != 0.0 && m_size.cy != 0.0;
}

bool MOleClientShape::HasFiniteValues() const {
    return IsFinite(m_position) && AllFinite({m_size.cx, m_size.cy}) && MCadShape::HasFiniteValues();
}

void MOleClientShape::Recalc(MCadView*) {
    const MFloatRect r = GetRect();
    m_position = r.BottomLeft();
    m_size = {r.right - r.left, r.top - r.bottom};
    m_extent = r;
    SetDrawExtent(r);
}

void MOleClientShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_position.x << ' ' << m_position.y << ' ' << m_size.cx << ' ' << m_size.cy << '\n';
    if (m_item) {
        m_item->WriteItemText(os);
    } else if (!m_rawItem.empty()) {
        WriteBinaryBlock(os, m_rawItem.data(), static_cast<int>(m_rawItem.size()), TRUE);
    } else {
        // Without a block every later line would be read as this shape's: write an empty one.
        AfxMessageBox(kOleItemNull, MB_OK);
        WriteBinaryBlock(os, nullptr, 0, TRUE);
    }
}

void MOleClientShape::ReadText(CDocument* doc, std::istream& is) {
    double x = 0, y = 0, w = 0, h = 0;
    is >> x >> y >> w >> h;
    SkipTextLine(is);
    if (is.fail()) return;
    m_position = {x, y};
    m_size = {w, h};
    m_extent = GetRect();
    m_item.reset();
    m_rawItem.clear();
    m_rawShown.reset();
    if (!doc) {
        int n = 0;
        std::unique_ptr<BYTE[]> bytes = ReadBinaryBlock(is, n);
        if (!bytes || n <= 0) {
            AfxMessageBox(kInvalidOleFile, MB_OK);
            return;
        }
        m_rawItem.assign(bytes.get(), bytes.get() + n);
        return;
    }
    auto item = std::make_unique<MCntrItem>();
    // An unreadable item leaves the shape with neither item nor bytes: it then draws nothing.
    if (!item->ReadItemText(doc, is)) return;
    m_item = std::move(item);
    m_item->m_shape = this;
}

void MOleClientShape::OnEnterDocument(MTessarayDoc& doc) {
    if (m_item && !m_item->GetDocument()) m_item->SetDocument(&doc);
    m_detached = 0;
}

void MOleClientShape::OnLeaveDocument(MTessarayDoc&) {
    m_detached = 1;
}
