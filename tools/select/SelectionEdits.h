// The edits of the select tool's selection: transforms, drawing order, align and distribute, group
// and ungroup, explode and join, the edits that ask for values in a dialog first, and the ones
// that go by the point where the context menu was opened. Each is one undo step; the copies that
// replace the selection are selected afterwards. None does anything with an empty selection or
// while copies follow the mouse; a cancelled dialog changes nothing.
//
// SelectionEdits.cpp: transforms, order, align, distribute, group, ungroup, explode, the edit
// dialog of one shape, the reference point. SelectionEditsLines.cpp: the mirror copy across a line
// and the join into polylines. SelectionEditsDialogs.cpp: rotate, scale and move by values, move
// to a layer, register as a part. SelectionEditsCommands.cpp: their commands and enabling rules.
#pragma once

#include "model/geometry/FloatPoint.h"
#include "model/shapes/CadShape.h"
#include "tools/select/SelectTool.h"

class MLineShape;
class MTessarayView;

class MSelectionEdits {
public:
    explicit MSelectionEdits(MSelectTool& tool) : m_tool(tool) {}
    // The edits' commands into the tool's command map.
    void RegisterCommands();

    // ----- transforms (about the selection centre, or the context point for "here") -------------
    // Counter-clockwise radians.
    void Rotate(MTessarayView* view, double angle);
    // A mirror across the vertical ('x') or horizontal ('y') line through the centre.
    void Flip(MTessarayView* view, char axis);
    // Copy: the moved copies are added and the originals stay.
    void Move(MTessarayView* view, const MFloatPoint& offset, BOOL copy);
    // Factors near zero do nothing.
    void Scale(MTessarayView* view, double sx, double sy);
    // A quarter turn (+1 left, -1 right) and the flips about the context point.
    void RotateHere(MTessarayView* view, int direction);
    void FlipHere(MTessarayView* view, char axis);

    // ----- order and arrangement ----------------------------------------------------------------
    // Copies of the selection in drawing order at the position of their layers (-1 on top, 0 at the
    // bottom); the selection's relative order is kept.
    void MoveInOrder(MTessarayView* view, int position);
    // The align command (left, top, bottom, centres x or y, right) to the union extent.
    void Align(MTessarayView* view, UINT command);
    // Equal steps between the centres, sorted stably by the centre's y (vertical) or x.
    void Distribute(MTessarayView* view, BOOL vertical);

    // ----- structure ----------------------------------------------------------------------------
    void Group(MTessarayView* view);
    // Every group's members in the group's layer, the first in its place.
    void Ungroup(MTessarayView* view);
    // Polygons into their edges (a closed one closed, a filled one keeps a fill-only copy); every
    // piece in its polygon's layer, the first in its place.
    void ExplodeToLines(MTessarayView* view);
    // Lines and open polygons that touch end to end become polygons (closed when the chain
    // closes), each in the place and layer of its chain's first joined shape; one polygon-based
    // shape becomes a plain polygon. Shapes that touch nothing stay; when nothing joins at all the
    // selection ends empty.
    void JoinIntoPolyline(MTessarayView* view);
    // The single selected shape in its own dialog (the double click's edit).
    void EditShape(MTessarayView* view);

    // ----- by the context point -----------------------------------------------------------------
    // One plain group is selected and the context point lies in its extent.
    BOOL CanSetReferencePoint(MTessarayView* view);
    void SetReferencePoint(MTessarayView* view);
    // The line under the context point that mirror copies use: not selected, not of zero length.
    const MLineShape* FindMirrorLine(MTessarayView* view);
    // Mirrored copies of the selection across that line, the originals staying.
    void MirrorCopyOnLine(MTessarayView* view);

    // ----- by values typed in a dialog ----------------------------------------------------------
    void RotateByDialog(MTessarayView* view);
    void ScaleByDialog(MTessarayView* view);
    void MoveByDialog(MTessarayView* view);
    // Copies of the selection appended to the layer chosen in dialog 253, the shapes removed. The
    // copies stay selected (without handles) only when that layer may be seen and picked.
    void MoveToLayer(MTessarayView* view);
    // A copy of the one selected group handed to the frame's current parts list under the name
    // typed in dialog 210; the drawing does not change.
    void RegisterAsPart(MTessarayView* view);

    // The selection as an attribute change or point edit changes it: make(copy) changes a duplicate
    // of each selected shape that take(shape) accepts; the copies replace their shapes in one step.
    // With nothing selected the program-wide value is set (global); while copies are dragged
    // nothing.
    template <class Take, class Make, class Global>
    void ChangeSelection(MTessarayView* view, Take take, Make make, Global global);

private:
    // The replace pattern of the transforms: make(shape) gives each selected shape's copy, which
    // replaces it.
    template <class Make>
    void ReplaceSelection(MTessarayView* view, Make make);
    // The context point, snapped as the context menu found it.
    MFloatPoint ContextPoint(MTessarayView* view);
    // The end of a join that made no polygon.
    void NothingJoined(MTessarayView* view);

    MSelectTool& m_tool;
};

template <class Make>
void MSelectionEdits::ReplaceSelection(MTessarayView* view, Make make) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    m_tool.Handles().Hide(view);
    m_tool.ReplaceEach(
        view, [&](MTessarayView*, MCadShape* shape) { return make(shape); }, TRUE);
    m_tool.Handles().Show(view);
}

template <class Take, class Make, class Global>
void MSelectionEdits::ChangeSelection(MTessarayView* view, Take take, Make make, Global global) {
    if (m_tool.Lists().PickCount() == 0) {
        global();
        return;
    }
    if (!m_tool.IsPickMode() || !view) return;
    m_tool.Handles().Hide(view);
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i) {
        MCadShape* shape = m_tool.Lists().Pick(i);
        if (!take(shape)) continue;
        MCadShape* copy = shape->Duplicate();
        m_tool.Lists().AddReplacement(copy, i);
        make(copy);
    }
    if (m_tool.Lists().NewCount() > 0) m_tool.Commit(view, FALSE, TRUE);
    m_tool.Handles().Show(view);
}
