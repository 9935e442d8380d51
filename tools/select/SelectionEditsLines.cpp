// The edits of the selection that go by lines: mirror copies across the line under the context
// point, and lines and open polygons joined end to end into polylines.
#include <cmath>
#include <deque>
#include <memory>
#include <vector>

#include "model/geometry/Geometry.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/ui/Beep.h"
#include "tools/PickList.h"
#include "tools/edit/CutReplacements.h"
#include "tools/select/SelectionEdits.h"
#include "view/TessarayView.h"

namespace {

constexpr double kTinyMirrorLength = 1e-12;

}  // namespace

// ----- mirror copies ----------------------------------------------------------------------------

const MLineShape* MSelectionEdits::FindMirrorLine(MTessarayView* view) {
    if (m_tool.Lists().PickCount() == 0 || !view) return nullptr;
    ContextPoint(view);
    for (MCadShape* shape : {m_tool.GetSnapRecord().shape1, m_tool.GetSnapRecord().shape2}) {
        const auto* line = dynamic_cast<const MLineShape*>(shape);
        if (!line || m_tool.Lists().Picks().Find(shape) >= 0) continue;
        // A line of no length has no direction to mirror across.
        if ((line->m_end - line->m_start).GetLength() > kTinyMirrorLength) return line;
    }
    return nullptr;
}

void MSelectionEdits::MirrorCopyOnLine(MTessarayView* view) {
    if (!m_tool.IsPickMode()) return;
    const MLineShape* line = FindMirrorLine(view);
    if (!line) return;
    const MFloatPoint a = line->m_start, b = line->m_end;
    // A mirror across the line is a left-right flip turned by twice the normal's direction; the
    // normal, not the way to the line, so that shapes centred on the line turn as well.
    const double turn = 2 * ((b - a).GetAngle() + M_PI / 2);
    m_tool.Handles().Hide(view);
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i) {
        const MCadShape* s = m_tool.Lists().Pick(i);
        const MFloatPoint c = s->GetCenter();
        MFloatPoint foot;
        GetPerpendicularFoot(&foot, a, b, c);
        std::unique_ptr<MCadShape> flipped(s->CreateMirroredX(c.x, c.y));
        std::unique_ptr<MCadShape> copy(flipped ? flipped->CreateRotated(c.x, c.y, turn) : nullptr);
        if (!copy) continue;
        copy->Move((foot - c) * 2);
        m_tool.Lists().AddNewExpanded(copy.get(), m_tool.Lists().PickLayer(i));
        copy.release();
    }
    m_tool.Commit(view, FALSE, TRUE);
    m_tool.Handles().Show(view);
}

// ----- join into polylines ----------------------------------------------------------------------

