// The view's commands that open dialogs or act through the select tool: layer settings, insert,
// append, move, copy and display; the grid, paper, dimension, automatic-layer and option dialogs;
// select all and delete. Layer changes run inside one undo pack; an invalid name is refused before
// any pack is opened.
#include <memory>

#include "document/Layer.h"
#include "document/PaperSettings.h"
#include "document/TessarayDoc.h"
#include "document/UndoPackScope.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/ShapeDialogs.h"
#include "platform/Strings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"
#include "view/ViewSelectAll.h"
#include "view/ViewSelection.h"
#include "view/ViewTool.h"
#include "view/dialogs/AutoLayerDialog.h"
#include "view/dialogs/LayerDialogs.h"
#include "view/dialogs/OptionDialogs.h"
#include "view/dialogs/PaperDialog.h"

namespace {

CString TrimBlanks(const CString& text) {
    constexpr const char* kBlanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == CString::npos) return CString();
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A layer name is one line of the drawing file: a control character would break the file.
bool HasControlCharacter(const CString& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

// Whether the tools have installed the program's dimension dialogs (until then the default
// factory's dialogs only cancel).
bool HasSizeSetupDialog() {
    return !IsDefaultShapeDialogFactory();
}

void AlwaysEnabled(CCmdUI* ui) {
    ui->Enable(TRUE);
}

}  // namespace

MSelectAllService* GetSelectAllService(MViewTool* tool) {
    return dynamic_cast<MSelectAllService*>(tool);
}

void MTessarayView::RegisterLayerCommands() {
    CCommandMap& map = Commands();
    map.OnCommand(
        ID_LAYER_SETTINGS, [this] { OnLayerSettings(); }, AlwaysEnabled);
    map.OnCommand(
        ID_LAYER_RENAME, [this] { OnLayerSettings(); }, AlwaysEnabled);
    map.OnCommand(
        ID_LAYER_INSERT, [this] { OnInsertLayer(FALSE); }, AlwaysEnabled);
    map.OnCommand(
        ID_LAYER_APPEND, [this] { OnInsertLayer(TRUE); }, AlwaysEnabled);
    map.OnCommand(
        ID_LAYER_MOVE, [this] { OnMoveLayer(); }, AlwaysEnabled);
    map.OnCommand(
        ID_LAYER_COPY, [this] { OnCopyLayer(); }, AlwaysEnabled);
    map.OnCommand(
        ID_LAYER_DISPLAY,
        [this] {
            MLayerShowDialog dialog(this);
            dialog.DoModal();
        },
        AlwaysEnabled);
    map.OnCommand(
        ID_GRID_SETTINGS, [this] { OnGridSettings(); }, AlwaysEnabled);
    map.OnCommand(
        ID_PAPER_SETTINGS, [this] { OnPaperSettings(); }, AlwaysEnabled);
    map.OnCommand(
        ID_SIZE_SETTINGS,
        [this] {
            if (!HasSizeSetupDialog()) return;
            if (auto dialog = GetShapeDialogFactory().CreateSizeSetupDialog(this, nullptr)) dialog->DoModal();
        },
        [](CCmdUI* ui) { ui->Enable(HasSizeSetupDialog()); });
    map.OnCommand(
        ID_AUTO_LAYER,
        [this] {
            MAutoLayerDialog dialog(this);
            dialog.DoModal();
        },
        AlwaysEnabled);
    map.OnCommand(
        ID_OPTIONS, [this] { OnOptions(); }, AlwaysEnabled);
    map.OnCommand(
        ID_EDIT_SELECT_ALL, [this] { OnSelectAll(); },
        [](CCmdUI* ui) { ui->Enable(GetSelectAllService(FindToolByCommand(ID_TOOL_SELECT)) != nullptr); });
    map.OnCommand(
        ID_EDIT_CLEAR, [this] { OnEditClear(); },
        [this](CCmdUI* ui) {
            ui->Enable(HasSelection() && GetSelectionServices(GetSelectTool()) != nullptr);
        });
}

BOOL MTessarayView::CheckLayerName(CString& name, const MLayer* own) {
    name = TrimBlanks(name);
    bool valid = !name.empty() && !HasControlCharacter(name);
    // Keeping the own name is no conflict, also when a damaged file gave it to another layer too.
    if (valid && !(own && name == own->m_name) && m_document &&
        m_document->GetLayers()->FindLayerByName(name) >= 0)
        valid = false;
    if (valid) return TRUE;
    AfxMessageBox(IDS_BAD_LAYER_NAME, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

void MTessarayView::OnLayerSettings() {
    const int index = m_currentTab;
    MLayer* layer = GetLayer(index);
    if (!layer) return;
    MLayerNameDialog dialog(this, layer);
    if (dialog.DoModal() != IDOK) return;
    CString name = dialog.m_name;
    if (!CheckLayerName(name, layer)) return;
    // Bits beyond the three attributes are kept as the file had them.
    const int flags = (layer->m_flags & ~MLayer::kAllFlags) | dialog.GetFlags();
    if (name == layer->m_name && flags == layer->m_flags) return;
    const bool visibilityChanged = ((flags ^ layer->m_flags) & MLayer::kVisible) != 0;
    // Not an undo step (the steps around it stay undoable and redoable); the drawing is modified.
    m_document->SetLayerSettings(index, name, flags);
    if (index < GetTabCount()) SetTabName(index, name);
    RedrawTabs();
    if (visibilityChanged) Invalidate();
}

void MTessarayView::OnInsertLayer(BOOL append) {
    if (!m_document) return;
    MLayerNameDialog dialog(this, m_document->NewLayerName());
    if (dialog.DoModal() != IDOK) return;
    CString name = dialog.m_name;
    if (!CheckLayerName(name, nullptr)) return;
    auto* layer = new MLayer(name, dialog.m_visible, dialog.m_selectable, dialog.m_printable);
    {
        MUndoPackScope pack(*m_document, this);
        InsertLayerAt(append ? -1 : m_currentTab, layer);
    }
    if (append && GetTabCount() > 0) SelectLayerTab(-1, TRUE);
    RedrawTabs();
    Invalidate();
}

void MTessarayView::OnMoveLayer() {
    if (!m_document) return;
    MLayerMoveDialog dialog(this);
    if (dialog.DoModal() != IDOK) return;
    const int count = LayerCount();
    const int from = dialog.m_from;
    const int to = dialog.m_to;
    if (from < 0 || from >= count || to < 0 || to > count || from == to) return;
    // The move puts copies in place of the layer's shapes: a tool holding them must let go first.
    if (m_currentTool) m_currentTool->End(this, FALSE);
    // The copy is made before anything changes: a layer that cannot be copied stays where it is.
    std::unique_ptr<MLayer> copy(GetLayer(from)->Clone(m_document));
    if (!copy) return;
    copy->RecalcAll(this);
    const int destination = to == count ? -1 : (from < to ? to - 1 : to);
    {
        MUndoPackScope pack(*m_document, this);
        RemoveLayerAt(from);
        InsertLayerAt(destination, copy.release());
        SelectLayerTab(destination, TRUE);
    }
    RedrawTabs();
    Invalidate();
}

void MTessarayView::OnCopyLayer() {
    if (!m_document) return;
    MLayerCopyDialog dialog(this, m_document->NewLayerName());
    if (dialog.DoModal() != IDOK) return;
    CString name = dialog.m_newName;
    if (!CheckLayerName(name, nullptr)) return;
    const int count = LayerCount();
    const int from = dialog.m_from;
    const int to = dialog.m_to;
    if (from < 0 || from >= count || to < 0 || to > count) return;
    std::unique_ptr<MLayer> copy(GetLayer(from)->Clone(m_document));
    if (!copy) return;
    copy->m_name = name;
    copy->RecalcAll(this);
    const int position = to == count ? -1 : to;
    {
        MUndoPackScope pack(*m_document, this);
        InsertLayerAt(position, copy.release());
        SelectLayerTab(position, TRUE);
    }
    RedrawTabs();
    Invalidate();
}

void MTessarayView::OnGridSettings() {
    MSetupGridDialog dialog(this, m_gridPitch.x, m_gridPitch.y);
    if (dialog.DoModal() != IDOK) return;
    SetGridPitch(dialog.m_width, dialog.m_height);
    if (m_document) {
        m_document->m_gridX = dialog.m_width;
        m_document->m_gridY = dialog.m_height;
    }
    RecalcScrollSizes();
    Invalidate();
}

void MTessarayView::OnPaperSettings() {
    if (!m_document) return;
    MPaperSetupDialog dialog(this);
    dialog.SetFromPaper(m_document->GetPaperInfo(), m_document->m_gridX, m_document->m_gridY);
    if (dialog.DoModal() != IDOK) return;
    const MDefaultPaper& chosen = GetDefaultPaper();
    // A size the table does not hold (an imported drawing's) stays unless another was chosen.
    const MPaperSizeInfo size =
        chosen.sizeIndex >= 0 ? GetDefaultPaperSize() : m_document->GetPaperInfo().GetSizeInfo();
    // Not an undo step, like the layer settings; the drawing is modified.
    m_document->ChangePaper(size, GetDefaultPaperScale(), chosen.horizontal, chosen.gridWidth,
                            chosen.gridHeight);
    FollowDocumentPaper();
    m_document->RecalcAll(this);
    ZoomToPaper();
    Invalidate();
}

void MTessarayView::OnPaperReplayed() {
    if (!m_document) return;
    FollowDocumentPaper();
    ZoomToPaper();
    Invalidate();
}

void MTessarayView::FollowDocumentOrigin() {
    if (m_document) SetOrigin(m_document->GetOrigin().x, m_document->GetOrigin().y);
}

void MTessarayView::FollowDocumentPaper() {
    SetGridPitch(m_document->m_gridX, m_document->m_gridY);
    // The grid, the origin cross and the user coordinates follow the document's origin.
    FollowDocumentOrigin();
    RecalcScrollSizes();
}

void MTessarayView::OnOptions() {
    MOptionRecord& options = GetOptionRecord();
    MGeneralOptionDialog dialog(this);
    dialog.m_undoCount = options.m_undoCount;
    dialog.m_drawLimit = options.m_drawLimit;
    dialog.m_saveCompress = options.m_saveCompress ? 1 : 0;
    dialog.m_drawSelectedShape = options.m_drawSelectedShape;
    dialog.m_saveBackupMode = options.m_saveBackupMode;
    dialog.m_bmpHalftone = options.m_bmpHalftone ? 1 : 0;
    dialog.m_metafileRes = options.m_metafileRes ? 1 : 0;
    if (dialog.DoModal() != IDOK) return;
    options.m_undoCount = dialog.m_undoCount;
    options.m_drawLimit = dialog.m_drawLimit;
    options.m_saveCompress = dialog.m_saveCompress;
    bool repaint = false;
    // A radio group left without a choice keeps the value it had.
    if (dialog.m_drawSelectedShape >= 0 && dialog.m_drawSelectedShape != options.m_drawSelectedShape) {
        // The tool's selection is drawn the old way until it ends.
        if (m_currentTool) m_currentTool->End(this, FALSE);
        options.m_drawSelectedShape = dialog.m_drawSelectedShape;
        repaint = true;
    }
    if (dialog.m_saveBackupMode >= 0) options.m_saveBackupMode = dialog.m_saveBackupMode;
    repaint = repaint || (options.m_bmpHalftone != 0) != (dialog.m_bmpHalftone != 0);
    options.m_bmpHalftone = dialog.m_bmpHalftone;
    options.m_metafileRes = dialog.m_metafileRes;
    if (m_document) m_document->SetUndoCount(options.m_undoCount);
    if (repaint) Invalidate();
}

void MTessarayView::OnSelectAll() {
    MSelectAllService* service = GetSelectAllService(FindToolByCommand(ID_TOOL_SELECT));
    if (!service) return;
    SwitchToSelectTool();
    service->SelectAll(this);
}

void MTessarayView::OnEditClear() {
    if (!HasSelection()) return;
    MSelectionServices* services = GetSelectionServices(GetSelectTool());
    if (!services) return;
    services->DeleteSelection(this);
    // The pointer may now be over nothing to pick: the tool sets the cursor anew.
    OnSetCursor(this, HTCLIENT, WM_MOUSEMOVE);
}
