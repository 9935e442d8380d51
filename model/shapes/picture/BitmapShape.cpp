#include "model/shapes/picture/BitmapShape.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>

#include "model/CadView.h"
#include "model/Dib.h"
#include "model/PaperInfo.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/containers/RectPicking.h"
#include "platform/Archive.h"
#include "platform/gdi/DC.h"

IMPLEMENT_SERIAL(MBitmapShape, MCadShape, 1)

MBitmapShape::MBitmapShape() = default;
MBitmapShape::~MBitmapShape() = default;

BOOL MBitmapShape::HasImage() const {
    return m_image && !m_image->IsEmpty();
}

void MBitmapShape::SetImage(std::unique_ptr<MDib> image) {
    m_image = std::move(image);
}

MFloatRect MBitmapShape::GetRect() const {
    MFloatRect r(m_origin, m_size);
    r.Normalize();
    return r;
}

void MBitmapShape::TakeRect(MFloatRect rect) {
    rect.Normalize();
    m_origin = rect.BottomLeft();
    m_size = {rect.right - rect.left, rect.top - rect.bottom};
    m_extent = rect;
}

void MBitmapShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_origin << m_size;
        ar.WriteObject(m_image.get());
        return;
    }
    ar >> m_origin >> m_size;
    m_image.reset();
    m_image.reset(static_cast<MDib*>(ar.ReadOwnedObject(RUNTIME_CLASS(MDib))));
}

void MBitmapShape::SetRect(double left, double top, double right, double bottom) {
    m_origin = {left, bottom};
    m_size = {right - left, top - bottom};
    m_extent = GetRect();
}

BOOL MBitmapShape::SetDib(const void* packedDib, std::size_t bytes, double scale) {
    m_image = std::make_unique<MDib>();
    if (!m_image->Attach(packedDib, bytes)) {
        m_image.reset();
        return FALSE;
    }
    const BITMAPINFOHEADER* h = m_image->GetHeader();
    double resX = h->biXPelsPerMeter, resY = h->biYPelsPerMeter;
    if (resX <= 0 || resY <= 0) {
        CDC screen;
        screen.CreateCompatibleDC(nullptr);
        resX = screen.GetDeviceCaps(LOGPIXELSX) * 1000 / 25.4;
        resY = screen.GetDeviceCaps(LOGPIXELSY) * 1000 / 25.4;
    }
    // Every size below divides by the scale; a scale that is not a positive number counts as 1.
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1.0;
    const SIZE pixels = m_image->GetSize();
    m_size = {std::abs(pixels.cx) / (resX * scale) * 1000, std::abs(pixels.cy) / (resY * scale) * 1000};
    m_extent = GetRect();
    return TRUE;
}

BOOL MBitmapShape::SetBitmap(const CBitmap* bitmap, MCadView*) {
    m_image.reset();
    BITMAP info;
    if (!bitmap || !bitmap->GetBitmap(&info) || info.bmWidth <= 0 || info.bmHeight <= 0) return FALSE;
    const int width = info.bmWidth, height = info.bmHeight;
    const bool mono = bitmap->IsMonochrome() != FALSE;
    auto image = std::make_unique<MDib>(width, height, mono ? 1 : 32);
    if (mono) {
        image->SetColorEntry(0, 0x000000);
        image->SetColorEntry(1, 0xFFFFFF);
    }
    if (!image->CreateSection(nullptr)) return FALSE;
    const std::size_t stride = MDib::StrideOf(*image->GetHeader());
    BYTE* bits = image->GetBits();
    // Bottom-up rows: row 0 of the image is the bitmap's last line.
    for (int y = 0; y < height; ++y) {
        BYTE* row = bits + static_cast<std::size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = bitmap->GetPixel(x, y);
            if (mono) {
                if (c & 0xFFFFFF) row[x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
            } else {
                row[x * 4 + 0] = GetBValue(c);
                row[x * 4 + 1] = GetGValue(c);
                row[x * 4 + 2] = GetRValue(c);
                row[x * 4 + 3] = 0;
            }
        }
    }
    image->CreatePalette();
    m_image = std::move(image);
    return TRUE;
}

void MBitmapShape::SetDefaultSize(MCadView* view) {
    if (!view || !m_image) return;
    const SIZE pixels = m_image->GetSize();
    const MFloatRect paperRect =
        view->DocToPaperRect(view->LogicalToDocRect(CRect(0, 0, std::abs(pixels.cx), std::abs(pixels.cy))));
    const double w = std::fabs(paperRect.right - paperRect.left);
    const double h = std::fabs(paperRect.top - paperRect.bottom);
    double fx = 1.0, fy = 1.0;
    if (const MPaperInfo* paper = view->GetPaperInfo()) {
        const MFloatSize sheet = paper->GetSize();
        if (w > sheet.cx / 2) fx = 0.5 * sheet.cx / w;
        if (h > sheet.cy / 2) fy = 0.5 * sheet.cy / h;
    }
    // The smaller factor keeps the picture within half the sheet on both axes.
    const double f = std::min(fx, fy);
    m_size = {view->PaperToDocLength(f * w), view->PaperToDocLength(f * h)};
    m_extent = GetRect();
}

void MBitmapShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    switch (mode) {
        case MDrawMode::kNormal:
            return DrawNormal(view, dc);
        case MDrawMode::kTracking:
            return DrawTracking(view, dc);
        case MDrawMode::kGrayed:
            return DrawGrayed(view, dc);
        default:
            return MCadShape::Render(view, dc, mode);
    }
}

