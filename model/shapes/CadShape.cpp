#include "model/shapes/CadShape.h"

#include <cmath>
#include <ostream>
#include <unordered_map>

#include "model/CadView.h"
#include "model/geometry/Geometry.h"
#include "model/settings/LineStyle.h"
#include "model/shapes/ShapeTypes.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/ProgramState.h"

IMPLEMENT_SERIAL(MCadShape, CObject, 1)

namespace {

// The draw extents given as rectangles to shapes that keep none of their own. Never destroyed:
// shapes that outlive the static objects still look here when they go.
std::unordered_map<const MCadShape*, MFloatRect>& StoredDrawExtents() {
    static auto& table = *new std::unordered_map<const MCadShape*, MFloatRect>;
    return table;
}

// The scratch outlines by shape. A node map: an outline stays where it is while other shapes'
// outlines come and go.
std::unordered_map<const MCadShape*, MFloatPointArray>& ScratchOutlines() {
    static auto& table = *new std::unordered_map<const MCadShape*, MFloatPointArray>;
    return table;
}

void CopyStoredDrawExtent(const MCadShape* from, const MCadShape* to) {
    auto& table = StoredDrawExtents();
    const auto found = table.find(from);
    if (found == table.end()) return;
    const MFloatRect rect = found->second;
    table[to] = rect;
}

}  // namespace

MCadShape::MCadShape() = default;

MCadShape::~MCadShape() {
    if (m_drawGrow < 0.0) DropStoredDrawExtent();
    // Only an empty table is cheap to pass by; a drawing that never asked costs nothing here.
    auto& outlines = ScratchOutlines();
    if (!outlines.empty()) outlines.erase(this);
}

// The copy takes the other's draw extent through the base table only; a class with a field of
// its own copies that field itself.
MCadShape::MCadShape(const MCadShape& other) : CObject(other), m_extent(other.m_extent) {
    if (other.m_drawGrow < 0.0) CopyStoredDrawExtent(&other, this);
    m_drawGrow = other.m_drawGrow;
}

MCadShape& MCadShape::operator=(const MCadShape& other) {
    if (this == &other) return *this;
    m_extent = other.m_extent;
    if (m_drawGrow < 0.0) DropStoredDrawExtent();
    if (other.m_drawGrow < 0.0) CopyStoredDrawExtent(&other, this);
    m_drawGrow = other.m_drawGrow;
    return *this;
}

void MCadShape::DropStoredDrawExtent() {
    auto& table = StoredDrawExtents();
    if (!table.empty()) table.erase(this);
}

void MCadShape::SetDrawGrow(double grow) {
    if (m_drawGrow < 0.0) DropStoredDrawExtent();
    m_drawGrow = grow;
}

void MCadShape::SetDrawExtent(const MFloatRect& rect) {
    m_drawGrow = -1.0;
    StoreDrawExtent(rect);
}

MFloatRect MCadShape::StoredDrawExtent() const {
    const auto& table = StoredDrawExtents();
    const auto found = table.find(this);
    return found != table.end() ? found->second : MFloatRect();
}

void MCadShape::StoreDrawExtent(const MFloatRect& rect) {
    StoredDrawExtents()[this] = rect;
}

void MCadShape::OffsetDrawExtent(const MFloatPoint& offset) {
    MFloatRect r = GetDrawExtent();
    r.Offset(offset);
    SetDrawExtent(r);
}

void MCadShape::GrowDrawExtent(double by) {
    MFloatRect r = GetDrawExtent();
    r.Inflate(by, by);
    SetDrawExtent(r);
}

void MCadShape::CopyExtentsFrom(const MCadShape& other) {
    m_extent = other.m_extent;
    if (other.m_drawGrow < 0.0)
        SetDrawExtent(other.StoredDrawExtent());
    else
        SetDrawGrow(other.m_drawGrow);
}

void MCadShape::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
}

MFloatPointArray& MCadShape::ScratchPoints() const {
    return ScratchOutlines()[this];
}

