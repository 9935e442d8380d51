#include "model/shapes/containers/GroupShape.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/TextReadLosses.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/containers/ShapeArrayQueries.h"
#include "platform/Archive.h"
#include "platform/gdi/DC.h"

IMPLEMENT_SERIAL(MGroupShape, MCadShape, VERSIONABLE_SCHEMA | 1)

// Whatever the text form reads can be copied, pasted and duplicated through the archive: a pack
// around the groups, a shape and its picture (or a label and its members) inside them.
static_assert(kMaxGroupNesting + 3 <= CArchive::kMaxObjectNesting);

namespace {

// The members of a group at the nesting limit with the plain groups below it taken apart: what the
// group holds when written, so that every reader takes it back. The caller empties flat before it
// goes, as the shapes stay the members'.
void FoldMembers(const MShapeArray4Group& members, MShapeArray4Group& flat) {
    if (members.HasBasePoint()) flat.SetBasePoint(members.GetBasePoint());
    std::vector<MCadShape*> pending;
    for (int i = members.GetSize() - 1; i >= 0; --i)
        pending.push_back(members.GetAt(i));
    while (!pending.empty()) {
        MCadShape* s = pending.back();
        pending.pop_back();
        const auto* group = dynamic_cast<const MGroupShape*>(s);
        if (!group || !group->IsPlainGroup()) {
            if (s) flat.Add(s);
            continue;
        }
        for (int i = group->GetShapeCount() - 1; i >= 0; --i)
            pending.push_back(group->GetShapeAt(i));
    }
}

// A folded copy of the members that never deletes them.
struct FoldedMembers {
    explicit FoldedMembers(const MShapeArray4Group& members) { FoldMembers(members, flat); }
    ~FoldedMembers() { flat.RemoveAll(); }
    FoldedMembers(const FoldedMembers&) = delete;
    FoldedMembers& operator=(const FoldedMembers&) = delete;
    MShapeArray4Group flat;
};

}  // namespace

MGroupShape::MGroupShape() {
    SetDrawExtent(MFloatRect());
}

MGroupShape::MGroupShape(MCadView*, const MLShapeArray& selection) {
    SetDrawExtent(MFloatRect());
    m_members.Reserve(selection.GetSize());
    for (int i = 0; i < selection.GetSize(); ++i)
        if (const MCadShape* s = selection.GetAt(i)) AddShape(s->Duplicate());
}

MGroupShape::~MGroupShape() = default;

void MGroupShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsLoading()) ar.GetObjectSchema();  // any schema is accepted
    if (!IsPlainGroup()) {
        // A label or balloon is one shape, as in the text form, not a level of groups: one below
        // the deepest group reads back. Nothing nests through it, as it holds no group.
        m_members.Serialize(ar);
        m_members.SetOwner(TRUE);
        for (int i = 0; ar.IsLoading() && i < m_members.GetSize(); ++i)
            if (dynamic_cast<const MGroupShape*>(m_members.GetAt(i)))
                AfxThrowArchiveException(CArchiveException::genericException);
        return;
    }
    MTextNestingGuard nesting;
    if (ar.IsLoading() && nesting.Exceeded()) AfxThrowArchiveException(CArchiveException::genericException);
    if (ar.IsStoring() && nesting.AtLimit()) {
        FoldedMembers folded(m_members);
        folded.flat.Serialize(ar);
        return;
    }
    m_members.Serialize(ar);
    // A group always owns its members, whatever a damaged archive says.
    m_members.SetOwner(TRUE);
}

int MGroupShape::GetGripCount() const {
    int count = 0;
    for (int i = 0; i < m_members.GetSize(); ++i)
        if (const MCadShape* s = m_members.GetAt(i)) count += s->GetGripCount();
    return count;
}

MFloatPoint MGroupShape::GetGrip(int index) const {
    if (index < 0) return {};
    int before = 0;
    for (int i = 0; i < m_members.GetSize(); ++i) {
        const MCadShape* s = m_members.GetAt(i);
        if (!s) continue;
        const int n = s->GetGripCount();
        if (index < before + n) return s->GetGrip(index - before);
        before += n;
    }
    return {};
}

