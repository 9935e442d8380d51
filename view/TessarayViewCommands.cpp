// The view's commands on the view as a whole: snap modes, overlays, the display of other layers,
// layer flags and deletion, undo and redo, and the layer tabs.
#include <algorithm>

#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "document/UndoPackScope.h"
#include "model/settings/OptionRecord.h"
#include "platform/ui/CmdUI.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"
#include "view/ViewTool.h"

namespace {

struct SnapCommand {
    UINT id;
    WORD kind;
};
constexpr SnapCommand kSnapCommands[] = {
    {ID_SNAP_END_POINT, 0x1}, {ID_SNAP_INTERSECTION, 0x2}, {ID_SNAP_MID_POINT, 0x4},   {ID_SNAP_CENTER, 0x8},
    {ID_SNAP_GRID, 0x10},     {ID_SNAP_BASE_POINT, 0x20},  {ID_SNAP_ON_SHAPE, 0x1000},
};
constexpr WORD kAllSnapKinds = 0x103F;

struct DisplayCommand {
    UINT id;
    WORD flag;
};
constexpr DisplayCommand kDisplayCommands[] = {{ID_VIEW_GRID, MOptionRecord::kShowGrid},
                                               {ID_VIEW_ORIGIN, MOptionRecord::kShowOrigin},
                                               {ID_VIEW_PRINT_AREA, MOptionRecord::kShowPrintArea}};

struct OtherLayerCommand {
    UINT id;
    WORD mode;
};
constexpr OtherLayerCommand kOtherLayerCommands[] = {{ID_OTHER_LAYERS_HIDE, 1},
                                                     {ID_OTHER_LAYERS_GREY, 2},
                                                     {ID_OTHER_LAYERS_SHOW, 4},
                                                     {ID_OTHER_LAYERS_SNAP, 12},
                                                     {ID_OTHER_LAYERS_EDIT, 28}};

}  // namespace

MLayer* MTessarayView::GetLayer(int index) const {
    return m_document ? m_document->GetLayers()->GetLayer(index) : nullptr;
}

int MTessarayView::LayerCount() const {
    return m_document ? m_document->GetLayers()->GetLayerCount() : 0;
}

void MTessarayView::SetCurrentLayer(int index) {
    if (m_document) m_document->GetLayers()->SetCurrentLayer(index);
}

void MTessarayView::RegisterViewCommands() {
    CCommandMap& map = Commands();
    for (const SnapCommand& c : kSnapCommands) {
        const WORD kind = c.kind;
        map.OnCommand(
            c.id, [kind] { GetOptionRecord().m_snap ^= kind; },
            [kind](CCmdUI* ui) { ui->SetCheck((GetOptionRecord().m_snap & kind) ? 1 : 0); });
    }
    map.OnCommand(
        ID_SNAP_ALL, [] { GetOptionRecord().m_snap = kAllSnapKinds; }, [](CCmdUI* ui) { ui->Enable(TRUE); });
    map.OnCommand(
        ID_SNAP_NONE, [] { GetOptionRecord().m_snap = 0; }, [](CCmdUI* ui) { ui->Enable(TRUE); });
    map.OnCommand(
        ID_SNAP_SUSPEND, [] { SnapSuspended() ^= 1; },
        [](CCmdUI* ui) { ui->SetCheck(SnapSuspended() ? 1 : 0); });

    for (const DisplayCommand& c : kDisplayCommands) {
        const WORD flag = c.flag;
        map.OnCommand(
            c.id,
            [this, flag] {
                GetOptionRecord().m_show ^= flag;
                Invalidate();
            },
            [flag](CCmdUI* ui) { ui->SetCheck((GetOptionRecord().m_show & flag) ? 1 : 0); });
    }

    for (const OtherLayerCommand& c : kOtherLayerCommands) {
        const WORD mode = c.mode;
        map.OnCommand(
            c.id, [this, mode] { SetOtherLayerMode(mode); },
            [mode](CCmdUI* ui) { ui->SetCheck(GetOptionRecord().m_layer == mode ? 1 : 0); });
    }

    map.OnCommand(
        ID_LAYER_VISIBLE, [this] { ToggleLayerFlag(MLayer::kVisible); },
        [this](CCmdUI* ui) {
            MLayer* layer = GetLayer(m_currentTab);
            ui->Enable(layer != nullptr);
            ui->SetCheck(layer && layer->IsVisible() ? 1 : 0);
        });
    map.OnCommand(
        ID_LAYER_PRINTABLE, [this] { ToggleLayerFlag(MLayer::kPrintable); },
        [this](CCmdUI* ui) {
            MLayer* layer = GetLayer(m_currentTab);
            ui->Enable(layer && layer->IsVisible());
            ui->SetCheck(layer && layer->IsPrintable() ? 1 : 0);
        });
    map.OnCommand(
        ID_LAYER_SELECTABLE, [this] { ToggleLayerFlag(MLayer::kSelectable); },
        [this](CCmdUI* ui) {
            MLayer* layer = GetLayer(m_currentTab);
            ui->Enable(layer && layer->IsVisible());
            ui->SetCheck(layer && layer->IsSelectable() ? 1 : 0);
        });

    map.OnCommand(
        ID_LAYER_DELETE,
        [this] {
            if (!m_document || LayerCount() < 2) return;
            {
                MUndoPackScope pack(*m_document, this);
                RemoveLayerAt(m_currentTab);
                m_currentTab = LayerCount() - 1;
                SetCurrentLayer(m_currentTab);
                EndCurrentOperation();
            }
            RedrawTabs();
            Invalidate();
        },
        [this](CCmdUI* ui) { ui->Enable(LayerCount() >= 2); });

    map.OnCommand(
        ID_EDIT_UNDO,
        [this] {
            if (!m_document) return;
            if (m_currentTool) m_currentTool->End(this, FALSE);
            m_document->Undo(this);
        },
        [this](CCmdUI* ui) { ui->Enable(m_document && m_document->CanUndo()); });
    map.OnCommand(
        ID_EDIT_REDO,
        [this] {
            if (!m_document) return;
            if (m_currentTool) m_currentTool->End(this, FALSE);
            m_document->Redo(this);
        },
        [this](CCmdUI* ui) { ui->Enable(m_document && m_document->CanRedo()); });
    map.OnUpdate(ID_EDIT_CLEAR, [this](CCmdUI* ui) { ui->Enable(HasSelection()); });
}

