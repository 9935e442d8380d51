// The program's document: the drawing (layers of shapes), the undo and redo rings with the open
// undo pack, the drawing origin, the grid pitch, the paper and a few hints for the view. Every
// change to the drawing goes through its edit operations, which keep the undo records and the
// modified flag. It opens and saves by file extension and signature: the native text file, the
// imports and exports of the interchange layer, the metafile export of the view.
//
// Ownership: the document owns its layers and their shapes, both rings and the open pack. A shape
// or layer outside the document belongs to whoever holds it (an undo record, a tool, the clipboard).
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/DocShapeArray.h"
#include "document/UndoStack.h"
#include "model/PaperInfo.h"
#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "platform/Document.h"

class CDC;
class MCadView;
class MDocumentView;
class MLShapeArray;
class MTessarayDoc;
class MTextReadLosses;

// The program-wide imported flag: the current drawing came from an import (set when an import
// opened it; cleared by a new document and by a successful native save).
int GetImported();
void SetImported(int imported);

// Hears of every shape that leaves a drawing (removed, replaced, undone, or with its layer) and,
// with a null shape, of all of them leaving at once (the drawing is replaced or closed): so that
// nothing keeps the address of a shape the drawing may free.
class MShapeLeaveListener {
public:
    virtual void OnShapeLeft(MTessarayDoc& doc, const MCadShape* shape) = 0;

protected:
    ~MShapeLeaveListener() = default;
};

class MTessarayDoc : public CDocument {
    DECLARE_DYNCREATE(MTessarayDoc)
public:
    // Default paper, an empty layer container, both rings with capacity UNDOCOUNT, no open pack,
    // origin (0, 0), grid (1000, 1000).
    MTessarayDoc();
    ~MTessarayDoc() override;

    // ---- Framework ----
    BOOL OnNewDocument() override;
    // Imports by extension (".XDF", ".DXF", ".JWC"), otherwise the native file by its signature. A
    // native file that cannot be read leaves the current drawing as it was.
    BOOL OnOpenDocument(const std::string& path) override;
    // Exports by extension (".EMF" through the view, ".DXF", ".JWC"), otherwise the native file
    // through the safe-save stream.
    BOOL OnSaveDocument(const std::string& path) override;
    // Resets the current tool of the first view, then deletes the drawing and the undo history.
    void DeleteContents() override;
    // Every edit marks the document modified; the snap search's indexes learn of it here.
    void SetModifiedFlag(BOOL modified = TRUE) override;
    // The path with its extension replaced by ".qfd". An imported drawing stays untitled.
    void SetPathName(const std::string& path, BOOL addToRecentList = TRUE) override;
    // The drawing is never stored through the archive: nothing.
    void Serialize(CArchive& ar) override;

    // ---- Edits. layer -1 is the current layer; each marks the document modified. ----
    // The document owns the shape afterwards. An index naming no layer adds to the current layer
    // (a drawing without layers first gets one). Returns the shape's index.
    int AddShape(MCadShape* shape, int layer);
    // Out-of-range positions append.
    int InsertShape(int position, MCadShape* shape, int layer);
    // As AddShape without an undo record (the importers).
    int AppendShape(MCadShape* shape, int layer);
    // remove TRUE: takes the shape out (layer -1 searches every layer from the last) and records
    // the removal; the open pack (without one, the caller) owns it while it stays out, and gives it
    // back to the document when the same pack puts it in again. remove FALSE: only
    // its index in the layer (-1: current); nothing is recorded. The index, or -1 when absent.
    int RemoveShape(MCadShape* shape, int layer, BOOL remove);
    // Puts newShape in old's slot (layer -1: old is searched from the last layer down) and records
    // both; old then belongs to the record (or the caller). When old is not found newShape is
    // appended (only its insertion is recorded) and -1 returned; otherwise old's index.
    int ReplaceShape(MCadShape* old, MCadShape* newShape, int layer);
    // Where a shape is in the drawing; layer -1 when the drawing does not hold it.
    struct ShapePlace {
        int layer = -1;
        int index = -1;
    };
    // The places of many shapes in one pass over the drawing (a shape held twice: its last place,
    // as ReplaceShape's search finds it).
    std::vector<ShapePlace> LocateShapes(const std::vector<const MCadShape*>& shapes) const;
    // ReplaceShape at a place LocateShapes gave; a place that no longer holds old is searched for.
    int ReplaceShapeAt(const ShapePlace& place, MCadShape* old, MCadShape* newShape);
    // The document owns the layer afterwards; its index.
    int AddLayer(MLayer* layer);
    int InsertLayer(int index, MLayer* layer);
    // Takes out the layer at index (-1: last) and clamps the current layer; null when there is none.
    // With record and an open pack the removal is recorded and the pack owns the layer while it stays
    // out (the caller must not delete it; it may insert the same layer again); otherwise the caller
    // does. *recorded tells which.
    MLayer* RemoveLayer(int index, BOOL record, BOOL* recorded = nullptr);
    // Gives the layer at index a new name and flags; recorded when a pack is open (the record never
    // owns the layer). FALSE when there is no such layer.
    BOOL SetLayerSettings(int index, const CString& name, int flags);
    // Appends a visible, selectable, printable layer named by NewLayerName, without undo record and
    // without marking the document modified; its index.
    int AddNewLayer();
    // "Layer%d" with the smallest number from 1 whose name no layer has.
    CString NewLayerName() const;
    // The layer a tool bound to name adds to: -1 for the empty name or a name no layer has.
    int FindAutoLayer(const CString& name) const;