namespace {

// A selected shape with its points as a chain: a line's ends, an open polygon's vertices (a
// closed one's too, the first again at the end); none for other shapes.
struct Joinable {
    MCadShape* shape;
    int layer;
    std::vector<MFloatPoint> points;
    bool taken = false;
};

bool ChainPoints(const MCadShape* s, std::vector<MFloatPoint>* points) {
    if (const auto* line = dynamic_cast<const MLineShape*>(s)) {
        *points = {line->m_start, line->m_end};
        return true;
    }
    const auto* q = dynamic_cast<const MPolygonShape*>(s);
    if (!q || q->GetPointCount() < 2) return false;
    points->clear();
    for (int k = 0; k < q->GetPointCount(); ++k)
        points->push_back(q->GetPoint(k));
    if (q->IsClosed()) points->push_back(q->GetPoint(0));
    return true;
}

// MFloatPoint::IsEqual, after a test without a square root that rejects most pairs: the distance
// is at least |dx| and the tolerance at most 10 eps (|x| + |y|) of both points.
bool Touches(const MFloatPoint& a, const MFloatPoint& b) {
    const double bound =
        10 * 2.220446e-16 * (std::fabs(a.x) + std::fabs(a.y) + std::fabs(b.x) + std::fabs(b.y));
    if (std::fabs(a.x - b.x) > bound || std::fabs(a.y - b.y) > bound) return false;
    return a.IsEqual(b) != FALSE;
}

// Joins every open chain of rest that touches an end of the chain, comparing with the ends as
// they are after each join (a branch at a joint stays). The joined entries are marked taken and
// listed in joined, in order.
bool ExtendChain(std::deque<MFloatPoint>& chain, std::vector<Joinable>& rest,
                 std::vector<Joinable*>& joined) {
    bool any = false;
    for (Joinable& r : rest) {
        const std::vector<MFloatPoint>& p = r.points;
        if (r.taken || p.empty()) continue;
        if (Touches(chain.front(), p.front())) {
            for (std::size_t k = 1; k < p.size(); ++k)
                chain.push_front(p[k]);
        } else if (Touches(chain.front(), p.back())) {
            for (std::size_t k = p.size() - 1; k-- > 0;)
                chain.push_front(p[k]);
        } else if (Touches(chain.back(), p.front())) {
            for (std::size_t k = 1; k < p.size(); ++k)
                chain.push_back(p[k]);
        } else if (Touches(chain.back(), p.back())) {
            for (std::size_t k = p.size() - 1; k-- > 0;)
                chain.push_back(p[k]);
        } else {
            continue;
        }
        r.taken = true;
        joined.push_back(&r);
        any = true;
    }
    return any;
}

std::unique_ptr<MCadShape> ChainPolygon(std::deque<MFloatPoint>& chain, const MCadShape& style) {
    const bool closed = chain.size() > 2 && chain.front().IsEqual(chain.back());
    if (closed) chain.pop_back();
    auto polygon = std::make_unique<MPolygonShape>(closed ? TRUE : FALSE);
    for (const MFloatPoint& point : chain)
        polygon->AddPoint(point);
    polygon->CopyStyleFrom(&style);
    return polygon;
}

}  // namespace

void MSelectionEdits::JoinIntoPolyline(MTessarayView* view) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    m_tool.Handles().Hide(view);
    if (m_tool.Lists().PickCount() == 1) {
        if (const auto* p = dynamic_cast<const MPolygonShape*>(m_tool.Lists().Pick(0))) {
            std::unique_ptr<MPolygonShape> copy(p->CopyAsPolygon());
            copy->CopyStyleFrom(p);
            m_tool.Lists().AddReplacement(copy.release(), 0);
            m_tool.Commit(view, FALSE, TRUE);
        } else {
            NothingJoined(view);
        }
        m_tool.Handles().Show(view);
        return;
    }
    std::vector<Joinable> rest;
    rest.reserve(static_cast<std::size_t>(m_tool.Lists().PickCount()));
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i) {
        Joinable j{m_tool.Lists().Pick(i), m_tool.Lists().PickLayer(i), {}};
        // A closed polygon joins no chain; it may still start one of its own.
        const auto* q = dynamic_cast<const MPolygonShape*>(j.shape);
        if (!(q && q->IsClosed()) && !ChainPoints(j.shape, &j.points)) j.points.clear();
        rest.push_back(std::move(j));
    }
    MCutReplacements replacements;
    std::vector<MFloatPoint> points;
    for (Joinable& q : rest) {
        if (q.taken) continue;
        q.taken = true;
        if (!ChainPoints(q.shape, &points)) continue;
        std::deque<MFloatPoint> chain(points.begin(), points.end());
        std::vector<Joinable*> joined;
        while (ExtendChain(chain, rest, joined)) {
        }
        if (joined.empty()) continue;
        joined.push_back(&q);
        // The polygon takes the place and layer of the first shape joined to q.
        std::vector<std::unique_ptr<MCadShape>> pieces;
        pieces.push_back(ChainPolygon(chain, *q.shape));
        replacements.Replace(joined.front()->shape, joined.front()->layer, std::move(pieces));
        for (std::size_t k = 1; k < joined.size(); ++k)
            replacements.Replace(joined[k]->shape, joined[k]->layer, {});
    }
    if (replacements.IsEmpty())
        NothingJoined(view);
    else
        replacements.Commit(m_tool, view, TRUE);
    m_tool.Handles().Show(view);
}

void MSelectionEdits::NothingJoined(MTessarayView* view) {
    // Every shape was taken from the selection to start a chain and none came back as a polygon:
    // the selection ends empty, the drawing as it was, and the user hears that nothing was joined.
    m_tool.Commit(view, FALSE, TRUE);
    MessageBeep(kBeepDefault);
}