BOOL MCadShape::IsClosed() const {
    return TRUE;
}

const MFloatPointArray& MCadShape::GetPoints() const {
    MFloatPointArray& points = ScratchPoints();
    points.SetSize(4);
    points[0] = m_extent.TopLeft();
    points[1] = m_extent.TopRight();
    points[2] = m_extent.BottomRight();
    points[3] = m_extent.BottomLeft();
    return points;
}

int MCadShape::GetHandleCount() const {
    return 8;
}

MFloatPoint MCadShape::GetHandle(int index) const {
    const MFloatRect& r = m_extent;
    const double midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    switch (index) {
        case kHandleTopRight:
            return {r.right, r.top};
        case kHandleBottomRight:
            return {r.right, r.bottom};
        case kHandleBottomLeft:
            return {r.left, r.bottom};
        case kHandleTopLeft:
            return {r.left, r.top};
        case kHandleRight:
            return {r.right, midY};
        case kHandleBottom:
            return {midX, r.bottom};
        case kHandleLeft:
            return {r.left, midY};
        default:
            return {midX, r.top};
    }
}

void MCadShape::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect) {
    const MFloatRect& source = rect ? *rect : m_extent;
    double left = source.left, top = source.top, right = source.right, bottom = source.bottom;
    const double width = right - left, height = top - bottom;
    const bool wasDegenerate = width == 0.0 || height == 0.0;
    const double midX = (left + right) / 2, midY = (top + bottom) / 2;
    double sx = 1.0, sy = 1.0;

    // Each moving edge follows `to`; its factor is measured from the fixed opposite edge.
    auto moveRight = [&] {
        if (width != 0.0) sx = (to.x - left) / width;
        right = to.x;
    };
    auto moveLeft = [&] {
        if (width != 0.0) sx = (right - to.x) / width;
        left = to.x;
    };
    auto moveTop = [&] {
        if (height != 0.0) sy = (to.y - bottom) / height;
        top = to.y;
    };
    auto moveBottom = [&] {
        if (height != 0.0) sy = (top - to.y) / height;
        bottom = to.y;
    };

    MFloatPoint anchor;
    switch (*index) {
        case kHandleTopRight:
            anchor = {left, bottom};
            moveRight(), moveTop();
            break;
        case kHandleBottomRight:
            anchor = {left, top};
            moveRight(), moveBottom();
            break;
        case kHandleBottomLeft:
            anchor = {right, top};
            moveLeft(), moveBottom();
            break;
        case kHandleTopLeft:
            anchor = {right, bottom};
            moveLeft(), moveTop();
            break;
        case kHandleRight:
            anchor = {left, midY};
            moveRight();
            break;
        case kHandleBottom:
            anchor = {midX, top};
            moveBottom();
            break;
        case kHandleLeft:
            anchor = {right, midY};
            moveLeft();
            break;
        case kHandleTop:
            anchor = {midX, bottom};
            moveTop();
            break;
        default:
            return;
    }

    if (!wasDegenerate && (left == right || top == bottom)) return;
    if (keepRatio) {
        if (std::fabs(top - bottom) > std::fabs(right - left))
            sx = sy;
        else
            sy = sx;
    }
    if (sx == 0.0 || sy == 0.0) return;
    if (rect) {
        rect->left = left, rect->top = top, rect->right = right, rect->bottom = bottom;
        rect->Normalize();
    }
    ScaleAllXY(anchor, sx, sy);

    // A handle dragged across the opposite side keeps following the cursor.
    static const int kSwapX[8] = {3, 2, 1, 0, 6, 5, 4, 7};
    static const int kSwapY[8] = {1, 0, 3, 2, 4, 7, 6, 5};
    if (sx < 0) *index = kSwapX[*index];
    if (sy < 0) *index = kSwapY[*index];
}

int MCadShape::GetGripCount() const {
    return GetHandleCount();
}
MFloatPoint MCadShape::GetGrip(int index) const {
    return GetHandle(index);
}
void MCadShape::MoveGrip(int* index, const MFloatPoint& to, BOOL keepRatio) {
    MoveHandle(index, to, keepRatio);
}

