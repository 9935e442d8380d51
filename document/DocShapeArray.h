// The layer container of a drawing: the layers in display order and the index of the current layer,
// the one that receives new shapes. It answers the questions asked of the whole drawing: draw it by
// the layer display mode, the shape under the cursor, shapes in a rectangle, the nearest snap point,
// and where a shape lives.
//
// Invariant: when layers exist, 0 <= current < layer count; without layers current is 0.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <unordered_map>
#include <vector>

#include "document/LayerArray.h"
#include "document/SnapIndex.h"
#include "model/SnapPoint.h"
#include "model/geometry/FloatPointArray.h"
#include "model/geometry/FloatRect.h"

class CDC;
class CDocument;
class MCadView;
class MCadShape;
class MLShapeArray;

// Bits of the layer display mode (the option LAYER).
enum : WORD {
    kLayerOthersGrey = 0x2,        // other visible layers drawn grey (when kLayerOthersShown is clear)
    kLayerOthersShown = 0x4,       // other visible layers drawn normally
    kLayerOthersSnap = 0x8,        // snapping also on other visible layers
    kLayerOthersSelectable = 0x10  // picking also on other visible, selectable layers
};

// Set while the view renders into a metafile: every visible layer is then drawn whole.
extern BOOL DrawingToMetafile;

class MDocShapeArray : public CObject {
    DECLARE_SERIAL(MDocShapeArray)
public:
    MDocShapeArray();
    ~MDocShapeArray() override;
    MDocShapeArray(const MDocShapeArray&) = delete;
    MDocShapeArray& operator=(const MDocShapeArray&) = delete;

    // Current (int32), then the layer array. Loading validates the layers and clamps current.
    void Serialize(CArchive& ar) override;

    int GetLayerCount() const { return m_layers.GetSize(); }
    // Null outside the list.
    MLayer* GetLayer(int index) const;
    // Null when there are no layers.
    MLayer* GetCurrentLayer() const { return GetLayer(m_current); }
    int GetCurrentLayerIndex() const { return m_current; }
    // Clamped into the list.
    void SetCurrentLayer(int index);
    // -1 stands for the current layer; any other index outside the list gives -1.
    int ResolveLayer(int layer) const;

    // The first layer, from index 0, that holds the shape; -1 when none.
    int FindLayerOf(const MCadShape* shape) const;
    // Index of the shape in one layer (-1: the current), searched from the end; -1 when absent.
    int FindShape(const MCadShape* shape, int layer) const;
    // The first layer whose name equals name exactly; -1 when none, and always for the empty name.
    int FindLayerByName(const CString& name) const;

    // Appends to the layer (-1: current); the new index, or -1 when there is no such layer.
    int AddShapeToLayer(MCadShape* shape, int layer);
    // Inserts at position; a position below 0 or at or past the end appends. The index it got.
    int InsertShapeInLayer(int position, MCadShape* shape, int layer);
    // Replaces the element at position without deleting it; out of range appends. The index used.
    int PutShapeInLayer(int position, MCadShape* shape, int layer);
    // Takes the shape out without deleting it and returns its former index, or -1. With layer < 0
    // every layer is tried from the last to the first; *foundLayer (when given) receives the layer
    // it was taken from, or -1.
    int RemoveShapeFromLayer(MCadShape* shape, int layer, int* foundLayer = nullptr);

    // Appends a layer (the container owns it); its index.
    int AddLayer(MLayer* layer);
    // Inserts before index; out of range appends. The index it got.
    int InsertLayer(int index, MLayer* layer);
    // Takes the layer at index (< 0: the last) out without deleting it and clamps current; null when
    // there is no such layer. The caller owns the result.
    MLayer* RemoveLayer(int index);
    // The index of that layer object, or -1.
    int FindLayer(const MLayer* layer) const;
    // Deletes every layer; current becomes 0.
    void RemoveAll();

    // Union of the layers' shape extents; all zero without layers.
    MFloatRect GetExtent() const;
    void MoveAll(const MFloatPoint& offset);
    void RecalcAll(MCadView* view);
    // See MShapeArray::RecalcScaledExtents.
    void RecalcScaledExtents(MCadView* view);
    // The extents whose union fits the drawing to the sheet, as MFitRecalc gives them; the drawing
    // is to be recalculated (RecalcAll) before anything else looks at a shape. Whether an extent
    // may follow the scale.
    bool RecalcForFit(MCadView* view);

    // The current layer, or, with display-mode bit 0x10, any visible and selectable layer.
    BOOL IsEditable(int layer) const;
    void Draw(MCadView* view, CDC* dc);
    // The topmost shape of the editable layers within tolerance of the point (the view's logical
    // pixels), trying the layers from the last; *layer receives its layer, or -1.
    MCadShape* HitTest(MCadView* view, int x, int y, int* layer, int tolerance) const;
    // Appends to the selection every shape of the editable layers that lies inside the rectangle
    // (mode bit 1) or crosses it (mode bit 2), with its layer index as value, and its centre to
    // points (when given). The number taken.
    int SelectShapesInRect(MCadView* view, MLShapeArray* selection, MFloatPointArray* points, MFloatRect rect,
                           int mode) const;
    int SelectAllShapes(MCadView* view, MLShapeArray* selection, MFloatPointArray* points) const;
    // The nearest snap point of the query's kinds inside its aperture, on the current layer (and, with
    // display-mode bit 0x8, the other visible ones): the point kinds first, then a point on a shape.
    // Kind 0 when none was found. A cancelled search answers with the best found until then.
    MSnapPoint FindSnapPoint(const MSnapQuery& query) const;
    // Every change to the shapes or layers must pass here (the document's edits and its modified
    // flag do): the snap search's indexes are rebuilt on their next use.
    void NoteChange() { ++m_changes; }
    // Off, the snap search walks every shape of a layer; the answers are the same.
    void SetSnapIndexing(bool on) { m_snapIndexing = on; }
    // Memory held by the snap search's indexes, in bytes.
    std::size_t SnapIndexBytes() const;

    // Inside the "[LAYERS]" section: TAB current, TAB layer count, then every layer.
    void WriteText(CDocument* doc, std::ostream& os) const;
    // After the "[LAYERS]" line: the current index and the count line, which is not used (the layers
    // come as "[LAYER]" sections). The index is taken as read; ClampCurrent makes it valid.
    void ReadLayersHeader(CDocument* doc, std::istream& is);
    void ClampCurrent();

    MLayerArray& GetLayers() { return m_layers; }
    const MLayerArray& GetLayers() const { return m_layers; }

    // Index of the current layer; the view's tab strip reads and writes it directly.
    int m_current = 0;

private:
    double SearchLayerSnap(const MLayer* layer, MSnapPoint& snap, const MSnapQuery& query, double best,
                           bool& aborted) const;
    double SearchLayerSnapNear(const MLayer* layer, MSnapPoint& snap, const MSnapQuery& query, double best,
                               bool& aborted) const;
    // The index of a layer, up to date; null with indexing off.
    const MSnapIndex* SnapIndexOf(const MLayer* layer) const;

    MLayerArray m_layers;
    std::uint64_t m_changes = 0;
    bool m_snapIndexing = true;
    mutable std::uint64_t m_indexedChanges = ~std::uint64_t{0};
    mutable std::unordered_map<const MLayer*, std::unique_ptr<MSnapIndex>> m_snapIndexes;
};
