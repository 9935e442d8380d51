// The select tool's arrangement and transforms: each turns the selection into copies that replace
// it in one commit, so every command is one undo step and the copies stay selected.
#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <tuple>
#include <vector>

#include "document/TessarayDoc.h"
#include "model/FillStyle.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "resources/ResourceIds.h"
#include "tools/PickList.h"
#include "tools/edit/CutReplacements.h"
#include "tools/select/SelectTool.h"
#include "view/TessarayView.h"

namespace {

constexpr double kTinyFactor = 2.220446e-15;

}  // namespace

MFloatPoint MSelectTool::ContextPoint(MTessarayView* view) {
    const MFloatPoint p = Snap(view, m_contextPoint.x, m_contextPoint.y, 0).point;
    return p;
}

// ----- flips, rotations, moves, scaling ---------------------------------------------------------

void MSelectTool::FlipHorizontal(MTessarayView* view) {
    const MFloatPoint c = GetSelectionCenter();
    ReplaceSelection(view, [&](MCadShape* s) { return s->CreateMirroredX(c.x, c.y); });
}

void MSelectTool::FlipVertical(MTessarayView* view) {
    const MFloatPoint c = GetSelectionCenter();
    ReplaceSelection(view, [&](MCadShape* s) { return s->CreateMirroredY(c.x, c.y); });
}

void MSelectTool::RotateSelection(MTessarayView* view, double angle) {
    const MFloatPoint c = GetSelectionCenter();
    ReplaceSelection(view, [&](MCadShape* s) { return s->CreateRotated(c.x, c.y, angle); });
}

void MSelectTool::RotateHere(MTessarayView* view, int direction) {
    if (GetPickCount() == 0 || !IsPickMode() || !view) return;
    const MFloatPoint p = ContextPoint(view);
    const double angle = direction > 0 ? M_PI / 2 : -M_PI / 2;
    ReplaceSelection(view, [&](MCadShape* s) { return s->CreateRotated(p.x, p.y, angle); });
}

void MSelectTool::FlipHere(MTessarayView* view, char axis) {
    if (GetPickCount() == 0 || !IsPickMode() || !view) return;
    const MFloatPoint p = ContextPoint(view);
    ReplaceSelection(view, [&](MCadShape* s) {
        return axis == 'x' ? s->CreateMirroredX(p.x, p.y) : s->CreateMirroredY(p.x, p.y);
    });
}

void MSelectTool::MoveSelection(MTessarayView* view, const MFloatPoint& offset, BOOL copy) {
    if (GetPickCount() == 0 || !IsPickMode() || !view) return;
    if (!copy) {
        ReplaceSelection(view, [&](MCadShape* s) {
            MCadShape* moved = s->Duplicate();
            moved->Move(offset);
            return moved;
        });
        return;
    }
    HideHandles(view);
    for (int i = 0; i < GetPickCount(); ++i) {
        std::unique_ptr<MCadShape> moved(GetPickShape(i)->Duplicate());
        moved->Move(offset);
        AddNewShapeExpanded(moved.get(), GetPickLayer(i));
        moved.release();
    }
    Commit(view, FALSE, TRUE);
    ShowHandles(view);
}

void MSelectTool::ScaleSelection(MTessarayView* view, double sx, double sy) {
    if (std::fabs(sx) < kTinyFactor || std::fabs(sy) < kTinyFactor) return;
    const MFloatPoint c = GetSelectionCenter();
    ReplaceSelection(view, [&](MCadShape* s) {
        MCadShape* scaled = s->Clone();
        scaled->ScaleXY(c, sx, sy);
        return scaled;
    });
}

// ----- drawing order ----------------------------------------------------------------------------

void MSelectTool::MoveToTop(MTessarayView* view) {
    MoveToPosition(view, -1);
}

void MSelectTool::MoveToBottom(MTessarayView* view) {
    MoveToPosition(view, 0);
}

void MSelectTool::MoveToPosition(MTessarayView* view, int position) {
    if (GetPickCount() == 0 || !IsPickMode() || !Document(view)) return;
    HideHandles(view);
    // The first picked shape ends uppermost on top and lowest at the bottom: the copies are
    // appended in reverse order, or inserted in order.
    const int n = GetPickCount();
    for (int k = 0; k < n; ++k) {
        const int i = position < 0 ? n - 1 - k : k;
        std::unique_ptr<MCadShape> copy(GetPickShape(i)->Duplicate());
        AddNewShapeExpanded(copy.get(), GetPickLayer(i));
        copy.release();
        AddOriginalShape(GetPickShape(i), GetPickLayer(i));
    }
    CommitAt(view, position, TRUE);
    if (position < 0) {
        // The copies stay picked in the order of the selection.
        std::vector<std::tuple<MCadShape*, MFloatPoint, int>> picks;
        for (int i = GetPickCount() - 1; i >= 0; --i)
            picks.emplace_back(GetPickShape(i), GetPickPoint(i), GetPickLayer(i));
        ClearPicks();
        for (const auto& [shape, point, layer] : picks)
            AddPick(shape, point, layer);
    }
    ShowHandles(view);
}