    // ---- Undo and redo ----
    // Opens a new pack (keeps recording into a pack already open). The redo ring is emptied when
    // the pack is pushed or cancelled: a pack rolled back leaves it as it was.
    void BeginUndo();
    // Pushes the open pack (empty or not) onto the undo ring and empties the redo ring; nothing
    // without a pack.
    void EndUndo();
    // Deletes the open pack with its records; the changes stay, objects taken out are deleted.
    void CancelUndo();
    // Undoes the open pack's changes (the view, may be null, repaints them) and deletes it: the
    // drawing is as before BeginUndo, the undo and redo rings unchanged. Nothing without a pack.
    void RollbackUndo(MDocumentView* view);
    MUndoPack* GetOpenPack() const { return m_openPack.get(); }
    // Replays the newest undo (redo) pack and moves it to the other ring. The view (may be null)
    // repaints the pack's extent and keeps its layer tabs in step. A pack still open is closed first.
    void Undo(MDocumentView* view);
    void Redo(MDocumentView* view);
    BOOL CanUndo() const { return m_undo->HasTop(); }
    BOOL CanRedo() const { return m_redo && m_redo->HasTop(); }
    // Resizes both rings (n <= 0 changes nothing).
    void SetUndoCount(int n);
    int GetUndoCount() const { return m_undo->GetCapacity(); }
    MUndoStack& GetUndoStack() { return *m_undo; }
    MUndoStack& GetRedoStack() { return *m_redo; }
    // Tells the user that memory ran out; with a capacity above 1 offers the options command.
    void ReportOutOfMemory(MDocumentView* view);

    // ---- Queries and drawing ----
    MDocShapeArray* GetLayers() const { return m_layers.get(); }
    void Draw(MCadView* view, CDC* dc);
    MCadShape* HitTest(MCadView* view, int x, int y, int* layer, int tolerance) const;
    // See MDocShapeArray::FindSnapPoint; kind 0 without layers.
    MSnapPoint FindSnapPoint(const MSnapQuery& query) const;
    int SelectShapesInRect(MCadView* view, MLShapeArray* selection, MFloatPointArray* points,
                           const MFloatRect& rect, int mode) const;
    int SelectAllShapes(MCadView* view, MLShapeArray* selection, MFloatPointArray* points) const;
    void MoveAll(double dx, double dy);
    // Every shape rebuilds its cache; a null view uses the document's own off-screen view.
    void RecalcAll(MCadView* view);
    // A view on this document's paper for work without a window (recalculation, replay).
    MCadView* GetOffscreenView() const { return m_offscreenView.get(); }

    // ---- Paper ----
    // Replaces the paper (origin position bottom left) and moves the origin to ComputePaperOrigin.
    void SetPaper(const MPaperSizeInfo& size, const MPaperScaleInfo& scale, BOOL horizontal);
    // Replaces only size and orientation, then the origin as SetPaper does.
    void SetPaperSize(const MPaperSizeInfo& size, BOOL horizontal);
    MFloatPoint ComputePaperOrigin() const;
    // The paper with the origin and grid pitch that go with it.
    MPaperState GetPaperState() const;
    // The paper command's edit: SetPaper, then the grid pitch. Recorded as one paper record when a
    // pack is open; marks the document modified.
    void ChangePaper(const MPaperSizeInfo& size, const MPaperScaleInfo& scale, BOOL horizontal, double gridX,
                     double gridY);
    const MPaperInfo& GetPaperInfo() const { return m_paper; }
    MPaperInfo& GetPaperInfo() { return m_paper; }

