#include "document/DocShapeArray.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <istream>
#include <ostream>
#include <vector>

#include "model/CadView.h"
#include "model/helpers/TextStream.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/Archive.h"
#include "platform/TextFile.h"
#include "platform/gdi/DC.h"

BOOL DrawingToMetafile = FALSE;

IMPLEMENT_SERIAL(MDocShapeArray, CObject, 1)

namespace {
WORD DisplayMode() {
    return GetOptionRecord().m_layer;
}
}  // namespace

MDocShapeArray::MDocShapeArray() = default;

MDocShapeArray::~MDocShapeArray() = default;

void MDocShapeArray::Serialize(CArchive& ar) {
    NoteChange();
    if (ar.IsStoring()) {
        ar << static_cast<std::int32_t>(m_current);
        m_layers.Serialize(ar);
    } else {
        std::int32_t current = 0;
        ar >> current;
        m_current = current;
        m_layers.Serialize(ar);
        ClampCurrent();
    }
}

MLayer* MDocShapeArray::GetLayer(int index) const {
    return index >= 0 && index < GetLayerCount() ? m_layers.GetLayer(index) : nullptr;
}

void MDocShapeArray::ClampCurrent() {
    if (m_current >= GetLayerCount()) m_current = GetLayerCount() - 1;
    if (m_current < 0) m_current = 0;
}

void MDocShapeArray::SetCurrentLayer(int index) {
    m_current = index;
    ClampCurrent();
}

int MDocShapeArray::ResolveLayer(int layer) const {
    if (layer == -1) layer = m_current;
    return layer >= 0 && layer < GetLayerCount() ? layer : -1;
}

int MDocShapeArray::FindLayerOf(const MCadShape* shape) const {
    for (int i = 0; i < GetLayerCount(); ++i)
        if (GetLayer(i)->Find(shape) >= 0) return i;
    return -1;
}

int MDocShapeArray::FindShape(const MCadShape* shape, int layer) const {
    const MLayer* l = GetLayer(ResolveLayer(layer));
    return l ? l->Find(shape) : -1;
}

int MDocShapeArray::FindLayerByName(const CString& name) const {
    // An empty name stands for no layer (no binding, no target), even where a file gave one no name.
    if (name.empty()) return -1;
    for (int i = 0; i < GetLayerCount(); ++i)
        if (GetLayer(i)->m_name == name) return i;
    return -1;
}

int MDocShapeArray::AddShapeToLayer(MCadShape* shape, int layer) {
    NoteChange();
    MLayer* l = GetLayer(ResolveLayer(layer));
    return l ? l->Add(shape) : -1;
}

int MDocShapeArray::InsertShapeInLayer(int position, MCadShape* shape, int layer) {
    NoteChange();
    MLayer* l = GetLayer(ResolveLayer(layer));
    if (!l) return -1;
    if (position < 0 || position >= l->GetSize()) return l->Add(shape);
    l->InsertAt(position, shape);
    return position;
}

int MDocShapeArray::PutShapeInLayer(int position, MCadShape* shape, int layer) {
    NoteChange();
    MLayer* l = GetLayer(ResolveLayer(layer));
    if (!l) return -1;
    if (position < 0 || position >= l->GetSize()) return l->Add(shape);
    l->SetAt(position, shape);
    return position;
}

int MDocShapeArray::RemoveShapeFromLayer(MCadShape* shape, int layer, int* foundLayer) {
    NoteChange();
    if (foundLayer) *foundLayer = -1;
    if (layer >= 0) {
        MLayer* l = GetLayer(layer);
        const int index = l ? l->Remove(shape) : -1;
        if (index >= 0 && foundLayer) *foundLayer = layer;
        return index;
    }
    for (int i = GetLayerCount() - 1; i >= 0; --i) {
        const int index = GetLayer(i)->Remove(shape);
        if (index >= 0) {
            if (foundLayer) *foundLayer = i;
            return index;
        }
    }
    return -1;
}

