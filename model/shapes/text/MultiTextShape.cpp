#include "model/shapes/text/MultiTextShape.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <memory>
#include <ostream>
#include <typeinfo>

#include "model/CadView.h"
#include "model/PaperInfo.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/render/PolyFace.h"
#include "model/shapes/ShapeTypes.h"
#include "platform/Archive.h"
#include "platform/Cp932.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"

IMPLEMENT_SERIAL(MMultiTextShape, MTextShape, 1)

namespace {

int HorizontalBits(int flags) {
    const int h = flags & 3;
    return h == 3 ? 0 : h;
}

int VerticalBits(int flags) {
    const int v = flags & 0xC;
    return v == 0xC ? 0 : v;
}

bool IsBlank(const std::string& s) {
    return s.find_first_not_of(" \t\r\n\v\f") == std::string::npos;
}

}  // namespace

MMultiTextShape::MMultiTextShape() = default;
MMultiTextShape::~MMultiTextShape() = default;

void MMultiTextShape::Serialize(CArchive& ar) {
    MTextShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_boxWidth << m_boxHeight << static_cast<std::int32_t>(m_layoutFlags);
    } else {
        std::int32_t flags = 0;
        ar >> m_boxWidth >> m_boxHeight >> flags;
        m_layoutFlags = flags;
    }
}

MCadShape* MMultiTextShape::Duplicate() const {
    // Other kinds store more, and a fill no file can hold makes the stored way fail.
    if (typeid(*this) != typeid(MMultiTextShape) || !m_fill.IsStorable()) return MCadShape::Duplicate();
    auto* copy = new MMultiTextShape;
    copy->CopyFieldsFrom(*this);
    copy->m_layoutFlags = m_layoutFlags;
    copy->CopyExtentsFrom(*this);
    return copy;
}

void MMultiTextShape::SetHorzAlign(int value) {
    m_layoutFlags = (m_layoutFlags & ~3) | (value & 3);
}
void MMultiTextShape::SetVertAlign(int value) {
    m_layoutFlags = (m_layoutFlags & ~0xC) | (value & 0xC);
}
void MMultiTextShape::SetWrap(BOOL wrap) {
    m_layoutFlags = wrap ? (m_layoutFlags | kLayoutWrap) : (m_layoutFlags & ~kLayoutWrap);
}
BOOL MMultiTextShape::IsWrap() const {
    return (m_layoutFlags & kLayoutWrap) != 0;
}
MTextPresence MMultiTextShape::GetTextStyle(MTextStyle* style) const {
    const MTextPresence presence = MTextShape::GetTextStyle(style);
    if (style) style->alignment = m_layoutFlags & 0xF;
    return presence;
}

MFloatRect MMultiTextShape::GetBoxRect() const {
    const MFloatPoint o = GetTextOrigin();
    MFloatRect r(o, o + MFloatPoint(m_boxWidth, m_boxHeight));
    r.Normalize();
    return r;
}

int MMultiTextShape::GetHandleCount() const {
    return 8;
}

MFloatPoint MMultiTextShape::GetHandle(int index) const {
    const MFloatRect r = GetBoxRect();
    const double midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    MFloatPoint p;
    switch (index) {
        case 0:
            p = {r.right, r.top};
            break;
        case 1:
            p = {r.right, r.bottom};
            break;
        case 2:
            p = {r.left, r.bottom};
            break;
        case 3:
            p = {r.left, r.top};
            break;
        case 4:
            p = {r.right, midY};
            break;
        case 5:
            p = {midX, r.bottom};
            break;
        case 6:
            p = {r.left, midY};
            break;
        default:
            p = {midX, r.top};
            break;
    }
    return p.GetRotatedAbout(m_point, GetEffectiveAngle());
}

