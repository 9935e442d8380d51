#include "document/TessarayDoc.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unordered_map>

#include "document/DocumentItem.h"
#include "document/DocumentTool.h"
#include "document/DocumentView.h"
#include "document/PaperSettings.h"
#include "model/CadView.h"
#include "model/helpers/AsciiText.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/ProcessEnd.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/Cursor.h"
#include "resources/ResourceIds.h"

namespace {

int& Imported() {
    static auto& slot = *new CProgramSlot<int>;
    return slot.Get();
}

}  // namespace

void MTessarayDoc::ShapeEntered(MCadShape* shape) {
    if (auto* item = dynamic_cast<MDocumentItem*>(shape)) item->OnEnterDocument(*this);
}

void MTessarayDoc::ShapeLeft(MCadShape* shape) {
    if (auto* item = dynamic_cast<MDocumentItem*>(shape)) item->OnLeaveDocument(*this);
    TellShapeLeft(shape);
}

void MTessarayDoc::TellShapeLeft(const MCadShape* shape) {
    if (m_leaveListeners.empty()) return;
    // A listener may remove itself while it hears.
    const std::vector<MShapeLeaveListener*> listeners = m_leaveListeners;
    for (MShapeLeaveListener* l : listeners)
        if (std::find(m_leaveListeners.begin(), m_leaveListeners.end(), l) != m_leaveListeners.end())
            l->OnShapeLeft(*this, shape);
}

void MTessarayDoc::AddShapeLeaveListener(MShapeLeaveListener* listener) {
    if (std::find(m_leaveListeners.begin(), m_leaveListeners.end(), listener) == m_leaveListeners.end())
        m_leaveListeners.push_back(listener);
}

void MTessarayDoc::RemoveShapeLeaveListener(MShapeLeaveListener* listener) {
    std::erase(m_leaveListeners, listener);
}

int GetImported() {
    return Imported();
}
void SetImported(int imported) {
    Imported() = imported;
}

IMPLEMENT_DYNCREATE(MTessarayDoc, CDocument)

MTessarayDoc::MTessarayDoc()
    : m_undo(std::make_unique<MUndoStack>(GetOptionRecord().m_undoCount)),
      m_redo(std::make_unique<MUndoStack>(GetOptionRecord().m_undoCount)),
      m_layers(std::make_unique<MDocShapeArray>()),
      m_offscreenView(std::make_unique<MCadView>(&m_paper)) {}

MTessarayDoc::~MTessarayDoc() {
    TellShapeLeft(nullptr);
    if (AfxMayLeaveAtExit()) {
        // The process is ending: the drawing and its records go with it, unwalked.
        AfxKeepUntilExit(m_openPack);
        AfxKeepUntilExit(m_undo);
        AfxKeepUntilExit(m_redo);
        AfxKeepUntilExit(m_layers);
        return;
    }
    // Records first: those of removed objects delete them; the layers then delete the rest.
    m_openPack.reset();
    m_undo.reset();
    m_redo.reset();
    m_layers.reset();
}

void MTessarayDoc::Serialize(CArchive& ar) {}

void MTessarayDoc::SetModifiedFlag(BOOL modified) {
    if (m_layers) m_layers->NoteChange();
    CDocument::SetModifiedFlag(modified);
}

// ---- Framework ----------------------------------------------------------------------------------

void MTessarayDoc::DeleteContents() {
    // No tool may keep pointers into the drawing that is about to go.
    if (auto* view = dynamic_cast<MDocumentView*>(GetFirstView()))
        if (MDocumentTool* tool = view->GetCurrentTool()) tool->Reset();
    TellShapeLeft(nullptr);
    m_fitOnFirstUpdate = 0;
    m_openPack.reset();
    m_undo->RemoveAll();
    m_redo->RemoveAll();
    m_layers->RemoveAll();
    CDocument::DeleteContents();
}

