#include "view/TessarayView.h"
#include "resources/ResourceIds.h"

#include <algorithm>

#include "document/TessarayDoc.h"
#include "model/SnapPoint.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "platform/ProgramState.h"
#include "platform/TextFile.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/Print.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"
#include "view/Grid.h"
#include "view/PointerWatch.h"
#include "view/ViewFrame.h"
#include "view/ViewTool.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr int kTabMenuOnTab = 1;
constexpr int kTabMenuBesideTabs = 2;

// "%6g": at least six characters, right aligned, in the C locale.
std::string FormatG6(double v) {
    std::string s = FormatG(v);
    if (s.size() < 6) s.insert(0, 6 - s.size(), ' ');
    return s;
}

bool& PartsListsLoaded() {
    static auto& slot = *new CProgramSlot<bool>;
    return slot.Get();
}

}  // namespace

int& SnapSuspended() {
    static auto& slot = *new CProgramSlot<int>;
    return slot.Get();
}

MTessarayView::MTessarayView() {
    m_currentTool = FindToolByCommand(ID_TOOL_LINE);
    for (CPoint* p : {&m_crossH[0], &m_crossH[1], &m_crossV[0], &m_crossV[1]})
        *p = CPoint(10, 10);
    RegisterCommands();
    RegisterViewCommands();
    RegisterClipboardCommands();
    RegisterPrintCommands();
    RegisterLayerCommands();
}

MTessarayView::~MTessarayView() {
    SetDocument(nullptr);
}

void MTessarayView::SetDocument(MTessarayDoc* doc) {
    if (m_document == doc) return;
    if (m_document) m_document->RemoveView(this);
    m_document = doc;
    SetPaperInfo(doc ? &doc->GetPaperInfo() : nullptr);
    if (doc) doc->AddView(this);
}

// ----- window services --------------------------------------------------------------------------

std::unique_ptr<CDC> MTessarayView::GetClientDC() {
    return CView::GetClientDC();
}

void MTessarayView::OnPrepareDC(CDC* dc) {
    OnPrepareDC(dc, nullptr);
}

void MTessarayView::OnPrepareDC(CDC* dc, CPrintInfo* info) {
    if (!dc) return;
    MTabScrollView::OnPrepareDC(dc, info);
    dc->SetBkMode(TRANSPARENT);
    if (!info) dc->SetWindowOrg(-m_centreOffset.x, -m_centreOffset.y);
}

void MTessarayView::InvalidateRect(const CRect* rect, BOOL erase) {
    MTabScrollView::InvalidateRect(rect, erase);
}

MSnapQuery MTessarayView::SnapQueryAt(int x, int y, WORD kinds) {
    MSnapQuery query = MCadView::SnapQueryAt(x, y, kinds);
    MPointerWatch watch([] {
        CPoint p;
        GetLivePointerPos(&p);
        return p;
    });
    query.cancel = [watch]() mutable { return !watch.IsStill(); };
    return query;
}

// ----- the document's calls ---------------------------------------------------------------------

MDocumentTool* MTessarayView::GetCurrentTool() {
    return m_currentTool;
}

void MTessarayView::RemoveLayerTab(int index) {
    if (index < 0) index = GetTabCount() - 1;
    if (index >= 0 && index < GetTabCount()) RemoveTab(index);
    m_currentTab = std::clamp(m_currentTab, 0, std::max(0, GetTabCount() - 1));
    RedrawTabs();
}

void MTessarayView::InsertLayerTab(int index, const CString& name) {
    InsertTab(index, name, 0, TRUE);
    RedrawTabs();
}

void MTessarayView::SetLayerTabName(int index, const CString& name) {
    if (index >= 0 && index < GetTabCount()) SetTabName(index, name);
    RedrawTabs();
}

void MTessarayView::OnLayersReplayed() {
    const int current = m_document ? m_document->GetLayers()->GetCurrentLayerIndex() : GetTabCount() - 1;
    m_currentTab = std::clamp(current, 0, std::max(0, GetTabCount() - 1));
    RedrawTabs();
    Invalidate();
}

