#include "model/shapes/text/TextShape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <istream>
#include <ostream>
#include <typeinfo>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/ArchiveString.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeTypes.h"
#include "platform/Archive.h"
#include "platform/Cp932.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"

IMPLEMENT_SERIAL(MTextShape, MTextShapeBase, 1)

namespace {

// The memory bitmap of a rubber band never grows beyond this many pixels a side.
constexpr int kMaxTrackingSide = 8192;

// FNV-1a over everything a measure depends on.
class Digest {
public:
    void Add(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            m_value = (m_value ^ p[i]) * 0x100000001B3ull;
    }
    template <typename T>
    void AddValue(T value) {
        Add(&value, sizeof value);
    }
    void AddString(const std::string& s) {
        AddValue(s.size());
        Add(s.data(), s.size());
    }
    std::uint64_t Value() const { return m_value; }

private:
    std::uint64_t m_value = 0xCBF29CE484222325ull;
};

// The measuring font's width for a cell height of 100.
LONG MeasureWidth(double charWidth, double textHeight) {
    const double width = textHeight != 0.0 ? charWidth * 100 / textHeight : 0.0;
    return std::isfinite(width) ? static_cast<LONG>(std::clamp(width, -1.0e6, 1.0e6)) : 0;
}

MFloatPoint ScaledAbout(const MFloatPoint& p, const MFloatPoint& c, double sx, double sy) {
    return {c.x + (p.x - c.x) * sx, c.y + (p.y - c.y) * sy};
}

}  // namespace

MTextShape::MTextShape() = default;
MTextShape::~MTextShape() = default;

void MTextShape::Serialize(CArchive& ar) {
    MTextShapeBase::Serialize(ar);
    if (ar.IsStoring())
        WriteArchiveString(ar, m_string);
    else
        ReadArchiveString(ar, m_string);
}

void MTextShape::CopyFieldsFrom(const MTextShape& other) {
    CopyStoredFrom(other);
    m_string = Utf8ArchiveCopy(other.m_string);
    m_measuredKey = other.m_measuredKey;
    m_measured = other.m_measured;
}

MCadShape* MTextShape::Duplicate() const {
    // Other kinds store more, and a fill no file can hold makes the stored way fail.
    if (typeid(*this) != typeid(MTextShape) || !m_fill.IsStorable()) return MCadShape::Duplicate();
    auto* copy = new MTextShape;
    copy->CopyFieldsFrom(*this);
    copy->CopyExtentsFrom(*this);
    return copy;
}

void MTextShape::SetString(const CString& text) {
    m_string = text;
}
CString MTextShape::GetString() const {
    return m_string;
}

int MTextShape::GetHandleCount() const {
    return 4;
}

MFloatPoint MTextShape::GetHandle(int index) const {
    const MFloatPoint o = GetTextOrigin();
    MFloatPoint p = o;
    switch (index) {
        case 1:
            p = o + MFloatPoint(m_boxWidth, 0);
            break;
        case 2:
            p = o + MFloatPoint(m_boxWidth, m_boxHeight);
            break;
        case 3:
            p = o + MFloatPoint(0, m_boxHeight);
            break;
        default:
            break;
    }
    return p.GetRotatedAbout(m_point, GetEffectiveAngle());
}

void MTextShape::MoveHandle(int* index, const MFloatPoint& to, BOOL, MFloatRect*) {
    if (!index || *index < 0 || *index > 3) return;
    Move(to - GetHandle(*index));
}

void MTextShape::GetScreenFontSize(MCadView* view, int* width, int* height) const {
    const CSize s = view->DocToLogicalSize(m_charWidth, m_textHeight);
    *width = m_charWidth == 0.0 ? 0 : s.cx;
    *height = std::abs(static_cast<int>(s.cy));
}

void MTextShape::InScreenFont(MCadView* view, CDC* dc, COLORREF colour, const std::function<void()>& body) {
    int width = 0, height = 0;
    GetScreenFontSize(view, &width, &height);
    CFont font;
    if (!CreateDrawingFont(font, width, height)) return;
    CSelectScope selectFont(dc, &font);
    const COLORREF oldColor = dc->SetTextColor(colour);
    body();
    dc->SetTextColor(oldColor);
}

void MTextShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    switch (mode) {
        case MDrawMode::kNormal:
            return DrawNormal(view, dc);
        case MDrawMode::kTracking:
            return DrawTracking(view, dc);
        case MDrawMode::kHighlight:
            return DrawHighlight(view, dc);
        case MDrawMode::kGrayed:
            return DrawGrayed(view, dc);
    }
}

void MTextShape::DrawNormal(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    DrawBox(view, dc);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    int width = 0, height = 0;
    GetScreenFontSize(view, &width, &height);
    CFont font;
    if (CreateDrawingFont(font, width, height)) {
        CSelectScope selectFont(dc, &font);
        if (m_textColor != kNoColor) {
            const COLORREF oldColor = dc->SetTextColor(MapTextColorForMono(dc, m_textColor));
            const UINT oldAlign = dc->SetTextAlign(TA_LEFT | TA_TOP);
            const CPoint p = view->DocToLogical(GetRotatedOrigin());
            dc->TextOut(p.x, p.y, m_string);
            dc->SetTextAlign(oldAlign);
            dc->SetTextColor(oldColor);
        }
    }
    dc->SetBkMode(oldMode);
}