void MTessarayView::SetOtherLayerMode(WORD mode) {
    WORD& current = GetOptionRecord().m_layer;
    const WORD old = current;
    current = mode;
    // 4, 12 and 28 show the other layers alike: moving among them changes nothing on screen.
    const WORD kept = mode >= 4 ? 4 : mode;
    if (!(old & kept)) {
        Invalidate();
        UpdateWindow();
    }
}

void MTessarayView::ToggleLayerFlag(int flag) {
    MLayer* layer = GetLayer(m_currentTab);
    if (!layer) return;
    if (flag != MLayer::kVisible && !layer->IsVisible()) return;
    layer->m_flags ^= flag;
    RedrawTabs();
    if (flag == MLayer::kVisible) Invalidate();
}

// ----- layer tabs -------------------------------------------------------------------------------

BOOL MTessarayView::IsTabActive(int index) {
    return index == m_currentTab;
}

BOOL MTessarayView::IsTabHidden(int index) {
    MLayer* layer = GetLayer(index);
    return layer && !layer->IsVisible();
}

BOOL MTessarayView::IsTabPrintable(int index) {
    MLayer* layer = GetLayer(index);
    return layer && layer->IsPrintable();
}

BOOL MTessarayView::IsTabSelectable(int index) {
    MLayer* layer = GetLayer(index);
    return layer && layer->IsSelectable();
}

void MTessarayView::SetActiveTab(int index) {
    if (index == m_currentTab) return;
    m_currentTab = index < 0 ? LayerCount() - 1 : index;
    SetCurrentLayer(m_currentTab);
    EndCurrentOperation();
}

void MTessarayView::OnTabSelect(int index, UINT flags, int x, int y) {
    if (index < 0) return;
    bool repaint = false;
    if (index != m_currentTab) {
        MLayer* oldLayer = GetLayer(m_currentTab);
        MLayer* newLayer = GetLayer(index);
        m_currentTab = index;
        SetCurrentLayer(index);
        EndCurrentOperation();
        // Shown layers look the same current or not: the picture only changes otherwise.
        repaint = !(oldLayer && (GetOptionRecord().m_layer & 4) && oldLayer->IsVisible() && newLayer &&
                    newLayer->IsVisible());
    }
    MTabScrollView::OnTabSelect(index, flags, x, y);
    if (repaint) Invalidate();
}

void MTessarayView::OnTabDblClk(int index, UINT, int, int) {
    if (index < 0) return;
    if (index != m_currentTab) {
        m_currentTab = index;
        SetCurrentLayer(index);
        EndCurrentOperation();
        RedrawTabs();
        Invalidate();
    }
    // The layer settings dialog for the tab's layer.
    SendCommand(ID_LAYER_SETTINGS);
}

void MTessarayView::InsertLayerAt(int index, MLayer* layer) {
    if (!m_document || !layer) return;
    // Forced: the commands check new names themselves, and a layer that comes back (moved, or from
    // a file with empty or repeated names) must never be dropped for its name.
    if (index < 0 || index >= LayerCount()) {
        AddTab(layer->m_name, 0, TRUE);
        m_document->AddLayer(layer);
    } else {
        InsertTab(index, layer->m_name, 0, TRUE);
        m_document->InsertLayer(index, layer);
    }
}

MLayer* MTessarayView::RemoveLayerAt(int index) {
    if (!m_document || LayerCount() == 0) return nullptr;
    if (index < 0) index = LayerCount() - 1;
    if (index < GetTabCount()) RemoveTab(index);
    m_currentTab = 0;
    return m_document->RemoveLayer(index, TRUE);
}

BOOL MTessarayView::SelectLayerTab(int index, BOOL force) {
    if (!force && index == m_currentTab) return FALSE;
    MLayer* oldLayer = GetLayer(m_currentTab);
    m_currentTab = index < 0 ? LayerCount() - 1 : index;
    SetCurrentLayer(m_currentTab);
    EndCurrentOperation();
    if (index < 0) return TRUE;
    MLayer* newLayer = GetLayer(m_currentTab);
    return !(oldLayer && newLayer && oldLayer->IsVisible() && newLayer->IsVisible() &&
             (GetOptionRecord().m_layer & 4));
}