BOOL MTessarayView::ExportMetafile(const std::string& path) {
    return WriteMetafile(path);
}

void MTessarayView::SendViewCommand(UINT id) {
    SendCommand(id);
}

void MTessarayView::OnUpdate(CDocumentView*, long hint, CObject* hintObject) {
    if (hint == 1) {
        if (auto* shape = dynamic_cast<MCadShape*>(hintObject)) {
            shape->Invalidate(this, TRUE);
            return;
        }
    }
    Invalidate();
}

// ----- rendering --------------------------------------------------------------------------------

WORD MTessarayView::DisplayFlags() const {
    return GetOptionRecord().m_show;
}

BOOL MTessarayView::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, GetSysColor(COLOR_APPWORKSPACE));
    return TRUE;
}

void MTessarayView::OnDraw(CDC* dc) {
    const WORD show = DisplayFlags();
    if (!dc->IsPrinting() && m_grid) m_grid->Draw(this, dc, (show & MOptionRecord::kShowGrid) ? TRUE : FALSE);
    if (m_document) m_document->Draw(this, dc);
    if (dc->IsPrinting()) return;
    if (show & MOptionRecord::kShowOrigin) DrawOriginCross(dc);
    if (show & MOptionRecord::kShowPrintArea) DrawPrintArea(dc);
    // Every XOR figure comes after the opaque overlays: a tracker drawn under the origin cross
    // would be partly overwritten by it, and its next erase would leave dots on the cross.
    if (m_currentTool) m_currentTool->PaintTracker(this, dc);
    if (m_crossShown) {
        DrawCrosshair(dc);
        DrawMarker(dc);
    }
}

void MTessarayView::DrawOriginCross(CDC* dc) {
    const MFloatSize size = GetPaperInfo() ? GetPaperInfo()->GetSize() : MFloatSize(0.0, 0.0);
    const double w = size.cx;
    const double h = size.cy;
    MFloatRect reach;
    reach.left = -w / 2;
    reach.top = h / 2;
    reach.right = 1.5 * w;
    reach.bottom = -1.5 * h;
    CRect r = PaperToLogicalRect(reach);
    r.NormalizeRect();
    const CPoint p = DocToLogical(userOrigin);
    CPen pen(PS_DOT, 1, kBlue);
    CSelectScope selectPen(dc, &pen);
    dc->MoveTo(r.left, p.y);
    dc->LineTo(r.right - 1, p.y);
    dc->MoveTo(p.x, r.top);
    dc->LineTo(p.x, r.bottom - 1);
}

void MTessarayView::DrawPrintArea(CDC* dc) {
    if (m_printArea.IsNull()) return;
    const CRect r = PaperToLogicalRect(m_printArea);
    CPen pen(PS_DOT, 1, kRed);
    CSelectScope selectPen(dc, &pen);
    CSelectScope selectBrush(dc, HOLLOW_BRUSH);
    dc->Rectangle(r.left, r.top, r.right, r.bottom);
}

void MTessarayView::DrawCrosshair(CDC* dc) {
    const int oldRop = dc->SetROP2(R2_XORPEN);
    CPen pen(PS_SOLID, 1, kBlue);
    {
        CSelectScope selectPen(dc, &pen);
        dc->MoveTo(m_crossH[0]);
        dc->LineTo(m_crossH[1]);
        dc->MoveTo(m_crossV[0]);
        dc->LineTo(m_crossV[1]);
    }
    dc->SetROP2(oldRop);
}

void MTessarayView::DrawMarker(CDC* dc) {
    if (!m_markerShown) return;
    const int oldRop = dc->SetROP2(R2_XORPEN);
    {
        CSelectScope selectPen(dc, WHITE_PEN);
        CSelectScope selectBrush(dc, HOLLOW_BRUSH);
        dc->Ellipse(m_markerPoint.x - 4, m_markerPoint.y - 4, m_markerPoint.x + 5, m_markerPoint.y + 5);
    }
    dc->SetROP2(oldRop);
}