int MDocShapeArray::AddLayer(MLayer* layer) {
    NoteChange();
    return m_layers.Add(layer);
}

int MDocShapeArray::InsertLayer(int index, MLayer* layer) {
    NoteChange();
    if (index < 0 || index >= GetLayerCount()) return m_layers.Add(layer);
    m_layers.InsertAt(index, layer);
    return index;
}

MLayer* MDocShapeArray::RemoveLayer(int index) {
    NoteChange();
    if (GetLayerCount() == 0) return nullptr;
    if (index < 0) index = GetLayerCount() - 1;
    if (index >= GetLayerCount()) return nullptr;
    MLayer* layer = GetLayer(index);
    m_layers.RemoveAt(index);
    ClampCurrent();
    return layer;
}

int MDocShapeArray::FindLayer(const MLayer* layer) const {
    return m_layers.Find(layer);
}

void MDocShapeArray::RemoveAll() {
    NoteChange();
    m_layers.DeleteAll();
    m_current = 0;
}

MFloatRect MDocShapeArray::GetExtent() const {
    MFloatRect extent;
    bool first = true;
    for (int i = 0; i < GetLayerCount(); ++i) {
        const MLayer* l = GetLayer(i);
        if (l->GetSize() == 0) continue;
        const MFloatRect r = l->GetExtent();
        if (first) {
            extent = r;
            first = false;
        } else {
            extent.Union(r);
        }
    }
    return extent;
}

void MDocShapeArray::MoveAll(const MFloatPoint& offset) {
    NoteChange();
    for (int i = 0; i < GetLayerCount(); ++i)
        GetLayer(i)->Move(offset);
}

void MDocShapeArray::RecalcAll(MCadView* view) {
    NoteChange();
    for (int i = 0; i < GetLayerCount(); ++i)
        GetLayer(i)->RecalcAll(view);
}

bool MDocShapeArray::RecalcForFit(MCadView* view) {
    NoteChange();
    MFitRecalc fit(view);
    for (int i = 0; i < GetLayerCount(); ++i)
        fit.Add(*GetLayer(i));
    for (int i = 0; i < GetLayerCount(); ++i)
        fit.Settle(*GetLayer(i));
    return fit.FollowsScale();
}

void MDocShapeArray::RecalcScaledExtents(MCadView* view) {
    NoteChange();
    for (int i = 0; i < GetLayerCount(); ++i)
        GetLayer(i)->RecalcScaledExtents(view);
}

BOOL MDocShapeArray::IsEditable(int layer) const {
    const MLayer* l = GetLayer(layer);
    if (!l) return FALSE;
    if (layer == m_current) return TRUE;
    return (DisplayMode() & kLayerOthersSelectable) && l->IsVisible() && l->IsSelectable();
}

void MDocShapeArray::Draw(MCadView* view, CDC* dc) {
    if (!view || !dc) return;
    const WORD mode = DisplayMode();
    for (int i = 0; i < GetLayerCount(); ++i) {
        MLayer* l = GetLayer(i);
        const bool current = i == m_current;
        if (dc->IsPrinting()) {
            if (l->IsPrintable() && l->IsVisible()) l->DrawClipped(view, dc);
        } else if (DrawingToMetafile) {
            if (l->IsVisible()) l->DrawAll(view, dc);
        } else if (mode & kLayerOthersShown) {
            if (current || l->IsVisible()) l->DrawClipped(view, dc);
        } else if (mode & kLayerOthersGrey) {
            if (current)
                l->DrawClipped(view, dc);
            else if (l->IsVisible())
                l->DrawGrayedVisible(view, dc);
        } else if (current) {
            l->DrawClipped(view, dc);
        }
    }
}