void MCadShape::UpdateDrawExtent(MCadView* view) {
    double w = view ? view->PaperToDocLength(GetLineWidth()) : 0.0;
    if (!(w > 0.0)) w = 0.0;
    SetDrawGrow(w);
}

void MCadShape::ScaleBy(const MShapeScale&) {}
void MCadShape::Scale(const MFloatPoint& centre, double factor) {
    if (std::fabs(factor) < kZeroTolerance) return;
    ScaleBy({centre, factor, factor, true, false});
}
void MCadShape::ScaleAll(const MFloatPoint& centre, double factor) {
    if (std::fabs(factor) < kZeroTolerance) return;
    ScaleBy({centre, factor, factor, true, true});
}
void MCadShape::Move(const MFloatPoint&) {}

double MCadShape::SnapIntersection(MCadShape*, MSnapPoint&, const MFloatPoint&, const MFloatRect&,
                                   double best) {
    return best;
}
double MCadShape::SnapIntersectionWithSegment(MCadShape*, MSnapPoint&, const MFloatPoint&, const MFloatRect&,
                                              double best, const MFloatPoint&, const MFloatPoint&) {
    return best;
}
int MCadShape::IntersectSegment(const MFloatPoint&, const MFloatPoint&, MFloatPointArray*, int) const {
    return 0;
}
BOOL MCadShape::HitTest(MCadView*, const CPoint&, MFloatPoint*, int) const {
    return FALSE;
}
int MCadShape::IntersectCircle(double, double, double, double, double, MFloatPointArray*) const {
    return 0;
}
int MCadShape::GetSide(double, double) const {
    return 0;
}
MFloatPoint MCadShape::GetCenter() const {
    return m_extent.GetCenter();
}
BOOL MCadShape::IsInRect(const MFloatRect& rect) const {
    return rect.Overlaps(m_extent);
}
BOOL MCadShape::MayMeetRect(const MFloatRect& rect) const {
    return rect.Overlaps(m_extent);
}

double MCadShape::SnapPoints(MSnapPoint&, const MFloatPoint&, const MFloatRect&, int, double best) {
    return best;
}

BOOL MCadShape::IntersectsRect(const MFloatRect& rect) const {
    const MFloatPointArray& points = GetPoints();
    const int n = points.GetSize();
    if (n < 2) return FALSE;
    const MFloatPoint corners[4] = {rect.TopLeft(), rect.TopRight(), rect.BottomRight(), rect.BottomLeft()};
    auto crosses = [&](const MFloatPoint& a, const MFloatPoint& b) {
        MFloatPoint x;
        for (int e = 0; e < 4; ++e)
            if (IntersectSegments(a, b, corners[e], corners[(e + 1) % 4], &x, kBoundedA | kBoundedB))
                return true;
        return false;
    };
    if (IsClosed() && crosses(points[n - 1], points[0])) return TRUE;
    for (int i = 0; i + 1 < n; ++i)
        if (crosses(points[i], points[i + 1])) return TRUE;
    return FALSE;
}

MCadShape* MCadShape::Clone() const {
    return Duplicate();
}

MCadShape* MCadShape::Duplicate() const {
    CMemFile storeFile;
    {
        CArchive store(&storeFile, CArchive::store | CArchive::utf8);
        store.WriteObject(this);
        store.Close();
    }
    CMemFile loadFile(storeFile.Detach());
    CArchive load(&loadFile, CArchive::load | CArchive::utf8);
    auto* copy = static_cast<MCadShape*>(load.ReadOwnedObject(RUNTIME_CLASS(MCadShape)));
    load.Close();
    if (!copy) AfxThrowArchiveException(CArchiveException::genericException);
    copy->CopyExtentsFrom(*this);
    return copy;
}

BOOL MCadShape::IsValid() const {
    return TRUE;
}