BOOL MTessarayDoc::OnNewDocument() {
    SetImported(0);
    if (!CDocument::OnNewDocument()) return FALSE;
    m_fitOnFirstUpdate = 0;
    m_importedExtentsValid = 0;
    m_importedExtents = MFloatRect();
    SetPaper(GetDefaultPaperSize(), GetDefaultPaperScale(), GetDefaultPaper().horizontal);
    m_gridX = GetDefaultPaper().gridWidth;
    m_gridY = GetDefaultPaper().gridHeight;
    AddNewLayer();
    ResetSizeFormats();
    m_openPack.reset();
    return TRUE;
}

void MTessarayDoc::SetPathName(const std::string& path, BOOL addToRecentList) {
    // The extension of the file name (not of a folder) becomes ".qfd"; the path is never cut.
    const std::string qfd = std::string(PathWithoutExtension(path)) + ".qfd";
    const bool imported = GetImported() != 0;
    CDocument::SetPathName(qfd, addToRecentList && !imported);
    // An imported drawing is untitled, so it is never saved over its source.
    if (imported) ClearPathName();
}

// ---- Edits -----------------------------------------------------------------------------------------

int MTessarayDoc::ChooseLayer(int layer) {
    const int resolved = m_layers->ResolveLayer(layer);
    if (resolved >= 0) return resolved;
    if (m_layers->GetLayerCount() == 0) AddNewLayer();
    return m_layers->ResolveLayer(-1);
}

int MTessarayDoc::AddShape(MCadShape* shape, int layer) {
    const int l = ChooseLayer(layer);
    const int index = m_layers->AddShapeToLayer(shape, l);
    if (m_openPack) m_openPack->RecordInsertAt(shape, l, -1);
    ShapeEntered(shape);
    MarkModified();
    return index;
}

int MTessarayDoc::InsertShape(int position, MCadShape* shape, int layer) {
    const int l = ChooseLayer(layer);
    const int index = m_layers->InsertShapeInLayer(position, shape, l);
    if (m_openPack) m_openPack->RecordInsertAt(shape, l, position);
    ShapeEntered(shape);
    MarkModified();
    return index;
}

int MTessarayDoc::AppendShape(MCadShape* shape, int layer) {
    const int index = m_layers->AddShapeToLayer(shape, ChooseLayer(layer));
    MarkModified();
    return index;
}

int MTessarayDoc::RemoveShape(MCadShape* shape, int layer, BOOL remove) {
    MarkModified();
    if (!remove) return m_layers->FindShape(shape, layer);
    int found = -1;
    const int index = m_layers->RemoveShapeFromLayer(shape, layer, &found);
    // Only a removal that happened is recorded: the record then owns the shape.
    if (index < 0) return -1;
    if (m_openPack) m_openPack->RecordRemoveAt(shape, found, index);
    ShapeLeft(shape);
    return index;
}

int MTessarayDoc::ReplaceShape(MCadShape* old, MCadShape* newShape, int layer) {
    MarkModified();
    int l = -1;
    int index = -1;
    if (layer < 0) {
        for (int i = m_layers->GetLayerCount() - 1; i >= 0 && index < 0; --i) {
            index = m_layers->FindShape(old, i);
            if (index >= 0) l = i;
        }
    } else {
        index = m_layers->FindShape(old, layer);
        if (index >= 0) l = layer;
    }
    if (index < 0) {
        // old is not in the document: only the new shape goes in.
        const int target = ChooseLayer(layer);
        m_layers->AddShapeToLayer(newShape, target);
        if (m_openPack) m_openPack->RecordInsertAt(newShape, target, -1);
        ShapeEntered(newShape);
        return -1;
    }
    if (old == newShape) return index;
    m_layers->PutShapeInLayer(index, newShape, l);
    if (m_openPack) {
        m_openPack->RecordRemoveAt(old, l, index);
        m_openPack->RecordInsertAt(newShape, l, index);
    }
    ShapeLeft(old);
    ShapeEntered(newShape);
    return index;
}