MCadShape* MDocShapeArray::HitTest(MCadView* view, int x, int y, int* layer, int tolerance) const {
    if (layer) *layer = -1;
    for (int i = GetLayerCount() - 1; i >= 0; --i) {
        if (!IsEditable(i)) continue;
        if (MCadShape* hit = GetLayer(i)->HitTest(view, x, y, tolerance)) {
            if (layer) *layer = i;
            return hit;
        }
    }
    return nullptr;
}

int MDocShapeArray::SelectShapesInRect(MCadView* view, MLShapeArray* selection, MFloatPointArray* points,
                                       MFloatRect rect, int mode) const {
    rect.Normalize();
    int taken = 0;
    for (int i = 0; i < GetLayerCount(); ++i) {
        if (!IsEditable(i)) continue;
        const MLayer* l = GetLayer(i);
        for (int k = 0; k < l->GetSize(); ++k) {
            MCadShape* s = l->GetAt(k);
            if (!s) continue;
            const bool inside = (mode & 1) && rect.ContainsRect(s->GetExtent());
            const bool crossing = !inside && (mode & 2) && s->IntersectsRect(rect);
            if (!inside && !crossing) continue;
            if (selection) selection->Add(s, static_cast<DWORD>(i));
            if (points) points->Add(s->GetCenter());
            ++taken;
        }
    }
    return taken;
}

int MDocShapeArray::SelectAllShapes(MCadView* view, MLShapeArray* selection, MFloatPointArray* points) const {
    int taken = 0;
    for (int i = 0; i < GetLayerCount(); ++i) {
        if (!IsEditable(i)) continue;
        const MLayer* l = GetLayer(i);
        for (int k = 0; k < l->GetSize(); ++k) {
            MCadShape* s = l->GetAt(k);
            if (!s) continue;
            if (selection) selection->Add(s, static_cast<DWORD>(i));
            if (points) points->Add(s->GetCenter());
            ++taken;
        }
    }
    return taken;
}

namespace {

bool Cancelled(const MSnapQuery& query) {
    return query.cancel && query.cancel();
}

}  // namespace

double MDocShapeArray::SearchLayerSnap(const MLayer* layer, MSnapPoint& snap, const MSnapQuery& query,
                                       double best, bool& aborted) const {
    const MFloatPoint& cursor = query.cursor;
    const MFloatRect& aperture = query.aperture;
    const WORD kinds = query.kinds;
    const int n = layer->GetSize();
    // A crossing inside the aperture lies on both shapes, so inside both extents: only shapes whose
    // extent meets the aperture are paired, each with the later ones, in the layer's order.
    std::vector<int> near;
    if (kinds & kSnapIntersection)
        for (int i = 0; i < n; ++i)
            if (const MCadShape* s = layer->GetAt(i); s && s->GetExtent().Overlaps(aperture))
                near.push_back(i);
    std::size_t nextNear = 0;
    for (int i = 0; i < n; ++i) {
        MCadShape* s = layer->GetAt(i);
        if (!s) continue;
        if (i + 1 < n && Cancelled(query)) {
            aborted = true;
            return best;
        }
        best = s->SnapPoints(snap, cursor, aperture, kinds, best);
        if (nextNear >= near.size() || near[nextNear] != i) continue;
        ++nextNear;
        if (!s->IsInRect(aperture)) continue;
        for (std::size_t k = nextNear; k < near.size(); ++k)
            best = layer->GetAt(near[k])->SnapIntersection(s, snap, cursor, aperture, best);
    }
    return best;
}

namespace {

// The aperture grown by far more than the rounding of a crossing computed inside it, so that a
// shape that misses the grown square cannot hold such a crossing.
MFloatRect Widened(const MFloatRect& r) {
    const double reach =
        std::max({std::fabs(r.left), std::fabs(r.right), std::fabs(r.top), std::fabs(r.bottom)});
    const double m = 1e-7 * (reach + r.GetWidth() + r.GetHeight() + 1.0);
    return MFloatRect(r.left - m, r.bottom - m, r.right + m, r.top + m);
}

}  // namespace