void MGroupShape::MoveGrip(int* index, const MFloatPoint& to, BOOL keepRatio) {
    if (*index < 0) return;
    int before = 0;
    for (int i = 0; i < m_members.GetSize(); ++i) {
        MCadShape* s = m_members.GetAt(i);
        if (!s) continue;
        const int n = s->GetGripCount();
        if (*index < before + n) {
            int local = *index - before;
            s->MoveGrip(&local, to, keepRatio);
            *index = before + local;
            return;
        }
        before += n;
    }
}

void MGroupShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    switch (mode) {
        case MDrawMode::kNormal:
            if (dc && dc->HasAttribDC())
                m_members.DrawClipped(view, dc);
            else
                m_members.DrawAll(view, dc);
            return;
        case MDrawMode::kTracking:
            return m_members.DrawTrackingAll(view, dc);
        case MDrawMode::kHighlight:
            return m_members.DrawHighlightAll(view, dc);
        case MDrawMode::kGrayed:
            return m_members.DrawGrayedVisible(view, dc);
    }
}

namespace {

// Whether angle is a whole number of quarter turns, which every shape holds exactly.
bool IsQuarterTurn(double angle) {
    const MRadian a(angle);
    for (int i = 0; i < 4; ++i)
        if (std::fabs(MRadian(i * (kPi / 2) - a).GetValue()) < kZeroTolerance) return true;
    return false;
}

MFloatPoint ScaledAbout(const MFloatPoint& p, const MFloatPoint& centre, double sx, double sy) {
    return {centre.x + sx * (p.x - centre.x), centre.y + sy * (p.y - centre.y)};
}

}  // namespace

void MGroupShape::ScaleBasePointAndExtent(const MFloatPoint& centre, double sx, double sy) {
    if (HasBasePoint()) SetBasePoint(ScaledAbout(m_members.GetBasePoint(), centre, sx, sy));
    m_extent.Scale(centre, sx, sy);
    m_extent.Normalize();
}

void MGroupShape::ScaleBy(const MShapeScale& scale) {
    if (std::fabs(scale.sx) < kZeroTolerance || std::fabs(scale.sy) < kZeroTolerance) return;
    ForEachShape(m_members, [&](MCadShape* s) { s->ScaleBy(scale); });
    ScaleBasePointAndExtent(scale.centre, scale.sx, scale.sy);
}

void MGroupShape::Move(const MFloatPoint& offset) {
    m_members.Move(offset);
}

BOOL MGroupShape::HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const {
    const MFloatPoint cursor = view->LogicalToDoc(point);
    double nearest = DBL_MAX;
    BOOL hit = FALSE;
    ForEachShape(m_members, [&](const MCadShape* s) {
        MFloatPoint memberFoot;
        if (!s->HitTest(view, point, &memberFoot, tolerance)) return;
        hit = TRUE;
        const double d = (memberFoot - cursor).GetLength();
        if (d < nearest) {
            nearest = d;
            if (foot) *foot = memberFoot;
        }
    });
    return hit;
}

MFloatPoint MGroupShape::GetCenter() const {
    return m_members.GetBasePoint();
}
BOOL MGroupShape::IsInRect(const MFloatRect&) const {
    return FALSE;
}

double MGroupShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                               int kinds, double best) {
    const int n = m_members.GetSize();
    if (n == 0) return best;  // nothing to snap to (and no member -1 to ask)
    const double start = best;
    int i = 0;
    bool aborted = false;
    for (; i < n - 1 && !aborted; ++i) {
        MCadShape* member = m_members.GetAt(i);
        if (!member) continue;
        best = member->SnapPoints(snap, cursor, aperture, kinds, best);
        if ((kinds & 2) && member->IsInRect(aperture)) {
            for (int j = i + 1; j < n; ++j) {
                if (MCadShape* other = m_members.GetAt(j))
                    best = other->SnapIntersection(member, snap, cursor, aperture, best);
                if (SnapSearchCancelled()) {
                    aborted = true;
                    break;
                }
            }
            if (aborted) break;
        }
        if (SnapSearchCancelled()) {
            ++i;
            break;
        }
    }
    if (!aborted && i < n)
        if (MCadShape* member = m_members.GetAt(i))
            best = member->SnapPoints(snap, cursor, aperture, kinds, best);
    if (best < start) snap.shape1 = this;
    return best;
}