void MMultiTextShape::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect) {
    if (!index || *index < 0 || *index > 7) return;
    MFloatRect r = rect ? *rect : GetBoxRect();
    r.Normalize();
    const double angle = GetEffectiveAngle();
    const MFloatPoint t = to.GetRotatedAbout(m_point, -angle);
    const double width = r.right - r.left, height = r.top - r.bottom;
    const double midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    double left = r.left, right = r.right, top = r.top, bottom = r.bottom;
    double sx = 1.0, sy = 1.0;
    auto moveRight = [&] {
        if (width != 0.0) sx = (t.x - r.left) / width;
        right = t.x;
    };
    auto moveLeft = [&] {
        if (width != 0.0) sx = (r.right - t.x) / width;
        left = t.x;
    };
    auto moveTop = [&] {
        if (height != 0.0) sy = (t.y - r.bottom) / height;
        top = t.y;
    };
    auto moveBottom = [&] {
        if (height != 0.0) sy = (r.top - t.y) / height;
        bottom = t.y;
    };
    MFloatPoint fixed;
    bool sideX = false, sideY = false;  // a side handle moves only one edge
    switch (*index) {
        case 0:
            fixed = {r.left, r.bottom}, moveRight(), moveTop();
            break;
        case 1:
            fixed = {r.left, r.top}, moveRight(), moveBottom();
            break;
        case 2:
            fixed = {r.right, r.top}, moveLeft(), moveBottom();
            break;
        case 3:
            fixed = {r.right, r.bottom}, moveLeft(), moveTop();
            break;
        case 4:
            fixed = {r.left, midY}, moveRight(), sideX = true;
            break;
        case 5:
            fixed = {midX, r.top}, moveBottom(), sideY = true;
            break;
        case 6:
            fixed = {r.right, midY}, moveLeft(), sideX = true;
            break;
        default:
            fixed = {midX, r.bottom}, moveTop(), sideY = true;
            break;
    }
    const double newWidth = right - left, newHeight = top - bottom;
    if (newWidth != 0.0 && newHeight != 0.0) {
        if (keepRatio) {
            const double w = sideY ? 0.0 : std::fabs(newWidth);
            const double h = sideX ? 0.0 : std::fabs(newHeight);
            if (w < h)
                sx = sy;
            else
                sy = sx;
        }
        // The box scaled about the fixed point. A negative factor turns it over; it is then kept
        // the usual way round and placed by its alignment where the pointer put it.
        MFloatRect moved(fixed + MFloatPoint((r.left - fixed.x) * sx, (r.bottom - fixed.y) * sy),
                         fixed + MFloatPoint((r.right - fixed.x) * sx, (r.top - fixed.y) * sy));
        moved.Normalize();
        if (rect) *rect = moved;
        m_boxWidth = moved.GetWidth();
        m_boxHeight = -moved.GetHeight();
        m_point = m_point + (GetAlignmentPoint(moved) - m_point).GetRotated(angle);
        UpdateExtentFromBox();
    }
    static const int kSwapX[8] = {3, 2, 1, 0, 6, 5, 4, 7};
    static const int kSwapY[8] = {1, 0, 3, 2, 4, 7, 6, 5};
    if (sx < 0) *index = kSwapX[*index];
    if (sy < 0) *index = kSwapY[*index];
}

void MMultiTextShape::GetScreenFontSize(MCadView* view, int* width, int* height) const {
    *width = 0;
    *height = std::abs(static_cast<int>(view->DocToLogicalSize(0.0, m_textHeight).cy));
}

std::vector<std::string> MMultiTextShape::SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            if (start < text.size()) lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string MMultiTextShape::WrapString(CDC* dc, const std::string& text, int maxExtent) {
    std::string result;
    std::size_t start = 0;
    bool firstLine = true;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        const std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!firstLine) result += '\n';
        firstLine = false;
        std::size_t pos = 0;
        bool firstChunk = true;
        while (pos < line.size()) {
            // No chunk holds more characters than the extent has pixels (each advances at least
            // one), so measuring that much keeps long lines linear.
            const std::size_t limit = (static_cast<std::size_t>(std::max(maxExtent, 0)) + 1) * 4;
            std::size_t take = std::min(line.size() - pos, limit);
            while (pos + take < line.size() && take > 0 &&
                   (static_cast<unsigned char>(line[pos + take]) & 0xC0) == 0x80)
                --take;
            const std::string rest = line.substr(pos, take);
            int fit = 0;
            dc->GetTextExtentExPoint(rest, maxExtent, &fit, nullptr);
            // The count is in code page 932 bytes; cut there without splitting a character, and
            // take at least one character so that the wrapping always advances.
            std::string chunk = Cp932Cut(rest, static_cast<std::size_t>(std::max(fit, 0)));
            if (chunk.empty())
                chunk = rest.substr(
                    0, std::min(Utf8SequenceLength(static_cast<unsigned char>(rest[0])), rest.size()));
            if (!firstChunk) result += '\n';
            firstChunk = false;
            result += chunk;
            pos += chunk.size();
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return result;
}

