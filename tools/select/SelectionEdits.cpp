// The selection's transforms, drawing order, arrangement and structure: each turns the selection
// into copies that replace it in one commit, so every edit is one undo step and the copies stay
// selected.
#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "document/TessarayDoc.h"
#include "model/FillStyle.h"
#include "model/shapes/ShapeEditors.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "tools/PickList.h"
#include "tools/edit/CutReplacements.h"
#include "tools/select/SelectionEdits.h"
#include "view/TessarayView.h"

namespace {

constexpr double kTinyFactor = 2.220446e-15;

}  // namespace

MFloatPoint MSelectionEdits::ContextPoint(MTessarayView* view) {
    const CPoint at = m_tool.GetContextPoint();
    return m_tool.Snap(view, at.x, at.y, 0).point;
}

// ----- flips, rotations, moves, scaling ---------------------------------------------------------

void MSelectionEdits::Flip(MTessarayView* view, char axis) {
    const MFloatPoint c = m_tool.Handles().Center();
    ReplaceSelection(view, [&](MCadShape* s) {
        return axis == 'x' ? s->CreateMirroredX(c.x, c.y) : s->CreateMirroredY(c.x, c.y);
    });
}

void MSelectionEdits::Rotate(MTessarayView* view, double angle) {
    const MFloatPoint c = m_tool.Handles().Center();
    ReplaceSelection(view, [&](MCadShape* s) { return s->CreateRotated(c.x, c.y, angle); });
}

void MSelectionEdits::RotateHere(MTessarayView* view, int direction) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    const MFloatPoint p = ContextPoint(view);
    const double angle = direction > 0 ? M_PI / 2 : -M_PI / 2;
    ReplaceSelection(view, [&](MCadShape* s) { return s->CreateRotated(p.x, p.y, angle); });
}

void MSelectionEdits::FlipHere(MTessarayView* view, char axis) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    const MFloatPoint p = ContextPoint(view);
    ReplaceSelection(view, [&](MCadShape* s) {
        return axis == 'x' ? s->CreateMirroredX(p.x, p.y) : s->CreateMirroredY(p.x, p.y);
    });
}

void MSelectionEdits::Move(MTessarayView* view, const MFloatPoint& offset, BOOL copy) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    if (!copy) {
        ReplaceSelection(view, [&](MCadShape* s) {
            MCadShape* moved = s->Duplicate();
            moved->Move(offset);
            return moved;
        });
        return;
    }
    m_tool.Handles().Hide(view);
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i) {
        std::unique_ptr<MCadShape> moved(m_tool.Lists().Pick(i)->Duplicate());
        moved->Move(offset);
        m_tool.Lists().AddNewExpanded(moved.get(), m_tool.Lists().PickLayer(i));
        moved.release();
    }
    m_tool.Commit(view, FALSE, TRUE);
    m_tool.Handles().Show(view);
}

void MSelectionEdits::Scale(MTessarayView* view, double sx, double sy) {
    if (std::fabs(sx) < kTinyFactor || std::fabs(sy) < kTinyFactor) return;
    const MFloatPoint c = m_tool.Handles().Center();
    ReplaceSelection(view, [&](MCadShape* s) {
        MCadShape* scaled = s->Clone();
        scaled->ScaleXY(c, sx, sy);
        return scaled;
    });
}

// ----- drawing order ----------------------------------------------------------------------------

void MSelectionEdits::MoveInOrder(MTessarayView* view, int position) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !m_tool.Document(view)) return;
    m_tool.Handles().Hide(view);
    // The first picked shape ends uppermost on top and lowest at the bottom: the copies are
    // appended in reverse order, or inserted in order.
    const int n = m_tool.Lists().PickCount();
    for (int k = 0; k < n; ++k) {
        const int i = position < 0 ? n - 1 - k : k;
        std::unique_ptr<MCadShape> copy(m_tool.Lists().Pick(i)->Duplicate());
        m_tool.Lists().AddNewExpanded(copy.get(), m_tool.Lists().PickLayer(i));
        copy.release();
        m_tool.Lists().AddEdited(m_tool.Lists().Pick(i), m_tool.Lists().PickLayer(i));
    }
    m_tool.CommitAt(view, position, TRUE);
    if (position < 0) {
        // The copies stay picked in the order of the selection.
        std::vector<std::tuple<MCadShape*, MFloatPoint, int>> picks;
        for (int i = m_tool.Lists().PickCount() - 1; i >= 0; --i)
            picks.emplace_back(m_tool.Lists().Pick(i), m_tool.Lists().PickPoint(i),
                               m_tool.Lists().PickLayer(i));
        m_tool.Lists().ClearPicks();
        for (const auto& [shape, point, layer] : picks)
            m_tool.Lists().AddPick(shape, point, layer);
    }
    m_tool.Handles().Show(view);
}