BOOL MGroupShape::HitTestPixel(MCadView* view, const CPoint& point, int tolerance) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    CPoint logical = point;
    if (dc) dc->DPtoLP(&logical);
    return m_members.HitTest(view, logical.x, logical.y, tolerance) != nullptr;
}

BOOL MGroupShape::IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) {
    return m_members.HitTestDeviceRect(view, rect) != nullptr;
}

BOOL MGroupShape::IntersectsRectPixel(MCadView* view, const CRect& rect, const MFloatRect& area) {
    return m_members.HitTestRect(view, rect, area) != nullptr;
}

MCadShape* MGroupShape::Clone() const {
    auto copy = std::make_unique<MGroupShape>();
    copy->m_members.Reserve(m_members.GetSize());
    ForEachShape(m_members, [&](const MCadShape* s) { copy->AddShape(s->Clone()); });
    if (HasBasePoint()) copy->SetBasePoint(GetCenter());
    copy->CopyExtentsFrom(*this);
    return copy.release();
}

MCadShape* MGroupShape::Duplicate() const {
    // Copies of a block's group are made by the thousand: the member list is sized once.
    auto copy = std::make_unique<MGroupShape>();
    copy->m_members.Reserve(m_members.GetSize());
    ForEachShape(m_members, [&](const MCadShape* s) { copy->AddShape(s->Duplicate()); });
    if (HasBasePoint()) copy->SetBasePoint(GetCenter());
    copy->CopyExtentsFrom(*this);
    return copy.release();
}

BOOL MGroupShape::IsValid() const {
    return TRUE;
}

bool MGroupShape::HasFiniteValues() const {
    if (m_members.HasBasePoint() && !IsFinite(m_members.GetBasePoint())) return false;
    for (int i = 0; i < m_members.GetSize(); ++i)
        if (!m_members[i]->HasFiniteValues()) return false;
    return MCadShape::HasFiniteValues();
}

void MGroupShape::Recalc(MCadView* view) {
    if (m_members.GetSize() == 0) return;
    m_members.RecalcAll(view);
    m_extent = m_members.GetExtent();
    SetDrawExtent(m_members.GetDrawExtent());
}

void MGroupShape::RecalcScaledExtent(MCadView* view) {
    if (m_members.GetSize() == 0) return;
    m_members.RecalcScaledExtents(view);
    m_extent = m_members.GetExtent();
    SetDrawExtent(m_members.GetDrawExtent());
}

void MGroupShape::SetFillStyle(const MFillStyle& fill) {
    ForEachShape(m_members, [&](MCadShape* s) { s->SetFillStyle(fill); });
}
void MGroupShape::ChangeStroke(const MStrokeChange& change) {
    ForEachShape(m_members, [&](MCadShape* s) { s->ChangeStroke(change); });
}
MStroke MGroupShape::GetStrokeAttributes() const {
    MStroke common{COLORREF(-1), -1, -1.0};
    bool first = true, sameColor = true, sameStyle = true, sameWidth = true;
    ForEachShape(m_members, [&](const MCadShape* s) {
        const MStroke stroke = s->GetStrokeAttributes();
        if (first) {
            common = stroke;
            first = false;
            return;
        }
        sameColor = sameColor && stroke.color == common.color;
        sameStyle = sameStyle && stroke.style == common.style;
        sameWidth = sameWidth && stroke.width == common.width;
    });
    if (!sameColor) common.color = COLORREF(-1);
    if (!sameStyle) common.style = -1;
    if (!sameWidth) common.width = -1.0;
    return common;
}

namespace {

constexpr int kMemberTextFlags = kTextItalic | kTextBold | kTextUnderline | kTextStrikeOut;

bool HasTextMember(const MShapeArray& members) {
    for (int i = 0; i < members.GetSize(); ++i) {
        const MCadShape* s = members.GetAt(i);
        if (s && s->HasText()) return true;
    }
    return false;
}

}  // namespace