std::vector<MTessarayDoc::ShapePlace> MTessarayDoc::LocateShapes(
    const std::vector<const MCadShape*>& shapes) const {
    std::vector<ShapePlace> places(shapes.size());
    std::unordered_map<const MCadShape*, std::vector<std::size_t>> wanted;
    wanted.reserve(shapes.size());
    for (std::size_t i = 0; i < shapes.size(); ++i)
        wanted[shapes[i]].push_back(i);
    std::size_t left = wanted.size();
    for (int l = m_layers->GetLayerCount() - 1; l >= 0 && left > 0; --l) {
        const MLayer* layer = m_layers->GetLayer(l);
        for (int k = layer->GetSize() - 1; k >= 0 && left > 0; --k) {
            const auto it = wanted.find(layer->GetAt(k));
            if (it == wanted.end() || it->second.empty()) continue;
            for (const std::size_t i : it->second)
                places[i] = ShapePlace{l, k};
            it->second.clear();
            --left;
        }
    }
    return places;
}

int MTessarayDoc::ReplaceShapeAt(const ShapePlace& place, MCadShape* old, MCadShape* newShape) {
    const MLayer* layer = m_layers->GetLayer(place.layer);
    if (!layer || place.index < 0 || place.index >= layer->GetSize() || layer->GetAt(place.index) != old)
        return ReplaceShape(old, newShape, -1);
    MarkModified();
    if (old == newShape) return place.index;
    m_layers->PutShapeInLayer(place.index, newShape, place.layer);
    if (m_openPack) {
        m_openPack->RecordRemoveAt(old, place.layer, place.index);
        m_openPack->RecordInsertAt(newShape, place.layer, place.index);
    }
    ShapeLeft(old);
    ShapeEntered(newShape);
    return place.index;
}

int MTessarayDoc::AddLayer(MLayer* layer) {
    const int index = m_layers->AddLayer(layer);
    if (m_openPack) m_openPack->RecordInsert(layer, index);
    MarkModified();
    return index;
}

int MTessarayDoc::InsertLayer(int index, MLayer* layer) {
    const int at = m_layers->InsertLayer(index, layer);
    if (m_openPack) m_openPack->RecordInsert(layer, at);
    MarkModified();
    return at;
}

MLayer* MTessarayDoc::RemoveLayer(int index, BOOL record, BOOL* recorded) {
    if (recorded) *recorded = FALSE;
    const int at = index < 0 ? m_layers->GetLayerCount() - 1 : index;
    MLayer* layer = m_layers->RemoveLayer(at);
    if (!layer) return nullptr;
    for (int i = 0; i < layer->GetSize(); ++i)
        TellShapeLeft(layer->GetAt(i));
    if (record && m_openPack) {
        m_openPack->RecordRemove(layer, at);
        if (recorded) *recorded = TRUE;
    }
    MarkModified();
    return layer;
}

BOOL MTessarayDoc::SetLayerSettings(int index, const CString& name, int flags) {
    MLayer* layer = m_layers->GetLayer(index);
    if (!layer) return FALSE;
    if (m_openPack) m_openPack->RecordLayerSettings(layer, layer->m_name, layer->m_flags, name, flags);
    layer->m_name = name;
    layer->m_flags = flags;
    MarkModified();
    return TRUE;
}

int MTessarayDoc::AddNewLayer() {
    return m_layers->AddLayer(new MLayer(NewLayerName(), TRUE, TRUE, TRUE));
}

CString MTessarayDoc::NewLayerName() const {
    for (int n = 1;; ++n) {
        const CString name = "Layer" + std::to_string(n);
        if (m_layers->FindLayerByName(name) < 0) return name;
    }
}

int MTessarayDoc::FindAutoLayer(const CString& name) const {
    return name.empty() ? -1 : m_layers->FindLayerByName(name);
}

// ---- Undo and redo ------------------------------------------------------------------------------

void MTessarayDoc::BeginUndo() {
    if (m_openPack) return;
    m_openPack = std::make_unique<MUndoPack>();
    m_modifiedBeforePack = IsModified();
    m_currentLayerBeforePack = m_layers->GetCurrentLayerIndex();
}

