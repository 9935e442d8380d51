// What the document needs of its view, which lives in a higher layer: the view's coordinates for
// repainting after undo and redo, its current tool, its layer tabs (undo and redo of layer records
// put tabs back and take them away), its sheet (undo and redo of a paper change), the metafile
// export and its command routing. The window view implements this and attaches itself to the
// document (CDocument::AddView).
#pragma once

#include <string>

#include "platform/Document.h"
#include "platform/WinTypes.h"

using CString = std::string;

class MCadView;
class MDocumentTool;

class MDocumentView : public CDocumentView {
public:
    // The view's coordinate object (drawing units, paper, device).
    virtual MCadView* GetCadView() = 0;
    // The tool the view hands its mouse events to; null when none.
    virtual MDocumentTool* GetCurrentTool() = 0;

    // Layer tabs, one per layer, in layer order.
    // Removes the tab at index (-1: the last).
    virtual void RemoveLayerTab(int index) = 0;
    // Inserts a tab before index (-1 or past the end: appends), also when a tab of that name exists.
    virtual void InsertLayerTab(int index, const CString& name) = 0;
    // The tab at index shows a new name (undo and redo of a layer's settings).
    virtual void SetLayerTabName(int index, const CString& name) = 0;
    // After layers came or went by undo, redo or a rollback: the tab of the document's current layer
    // (after undo and redo the last one) becomes current and the tab row is redrawn.
    virtual void OnLayersReplayed() = 0;
    // After undo or redo gave the document another paper, origin and grid: the view takes the grid
    // pitch and the origin, re-derives its scale and sheet, and repaints. The document has already
    // re-derived the coordinate object's scale and recalculated the shapes for it.
    virtual void OnPaperReplayed() = 0;

    // Writes the drawing as an enhanced metafile (the ".EMF" export); FALSE on failure.
    virtual BOOL ExportMetafile(const std::string& path) = 0;
    // Routes a command to the view as a menu command would (the options command after a failure for
    // lack of memory).
    virtual void SendViewCommand(UINT id) = 0;
};