const MSnapIndex* MDocShapeArray::SnapIndexOf(const MLayer* layer) const {
    if (!m_snapIndexing || !layer) return nullptr;
    if (m_indexedChanges != m_changes) {
        // Layers may have gone: their indexes go too.
        for (auto it = m_snapIndexes.begin(); it != m_snapIndexes.end();)
            it = FindLayer(it->first) < 0 ? m_snapIndexes.erase(it) : std::next(it);
        m_indexedChanges = m_changes;
    }
    std::unique_ptr<MSnapIndex>& index = m_snapIndexes[layer];
    if (!index) index = std::make_unique<MSnapIndex>();
    index->Update(*layer, m_changes);
    return index.get();
}

std::size_t MDocShapeArray::SnapIndexBytes() const {
    std::size_t bytes = 0;
    for (const auto& [layer, index] : m_snapIndexes)
        bytes += index->MemoryBytes();
    return bytes;
}

double MDocShapeArray::SearchLayerSnapNear(const MLayer* layer, MSnapPoint& snap, const MSnapQuery& query,
                                           double best, bool& aborted) const {
    const MFloatPoint& cursor = query.cursor;
    const MFloatRect& aperture = query.aperture;
    const WORD kinds = query.kinds;
    // The same walk as the whole layer's, in the layer's order, over the shapes that can offer or
    // cross anything inside the aperture.
    std::vector<int> candidates;
    SnapIndexOf(layer)->Query(aperture, candidates);
    std::vector<int> near;
    if (kinds & kSnapIntersection) {
        const MFloatRect widened = Widened(aperture);
        for (const int i : candidates)
            if (const MCadShape* s = layer->GetAt(i);
                s && s->GetExtent().Overlaps(aperture) && s->MayMeetRect(widened))
                near.push_back(i);
    }
    // Only a crossing strictly nearer than the best so far can win, and it lies in the square of
    // that half size around the cursor: once the best shrinks, shapes that miss the square leave.
    double narrowedAt = DBL_MAX;
    const auto narrow = [&](std::size_t from) {
        if (!(best < narrowedAt)) return;
        narrowedAt = best;
        MFloatRect square(cursor.x - best, cursor.y - best, cursor.x + best, cursor.y + best);
        square.left = std::max(square.left, aperture.left);
        square.right = std::min(square.right, aperture.right);
        square.bottom = std::max(square.bottom, aperture.bottom);
        square.top = std::min(square.top, aperture.top);
        const MFloatRect widened = Widened(square);
        near.erase(std::remove_if(near.begin() + static_cast<std::ptrdiff_t>(from), near.end(),
                                  [&](int k) { return !layer->GetAt(k)->MayMeetRect(widened); }),
                   near.end());
    };
    std::size_t nextNear = 0;
    for (const int i : candidates) {
        MCadShape* s = layer->GetAt(i);
        if (!s) continue;
        if (Cancelled(query)) {
            aborted = true;
            return best;
        }
        best = s->SnapPoints(snap, cursor, aperture, kinds, best);
        narrow(nextNear);
        if (nextNear >= near.size() || near[nextNear] != i) continue;
        ++nextNear;
        if (!s->IsInRect(aperture)) continue;
        for (std::size_t k = nextNear; k < near.size(); ++k) {
            if (best < narrowedAt) {
                // The outer shape may have left the square too.
                narrow(k);
                if (!s->MayMeetRect(Widened(
                        MFloatRect(cursor.x - best, cursor.y - best, cursor.x + best, cursor.y + best))))
                    break;
                if (k >= near.size()) break;
            }
            best = layer->GetAt(near[k])->SnapIntersection(s, snap, cursor, aperture, best);
            if (Cancelled(query)) {
                aborted = true;
                return best;
            }
        }
    }
    return best;
}