// ----- tool dispatch ----------------------------------------------------------------------------

MFloatPoint MTessarayView::TrackedPoint() const {
    return m_currentTool ? m_currentTool->GetCurrentPoint() : m_cursorPoint;
}

template <class ToolCall>
void MTessarayView::TrackPointer(UINT flags, int x, int y, ToolCall call) {
    HideCrosshair();
    if (m_currentTool) {
        call(m_currentTool);
        m_markerShown = m_currentTool->GetSnapMarkFlag();
    } else {
        // Without a tool the view follows the pointer itself, so the position panes stay live.
        std::unique_ptr<CDC> dc = GetPreparedClientDC();
        m_cursorPoint = DeviceToDoc(dc.get(), CPoint(x, y));
        m_markerShown = 0;
    }
    // At the mapping in force now: the tool may have scrolled or zoomed meanwhile.
    ShowCrosshair();
    if (m_currentTool) m_currentTool->OnSetCursor(this, x, y, HTCLIENT);
}

bool MTessarayView::HideCrosshair() {
    if (!m_crossShown) return false;
    std::unique_ptr<CDC> dc = GetPreparedClientDC();
    DrawCrosshair(dc.get());
    DrawMarker(dc.get());
    m_crossShown = false;
    return true;
}

void MTessarayView::ShowCrosshair() {
    std::unique_ptr<CDC> dc = GetPreparedClientDC();
    m_markerPoint = DocToLogical(TrackedPoint());
    CRect client;
    GetClientRect(&client);
    dc->DPtoLP(&client);
    // Lines end before their last point: these reach the last column and row.
    m_crossH[0] = CPoint(client.left, m_markerPoint.y);
    m_crossH[1] = CPoint(client.right, m_markerPoint.y);
    m_crossV[0] = CPoint(m_markerPoint.x, client.top);
    m_crossV[1] = CPoint(m_markerPoint.x, client.bottom);
    DrawCrosshair(dc.get());
    DrawMarker(dc.get());
    m_crossShown = true;
}

void MTessarayView::OnClientLButtonDown(UINT flags, int x, int y) {
    if (!m_currentTool) return;
    const unsigned modalLoops = AfxModalLoopCount();
    m_currentTool->OnLButtonDown(this, x, y, flags);
    // A dialog or menu inside the press took the release that happened meanwhile: without the
    // release the tool would wait for it and ignore the next press.
    if (m_currentTool && AfxModalLoopCount() != modalLoops) m_currentTool->ForgetPress();
    if (m_currentTool) m_currentTool->OnSetCursor(this, x, y, HTCLIENT);
}

void MTessarayView::OnClientMouseMove(UINT flags, int x, int y) {
    TrackPointer(flags, x, y, [&](MViewTool* tool) { tool->OnMouseMove(this, x, y, flags); });
}

void MTessarayView::OnClientLButtonUp(UINT flags, int x, int y) {
    TrackPointer(flags, x, y, [&](MViewTool* tool) { tool->OnLButtonUp(this, x, y, flags); });
}

void MTessarayView::OnClientLButtonDblClk(UINT flags, int x, int y) {
    if (m_currentTool) m_currentTool->OnLButtonDblClk(this, x, y, flags);
}

void MTessarayView::OnClientRButtonDown(UINT flags, int x, int y) {
    if (m_currentTool) m_currentTool->OnRButtonDown(this, x, y, flags);
}

BOOL MTessarayView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (pWnd == this && m_currentTool) {
        CPoint p;
        GetCursorPos(&p);
        ScreenToClient(&p);
        if (m_currentTool->OnSetCursor(this, p.x, p.y, nHitTest)) return TRUE;
    }
    return MTabScrollView::OnSetCursor(pWnd, nHitTest, message);
}

void MTessarayView::EndCurrentOperation() {
    if (!m_currentTool) return;
    if (m_currentTool->CanCancel())
        m_currentTool->OnCancel(this);
    else
        m_currentTool->End(this, FALSE);
}

