#include "model/shapes/containers/ShapeArray.h"

#include <cerrno>
#include <cmath>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <typeinfo>
#include <unordered_set>
#include <vector>

#include "model/CadView.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/TextReadLosses.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/PackShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/RectShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Archive.h"
#include "platform/gdi/DC.h"

IMPLEMENT_SERIAL(MShapeArray, CObject, 1)
IMPLEMENT_SERIAL(MShapeArray4Group, MShapeArray, 1)

MShapeArray::~MShapeArray() {
    if (m_owns) DeleteAll();
}

MCadShape* MShapeArray::GetAt(int index) const {
    return static_cast<MCadShape*>(CObArray::GetAt(index));
}
void MShapeArray::SetAt(int index, MCadShape* shape) {
    CObArray::SetAt(index, shape);
}
void MShapeArray::InsertAt(int index, MCadShape* shape, int count) {
    CObArray::InsertAt(index, shape, count);
}
void MShapeArray::InsertAt(int index, MShapeArray* other) {
    if (!other) return;
    for (int i = 0; i < other->GetSize(); ++i)
        InsertAt(index + i, other->GetAt(i));
}

BOOL MShapeArray::SerializeShapes(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_data.size());
        for (CObject* p : m_data)
            ar.WriteObject(p);
        ar << static_cast<std::int32_t>(m_owns);
        return m_owns;
    }
    if (m_owns)
        DeleteAll();
    else
        RemoveAll();
    const DWORD n = ar.ReadCount();
    ar.CheckCount(n, 2);  // every shape takes at least its tag
    std::int32_t owns = 0;
    try {
        for (DWORD i = 0; i < n; ++i) {
            CObject* shape = ar.ReadOwnedObject(RUNTIME_CLASS(MCadShape));
            if (auto* pack = dynamic_cast<MPackShape*>(shape))
                TakeApart(ar, pack);
            else
                m_data.push_back(shape);
        }
        ar >> owns;
    } catch (...) {
        DeleteUnowned();
        throw;
    }
    return owns != 0;
}

void MShapeArray::TakeApart(CArchive& ar, MPackShape* pack) {
    // Nobody else knows the pack or its members yet; the members stay with the array either way.
    std::unique_ptr<MPackShape> wrapper(pack);
    MShapeArray& members = wrapper->GetMembers();
    try {
        m_data.reserve(m_data.size() + static_cast<std::size_t>(members.GetSize()));
    } catch (...) {
        members.DeleteAll();
        throw;
    }
    for (int i = 0; i < members.GetSize(); ++i)
        m_data.push_back(members.GetAt(i));
    members.RemoveAll();
    ar.ForgetObject(pack);
}

void MShapeArray::DeleteUnowned() {
    if (!m_owns) DeleteAll();
}

void MShapeArray::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    const BOOL owns = SerializeShapes(ar);
    if (ar.IsLoading()) m_owns = owns;
}

int MShapeArray::Remove(MCadShape* shape) {
    const int index = Find(shape);
    if (index >= 0) RemoveAt(index);
    return index;
}

namespace {

// The shapes lie all over the heap: a walk over a large drawing mostly waited for each shape to
// come from memory, so the walks ask for the shapes a little ahead.
constexpr int kPrefetchAhead = 16;

// The first lines of the shape: its table pointer, extents and most shapes' own fields.
void PrefetchShape(const MCadShape* s) {
    if (!s) return;
    const char* p = reinterpret_cast<const char*>(s);
    __builtin_prefetch(p);
    __builtin_prefetch(p + 64);
    __builtin_prefetch(p + 128);
}

}  // namespace

void MShapeArray::DrawAll(MCadView* view, CDC* dc) {
    for (int i = 0; i < GetSize(); ++i)
        if (MCadShape* s = GetAt(i)) s->Draw(view, dc);
}

void MShapeArray::DrawClipped(MCadView* view, CDC* dc) {
    if (!dc || !dc->HasAttribDC()) return;
    const int n = GetSize();
    for (int i = 0; i < n; ++i) {
        if (i + kPrefetchAhead < n) PrefetchShape(GetAt(i + kPrefetchAhead));
        MCadShape* s = GetAt(i);
        if (!s) continue;
        CRect r = view->DocToLogicalRect(s->GetDrawExtent());
        r.NormalizeRect();
        r.InflateRect(2, 2);
        if (dc->RectVisible(&r)) s->Draw(view, dc);
    }
}

void MShapeArray::DrawTrackingAll(MCadView* view, CDC* dc) {
    for (int i = 0; i < GetSize(); ++i)
        if (MCadShape* s = GetAt(i)) s->Render(view, dc, MDrawMode::kTracking);
}