// ----- align and distribute ---------------------------------------------------------------------

void MSelectionEdits::Align(MTessarayView* view, UINT command) {
    if (m_tool.Lists().PickCount() < 2 || !m_tool.IsPickMode() || !view) return;
    MFloatRect e = m_tool.Lists().Picks().GetShapes().GetExtent();
    e.Normalize();
    const MFloatPoint c = m_tool.Handles().Center();
    ReplaceSelection(view, [&](MCadShape* s) {
        MCadShape* copy = s->Duplicate();
        copy->Recalc(view);
        MFloatRect r = copy->GetExtent();
        r.Normalize();
        const MFloatPoint centre = copy->GetCenter();
        MFloatPoint offset;
        switch (command) {
            case ID_ALIGN_LEFT:
                offset = MFloatPoint(e.left - r.left, 0);
                break;
            case ID_ALIGN_RIGHT:
                offset = MFloatPoint(e.right - r.right, 0);
                break;
            case ID_ALIGN_TOP:
                offset = MFloatPoint(0, e.top - r.top);
                break;
            case ID_ALIGN_BOTTOM:
                offset = MFloatPoint(0, e.bottom - r.bottom);
                break;
            case ID_ALIGN_BASE_X:
                offset = MFloatPoint(c.x - centre.x, 0);
                break;
            default:
                offset = MFloatPoint(0, c.y - centre.y);
                break;
        }
        copy->Move(offset);
        return copy;
    });
}

void MSelectionEdits::Distribute(MTessarayView* view, BOOL vertical) {
    const int n = m_tool.Lists().PickCount();
    if (n < 3 || !m_tool.IsPickMode() || !view) return;
    const auto key = [vertical](const MFloatPoint& p) { return vertical ? p.y : p.x; };
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::vector<double> centres;
    for (int i = 0; i < n; ++i)
        centres.push_back(key(m_tool.Lists().Pick(i)->GetCenter()));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return centres[static_cast<std::size_t>(a)] < centres[static_cast<std::size_t>(b)];
    });
    const double low = centres[static_cast<std::size_t>(order.front())];
    const double step = (centres[static_cast<std::size_t>(order.back())] - low) / (n - 1);
    std::vector<double> target(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        target[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])] = low + step * k;
    target[static_cast<std::size_t>(order.back())] = centres[static_cast<std::size_t>(order.back())];
    m_tool.Handles().Hide(view);
    for (int i = 0; i < n; ++i) {
        MCadShape* copy = m_tool.Lists().Pick(i)->Duplicate();
        const double d = target[static_cast<std::size_t>(i)] - centres[static_cast<std::size_t>(i)];
        copy->Move(vertical ? MFloatPoint(0, d) : MFloatPoint(d, 0));
        m_tool.Lists().AddReplacement(copy, i);
    }
    m_tool.Commit(view, FALSE, TRUE);
    m_tool.Handles().Show(view);
}

// ----- group, ungroup, explode, edit ------------------------------------------------------------

void MSelectionEdits::Group(MTessarayView* view) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    // Deeper groups would be folded into the deepest one when saved or copied.
    int deepest = 0;
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i)
        deepest = std::max(deepest, GroupNestingOf(*m_tool.Lists().Pick(i)));
    if (deepest >= kMaxGroupNesting) {
        AfxMessageBox(AfxFormatString1(IDS_GROUP_TOO_DEEP, std::to_string(kMaxGroupNesting)),
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_tool.Handles().Hide(view);
    auto group = std::make_unique<MGroupShape>(view, m_tool.Lists().Picks().GetShapes());
    m_tool.Lists().AddNewExpanded(group.get(), m_tool.Lists().PickLayer(0));
    group.release();
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i)
        m_tool.Lists().AddEdited(m_tool.Lists().Pick(i), m_tool.Lists().PickLayer(i));
    m_tool.DecideAndReset(view);
}