void MTessarayView::SwitchTool(MViewTool* chosen) {
    m_currentTool->End(this, TRUE);
    if (chosen != m_currentTool)
        PreviousTool() = m_currentTool;
    else if (chosen->ReturnsToPreviousTool() && PreviousTool())
        chosen = PreviousTool();
    m_currentTool = chosen;
    chosen->Reset();
    NoteRecentTool(chosen);
}

void MTessarayView::SwitchToSelectTool() {
    MViewTool* select = FindToolByCommand(ID_TOOL_SELECT);
    if (!select) return;
    if (m_currentTool) m_currentTool->End(this, FALSE);
    m_currentTool = select;
}

MViewTool* MTessarayView::GetSelectTool() const {
    return m_currentTool && m_currentTool->IsSelectTool() ? m_currentTool : nullptr;
}

BOOL MTessarayView::HasSelection() const {
    MViewTool* select = GetSelectTool();
    return select && select->GetSelectionCount() > 0;
}

BOOL MTessarayView::RouteOwn(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return MTabScrollView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL MTessarayView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (!m_currentTool) return RouteOwn(nID, nCode, pExtra, pHandlerInfo);
    if (pHandlerInfo) {
        // Asked only whether the command has a handler: a tool's command switches tools, and the
        // current tool's own commands count as the view's.
        if (nCode == CN_COMMAND && FindToolByCommand(nID)) return TRUE;
        if (m_currentTool->OnViewCmdMsg(this, nID, nCode, pExtra, pHandlerInfo)) return TRUE;
        return RouteOwn(nID, nCode, pExtra, pHandlerInfo);
    }
    if (nCode == CN_UPDATE_COMMAND_UI || nCode == CN_COMMAND) {
        if (MViewTool* tool = FindToolByCommand(nID)) {
            if (nCode == CN_UPDATE_COMMAND_UI) {
                auto* ui = static_cast<CCmdUI*>(pExtra);
                ui->SetCheck(tool == m_currentTool ? 1 : 0);
                ui->Enable(TRUE);
            } else {
                SwitchTool(tool);
            }
            return TRUE;
        }
    }
    if (m_currentTool->OnViewCmdMsg(this, nID, nCode, pExtra, nullptr)) return TRUE;
    return RouteOwn(nID, nCode, pExtra, pHandlerInfo);
}

// ----- status panes -----------------------------------------------------------------------------

std::string MTessarayView::FormatPositionPane() {
    MFloatPoint p;
    if (m_currentTool)
        m_currentTool->GetCurrentPointDP(&p, this);
    else
        p = DocToUser(m_cursorPoint);
    return "(" + FormatG6(p.x) + ", " + FormatG6(p.y) + ")";
}

std::string MTessarayView::FormatOffsetPane() {
    MFloatPoint p;
    if (m_currentTool)
        m_currentTool->GetAnchorPointDP(&p, this);
    else
        p = DocToUser(m_cursorPoint) - DocToUser(m_anchorPoint);
    return "(" + FormatG6(p.x) + ", " + FormatG6(p.y) + ")";
}

// ----- initial update ---------------------------------------------------------------------------