bool MCadShape::HasFiniteValues() const {
    const MStroke* stroke = GetStroke();
    const MArrowInfo arrows = GetArrows();
    const MFillStyle fill = GetFillStyle();
    return (!stroke || std::isfinite(stroke->width)) && AllFinite({arrows.startSize, arrows.endSize}) &&
           AllFinite({fill.GetAngle(), fill.GetCenterX(), fill.GetCenterY(), fill.GetMiddle()});
}
void MCadShape::Recalc(MCadView*) {}
void MCadShape::FreeCache(MCadView*) {}

void MCadShape::SetFillStyle(const MFillStyle&) {}
MFillStyle MCadShape::GetFillStyle() const {
    return MFillStyle();
}
namespace {

// The stroke the setters change: the shape itself is not const, so neither is its stroke.
MStroke* EditableStroke(MCadShape& shape) {
    return const_cast<MStroke*>(shape.GetStroke());
}

}  // namespace

const MStroke* MCadShape::GetStroke() const {
    return nullptr;
}
MStroke MCadShape::GetStrokeAttributes() const {
    const MStroke* stroke = GetStroke();
    if (!stroke) return {kNoColor, kLineStyleNone, -1.0};
    return {stroke->GetColor(), stroke->style, stroke->width};
}
void MCadShape::ChangeStroke(const MStrokeChange& change) {
    if (MStroke* stroke = EditableStroke(*this)) change.ApplyTo(*stroke);
}

CString MCadShape::GetLineStyleName() const {
    const int style = GetLineStyle();
    if (style == kLineStyleNone) return {};
    if (style & kAuxiliaryLine) return "HOJO";
    const MLineStyleTable& table = GetLineStyleTable();
    if (const MLineStyle* entry = table.Find(style)) return entry->m_name;
    return table.GetSize() > 0 ? table.GetAt(0).m_name : CString();
}

void MCadShape::CopyStyleFrom(const MCadShape* source) {
    if (!source) return;
    SetFillStyle(source->GetFillStyle());
    SetColor(source->GetColor());
    SetLineStyle(source->GetLineStyle());
    SetLineWidth(source->GetLineWidth());
    SetArrows(source->GetArrows());
}

MTextPresence MCadShape::GetTextStyle(MTextStyle*) const {
    return MTextPresence::kNone;
}
void MCadShape::ChangeTextStyle(const MTextStyleChange&) {}

void MCadShape::SetArrows(const MArrowInfo&) {}
MArrowInfo MCadShape::GetArrows() const {
    return MArrowInfo();
}

void MCadShape::MirrorX(double, double) {}
void MCadShape::MirrorY(double, double) {}
void MCadShape::Rotate(double, double, double) {}

MCadShape* MCadShape::CreateTransformed(const MShapeTransform& transform) const {
    MCadShape* copy = Clone();
    if (copy) transform.ApplyTo(*copy);
    return copy;
}

void MShapeTransform::ApplyTo(MCadShape& shape) const {
    switch (kind) {
        case kRotate:
            shape.Rotate(x, y, angle);
            break;
        case kMirrorX:
            shape.MirrorX(x, y);
            break;
        case kMirrorY:
            shape.MirrorY(x, y);
            break;
    }
}

int MCadShape::GetCapabilities() const {
    return 0;
}
double MCadShape::GetAngleAt(int, const MFloatPoint&, MFloatPoint*) const {
    return DBL_MAX;
}

CString MCadShape::GetTypeName() const {
    const char* keyword = GetShapeKeyword(GetTypeId());
    return keyword ? keyword : CString();
}
void MCadShape::WriteText(CDocument*, std::ostream&) const {}
void MCadShape::ReadText(CDocument*, std::istream&) {}
short MCadShape::GetTypeId() const {
    return 0;
}
MCadShape* MCadShape::CreateNew() const {
    return nullptr;
}

// ---- program-wide state ------------------------------------------------------------------------

int& PrintBlackWhite() {
    static auto& slot = *new CProgramSlot<int>;
    return slot.Get();
}