void MTessarayDoc::EndUndo() {
    if (!m_openPack) return;
    m_undo->Push(m_openPack.get());
    m_openPack.release();
    m_redo->RemoveAll();
}

void MTessarayDoc::CancelUndo() {
    if (!m_openPack) return;
    m_openPack.reset();
    // The changes stay: the redo packs no longer fit the drawing.
    m_redo->RemoveAll();
}

void MTessarayDoc::RollbackUndo(MDocumentView* view) {
    if (!m_openPack) return;
    const std::unique_ptr<MUndoPack> pack = std::move(m_openPack);
    if (pack->GetCount() == 0) return;
    Replay(pack.get(), view, true);
    SetModifiedFlag(m_modifiedBeforePack);
    // A replay of layer records makes the last layer current; the drawing had another.
    if (m_layers->GetCurrentLayerIndex() != m_currentLayerBeforePack) {
        m_layers->SetCurrentLayer(m_currentLayerBeforePack);
        if (view) view->OnLayersReplayed();
    }
}

void MTessarayDoc::SetUndoCount(int n) {
    m_undo->Resize(n);
    m_redo->Resize(n);
}

MCadView* MTessarayDoc::ReplayView(MDocumentView* view) const {
    MCadView* cad = view ? view->GetCadView() : nullptr;
    return cad ? cad : m_offscreenView.get();
}

void MTessarayDoc::TakeLayerOut(MLayer* layer, int index, MDocumentView* view) {
    layer->FreeCacheAll(ReplayView(view));
    // The record's index is where the layer is when the history is consistent; the object decides.
    int at = m_layers->GetLayer(index) == layer ? index : m_layers->FindLayer(layer);
    if (at < 0) return;
    if (view) view->RemoveLayerTab(at);
    m_layers->RemoveLayer(at);
    for (int i = 0; i < layer->GetSize(); ++i)
        TellShapeLeft(layer->GetAt(i));
}

void MTessarayDoc::PutLayerBack(MLayer* layer, int index, MDocumentView* view) {
    layer->RecalcAll(ReplayView(view));
    const int at = m_layers->InsertLayer(index, layer);
    // Also when a layer of that name exists meanwhile: the record must stay true to the document.
    if (view) view->InsertLayerTab(at, layer->m_name);
}

void MTessarayDoc::Replay(MUndoPack* pack, MDocumentView* view, bool undo) {
    CWaitCursor wait;
    MCadView* cad = ReplayView(view);
    const int n = pack->GetCount();
    bool layersChanged = false;
    bool paperChanged = false;
    for (int k = 0; k < n; ++k) {
        MUndoNode* node = pack->GetAt(undo ? n - 1 - k : k);
        // Undo inverts the record; redo repeats it.
        const bool putIn = undo ? node->IsTakenOut() : node->IsAdded();
        if (auto* paper = dynamic_cast<MUndoPaperNode*>(node)) {
            const MPaperState& state = paper->GetState(undo);
            m_paper = state.paper;
            m_origin = state.origin;
            m_gridX = state.gridX;
            m_gridY = state.gridY;
            paperChanged = true;
        } else if (auto* settings = dynamic_cast<MUndoLayerSettingsNode*>(node)) {
            MLayer* layer = settings->GetSettingsLayer();
            const int at = m_layers->FindLayer(layer);
            if (at >= 0) {
                layer->m_name = settings->GetName(undo);
                layer->m_flags = settings->GetFlags(undo);
                if (view) view->SetLayerTabName(at, layer->m_name);
            }
        } else if (node->GetShape()) {
            // A replacement recorded as a removal and an insertion at one place is replayed as one
            // exchange in that place: no search and no shifting of the layer.
            MUndoNode* next = k + 1 < n ? pack->GetAt(undo ? n - 2 - k : k + 1) : nullptr;
            if (next && ReplayReplacement(node, next, cad, undo)) {
                if (undo)
                    node->SetUndone();
                else
                    node->ClearUndone();
                node = next;
                ++k;
            } else {
                ReplayShape(node, cad, putIn);
            }
        } else if (MLayer* layer = node->GetLayer()) {
            if (putIn)
                PutLayerBack(layer, node->GetLayerIndex(), view);
            else
                TakeLayerOut(layer, node->GetLayerIndex(), view);
            layersChanged = true;
        }
        if (undo)
            node->SetUndone();
        else
            node->ClearUndone();
    }
    if (layersChanged) {
        m_layers->SetCurrentLayer(m_layers->GetLayerCount() - 1);
        if (view) view->OnLayersReplayed();
    }
    if (paperChanged) PaperReplayed(view);
    MarkModified();

    if (view && view->GetCadView()) {
        MCadView* v = view->GetCadView();
        const std::unique_ptr<CDC> dc = v->GetPreparedClientDC();
        CRect r = v->DocToDeviceRect(dc.get(), pack->GetExtent());
        r.NormalizeRect();
        r.InflateRect(2, 2);
        v->InvalidateRect(&r, TRUE);
    }
}