MFillStyle MGroupShape::GetFillStyle() const {
    return CommonShapeValue<MFillStyle>(
        m_members, [](const MCadShape* s) { return s->GetFillStyle(); }, MFillStyle(COLORREF(-1)));
}

MTextPresence MGroupShape::GetTextStyle(MTextStyle* style) const {
    if (!style) return HasTextMember(m_members) ? MTextPresence::kHasText : MTextPresence::kNone;
    *style = MTextStyle();
    bool any = false;
    bool sameFont = true, sameSize = true;
    int flags = kMemberTextFlags;
    ForEachShape(m_members, [&](const MCadShape* s) {
        MTextStyle member;
        if (s->GetTextStyle(&member) == MTextPresence::kNone) return;
        if (!any) {
            style->fontName = member.fontName;
            style->size = member.size;
        }
        sameFont = sameFont && member.fontName == style->fontName;
        sameSize = sameSize && member.size == style->size;
        flags &= member.flags;
        any = true;
    });
    if (!any) return MTextPresence::kNone;
    if (!sameFont) style->fontName = MTextFontName();
    if (!sameSize) style->size = 0.0;
    style->flags = flags;
    return MTextPresence::kHasText;
}
void MGroupShape::ChangeTextStyle(const MTextStyleChange& change) {
    MTextStyleChange members = change;
    members.fields &= kTextStyleFont | kTextStyleSize | kTextStyleFlags;
    members.flagMask &= kMemberTextFlags;
    if (!members.flagMask) members.fields &= ~kTextStyleFlags;
    if (members.fields) ForEachShape(m_members, [&](MCadShape* s) { s->ChangeTextStyle(members); });
}

void MGroupShape::MirrorX(double x, double y) {
    ForEachShape(m_members, [&](MCadShape* s) { s->MirrorX(x, y); });
    if (HasBasePoint()) {
        const MFloatPoint b = m_members.GetBasePoint();
        SetBasePoint({2 * x - b.x, b.y});
    }
}

void MGroupShape::MirrorY(double x, double y) {
    ForEachShape(m_members, [&](MCadShape* s) { s->MirrorY(x, y); });
    if (HasBasePoint()) {
        const MFloatPoint b = m_members.GetBasePoint();
        SetBasePoint({b.x, 2 * y - b.y});
    }
}

void MGroupShape::Rotate(double cx, double cy, double angle) {
    const bool quarterTurn = IsQuarterTurn(angle);
    for (int i = 0; i < m_members.GetSize(); ++i) {
        MCadShape* s = m_members.GetAt(i);
        if (!s) continue;
        if (!quarterTurn && !s->IsKindOf(RUNTIME_CLASS(MGroupShape))) {
            // Axis-parallel shapes (rectangles, ellipses) turned in place only move; the turned
            // outline needs the other class their CreateRotated gives, which takes their place.
            std::unique_ptr<MCadShape> turned(s->CreateRotated(cx, cy, angle));
            if (turned && turned->GetRuntimeClass() != s->GetRuntimeClass()) {
                m_members.SetAt(i, turned.release());
                delete s;
                continue;
            }
        }
        s->Rotate(cx, cy, angle);
    }
    if (HasBasePoint()) SetBasePoint(m_members.GetBasePoint().GetRotatedAbout({cx, cy}, angle));
}

MCadShape* MGroupShape::CreateTransformed(const MShapeTransform& transform) const {
    auto copy = std::make_unique<MGroupShape>();
    ForEachShape(m_members, [&](const MCadShape* s) { copy->AddShape(s->CreateTransformed(transform)); });
    if (HasBasePoint()) {
        const MFloatPoint c = GetCenter();
        const double x = transform.x, y = transform.y;
        switch (transform.kind) {
            case MShapeTransform::kRotate:
                copy->SetBasePoint(c.GetRotatedAbout({x, y}, transform.angle));
                break;
            case MShapeTransform::kMirrorX:
                copy->SetBasePoint({2 * x - c.x, c.y});
                break;
            case MShapeTransform::kMirrorY:
                copy->SetBasePoint({c.x, 2 * y - c.y});
                break;
        }
    }
    return copy.release();
}