// ----- align and distribute ---------------------------------------------------------------------

void MSelectTool::Align(MTessarayView* view, UINT command) {
    if (GetPickCount() < 2 || !IsPickMode() || !view) return;
    MFloatRect e = GetPickArray()->GetShapes().GetExtent();
    e.Normalize();
    const MFloatPoint c = GetSelectionCenter();
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

void MSelectTool::Distribute(MTessarayView* view, BOOL vertical) {
    const int n = GetPickCount();
    if (n < 3 || !IsPickMode() || !view) return;
    const auto key = [vertical](const MFloatPoint& p) { return vertical ? p.y : p.x; };
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::vector<double> centres;
    for (int i = 0; i < n; ++i)
        centres.push_back(key(GetPickShape(i)->GetCenter()));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return centres[static_cast<std::size_t>(a)] < centres[static_cast<std::size_t>(b)];
    });
    const double low = centres[static_cast<std::size_t>(order.front())];
    const double step = (centres[static_cast<std::size_t>(order.back())] - low) / (n - 1);
    std::vector<double> target(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        target[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])] = low + step * k;
    target[static_cast<std::size_t>(order.back())] = centres[static_cast<std::size_t>(order.back())];
    HideHandles(view);
    for (int i = 0; i < n; ++i) {
        MCadShape* copy = GetPickShape(i)->Duplicate();
        const double d = target[static_cast<std::size_t>(i)] - centres[static_cast<std::size_t>(i)];
        copy->Move(vertical ? MFloatPoint(0, d) : MFloatPoint(d, 0));
        AddReplacement(copy, i);
    }
    Commit(view, FALSE, TRUE);
    ShowHandles(view);
}

// ----- group, ungroup, explode, edit ------------------------------------------------------------

void MSelectTool::Group(MTessarayView* view) {
    if (GetPickCount() == 0 || !IsPickMode() || !view) return;
    HideHandles(view);
    auto group = std::make_unique<MGroupShape>(view, GetPickArray()->GetShapes());
    AddNewShapeExpanded(group.get(), GetPickLayer(0));
    group.release();
    for (int i = 0; i < GetPickCount(); ++i)
        AddOriginalShape(GetPickShape(i), GetPickLayer(i));
    DecideAndReset(view);
}

void MSelectTool::Ungroup(MTessarayView* view) {
    if (GetPickCount() == 0 || !IsPickMode() || !view) return;
    for (int i = 0; i < GetPickCount(); ++i)
        if (!dynamic_cast<MGroupShape*>(GetPickShape(i))) return;
    HideHandles(view);
    // Each group's first member takes the group's place; the other members are appended to the
    // current layer. A group without members pairs with nothing and just goes.
    std::vector<int> order;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < GetPickCount(); ++i)
            if ((static_cast<MGroupShape*>(GetPickShape(i))->GetShapeCount() > 0) == (pass == 0))
                order.push_back(i);
    int pairs = 0;
    for (int i : order) {
        const auto* group = static_cast<MGroupShape*>(GetPickShape(i));
        AddOriginalShape(GetPickShape(i), GetPickLayer(i));
        if (group->GetShapeCount() == 0) continue;
        std::unique_ptr<MCadShape> first(group->GetShapeAt(0)->Duplicate());
        AddNewShapeExpanded(first.get(), GetPickLayer(i));
        first.release();
        ++pairs;
    }
    for (int i = 0; i < GetPickCount(); ++i) {
        const auto* group = static_cast<MGroupShape*>(GetPickShape(i));
        for (int m = 1; m < group->GetShapeCount(); ++m) {
            std::unique_ptr<MCadShape> member(group->GetShapeAt(m)->Duplicate());
            AddNewShapeExpanded(member.get(), -1);
            member.release();
        }
    }
    CommitPairs(view, pairs, TRUE);
    ShowHandles(view);
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

void MSelectTool::ExplodeToLines(MTessarayView* view) {
    if (GetPickCount() == 0 || !IsPickMode() || !view) return;
    HideHandles(view);
    MCutReplacements replacements;
    for (int i = 0; i < GetPickCount(); ++i)
        if (const auto* q = dynamic_cast<const MPolygonShape*>(GetPickShape(i)))
            replacements.Replace(GetPickShape(i), GetPickLayer(i), ExplodePolygon(*q));
    replacements.Commit(*this, view, TRUE);
    ShowHandles(view);
}

void MSelectTool::EditShape(MTessarayView* view) {
    if (GetPickCount() != 1 || !IsPickMode() || !view) return;
    HideHandles(view);
    std::unique_ptr<MCadShape> copy(GetPickShape(0)->Duplicate());
    if (copy->Edit(view)) {
        AddReplacement(copy.release(), 0);
        DecideAndReset(view);
        return;
    }
    ShowHandles(view);
    view->UpdateWindow();
}