void MMultiTextShape::DrawLines(MCadView* view, CDC* dc) {
    std::string text = m_string;
    TEXTMETRIC tm;
    dc->GetTextMetrics(&tm);
    const double pitch = std::fabs(view->LogicalToDocSize(CSize(0, tm.tmHeight)).y);
    const MFloatRect box = GetBoxRect();
    const int horizontal = HorizontalBits(m_layoutFlags);
    const int vertical = VerticalBits(m_layoutFlags);
    UINT align = TA_LEFT;
    double x = box.left;
    if (horizontal == kAlignCentre) {
        x = (box.left + box.right) / 2;
        align = TA_CENTER;
    } else if (horizontal == kAlignRight) {
        x = box.right;
        align = TA_RIGHT;
    }
    if (m_layoutFlags & kLayoutWrap) {
        const int boxPixels = std::abs(static_cast<int>(view->DocToLogicalSize(m_boxWidth, m_boxHeight).cx));
        if (boxPixels > 1) text = WrapString(dc, text, boxPixels);
    }
    std::vector<std::string> lines = SplitLines(text);
    const double n = static_cast<double>(lines.size());
    double y = box.top;
    const bool bottom = vertical == kAlignBottom;
    if (vertical == kAlignMiddle) {
        y = box.top + (n * pitch - (box.top - box.bottom)) / 2;
    } else if (bottom) {
        y = box.bottom;
        align |= TA_BOTTOM;
        std::reverse(lines.begin(), lines.end());
    }
    const int saved = dc->SaveDC();
    dc->SetTextAlign(align);
    const double angle = GetEffectiveAngle();
    MFloatPoint step = MFloatPoint(std::cos(angle - kPi / 2), std::sin(angle - kPi / 2)) * pitch;
    if (bottom) step = -step;
    MFloatPoint anchor = MFloatPoint(x, y).GetRotatedAbout(m_point, angle);

    const MFloatPoint corners[4] = {
        {box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
    POINT device[4];
    for (int i = 0; i < 4; ++i)
        device[i] = view->DocToDevice(dc, corners[i].GetRotatedAbout(m_point, angle));
    CRgn region;
    if (region.CreatePolygonRgn(device, 4, WINDING)) dc->SelectClipRgn(&region, RGN_AND);
    for (const std::string& line : lines) {
        const CPoint p = view->DocToLogical(anchor);
        dc->ExtTextOut(p.x, p.y, 0, nullptr, line);
        anchor += step;
    }
    dc->RestoreDC(saved);
}

void MMultiTextShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    switch (mode) {
        case MDrawMode::kNormal:
            return DrawNormal(view, dc);
        case MDrawMode::kHighlight:
            return DrawHighlight(view, dc);
        case MDrawMode::kGrayed:
            return DrawGrayed(view, dc);
        default:
            return MTextShape::Render(view, dc, mode);
    }
}

void MMultiTextShape::DrawNormal(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    DrawBox(view, dc);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    if (m_textColor != kNoColor)
        InScreenFont(view, dc, MapTextColorForMono(dc, m_textColor), [&] { DrawLines(view, dc); });
    dc->SetBkMode(oldMode);
}

void MMultiTextShape::DrawTrackingText(MCadView* view, CDC* dc) {
    DrawLines(view, dc);
}

void MMultiTextShape::DrawHighlight(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    DrawBoxHighlight(view, dc);
    if (IsBlank(m_string)) {
        // Nothing to hit but the box: all of it counts, wherever alignment and angle put it.
        MFloatPoint c[4];
        GetBoxCorners(c);
        CSelectScope selectBrush(dc, BLACK_BRUSH);
        CSelectScope selectPen(dc, BLACK_PEN);
        GetPolyFaceRenderer().Draw(view, dc, c, 4);
        return;
    }
    InScreenFont(view, dc, 0, [&] { DrawLines(view, dc); });
}

void MMultiTextShape::DrawGrayed(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    DrawBoxGrayed(view, dc);
    InScreenFont(view, dc, GetSysColor(COLOR_GRAYTEXT), [&] { DrawLines(view, dc); });
}

void MMultiTextShape::ScaleBy(const MShapeScale& scale) {
    if (scale.uniform || scale.all) return MTextShape::ScaleBy(scale);
    const MFloatPoint& centre = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    m_point = {centre.x + (m_point.x - centre.x) * sx, centre.y + (m_point.y - centre.y) * sy};
    m_boxWidth *= sx;
    m_boxHeight *= sy;
    m_extent.Scale(centre, sx, sy);
    m_extent.Normalize();
}

void MMultiTextShape::Recalc(MCadView* view) {
    UpdateExtentFromBox();
    UpdateDrawExtent(view);
}

short MMultiTextShape::GetTypeId() const {
    return kShapeMultiText;
}
MCadShape* MMultiTextShape::CreateNew() const {
    return new MMultiTextShape;
}

void MMultiTextShape::WriteText(CDocument*, std::ostream& os) const {
    WriteBaseText(os, &m_layoutFlags);
    WriteTextLines(os, m_string);
}

void MMultiTextShape::ReadText(CDocument*, std::istream& is) {
    ReadBaseText(is, &m_layoutFlags);
    if (is.fail()) return;
    ReadTextLines(is, m_string);
}

void MMultiTextShape::MeasureText(MCadView* view) {
    MCadView fallback;
    MCadView* v = view ? view : &fallback;
    std::unique_ptr<CDC> dc = v->GetClientDC();
    if (!dc) dc = std::make_unique<CDC>();
    int width = 0, height = 0;
    GetScreenFontSize(v, &width, &height);
    LOGFONT lf;
    FillLogFont(lf);
    lf.lfHeight = std::clamp(height, 1, 100000);
    CFont font;
    font.CreateFontIndirect(&lf);
    CSelectScope selectFont(dc.get(), &font);

    std::string longest;
    std::size_t longestBytes = 0;
    for (const std::string& line : SplitLines(m_string)) {
        const std::size_t bytes = Cp932Length(line);
        if (bytes > longestBytes) longestBytes = bytes, longest = line;
    }
    CRect r(0, 0, 0, 0);
    dc->DrawText(longest, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    const LONG lineWidth = std::max<LONG>(r.Width(), 24);
    r.right = r.left + lineWidth;
    dc->DrawText(m_string, &r, DT_CALCRECT | DT_NOPREFIX);
    r.right = r.left + std::max<LONG>(r.Width(), lineWidth);
    r.bottom = r.top + std::max<LONG>(r.Height(), 16);

    MFloatRect d = v->LogicalToDocRect(r);
    d.Normalize();
    m_boxWidth = d.GetWidth();
    m_boxHeight = -d.GetHeight();
}

std::vector<MMultiTextShape::ExportLine> MMultiTextShape::GetExportLines(double paperScale,
                                                                         int* alignment) const {
    std::string text = m_string;
    if (m_layoutFlags & kLayoutWrap) {
        // Wrapped as a 96-dpi screen at zoom 1 shows it, so the file holds the lines as drawn.
        MPaperInfo paper;
        paper.SetScale("", paperScale);
        MCadView view(&paper);
        std::unique_ptr<CDC> dc = view.GetClientDC();
        int width = 0, height = 0;
        GetScreenFontSize(&view, &width, &height);
        const int boxPixels = std::abs(static_cast<int>(view.DocToLogicalSize(m_boxWidth, m_boxHeight).cx));
        CFont font;
        if (dc && boxPixels > 1 && CreateDrawingFont(font, width, height)) {
            CSelectScope selectFont(dc.get(), &font);
            text = WrapString(dc.get(), text, boxPixels);
        }
    }
    const MFloatRect box = GetBoxRect();
    const int horizontal = HorizontalBits(m_layoutFlags);
    const int vertical = VerticalBits(m_layoutFlags);
    const bool bottom = vertical == kAlignBottom;
    double x = box.left;
    if (horizontal == kAlignCentre)
        x = (box.left + box.right) / 2;
    else if (horizontal == kAlignRight)
        x = box.right;
    const double pitch = m_textHeight;

    // Each exported line stands at its anchor as the drawn line does: the anchor is its top (its
    // bottom for bottom alignment) at the left, centre or right. A vertical text turns the box,
    // so the roles of its alignment bits cross.
    if (!IsVertical()) {
        *alignment = horizontal | (bottom ? kAlignBottom : 0);
    } else {
        const int across = horizontal == kAlignCentre  ? kAlignMiddle
                           : horizontal == kAlignRight ? kAlignBottom
                                                       : 0;
        *alignment = across | (bottom ? 0 : kAlignRight);
    }

    // Every line feed ends a line (an empty one too); the chunk after the last one only when it
    // holds text.
    std::vector<std::string> lines = SplitLines(text);
    const double n = static_cast<double>(lines.size());
    double y = box.top;
    if (vertical == kAlignMiddle) {
        y = box.top + (n * pitch - (box.top - box.bottom)) / 2;
    } else if (bottom) {
        y = box.bottom;
        std::reverse(lines.begin(), lines.end());
    }
    const double angle = GetEffectiveAngle();
    MFloatPoint step = MFloatPoint(std::cos(angle - kPi / 2), std::sin(angle - kPi / 2)) * pitch;
    if (bottom) step = -step;
    MFloatPoint anchor = MFloatPoint(x, y).GetRotatedAbout(m_point, angle);
    std::vector<ExportLine> out;
    for (std::string& line : lines) {
        out.push_back({std::move(line), anchor});
        anchor += step;
    }
    return out;
}

std::unique_ptr<MTextShape> MMultiTextShape::MakeLineText(const std::string& text, int alignment,
                                                          const MFloatPoint& anchor) const {
    auto line = std::make_unique<MTextShape>();
    line->SetAlignment(alignment);
    line->SetString(text);
    line->SetAngle(GetAngle());
    line->SetTextSize(GetTextSize());
    line->SetFontName(GetFontName());
    line->SetTextFlags(GetTextFlags() & ~kTextFrame);
    line->SetTextColor(GetTextColor());
    line->MoveTo(nullptr, anchor);
    return line;
}
