#include "model/shapes/text/TextShapeBase.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <typeinfo>

#include "model/CadView.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/ArchiveString.h"
#include "model/helpers/TextStream.h"
#include "model/render/PolyFace.h"
#include "model/render/PolyLine.h"
#include "platform/Archive.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "resources/ResourceIds.h"

IMPLEMENT_SERIAL(MTextShapeBase, MCadShape, 1)

namespace {

// Beyond this cell height no glyph is legible on any device; drawing it only costs time.
constexpr int kMaxFontPixels = 100000;

}  // namespace

CString GetDefaultTextFace() {
    CString face = AfxLoadString(IDS_DEFAULT_FONT);
    return face.empty() ? CString("ＭＳ ゴシック") : face;
}

MTextShapeBase::MTextShapeBase() : m_fill(kNoColor) {}
MTextShapeBase::~MTextShapeBase() = default;

void MTextShapeBase::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_point << m_boxWidth << m_boxHeight;
        WriteArchiveString(ar, m_fontName.Name());
        ar << m_textHeight << m_charWidth << m_angle << static_cast<std::int32_t>(m_textFlags)
           << static_cast<std::int32_t>(m_alignment) << static_cast<DWORD>(m_textColor) << m_stroke << m_fill;
    } else {
        std::int32_t flags = 0, alignment = 0;
        DWORD textColor = 0;
        ar >> m_point >> m_boxWidth >> m_boxHeight;
        CString fontName = m_fontName.Name();
        ReadArchiveString(ar, fontName);
        m_fontName = MTextFontName(fontName);
        ar >> m_textHeight >> m_charWidth >> m_angle >> flags >> alignment >> textColor >> m_stroke >> m_fill;
        m_textFlags = flags;
        m_alignment = alignment;
        m_textColor = textColor;
    }
}

void MTextShapeBase::CopyStoredFrom(const MTextShapeBase& other) {
    m_point = other.m_point;
    m_boxWidth = other.m_boxWidth;
    m_boxHeight = other.m_boxHeight;
    const std::string name = Utf8ArchiveCopy(other.m_fontName.Name());
    m_fontName = name == other.m_fontName.Name() ? other.m_fontName : MTextFontName(name);
    m_textHeight = other.m_textHeight;
    m_charWidth = other.m_charWidth;
    m_angle = other.m_angle;
    m_textFlags = other.m_textFlags;
    m_alignment = other.m_alignment;
    m_textColor = other.m_textColor;
    m_stroke = other.m_stroke;
    // Loading clears the record first and takes one only with colours.
    m_fill.Clear();
    if (!other.m_fill.IsNone()) m_fill = other.m_fill;
}

MFloatPoint MTextShapeBase::GetCenter() const {
    return m_point;
}
void MTextShapeBase::Move(const MFloatPoint& offset) {
    m_point += offset;
}
BOOL MTextShapeBase::IsValid() const {
    return m_textHeight > 0.0 ? TRUE : FALSE;
}

bool MTextShapeBase::HasFiniteValues() const {
    return IsFinite(m_point) && AllFinite({m_boxWidth, m_boxHeight, m_textHeight, m_charWidth, m_angle}) &&
           MCadShape::HasFiniteValues();
}

void MTextShapeBase::UpdateExtentFromBox() {
    MFloatPoint c[4];
    GetBoxCorners(c);
    m_extent.SetFromPoints(c[0], c[1], c[2], c[3]);
    m_extent.Normalize();
}

void MTextShapeBase::Recalc(MCadView* view) {
    MeasureText(view);
    UpdateExtentFromBox();
    UpdateDrawExtent(view);
}

void MTextShapeBase::SetFillStyle(const MFillStyle& fill) {
    m_fill = fill;
}
MFillStyle MTextShapeBase::GetFillStyle() const {
    return m_fill;
}
const MStroke* MTextShapeBase::GetStroke() const {
    return &m_stroke;
}
void MTextShapeBase::ChangeStroke(const MStrokeChange& change) {
    MCadShape::ChangeStroke(change);
    if ((change.fields & kStrokeStyle) && m_stroke.IsAuxiliary()) m_textColor = kAuxiliaryColor;
}
MTextPresence MTextShapeBase::GetTextStyle(MTextStyle* style) const {
    if (style) *style = {m_fontName, m_textHeight, m_textColor, m_textFlags, m_alignment};
    return MTextPresence::kIsText;
}
void MTextShapeBase::ChangeTextStyle(const MTextStyleChange& change) {
    MTextStyle style = TextStyle();
    change.ApplyTo(style);
    m_fontName = style.fontName;
    m_textHeight = style.size;
    m_textColor = style.color;
    m_textFlags = style.flags;
}