void MTessarayDoc::ReplayShape(MUndoNode* node, MCadView* cad, bool putIn) {
    MCadShape* shape = node->GetShape();
    if (putIn) {
        shape->Recalc(cad);
        m_layers->InsertShapeInLayer(node->GetPosition(), shape, ChooseLayer(node->GetLayerIndex()));
        ShapeEntered(shape);
        return;
    }
    shape->FreeCache(cad);
    int found = -1;
    int index = -1;
    // The recorded place first: an insertion at a known position is found without a search.
    MLayer* layer = m_layers->GetLayer(node->GetLayerIndex());
    const int at = node->GetPosition();
    if (layer && at >= 0 && at < layer->GetSize() && layer->GetAt(at) == shape) {
        layer->RemoveAt(at);
        index = at;
    } else {
        index = m_layers->RemoveShapeFromLayer(shape, node->GetLayerIndex(), &found);
        if (index < 0) index = m_layers->RemoveShapeFromLayer(shape, -1, &found);
    }
    node->SetPosition(index);
    if (index >= 0) ShapeLeft(shape);
}

bool MTessarayDoc::ReplayReplacement(MUndoNode* first, MUndoNode* second, MCadView* cad, bool undo) {
    // In replay order: undo meets the insertion of the new shape first, redo the removal of the old.
    MUndoNode* removal = undo ? second : first;
    MUndoNode* insertion = undo ? first : second;
    if (!removal->IsTakenOut() || !insertion->IsAdded()) return false;
    MCadShape* oldShape = removal->GetShape();
    MCadShape* newShape = insertion->GetShape();
    if (!oldShape || !newShape || oldShape == newShape) return false;
    if (removal->GetLayerIndex() != insertion->GetLayerIndex()) return false;
    const int at = removal->GetPosition();
    if (at < 0 || at != insertion->GetPosition()) return false;
    MLayer* layer = m_layers->GetLayer(removal->GetLayerIndex());
    MCadShape* leaving = undo ? newShape : oldShape;
    MCadShape* entering = undo ? oldShape : newShape;
    if (!layer || at >= layer->GetSize() || layer->GetAt(at) != leaving) return false;
    leaving->FreeCache(cad);
    entering->Recalc(cad);
    layer->SetAt(at, entering);
    ShapeLeft(leaving);
    ShapeEntered(entering);
    return true;
}

void MTessarayDoc::PaperReplayed(MDocumentView* view) {
    // The scale fields of both views derive from the paper scale, and the shapes' caches from them.
    MCadView* cad = ReplayView(view);
    cad->RecalcScale();
    if (cad != m_offscreenView.get()) m_offscreenView->RecalcScale();
    m_layers->RecalcAll(cad);
    if (view) view->OnPaperReplayed();
}