void MShapeArray::DrawHighlightAll(MCadView* view, CDC* dc) {
    for (int i = 0; i < GetSize(); ++i)
        if (MCadShape* s = GetAt(i)) s->Render(view, dc, MDrawMode::kHighlight);
}

void MShapeArray::DrawGrayedVisible(MCadView* view, CDC* dc) {
    if (!dc || !dc->HasAttribDC()) return;
    CRect clip;
    dc->GetClipBox(&clip);
    clip.InflateRect(2, 2);
    MFloatRect area = view->LogicalToDocRect(clip);
    area.Normalize();
    for (int i = 0; i < GetSize(); ++i) {
        MCadShape* s = GetAt(i);
        if (s && s->GetDrawExtent().Overlaps(area)) s->Render(view, dc, MDrawMode::kGrayed);
    }
}

int MShapeArray::Find(const MCadShape* shape) const {
    for (int i = GetSize() - 1; i >= 0; --i)
        if (m_data[static_cast<std::size_t>(i)] == shape) return i;
    return -1;
}

namespace {

template <class Get>
MFloatRect UnionOf(const MShapeArray& array, Get get) {
    MFloatRect result;
    bool first = true;
    for (int i = 0; i < array.GetSize(); ++i) {
        const MCadShape* s = array.GetAt(i);
        if (!s) continue;
        if (first) {
            result = get(s);
            first = false;
        } else {
            result.Union(get(s));
        }
    }
    return result;
}

}  // namespace

MFloatRect MShapeArray::GetExtent() const {
    return UnionOf(*this, [](const MCadShape* s) { return s->m_extent; });
}

MFloatRect MShapeArray::GetDrawExtent() const {
    return UnionOf(*this, [](const MCadShape* s) { return s->GetDrawExtent(); });
}

void MShapeArray::RecalcAll(MCadView* view) {
    const int n = GetSize();
    for (int i = 0; i < n; ++i) {
        if (i + kPrefetchAhead < n) PrefetchShape(GetAt(i + kPrefetchAhead));
        if (MCadShape* s = GetAt(i)) s->Recalc(view);
    }
}

namespace {

// Shapes whose extent does not follow the scale: lines and polygons span their points, texts their
// box measured at a fixed font height. Exact types only, since a subclass may recalculate otherwise.
bool ExtentIgnoresScale(const MCadShape& s) {
    const std::type_info& t = typeid(s);
    return t == typeid(MLineShape) || t == typeid(MPolygonShape) || t == typeid(MRectShape) ||
           t == typeid(MCircleShape) || t == typeid(MCircleArcShape) || t == typeid(MCircleFanShape) ||
           t == typeid(MEllipseShape) || t == typeid(MSplineShape) || t == typeid(MSplineLoopShape) ||
           t == typeid(MTextShape) || t == typeid(MMultiTextShape);
}

}  // namespace

void MShapeArray::RecalcScaledExtents(MCadView* view) {
    const int n = GetSize();
    for (int i = 0; i < n; ++i) {
        if (i + kPrefetchAhead < n) PrefetchShape(GetAt(i + kPrefetchAhead));
        MCadShape* s = GetAt(i);
        if (!s || ExtentIgnoresScale(*s)) continue;
        if (typeid(*s) == typeid(MGroupShape))
            static_cast<MGroupShape*>(s)->RecalcScaledExtent(view);
        else
            s->Recalc(view);
    }
}

void MShapeArray::FreeCacheAll(MCadView* view) {
    for (int i = 0; i < GetSize(); ++i)
        if (MCadShape* s = GetAt(i)) s->FreeCache(view);
}

void MShapeArray::Move(const MFloatPoint& offset) {
    for (int i = GetSize() - 1; i >= 0; --i) {
        if (i >= kPrefetchAhead) PrefetchShape(GetAt(i - kPrefetchAhead));
        if (MCadShape* s = GetAt(i)) s->Move(offset);
    }
}

void MShapeArray::DeleteAll() {
    // A group hands its members over before it goes, so that groups nested however deep are
    // deleted in this one loop rather than a call per level. The same shape listed twice is
    // deleted once.
    std::unordered_set<CObject*> deleted;
    std::vector<CObject*> pending(m_data.rbegin(), m_data.rend());
    m_data.clear();
    while (!pending.empty()) {
        CObject* p = pending.back();
        pending.pop_back();
        if (!p || !deleted.insert(p).second) continue;
        if (auto* group = dynamic_cast<MGroupShape*>(p)) {
            MShapeArray& members = group->GetMembers();
            if (members.m_owns) {
                pending.insert(pending.end(), members.m_data.rbegin(), members.m_data.rend());
                members.m_data.clear();
            }
        }
        delete p;
    }
}