void MTextShapeBase::Rotate(double cx, double cy, double angle) {
    m_point.RotateAbout(MFloatPoint(cx, cy), angle);
    m_angle = NormalizeAngle(m_angle + angle);
}

int MTextShapeBase::GetCapabilities() const {
    return kShapeCanRotate;
}

void MTextShapeBase::MeasureText(MCadView*) {}

void MTextShapeBase::MoveTo(MCadView* view, const MFloatPoint& point) {
    MeasureText(view);
    m_point = point;
}

MFloatPoint MTextShapeBase::GetTextOrigin() const {
    MFloatRect r(m_point, m_point - MFloatPoint(m_boxWidth, m_boxHeight));
    r.Normalize();
    const int horizontal = m_alignment & 3;
    const int vertical = m_alignment & 0xC;
    const double midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    MFloatPoint o;
    if (!IsVertical()) {
        o.x = horizontal == kAlignCentre ? midX : horizontal == kAlignRight ? r.left : r.right;
        o.y = vertical == kAlignMiddle ? midY : vertical == kAlignBottom ? r.top : r.bottom;
    } else {
        // Vertical writing turns the box by -pi/2: across the writing is now the y axis.
        o.y = horizontal == kAlignCentre ? midY : horizontal == kAlignRight ? r.bottom : r.top;
        o.x = vertical == kAlignMiddle ? midX : vertical == kAlignBottom ? r.left : r.right;
    }
    return o;
}

MFloatPoint MTextShapeBase::GetAlignmentPoint(const MFloatRect& box) const {
    MFloatRect b = box;
    b.Normalize();
    const int horizontal = m_alignment & 3;
    const int vertical = m_alignment & 0xC;
    const double midX = (b.left + b.right) / 2, midY = (b.top + b.bottom) / 2;
    if (!IsVertical())
        return {horizontal == kAlignCentre  ? midX
                : horizontal == kAlignRight ? b.right
                                            : b.left,
                vertical == kAlignMiddle   ? midY
                : vertical == kAlignBottom ? b.bottom
                                           : b.top};
    return {vertical == kAlignMiddle   ? midX
            : vertical == kAlignBottom ? b.right
                                       : b.left,
            horizontal == kAlignCentre  ? midY
            : horizontal == kAlignRight ? b.top
                                        : b.bottom};
}

double MTextShapeBase::GetEffectiveAngle() const {
    return NormalizeAngle(IsVertical() ? m_angle - kPi / 2 : m_angle);
}

MFloatPoint MTextShapeBase::GetRotatedOrigin() const {
    return GetTextOrigin().GetRotatedAbout(m_point, GetEffectiveAngle());
}

void MTextShapeBase::GetBoxCorners(MFloatPoint corners[4]) const {
    const MFloatPoint o = GetTextOrigin();
    const double w = m_boxWidth, h = m_boxHeight;
    const double a = GetEffectiveAngle();
    corners[0] = MFloatPoint(o.x, o.y + h).GetRotatedAbout(m_point, a);
    corners[1] = MFloatPoint(o.x + w, o.y + h).GetRotatedAbout(m_point, a);
    corners[2] = MFloatPoint(o.x + w, o.y).GetRotatedAbout(m_point, a);
    corners[3] = o.GetRotatedAbout(m_point, a);
}

CString MTextShapeBase::GetFaceName() const {
    return m_fontName.Face(IsVertical());
}

void MTextShapeBase::FillLogFont(LOGFONT& font) const {
    font = LOGFONT();
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfWeight = (m_textFlags & kTextBold) ? FW_BOLD : 0;
    font.lfItalic = (m_textFlags & kTextItalic) ? 1 : 0;
    font.lfUnderline = (m_textFlags & kTextUnderline) ? 1 : 0;
    font.lfStrikeOut = (m_textFlags & kTextStrikeOut) ? 1 : 0;
    font.lfFaceName = m_fontName.Face(IsVertical());
    const LONG tenths = static_cast<LONG>(GetEffectiveAngle() / kPi * 1800);
    font.lfEscapement = font.lfOrientation = tenths;
}

BOOL MTextShapeBase::CreateDrawingFont(CFont& font, int width, int height) const {
    if (height <= 0 || height > kMaxFontPixels) return FALSE;
    LOGFONT lf;
    FillLogFont(lf);
    lf.lfHeight = height;
    lf.lfWidth = std::clamp(width, -kMaxFontPixels, kMaxFontPixels);
    return font.CreateFontIndirect(&lf) ? TRUE : FALSE;
}