void MTessarayDoc::Undo(MDocumentView* view) {
    EndUndo();
    std::unique_ptr<MUndoPack> pack(m_undo->Pop());
    if (!pack) return;
    Replay(pack.get(), view, true);
    m_redo->Push(pack.release());
}

void MTessarayDoc::Redo(MDocumentView* view) {
    if (!CanRedo()) return;
    EndUndo();
    std::unique_ptr<MUndoPack> pack(m_redo->Pop());
    if (!pack) return;
    Replay(pack.get(), view, false);
    m_undo->Push(pack.release());
}

void MTessarayDoc::ReportOutOfMemory(MDocumentView* view) {
    if (GetUndoCount() > 1 && AfxMessageBox(IDS_OUT_OF_MEMORY_ASK, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        if (view) view->SendViewCommand(ID_OPTIONS);
        return;
    }
    AfxMessageBox(IDS_OUT_OF_MEMORY, MB_OK | MB_ICONEXCLAMATION);
}

// ---- Queries and drawing ------------------------------------------------------------------------

void MTessarayDoc::Draw(MCadView* view, CDC* dc) {
    if (m_layers) m_layers->Draw(view, dc);
}

MCadShape* MTessarayDoc::HitTest(MCadView* view, int x, int y, int* layer, int tolerance) const {
    if (!m_layers) {
        if (layer) *layer = -1;
        return nullptr;
    }
    return m_layers->HitTest(view, x, y, layer, tolerance);
}

MSnapPoint MTessarayDoc::FindSnapPoint(const MSnapQuery& query) const {
    return m_layers ? m_layers->FindSnapPoint(query) : MSnapPoint();
}

int MTessarayDoc::SelectShapesInRect(MCadView* view, MLShapeArray* selection, MFloatPointArray* points,
                                     const MFloatRect& rect, int mode) const {
    CWaitCursor wait;
    return m_layers->SelectShapesInRect(view, selection, points, rect, mode);
}

int MTessarayDoc::SelectAllShapes(MCadView* view, MLShapeArray* selection, MFloatPointArray* points) const {
    CWaitCursor wait;
    return m_layers->SelectAllShapes(view, selection, points);
}

void MTessarayDoc::MoveAll(double dx, double dy) {
    m_layers->MoveAll(MFloatPoint(dx, dy));
}

void MTessarayDoc::RecalcAll(MCadView* view) {
    m_layers->RecalcAll(view ? view : m_offscreenView.get());
}

// ---- Paper -----------------------------------------------------------------------------------------

void MTessarayDoc::SetPaper(const MPaperSizeInfo& size, const MPaperScaleInfo& scale, BOOL horizontal) {
    m_paper = MPaperInfo(size, scale, horizontal, MPaperInfo::kOriginBottomLeft);
    m_origin = ComputePaperOrigin();
}

void MTessarayDoc::SetPaperSize(const MPaperSizeInfo& size, BOOL horizontal) {
    m_paper.SetSizeInfo(size);
    m_paper.SetHorizontal(horizontal);
    m_origin = ComputePaperOrigin();
}

MPaperState MTessarayDoc::GetPaperState() const {
    MPaperState state;
    state.paper = m_paper;
    state.origin = m_origin;
    state.gridX = m_gridX;
    state.gridY = m_gridY;
    return state;
}

void MTessarayDoc::ChangePaper(const MPaperSizeInfo& size, const MPaperScaleInfo& scale, BOOL horizontal,
                               double gridX, double gridY) {
    const MPaperState old = GetPaperState();
    SetPaper(size, scale, horizontal);
    m_gridX = gridX;
    m_gridY = gridY;
    if (m_openPack) m_openPack->RecordPaper(old, GetPaperState());
    MarkModified();
}

MFloatPoint MTessarayDoc::ComputePaperOrigin() const {
    const MFloatSize size = m_paper.GetSize();
    const double scale = m_paper.GetScale();
    const MFloatPoint& offset = m_paper.GetOriginOffset();
    return MFloatPoint(size.cx / scale * 0.5 - offset.x, -size.cy / scale * 0.5 - offset.y);
}