MSnapPoint MDocShapeArray::FindSnapPoint(const MSnapQuery& query) const {
    if (GetLayerCount() == 0) return MSnapPoint();
    const WORD kinds = query.kinds;
    const MFloatPoint& cursor = query.cursor;
    const MFloatRect& aperture = query.aperture;
    const WORD mode = DisplayMode();
    const bool others = (mode & kLayerOthersSnap) && !query.currentLayerOnly;
    // Indexes out of date are rebuilt before the search starts asking to be cancelled.
    for (int i = 0; m_snapIndexing && i < GetLayerCount(); ++i)
        if (i == m_current || (others && GetLayer(i)->IsVisible())) SnapIndexOf(GetLayer(i));
    const MSnapCancelScope cancelScope(&query.cancel);

    MSnapPoint snap;
    double best = DBL_MAX;
    bool aborted = false;

    const auto searchPoints = [&](const MLayer* l) {
        best = m_snapIndexing ? SearchLayerSnapNear(l, snap, query, best, aborted)
                              : SearchLayerSnap(l, snap, query, best, aborted);
    };

    constexpr WORD kPointKinds =
        kSnapEndPoint | kSnapIntersection | kSnapMidPoint | kSnapCenter | kSnapGrid | kSnapBasePoint;
    if (kinds & kPointKinds) {
        if (const MLayer* current = GetCurrentLayer()) searchPoints(current);
        for (int i = GetLayerCount() - 1; others && !aborted && i >= 0; --i) {
            if (i == m_current || !GetLayer(i)->IsVisible()) continue;
            searchPoints(GetLayer(i));
        }
        if (snap.kind != 0) return snap;
    }

    if ((kinds & kSnapOnShape) && query.view) {
        aborted = false;
        std::vector<int> candidates;
        const auto tryShape = [&](MCadShape* s) {
            if (!s || !s->GetDrawExtent().Overlaps(aperture)) return;
            if (!s->IntersectsRectPixel(query.view, query.logicalAperture, aperture)) return;
            MFloatPoint foot;
            if (s->HitTest(query.view, query.logicalCursor, &foot, query.tolerance)) {
                const double d = std::hypot(foot.x - cursor.x, foot.y - cursor.y);
                if (d < best) {
                    best = d;
                    snap = MSnapPoint(foot, kSnapOnShape, s);
                }
            }
            if (Cancelled(query)) aborted = true;
        };
        const auto searchLayer = [&](int index) {
            const MLayer* l = GetLayer(index);
            if (const MSnapIndex* snapIndex = SnapIndexOf(l)) {
                candidates.clear();
                snapIndex->Query(aperture, candidates);
                for (auto k = candidates.rbegin(); k != candidates.rend() && !aborted; ++k)
                    tryShape(l->GetAt(*k));
            } else {
                for (int k = l->GetSize() - 1; k >= 0 && !aborted; --k)
                    tryShape(l->GetAt(k));
            }
        };
        if (GetCurrentLayer()) searchLayer(m_current);
        for (int i = GetLayerCount() - 1; others && !aborted && i >= 0; --i)
            if (i != m_current && GetLayer(i)->IsVisible()) searchLayer(i);
        if (snap.kind != 0) return snap;
    }
    return MSnapPoint();
}

void MDocShapeArray::WriteText(CDocument* doc, std::ostream& os) const {
    os << '\t' << m_current << "\n\t" << GetLayerCount() << '\n';
    for (int i = 0; i < GetLayerCount(); ++i)
        GetLayer(i)->WriteText(doc, os);
}

void MDocShapeArray::ReadLayersHeader(CDocument* doc, std::istream& is) {
    NoteChange();
    // Each value is parsed from its own line, so that a missing one never takes the next section's
    // header with it.
    if (!is.good() || is.peek() == '[') return;
    TextInput value(ReadTextLine(is));
    int current = 0;
    if (value >> current) m_current = current;
    // The count line, which the "[LAYER]" sections make redundant.
    if (is.good() && is.peek() != '[') SkipTextLine(is);
}