MCadShape* MShapeArray::HitTest(MCadView* view, int x, int y, int tolerance) const {
    return HitTestDeviceRect(view, CRect(x - tolerance, y - tolerance, x + tolerance, y + tolerance));
}

MCadShape* MShapeArray::HitTestDeviceRect(MCadView* view, const CRect& rect) const {
    MFloatRect area = view->LogicalToDocRect(rect);
    area.Normalize();
    return HitTestRect(view, rect, area);
}

MCadShape* MShapeArray::HitTestRect(MCadView* view, const CRect& rect, const MFloatRect& area) const {
    for (int i = GetSize() - 1; i >= 0; --i) {
        MCadShape* s = GetAt(i);
        if (s && s->IntersectsRectPixel(view, rect, area)) return s;
    }
    return nullptr;
}

namespace {

// After a shape failed to read, the rest of a line it stopped in is damage, not a keyword.
void SkipRestOfDamagedLine(std::istream& is) {
    if (!is.unget()) {
        is.clear();
        return;
    }
    const int previous = is.get();
    if (previous != '\n') SkipTextLine(is);
}

bool HasTextForm(const MCadShape* s) {
    return s && !s->GetTypeName().empty();
}

}  // namespace

void MShapeArray::WriteShapes(CDocument* doc, std::ostream& os) const {
    for (int i = 0; i < GetSize(); ++i) {
        const MCadShape* s = GetAt(i);
        if (HasTextForm(s)) WriteShapeText(doc, os, s);
    }
}

void MShapeArray::WriteText(CDocument* doc, std::ostream& os) const {
    int count = 0;
    for (int i = 0; i < GetSize(); ++i)
        count += HasTextForm(GetAt(i)) ? 1 : 0;
    os << '\t' << count << '\n';
    WriteShapes(doc, os);
}

void MShapeArray::ReadShape(CDocument* doc, std::istream& is, const std::string& keyword) {
    MCadShape* s = ReadShapeText(doc, is, keyword);
    if (s) {
        MTextReadLosses* losses = MTextReadLosses::Current();
        if (!losses || losses->Admit(*s))
            Add(s);
        else
            delete s;
    } else if (!is.bad() && !is.eof()) {
        // An unreadable or unknown shape is dropped; go on with the next one.
        is.clear();
        errno = 0;
        SkipRestOfDamagedLine(is);
    }
}

void MShapeArray::ReadShapes(CDocument* doc, std::istream& is, long long count) {
    for (long long i = 0; i < count; ++i) {
        const std::string keyword = ReadShapeKeyword(is);
        if (keyword.empty()) break;
        ReadShape(doc, is, keyword);
    }
}

void MShapeArray::ReadText(CDocument* doc, std::istream& is) {
    long long count = 0;
    is >> count;
    SkipTextLine(is);
    ReadShapes(doc, is, count);
}

// ---- MShapeArray4Group -------------------------------------------------------------------------

MShapeArray4Group::~MShapeArray4Group() = default;

void MShapeArray4Group::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    const BOOL owns = SerializeShapes(ar);
    if (ar.IsStoring()) {
        ar << static_cast<std::int32_t>(m_hasBasePoint) << m_basePoint.x << m_basePoint.y;
        return;
    }
    // The stored owns flag applies only once the base point is read: a cut archive must not leave
    // the members read so far without an owner.
    std::int32_t has = 0;
    try {
        ar >> has >> m_basePoint.x >> m_basePoint.y;
    } catch (...) {
        DeleteUnowned();
        throw;
    }
    m_hasBasePoint = has != 0;
    m_owns = owns;
}

MFloatPoint MShapeArray4Group::GetBasePoint() const {
    if (m_hasBasePoint) return m_basePoint;
    return GetExtent().GetCenter();
}

void MShapeArray4Group::Move(const MFloatPoint& offset) {
    MShapeArray::Move(offset);
    if (m_hasBasePoint) m_basePoint += offset;
}

void MShapeArray4Group::WriteText(CDocument* doc, std::ostream& os) const {
    int count = 0;
    for (int i = 0; i < GetSize(); ++i)
        count += HasTextForm(GetAt(i)) ? 1 : 0;
    os << '\t' << count << '\n';
    os << '\t' << m_hasBasePoint << ' ' << m_basePoint.x << ' ' << m_basePoint.y << '\n';
    WriteShapes(doc, os);
}