void MTextShapeBase::DrawBox(MCadView* view, CDC* dc) {
    MFloatPoint c[4];
    GetBoxCorners(c);
    if (!m_fill.IsNone()) {
        MFillStyle fill;
        MapFillForMono(fill, dc, m_fill);
        GetPolyFaceRenderer().DrawFill(view, dc, c, 4, m_extent, fill);
    }
    if (!HasFrame() || (m_stroke.color >= kNoColor && !m_stroke.IsAuxiliary())) return;
    const COLORREF color = MapColorForMono(dc, m_stroke.color);
    CPen pen(PS_SOLID, 1, color);
    CBrush brush(color);
    CSelectScope selectPen(dc, &pen);
    CSelectScope selectBrush(dc, m_stroke.width != 0.0 ? &brush : nullptr);
    GetPolyLineRenderer().Draw(view, dc, c, 4, m_stroke.width, m_stroke.style, TRUE);
}

void MTextShapeBase::DrawBoxHighlight(MCadView* view, CDC* dc) {
    MFloatPoint c[4];
    GetBoxCorners(c);
    if (!m_fill.IsNone()) {
        CSelectScope selectBrush(dc, BLACK_BRUSH);
        CSelectScope selectPen(dc, NULL_PEN);
        GetPolyFaceRenderer().Draw(view, dc, c, 4);
    }
    if (!HasFrame()) return;
    CSelectScope selectPen(dc, BLACK_PEN);
    CSelectScope selectBrush(dc, m_stroke.width != 0.0 ? GetStockObject(BLACK_BRUSH) : nullptr);
    GetPolyLineRenderer().Draw(view, dc, c, 4, m_stroke.width, m_stroke.style, TRUE);
}

void MTextShapeBase::DrawBoxGrayed(MCadView* view, CDC* dc) {
    if (!HasFrame()) return;
    MFloatPoint c[4];
    GetBoxCorners(c);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    CPen pen(PS_SOLID, 1, grey);
    CBrush brush(grey);
    CSelectScope selectPen(dc, &pen);
    CSelectScope selectBrush(dc, m_stroke.width != 0.0 ? &brush : nullptr);
    GetPolyLineRenderer().Draw(view, dc, c, 4, m_stroke.width, m_stroke.style, TRUE);
}

void MTextShapeBase::WriteBaseText(std::ostream& os, const int* layoutFlags, const double* box) const {
    os << '\t' << m_point.x << ' ' << m_point.y << ' ' << (box ? box[0] : m_boxWidth) << ' '
       << (box ? box[1] : m_boxHeight) << ' ' << m_textHeight << ' ' << m_charWidth << ' ' << m_angle << ' '
       << m_textFlags << ' ' << m_alignment << ' ' << static_cast<unsigned long>(m_textColor) << ' ';
    if (layoutFlags) os << *layoutFlags << ' ';
    WriteStrokeText(os, m_stroke);
    os << ' ';
    WriteFillStyleText(os, m_fill);
    os << '\n';
    CString face = m_fontName.Name();
    std::replace(face.begin(), face.end(), '\n', ' ');
    std::replace(face.begin(), face.end(), '\r', ' ');
    os << '\t' << face << '\n';
}

void MTextShapeBase::ReadBaseText(std::istream& is, int* layoutFlags) {
    MFloatPoint point;
    double boxWidth = 0, boxHeight = 0, textHeight = 0, charWidth = 0, angle = 0;
    int flags = 0, alignment = 0, layout = 0;
    unsigned long textColor = 0;
    is >> point.x >> point.y >> boxWidth >> boxHeight >> textHeight >> charWidth >> angle >> flags >>
        alignment >> textColor;
    if (layoutFlags) is >> layout;
    if (is.fail()) return;
    m_point = point;
    m_boxWidth = boxWidth;
    m_boxHeight = boxHeight;
    m_textHeight = textHeight;
    m_charWidth = charWidth;
    m_angle = angle;
    m_textFlags = flags;
    m_alignment = alignment;
    m_textColor = static_cast<COLORREF>(textColor);
    if (layoutFlags) *layoutFlags = layout;

    // Older files end the line here: the frame values keep what they have.
    std::string rest;
    ReadTextString(is, rest, FALSE);
    if (rest.size() > static_cast<std::size_t>(kMaxTextLine)) rest.resize(kMaxTextLine);
    TextInput line(rest);
    ReadStrokeTextLeniently(line, m_stroke);
    if (line.good()) {
        MFillStyle fill = m_fill;
        line >> std::ws;
        if (!line.eof()) {
            ReadFillStyleText(line, fill);
            if (!line.fail()) m_fill = fill;
        }
    }
    CString fontName = m_fontName.Name();
    ReadTextString(is, fontName, TRUE);
    m_fontName = MTextFontName(fontName);
}