int MGroupShape::GetCapabilities() const {
    int capabilities = kShapeCanEdit;
    ForEachShape(m_members, [&](const MCadShape* s) { capabilities &= s->GetCapabilities(); });
    return capabilities;
}

short MGroupShape::GetTypeId() const {
    return kShapeGroup;
}
MCadShape* MGroupShape::CreateNew() const {
    return new MGroupShape;
}

void MGroupShape::WriteText(CDocument* doc, std::ostream& os) const {
    MTextNestingGuard nesting;
    if (!nesting.AtLimit()) {
        m_members.WriteText(doc, os);
        os << "0\n";
        return;
    }
    // The deepest group the reader takes holds the shapes of the plain groups below it itself:
    // the drawing loses those groupings, never a shape.
    FoldedMembers folded(m_members);
    folded.flat.WriteText(doc, os);
    os << "0\n";
}

namespace {

// The lines after a group's members: a count, then that many lines to pass over.
void SkipGroupTrailer(std::istream& is) {
    long long skip = 0;
    is >> skip;
    SkipTextLine(is);
    for (long long i = 0; i < skip && is.good(); ++i)
        SkipTextLine(is);
}

// The members of the deepest group the reader keeps, with the plain groups below it opened in
// place, as the writer folds them: their shapes join this group and their own lines are consumed as
// ReadText consumes them. The members still to come of each open group stand in for the call
// stack, so that a hostile chain of any depth costs memory in proportion to the file, never stack.
void ReadFoldedMembers(CDocument* doc, std::istream& is, MShapeArray4Group& members) {
    std::vector<long long> open{members.ReadHeader(is)};
    std::size_t deepest = 0;
    while (!open.empty() && is.good()) {
        if (open.back() <= 0) {
            open.pop_back();
            if (!open.empty()) SkipGroupTrailer(is);
            continue;
        }
        --open.back();
        const std::string keyword = ReadShapeKeyword(is);
        if (keyword.empty()) break;
        if (GetShapeTypeId(keyword) == kShapeGroup) {
            MShapeArray4Group folded;
            open.push_back(folded.ReadHeader(is));
            deepest = std::max(deepest, open.size() - 1);
            continue;
        }
        members.ReadShape(doc, is, keyword);
    }
    if (MTextReadLosses* losses = MTextReadLosses::Current(); losses && deepest > 0)
        losses->FoldedLevels(static_cast<int>(std::min<std::size_t>(deepest, INT_MAX)));
}

}  // namespace

void MGroupShape::ReadText(CDocument* doc, std::istream& is) {
    MTextNestingGuard nesting;
    if (nesting.Exceeded()) {
        is.setstate(std::ios::failbit);
        return;
    }
    m_members.DeleteAll();
    if (nesting.AtLimit())
        ReadFoldedMembers(doc, is, m_members);
    else
        m_members.ReadText(doc, is);
    SkipGroupTrailer(is);
}

int GroupNestingOf(const MCadShape& shape) {
    // Without a call per level, like the group's destructor.
    std::vector<std::pair<const MCadShape*, int>> pending{{&shape, 1}};
    int deepest = 0;
    while (!pending.empty()) {
        const auto [s, depth] = pending.back();
        pending.pop_back();
        const auto* group = dynamic_cast<const MGroupShape*>(s);
        if (!group || !group->IsPlainGroup()) continue;
        deepest = std::max(deepest, depth);
        for (int i = 0; i < group->GetShapeCount(); ++i)
            pending.emplace_back(group->GetShapeAt(i), depth + 1);
    }
    return deepest;
}

void MGroupShape::Rebuild(MCadView*) {}
BOOL MGroupShape::IsPlainGroup() const {
    return TRUE;
}
void MGroupShape::SetBasePoint(const MFloatPoint& p) {
    m_members.SetBasePoint(p);
}