void MTextShape::DrawTracking(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    MFloatPoint c[4];
    GetBoxCorners(c);
    POINT lp[4];
    CRect bounds;
    for (int i = 0; i < 4; ++i) {
        const CPoint p = view->DocToLogical(c[i]);
        lp[i] = p;
        if (i == 0) {
            bounds = CRect(p.x, p.y, p.x, p.y);
        } else {
            bounds.left = std::min(bounds.left, p.x), bounds.right = std::max(bounds.right, p.x);
            bounds.top = std::min(bounds.top, p.y), bounds.bottom = std::max(bounds.bottom, p.y);
        }
    }
    ++bounds.right, ++bounds.bottom;  // the last pixel column and row belong to the box
    // Only the visible part of the box needs a bitmap; at deep zoom the whole box would be huge.
    CRect clip;
    dc->GetClipBox(&clip);
    CRect area;
    int width = 0, height = 0;
    GetScreenFontSize(view, &width, &height);
    if (area.IntersectRect(bounds, clip) && area.Width() <= kMaxTrackingSide &&
        area.Height() <= kMaxTrackingSide) {
        CDC memory;
        CBitmap bitmap;
        if (memory.CreateCompatibleDC(dc) && bitmap.CreateCompatibleBitmap(dc, area.Width(), area.Height())) {
            CSelectScope selectBitmap(&memory, &bitmap);
            memory.SetWindowOrg(area.left, area.top);
            memory.PatBlt(area.left, area.top, area.Width(), area.Height(), BLACKNESS);
            memory.SetTextColor(dc->GetCurrentLogPen().lopnColor);
            memory.SetBkColor(0);
            CFont font;
            if (CreateDrawingFont(font, width, height)) {
                CSelectScope selectFont(&memory, &font);
                DrawTrackingText(view, &memory);
            }
            dc->BitBlt(area.left, area.top, area.Width(), area.Height(), &memory, area.left, area.top,
                       SRCINVERT);
        }
    }
    dc->Polygon(lp, 4);
}

void MTextShape::DrawTrackingText(MCadView* view, CDC* dc) {
    const CPoint p = view->DocToLogical(GetRotatedOrigin());
    CRect r(p.x, p.y, p.x, p.y);
    dc->DrawText(m_string, &r, DT_NOCLIP);
}

void MTextShape::DrawHighlight(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    DrawBoxHighlight(view, dc);
    InScreenFont(view, dc, 0, [&] { DrawTrackingText(view, dc); });
}

void MTextShape::DrawGrayed(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    DrawBoxGrayed(view, dc);
    InScreenFont(view, dc, GetSysColor(COLOR_GRAYTEXT), [&] { DrawTrackingText(view, dc); });
}

void MTextShape::ScaleBy(const MShapeScale& scale) {
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    m_point = ScaledAbout(m_point, scale.centre, sx, sy);
    if (!scale.all) {
        m_textHeight *= std::fabs(sy);
        if (!scale.uniform) m_charWidth *= std::fabs(sx);
    }
    m_extent.Scale(scale.centre, sx, sy);
    m_extent.Normalize();
}

double MTextShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                              int kinds, double best) {
    if (!(kinds & kSnapEndPoint)) return best;
    MFloatPoint c[4];
    GetBoxCorners(c);
    for (const MFloatPoint& p : c)
        best = OfferSnapCandidate(snap, cursor, aperture, p, kSnapEndPoint, best, this);
    return best;
}

int MTextShape::GetCapabilities() const {
    return kShapeCanRotate | kShapeCanReshape;
}
short MTextShape::GetTypeId() const {
    return kShapeText;
}
MCadShape* MTextShape::CreateNew() const {
    return new MTextShape;
}

void MTextShape::WriteText(CDocument*, std::ostream& os) const {
    // The file holds the string in code page 932, a character without a form there as '?'. The box
    // written is that of the string a reader gets back, which it measures again: otherwise every
    // save after an opening would write another width.
    std::size_t replaced = 0;
    const std::string written = Utf8ToCp932(m_string, &replaced);
    if (replaced == 0) {
        WriteBaseText(os, nullptr);
    } else {
        const SIZE measured = MeasureString(Cp932ToUtf8(written));
        const double box[2] = {measured.cx / 100.0 * m_textHeight, -(measured.cy / 100.0) * m_textHeight};
        WriteBaseText(os, nullptr, box);
    }
    WriteTextLines(os, m_string);
}

void MTextShape::ReadText(CDocument*, std::istream& is) {
    ReadBaseText(is, nullptr);
    if (is.fail()) return;
    ReadTextLines(is, m_string);
}

std::uint64_t MTextShape::MeasureKey() const {
    // The measuring font follows from these fields alone (FillLogFont): building it, with its face
    // name cut to the face field, costs more than the digest. A shared name's face is kept once
    // for the run, so its address stands for it.
    Digest d;
    d.AddValue(&m_fontName.Face(IsVertical()));
    d.AddValue(m_textFlags);
    d.AddValue(GetEffectiveAngle());
    d.AddValue(MeasureWidth(m_charWidth, m_textHeight));
    d.AddString(m_string);
    return d.Value();
}

SIZE MTextShape::MeasureString(const CString& text) const {
    LOGFONT lf;
    FillLogFont(lf);
    lf.lfHeight = 100;
    lf.lfWidth = MeasureWidth(m_charWidth, m_textHeight);
    // The screen's context would measure the same; making one per text cost more than the measure.
    return CDC::MeasureTextExtent(lf, text);
}

void MTextShape::MeasureText(MCadView*) {
    const std::uint64_t key = MeasureKey();
    if (key != m_measuredKey || key == 0) {
        m_measured = MeasureString(m_string);
        m_measuredKey = key;
    }
    m_boxWidth = m_measured.cx / 100.0 * m_textHeight;
    m_boxHeight = -(m_measured.cy / 100.0) * m_textHeight;
}