void MSelectionEdits::Ungroup(MTessarayView* view) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i)
        if (!dynamic_cast<MGroupShape*>(m_tool.Lists().Pick(i))) return;
    m_tool.Handles().Hide(view);
    // Each group's first member takes the group's place; the other members are appended to the
    // current layer. A group without members pairs with nothing and just goes.
    std::vector<int> order;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < m_tool.Lists().PickCount(); ++i)
            if ((static_cast<MGroupShape*>(m_tool.Lists().Pick(i))->GetShapeCount() > 0) == (pass == 0))
                order.push_back(i);
    int pairs = 0;
    for (int i : order) {
        const auto* group = static_cast<MGroupShape*>(m_tool.Lists().Pick(i));
        m_tool.Lists().AddEdited(m_tool.Lists().Pick(i), m_tool.Lists().PickLayer(i));
        if (group->GetShapeCount() == 0) continue;
        std::unique_ptr<MCadShape> first(group->GetShapeAt(0)->Duplicate());
        m_tool.Lists().AddNewExpanded(first.get(), m_tool.Lists().PickLayer(i));
        first.release();
        ++pairs;
    }
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i) {
        const auto* group = static_cast<MGroupShape*>(m_tool.Lists().Pick(i));
        for (int m = 1; m < group->GetShapeCount(); ++m) {
            std::unique_ptr<MCadShape> member(group->GetShapeAt(m)->Duplicate());
            m_tool.Lists().AddNewExpanded(member.get(), -1);
            member.release();
        }
    }
    m_tool.CommitPairs(view, pairs, TRUE);
    m_tool.Handles().Show(view);
}

namespace {

// A polygon's edges as lines of its stroke, a closed one closed; a filled one first keeps its
// fill as a copy without outline.
std::vector<std::unique_ptr<MCadShape>> ExplodePolygon(const MPolygonShape& q) {
    std::vector<std::unique_ptr<MCadShape>> pieces;
    if (!q.GetFillStyle().IsNone()) {
        std::unique_ptr<MCadShape> fill(q.Duplicate());
        fill->SetColor(kNoColor);
        pieces.push_back(std::move(fill));
    }
    const int n = q.GetPointCount();
    const auto edge = [&](const MFloatPoint& a, const MFloatPoint& b) {
        auto line = std::make_unique<MLineShape>(a, b);
        line->SetLineWidth(q.GetLineWidth());
        line->SetColor(q.GetColor());
        line->SetLineStyle(q.GetLineStyle());
        pieces.push_back(std::move(line));
    };
    for (int k = 0; k + 1 < n; ++k)
        edge(q.GetPoint(k), q.GetPoint(k + 1));
    if (q.IsClosed() && n > 2 && !q.GetPoint(n - 1).IsEqual(q.GetPoint(0)))
        edge(q.GetPoint(n - 1), q.GetPoint(0));
    return pieces;
}

}  // namespace

void MSelectionEdits::ExplodeToLines(MTessarayView* view) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    m_tool.Handles().Hide(view);
    MCutReplacements replacements;
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i)
        if (const auto* q = dynamic_cast<const MPolygonShape*>(m_tool.Lists().Pick(i)))
            replacements.Replace(m_tool.Lists().Pick(i), m_tool.Lists().PickLayer(i), ExplodePolygon(*q));
    replacements.Commit(m_tool, view, TRUE);
    m_tool.Handles().Show(view);
}

// ----- by the context point --------------------------------------------------------------------

BOOL MSelectionEdits::CanSetReferencePoint(MTessarayView* view) {
    if (m_tool.Lists().PickCount() != 1 || !view) return FALSE;
    const auto* group = dynamic_cast<const MGroupShape*>(m_tool.Lists().Pick(0));
    if (!group || !group->IsPlainGroup()) return FALSE;
    const MFloatPoint p = ContextPoint(view);
    MFloatRect e = group->GetExtent();
    e.Normalize();
    return p.x >= e.left && p.x <= e.right && p.y >= e.bottom && p.y <= e.top;
}

void MSelectionEdits::SetReferencePoint(MTessarayView* view) {
    if (!m_tool.IsPickMode() || !CanSetReferencePoint(view)) return;
    const MFloatPoint p = ContextPoint(view);
    ReplaceSelection(view, [&](MCadShape* s) {
        auto* copy = static_cast<MGroupShape*>(s->Duplicate());
        copy->SetBasePoint(p);
        return copy;
    });
}

// ----- the edit dialog of one shape --------------------------------------------------------------

void MSelectionEdits::EditShape(MTessarayView* view) {
    if (m_tool.Lists().PickCount() != 1 || !m_tool.IsPickMode() || !view) return;
    m_tool.Handles().Hide(view);
    std::unique_ptr<MCadShape> copy(m_tool.Lists().Pick(0)->Duplicate());
    if (::EditShape(*copy, view)) {
        m_tool.Lists().AddReplacement(copy.release(), 0);
        m_tool.DecideAndReset(view);
        return;
    }
    m_tool.Handles().Show(view);
    view->UpdateWindow();
}