void MBitmapShape::DrawNormal(MCadView* view, CDC* dc) {
    if (!view || !dc || !HasImage() || !dc->HasAttribDC()) return;
    CRect r = view->DocToLogicalRect(m_extent);
    r.NormalizeRect();
    // An empty rectangle has no pixels to stretch onto (and would divide by zero below).
    if (r.Width() <= 0 || r.Height() <= 0) return;
    if (!dc->RectVisible(&r)) return;
    const SIZE pixels = m_image->GetSize();
    const double rx = static_cast<double>(pixels.cx) / r.Width();
    const double ry = static_cast<double>(std::abs(pixels.cy)) / r.Height();

    const int oldMode = dc->SetStretchBltMode(GetOptionRecord().m_bmpHalftone ? BLACKONWHITE : COLORONCOLOR);
    CRect clip;
    dc->GetClipBox(&clip);
    CRect v;
    if (v.IntersectRect(clip, r)) {
        const int sx = static_cast<int>((v.left - r.left) * rx);
        const int sy = static_cast<int>((r.bottom - v.bottom) * ry);
        const int sw = static_cast<int>(v.Width() * rx);
        const int sh = static_cast<int>(v.Height() * ry);
        m_image->RealizePalette(dc, FALSE);
        m_image->StretchDraw(dc, sx, sy, sw, sh, v.left, v.top, v.Width(), v.Height());
    }
    dc->SetStretchBltMode(oldMode);
}

void MBitmapShape::DrawIfVisible(MCadView* view, CDC* dc) {
    if (!view || !dc || !dc->HasAttribDC()) return;
    CRect r = view->DocToLogicalRect(m_extent);
    r.NormalizeRect();
    if (!dc->RectVisible(&r)) return;
    Draw(view, dc);
}

void MBitmapShape::DrawTracking(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    const CRect r = view->DocToLogicalRect(m_extent);
    dc->Rectangle(&r);
}

void MBitmapShape::DrawGrayed(MCadView* view, CDC* dc) {
    if (!view || !dc || !HasImage()) return;
    DrawGrayedRect(view, dc, GetRect());
}

void MBitmapShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& c = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    MFloatRect r(m_origin, m_size);
    r.Scale(c, sx, sy);
    TakeRect(r);
}

void MBitmapShape::Move(const MFloatPoint& offset) {
    m_origin += offset;
}

double MBitmapShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                int kinds, double best) {
    return SnapRectPoints(snap, cursor, aperture, kinds, best, GetRect(), this);
}

BOOL MBitmapShape::HitTestPixel(MCadView* view, const CPoint& point, int tolerance) {
    return view && PickSquareMeets(view, point, tolerance, GetExtentPickRect(view, m_extent));
}

BOOL MBitmapShape::IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) {
    if (!view) return FALSE;
    CRect overlap;
    return overlap.IntersectRect(GetExtentPickRect(view, m_extent), rect);
}

BOOL MBitmapShape::IntersectsRectPixel(MCadView*, const CRect&, const MFloatRect& area) {
    return m_extent.Overlaps(area);
}

MCadShape* MBitmapShape::Duplicate() const {
    auto copy = std::make_unique<MBitmapShape>();
    if (m_image) copy->m_image = m_image->Clone();
    copy->m_origin = m_origin;
    copy->m_size = m_size;
    copy->CopyExtentsFrom(*this);
    return copy.release();
}

void MBitmapShape::Recalc(MCadView* view) {
    if (HasImage()) m_image->CreatePalette();
    m_extent = GetRect();
    UpdateDrawExtent(view);
}

void MBitmapShape::FreeCache(MCadView*) {
    if (HasImage()) m_image->DeletePalette();
}

void MBitmapShape::MirrorX(double x, double) {
    if (HasImage())
        if (std::unique_ptr<MDib> mirrored = m_image->CreateMirroredX()) m_image = std::move(mirrored);
    const MFloatRect r = GetRect();
    TakeRect(MFloatRect(2 * x - r.right, r.bottom, 2 * x - r.left, r.top));
}

void MBitmapShape::MirrorY(double, double y) {
    if (HasImage())
        if (std::unique_ptr<MDib> mirrored = m_image->CreateMirroredY()) m_image = std::move(mirrored);
    const MFloatRect r = GetRect();
    TakeRect(MFloatRect(r.left, 2 * y - r.top, r.right, 2 * y - r.bottom));
}

void MBitmapShape::Rotate(double cx, double cy, double angle) {
    if (HasImage())
        if (std::unique_ptr<MDib> turned = m_image->CreateRotated(angle, kRotationBackground))
            m_image = std::move(turned);
    MFloatRect r = GetRect();
    r.RotateBounds({cx, cy}, angle);
    TakeRect(r);
}

int MBitmapShape::GetCapabilities() const {
    return kShapeCanEdit;
}

short MBitmapShape::GetTypeId() const {
    return kShapeBitmap;
}
MCadShape* MBitmapShape::CreateNew() const {
    return new MBitmapShape;
}

void MBitmapShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_origin << ' ' << m_size << '\n';
    // A shape without a picture writes an empty one, so that its record still reads back.
    if (m_image)
        m_image->WriteText(os);
    else
        MDib().WriteText(os);
}

void MBitmapShape::ReadText(CDocument*, std::istream& is) {
    MFloatPoint origin;
    MFloatSize size;
    is >> origin >> size;
    SkipTextLine(is);
    if (is.fail()) return;
    m_origin = origin;
    m_size = size;
    m_image = std::make_unique<MDib>();
    // A damaged picture is reported by the image itself; the shape keeps its place without it.
    if (!m_image->ReadText(is)) m_image.reset();
}

bool MBitmapShape::HasFiniteValues() const {
    return IsFinite(m_origin) && AllFinite({m_size.cx, m_size.cy}) && MCadShape::HasFiniteValues();
}