    // ---- The native file ----
    // The native branch of OnOpenDocument on the file's bytes: the signature check, then the sections
    // read aside and adopted only when the reading succeeded. path names the file in messages.
    BOOL OpenNativeBytes(std::string_view bytes, const std::string& path);
    // The native branch of OnSaveDocument: safe-save stream in the SAVEBACKUPMODE, reports a failure.
    BOOL WriteTextDocument(const std::string& path);
    // The whole native file text (UTF-8, "\n") to a stream; errors only in the stream state.
    void WriteText(std::ostream& os);
    // Reads the sections after the version line into this document (whose contents were just
    // deleted). Always TRUE: success is the stream not being bad.
    BOOL ReadTextSections(std::istream& is);
    // The program's message for a file error number (no permission, no space, not found, read-only
    // file system, ...), the system's text (at most 128 bytes) after it as the detail; for 0, the
    // message that the file could not be opened.
    static std::string FileErrorText(int error);
    // A message box with that text.
    static void ReportFileError(int error);
    // Tells that the file ended before its end mark and opened untitled.
    static void ReportCutShort(const std::string& path);
    // In one message: that the file ended early, what the reader left out or changed, and that the
    // drawing opened untitled when anything is missing. Nothing when there is nothing to tell.
    static void ReportRead(const std::string& path, bool cutShort, const MTextReadLosses& losses);
    // Tells that characters code page 932 lacks were saved as '?' (the drawing keeps them).
    static void ReportCharactersReplaced();

    // The listener hears of shapes leaving until it is removed (it must be before it goes).
    void AddShapeLeaveListener(MShapeLeaveListener* listener);
    void RemoveShapeLeaveListener(MShapeLeaveListener* listener);

    // The origin of the user's coordinates, saved with the drawing; views follow it
    // (MTessarayView::FollowDocumentOrigin).
    const MFloatPoint& GetOrigin() const { return m_origin; }
    void SetOrigin(const MFloatPoint& origin) { m_origin = origin; }

    // ---- Fields the view and the importers read and write ----
    double m_gridX = 1000.0;
    double m_gridY = 1000.0;
    // The view fits the paper scale to the drawing at its first update (set by the DXF import).
    int m_fitOnFirstUpdate = 0;
    int m_importedExtentsValid = 0;
    MFloatRect m_importedExtents;

private:
    MFloatPoint m_origin;
    void TellShapeLeft(const MCadShape* shape);
    std::vector<MShapeLeaveListener*> m_leaveListeners;
    struct Content;  // what a native file read produces before it replaces the drawing
    struct ToolText;

    int ChooseLayer(int layer);
    void ShapeEntered(MCadShape* shape);
    void ShapeLeft(MCadShape* shape);
    void MarkModified() { SetModifiedFlag(TRUE); }
    MCadView* ReplayView(MDocumentView* view) const;
    void Replay(MUndoPack* pack, MDocumentView* view, bool undo);
    void ReplayShape(MUndoNode* node, MCadView* cad, bool putIn);
    bool ReplayReplacement(MUndoNode* first, MUndoNode* second, MCadView* cad, bool undo);
    void PutLayerBack(MLayer* layer, int index, MDocumentView* view);
    void TakeLayerOut(MLayer* layer, int index, MDocumentView* view);
    void PaperReplayed(MDocumentView* view);
    enum ImportResult { kNotAnImport, kImported, kImportFailed, kImportRefused };
    ImportResult ImportByExtension(const std::string& path);
    void ResetForImport();
    void ReadSections(std::istream& is, Content& content);
    void Adopt(Content& content);
    void WriteHeaderSections(std::ostream& os);
    void WriteToolSections(std::ostream& os);
    void WriteLayerSections(std::ostream& os);

    std::unique_ptr<MUndoStack> m_undo;
    std::unique_ptr<MUndoStack> m_redo;
    std::unique_ptr<MUndoPack> m_openPack;
    // The modified flag when the open pack was opened; a rollback gives it back.
    BOOL m_modifiedBeforePack = FALSE;
    int m_currentLayerBeforePack = 0;
    std::unique_ptr<MDocShapeArray> m_layers;
    MPaperInfo m_paper;
    std::unique_ptr<MCadView> m_offscreenView;
};