long long MShapeArray4Group::ReadHeader(std::istream& is) {
    long long count = 0;
    is >> count;
    SkipTextLine(is);
    m_hasBasePoint = FALSE;
    m_basePoint = MFloatPoint();
    const int next = is.peek();
    if (next == '\t' || next == ' ') {
        int has = 0;
        MFloatPoint p;
        is >> has >> p.x >> p.y;
        SkipTextLine(is);
        if (!is.fail()) {
            m_hasBasePoint = has != 0;
            m_basePoint = p;
        }
    }
    return count;
}

void MShapeArray4Group::ReadText(CDocument* doc, std::istream& is) {
    ReadShapes(doc, is, ReadHeader(is));
}

namespace {

// The box of the whole circle, grown by far more than the rounding of any outline point; null when
// a number is no number or out of range.
std::optional<MFloatRect> CircleBox(const MCadShape& s) {
    const std::type_info& t = typeid(s);
    if (t != typeid(MCircleShape) && t != typeid(MCircleArcShape)) return std::nullopt;
    const auto& circle = static_cast<const MCircleShape&>(s);
    const MFloatPoint c = circle.m_center;
    const double r = std::fabs(circle.m_radius);
    const double reach = r + 1e-9 * (r + std::fabs(c.x) + std::fabs(c.y));
    const MFloatRect box(c.x - reach, c.y - reach, c.x + reach, c.y + reach);
    if (!std::isfinite(box.left) || !std::isfinite(box.right) || !std::isfinite(box.bottom) ||
        !std::isfinite(box.top))
        return std::nullopt;
    return box;
}

bool IsFinite(const MFloatRect& r) {
    return std::isfinite(r.left) && std::isfinite(r.right) && std::isfinite(r.bottom) && std::isfinite(r.top);
}

}  // namespace

void MFitRecalc::Add(MShapeArray& shapes) {
    const int n = shapes.GetSize();
    for (int i = 0; i < n; ++i) {
        if (i + kPrefetchAhead < n) PrefetchShape(shapes.GetAt(i + kPrefetchAhead));
        MCadShape* s = shapes.GetAt(i);
        if (!s) continue;
        if (typeid(*s) == typeid(MGroupShape)) {
            // As MGroupShape::Recalc, over members added here.
            MShapeArray& members = static_cast<MGroupShape*>(s)->GetMembers();
            if (members.GetSize() == 0) continue;
            Add(members);
            s->m_extent = members.GetExtent();
            s->SetDrawExtent(members.GetDrawExtent());
        } else if (const std::optional<MFloatRect> box = CircleBox(*s)) {
            s->m_extent = *box;
        } else {
            s->Recalc(m_view);
            if (ExtentIgnoresScale(*s))
                AddFixed(s->m_extent);
            else
                m_followsScale = true;
        }
    }
}

void MFitRecalc::AddFixed(const MFloatRect& extent) {
    // A union with a number that is no number depends on the order; such extents stay out of it.
    if (!IsFinite(extent)) return;
    if (m_hasFixed)
        m_fixed.Union(extent);
    else
        m_fixed = extent;
    m_hasFixed = true;
}

bool MFitRecalc::Inside(const MFloatRect& box) const {
    // Strictly: an edge the box shares could decide between 0 and -0 in a union.
    return m_hasFixed && m_fixed.left < box.left && box.right < m_fixed.right &&
           m_fixed.bottom < box.bottom && box.top < m_fixed.top;
}

bool MFitRecalc::MayReachEdge(const MShapeArray& shapes) const {
    for (int i = 0; i < shapes.GetSize(); ++i) {
        const MCadShape* s = shapes.GetAt(i);
        if (!s) continue;
        if (typeid(*s) == typeid(MGroupShape)) {
            if (MayReachEdge(static_cast<const MGroupShape*>(s)->GetMembers())) return true;
        } else if (CircleBox(*s) && !Inside(s->m_extent)) {
            return true;
        }
    }
    return false;
}

void MFitRecalc::Settle(MShapeArray& shapes) {
    const int n = shapes.GetSize();
    for (int i = 0; i < n; ++i) {
        if (i + kPrefetchAhead < n) PrefetchShape(shapes.GetAt(i + kPrefetchAhead));
        MCadShape* s = shapes.GetAt(i);
        if (!s) continue;
        if (typeid(*s) == typeid(MGroupShape)) {
            // The whole group again, its members' true extents with the others'.
            if (MayReachEdge(static_cast<MGroupShape*>(s)->GetMembers())) s->Recalc(m_view);
        } else if (CircleBox(*s) && !Inside(s->m_extent)) {
            s->Recalc(m_view);
            AddFixed(s->m_extent);
        }
    }
}