void MTessarayView::OnInitialUpdate() {
    MTabScrollView::OnInitialUpdate();
    MTessarayDoc* doc = m_document;
    m_recalculatedMapping.reset();
    if (!doc) return;
    m_gridPitch = MFloatPoint(doc->m_gridX, doc->m_gridY);
    if (m_currentTool) m_currentTool->Reset();
    if (MViewTool* line = FindToolByCommand(ID_TOOL_LINE)) {
        m_currentTool = line;
        line->Reset();
    }
    zoom = 1.0;
    m_printFactor = 1.0;
    // A new drawing prints in its sheet's orientation again.
    AfxGetPrinterSettings().orientationChosen = FALSE;
    UpdatePrinterPage(FALSE);
    RecalcScrollSizes();
    FollowDocumentOrigin();
    // Forced: files and imports may hold empty or repeated names, and tab i must stand for layer i.
    for (int i = 0; i < LayerCount(); ++i)
        AddTab(GetLayer(i)->m_name, 0, TRUE);
    if (doc->m_fitOnFirstUpdate) {
        FitAndCentreDrawing();
        doc->m_fitOnFirstUpdate = 0;
    }
    RecalcScrollSizes();
    // Once, at the mapping the drawing is shown at, whether fitting moved it or not.
    if (!RecalculatedForMapping()) RecalcDrawing();
    m_recalculatedMapping.reset();
    m_initialised = true;
    UpdateScrollSizes();
    if (doc->GetLayers()->GetCurrentLayerIndex() != m_currentTab) {
        m_currentTab = doc->GetLayers()->GetCurrentLayerIndex();
        if (m_currentTab < 0) m_currentTab = LayerCount() - 1;
        SetCurrentLayer(m_currentTab);
        EndCurrentOperation();
    }
    m_firstViewPending = true;
    // A window off screen (a print from the command line never shows one) paints when it shows.
    m_paintWhenShown = !IsOnScreen();
    ZoomToPaper();
    m_paintWhenShown = false;
    RedrawTabs();
    if (!PartsListsLoaded()) {
        if (MViewFrame* frame = GetViewFrame()) frame->LoadPartsLists();
        PartsListsLoaded() = true;
    }
    SetFocus();
    if (m_currentTool) m_currentTool->UpdatePrompt();
}

// ----- registration -----------------------------------------------------------------------------

void MTessarayView::RegisterCommands() {
    CCommandMap& map = Commands();
    map.OnCommand(ID_ZOOM_IN, [this] { ZoomAt(GetClientCentre(), 2.0, TRUE); });
    map.OnCommand(ID_ZOOM_OUT, [this] { ZoomAt(GetClientCentre(), 0.5, TRUE); });
    map.OnCommand(ID_ZOOM_ALL, [this] { ZoomToPaper(); });
    map.OnNotify(NM_RETURN, ID_ZOOM_COMBO, [this](NMHDR*, LRESULT*) {
        MViewFrame* frame = GetViewFrame();
        if (!frame) return;
        ZoomAt(GetClientCentre(), frame->GetZoomPercent() / 100.0, FALSE);
        // A refused zoom leaves the box showing the one in force.
        frame->SetZoomPercent(std::max(1.0, std::floor(zoom * 100.0)));
    });
    map.OnUpdate(ID_ZOOM_COMBO, [this](CCmdUI* ui) {
        ui->Enable(TRUE);
        ShowZoomInFrame();
    });
    map.OnUpdate(ID_INDICATOR_POSITION, [this](CCmdUI* ui) {
        ui->Enable(TRUE);
        ui->SetText(FormatPositionPane());
    });
    map.OnUpdate(ID_INDICATOR_OFFSET, [this](CCmdUI* ui) {
        ui->Enable(TRUE);
        ui->SetText(FormatOffsetPane());
    });
    map.OnCommand(ID_CANCEL_EDIT, [this] { EndCurrentOperation(); });
}

void MTessarayView::ShowZoomInFrame() {
    MViewFrame* frame = GetViewFrame();
    if (!frame) return;
    const double percent = std::max(1.0, std::floor(zoom * 100.0));
    CWnd* edit = frame->GetZoomEdit();
    if (frame->GetZoomPercent() != percent && (!edit || CWnd::GetFocus() != edit))
        frame->SetZoomPercent(percent);
}

void MTessarayView::OnTabRClick(int index, UINT flags, int x, int y) {
    OnTabSelect(index, flags, x, y);
    CPoint screen(x, y);
    ClientToScreen(&screen);
    CWnd* owner = AfxGetMainWnd() ? AfxGetMainWnd() : this;
    CMenu::TrackPopupMenuResource(IDR_LAYER_TAB_MENU, index >= 0 ? kTabMenuOnTab : kTabMenuBesideTabs,
                                  TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, owner);
}
