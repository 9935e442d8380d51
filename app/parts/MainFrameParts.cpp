// The main frame's parts commands: showing and docking the parts bar, its tabs (one per parts
// file) and parts, and taking parts into the current list. Every change to a list is written to
// its file at once.
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/FilePrompt.h"
#include "app/MainFrame.h"
#include "app/parts/PartsDialogs.h"
#include "document/parts/CadParts.h"
#include "interchange/JwcPenSettings.h"
#include "interchange/JwkReader.h"
#include "platform/Archive.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/PrivateDrag.h"
#include "resources/ResourceIds.h"
#include "tools/select/SelectTool.h"
#include "view/TessarayView.h"

namespace {

constexpr char kPartsFilter[] = "Parts File(*.qfp)";
// A dragged part: "<process id> <list index> <part index>".
constexpr char kPartsMime[] = "application/x-tessaray-part";

void Always(CCmdUI* ui) {
    ui->Enable(TRUE);
}

std::string FileTitle(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

}  // namespace

void MMainFrame::RegisterPartsCommands() {
    CCommandMap& map = Commands();
    map.OnCommand(
        ID_VIEW_PARTS_LIST, [this] { OnShowPartsBar(); },
        [this](CCmdUI* ui) {
            ui->Enable(TRUE);
            ui->SetCheck(m_partsBar.IsBarVisible() ? 1 : 0);
        });
    map.OnCommand(
        ID_VIEW_PARTS_DOCKING, [this] { OnPartsDocking(); },
        [this](CCmdUI* ui) {
            ui->Enable(TRUE);
            ui->SetCheck(m_partsDockable ? 1 : 0);
        });
    map.OnCommand(
        ID_PARTS_TAB_ADD, [this] { AddPartsTab(-1); }, &Always);
    map.OnCommand(
        ID_PARTS_TAB_INSERT, [this] { AddPartsTab(m_partsBar.GetTabCtrl().GetCurSel()); },
        [this](CCmdUI* ui) { ui->Enable(m_partsBar.GetTabCtrl().GetCurSel() >= 0); });
    const auto hasList = [this](CCmdUI* ui) { ui->Enable(m_partsBar.GetCurrentList() != nullptr); };
    map.OnCommand(
        ID_PARTS_TAB_RENAME, [this] { RenamePartsTab(); }, hasList);
    map.OnCommand(
        ID_PARTS_TAB_MOVE, [this] { MovePartsTab(); }, hasList);
    map.OnCommand(
        ID_PARTS_TAB_DELETE, [this] { DeletePartsTab(); }, hasList);
    const auto hasPart = [this](CCmdUI* ui) { ui->Enable(m_partsBar.GetSelectedParts() != nullptr); };
    map.OnCommand(
        ID_PARTS_RENAME, [this] { RenamePart(); }, hasPart);
    map.OnCommand(
        ID_PARTS_PROPERTIES, [this] { m_partsBar.EditSelectedProperties(); }, hasPart);
    map.OnCommand(
        ID_PARTS_DELETE, [this] { DeletePart(); }, hasPart);
    map.OnCommand(
        ID_FILE_READ_JWK, [this] { ImportJwkParts(); }, &Always);
}

BOOL MMainFrame::CreatePartsBar() {
    m_partsDockable = AfxGetProfile().GetProfileInt("ToolBar", "PartsDialog", 1) ? TRUE : FALSE;
    if (!m_partsBar.Create(this)) return FALSE;
    m_partsBar.GetListCtrl().SetDragStarter([this](int item) { StartPartsDrag(item); });
    ShowControlBar(&m_partsBar, FALSE, FALSE);
    m_partsBar.EnableDocking(m_partsDockable ? (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT) : 0u);
    return TRUE;
}

void MMainFrame::OnShowPartsBar() {
    ShowControlBar(&m_partsBar, m_partsBar.IsBarVisible() ? FALSE : TRUE, FALSE);
}

void MMainFrame::OnPartsDocking() {
    m_partsDockable = m_partsDockable ? FALSE : TRUE;
    if (m_partsDockable) {
        m_partsBar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
        return;
    }
    CRect rect;
    m_partsBar.GetBarWindowRect(&rect);
    m_partsBar.EnableDocking(0);
    m_partsBar.Float(CPoint(rect.left, rect.top));
}

void MMainFrame::LoadPartsLists() {
    m_partsBar.LoadPartsLists();
    m_partsBar.UpdateTabs();
}

MCadParts* MMainFrame::GetSelectedParts() {
    return m_partsBar.GetSelectedParts();
}

bool MMainFrame::AddPartsToCurrentList(std::unique_ptr<MCadParts> part) {
    if (!part) return false;
    if (!m_partsBar.GetCurrentList()) AddPartsTab(-1);
    MCadPartsList* list = m_partsBar.GetCurrentList();
    if (!list) return false;
    MCadParts* raw = part.get();
    if (!m_partsBar.AddPartsToCurrentList(raw)) return false;
    part.release();
    if (WritePartsList(*list)) return true;
    // The caller drops a part that was not taken: it must not stay in the list as well.
    m_partsBar.TakeBackFromCurrentList(raw);
    delete raw;
    return false;
}

void MMainFrame::AddPartsTab(int position) {
    FileDialogState state;
    state.open = true;
    state.filters = {kPartsFilter};
    state.defaultExtension = ".qfp";
    state.createPrompt = true;
    if (!RunFileDialog(state)) return;
    const std::string path = state.path;
    std::unique_ptr<MCadPartsList> list;
    if (!std::filesystem::exists(path)) {
        MPartsListNameDialog dialog(this, nullptr);
        dialog.m_name = FileTitle(path);
        if (dialog.DoModal() != IDOK) return;
        list = std::make_unique<MCadPartsList>(dialog.m_name);
        list->m_path = path;
        // A list whose file could not be made would name a file that is not there.
        if (!WritePartsList(*list)) {
            AfxMessageBox(IDS_PARTS_CREATE_FAILED, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    } else {
        if (m_partsBar.FindList(path) >= 0) {
            AfxMessageBox(IDS_PARTS_ALREADY_LOADED, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        list = std::make_unique<MCadPartsList>();
        try {
            LoadPartsListFile(*list, path);
        } catch (const CException&) {
            AfxMessageBox(IDS_PARTS_CREATE_FAILED, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    m_partsBar.InsertList(position, std::move(list));
}

void MMainFrame::RenamePartsTab() {
    MCadPartsList* list = m_partsBar.GetCurrentList();
    if (!list) return;
    MPartsTabNameDialog dialog(this, list->GetName());
    if (dialog.DoModal() != IDOK) return;
    list->SetName(dialog.m_name);
    m_partsBar.UpdateTabs();
    WritePartsList(*list);
}

void MMainFrame::MovePartsTab() {
    const int selected = m_partsBar.GetTabCtrl().GetCurSel();
    const int count = m_partsBar.GetListCount();
    if (selected < 0 || selected >= count) return;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(m_partsBar.GetList(i)->GetName());
    MPartsTabMoveDiaog dialog(this, names, selected);
    if (dialog.DoModal() != IDOK) return;
    // The list the dialog names moves, which need not be the selected one.
    const int from = dialog.m_from;
    const int to = dialog.m_to;
    if (from < 0 || from >= count || to < 0 || to > count || from == to) return;
    std::unique_ptr<MCadPartsList> list = m_partsBar.TakeList(from);
    const int at = to == count ? -1 : from < to ? to - 1 : to;
    // The moved tab becomes the selected one, so the next tab command acts on it.
    m_partsBar.InsertList(at, std::move(list));
}

void MMainFrame::DeletePartsTab() {
    const int index = m_partsBar.GetTabCtrl().GetCurSel();
    MCadPartsList* current = m_partsBar.GetCurrentList();
    if (!current) return;
    if (AfxMessageBox(current->GetName() + "\n" + AfxLoadString(IDS_PARTS_TAB_DELETE_ASK),
                      MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    std::unique_ptr<MCadPartsList> list = m_partsBar.TakeList(index);
    if (!list || !list->m_modified) return;
    if (AfxMessageBox(list->GetName() + "\n" + AfxLoadString(IDS_PARTS_SAVE_ASK),
                      MB_OKCANCEL | MB_ICONQUESTION) == IDOK &&
        !WritePartsList(*list))
        AfxMessageBox(IDS_PARTS_SAVE_FAILED, MB_OK | MB_ICONEXCLAMATION);
}

void MMainFrame::RenamePart() {
    m_partsBar.EditSelectedLabel();
}

void MMainFrame::DeletePart() {
    MCadPartsList* list = m_partsBar.GetCurrentList();
    MCadParts* part = m_partsBar.GetSelectedParts();
    if (!list || !part) return;
    if (AfxMessageBox(part->m_name + "\n" + AfxLoadString(IDS_PARTS_DELETE_ASK),
                      MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    list->RemoveAt(list->Find(part));
    delete part;
    m_partsBar.RefillIcons();
    WritePartsList(*list);
}

void MMainFrame::ImportJwkParts() {
    FileDialogState state;
    state.open = true;
    state.filters = {"JWK Files (*.jwk)"};
    state.defaultExtension = ".JWK";
    state.multiSelect = true;
    if (!RunFileDialog(state)) return;
    MJWCPenSettings pens;
    if (!AskJWCPenSettings(pens)) return;
    // One list for all the files, asked for once before anything is read.
    if (!m_partsBar.GetCurrentList()) AddPartsTab(-1);
    if (!m_partsBar.GetCurrentList()) return;
    for (const std::string& path : state.paths) {
        MJWKReader reader;
        reader.SetPenSettings(pens);
        if (!reader.Read(path)) continue;  // the reader has said why
        std::unique_ptr<MCadParts> part(m_view ? reader.CreateParts(m_view.get(), FileTitle(path)) : nullptr);
        // A part that was not taken is dropped here.
        if (!part || !AddPartsToCurrentList(std::move(part)))
            AfxMessageBox(AfxLoadString(IDS_JWK_READ_FAILED) + "\r\n" + path, MB_OK | MB_ICONEXCLAMATION);
    }
}

void MMainFrame::StartPartsDrag(int item) {
    const int list = m_partsBar.GetTabCtrl().GetCurSel();
    if (list < 0 || !m_partsBar.GetList(list) || !m_partsBar.GetList(list)->GetAt(item)) return;
    std::ostringstream data;
    data << ::getpid() << ' ' << list << ' ' << item;
    // The part's icon goes along under the pointer, held where the pointer took it.
    MPartsListCtrl& icons = m_partsBar.GetListCtrl();
    CPoint corner;
    const std::unique_ptr<CImageList> picture = icons.CreateDragImage(item, &corner);
    const CPoint from = icons.GetBeginDragPoint();
    DoPrivateDrag(&icons, kPartsMime, data.str(),
                  {picture.get(), CPoint(from.x - corner.x, from.y - corner.y)});
    // A drop outside the view, or a drag given up, leaves nothing in the select tool.
    if (m_partInView) OnPartsDrag(kDragLeave, std::string(), 0, CPoint());
}

void MMainFrame::AcceptPartsDrags() {
    // A part dropped on the list moves its icon there (the arrangement keeps the list's order).
    MPartsListCtrl* list = &m_partsBar.GetListCtrl();
    AcceptPrivateDrags(list, kPartsMime,
                       [this, list](int phase, const std::string& data, UINT, CPoint point) {
                           std::istringstream in(data);
                           long long pid = -1;
                           int tab = -1, item = -1;
                           in >> pid >> tab >> item;
                           if (!in || pid != static_cast<long long>(::getpid()) ||
                               tab != m_partsBar.GetTabCtrl().GetCurSel())
                               return false;
                           if (phase == kDragDrop) list->SetItemPosition(item, point);
                           return true;
                       });
    AcceptPrivateDrags(m_view.get(), kPartsMime,
                       [this](int phase, const std::string& data, UINT flags, CPoint point) {
                           return OnPartsDrag(phase, data, flags, point);
                       });
}

bool MMainFrame::OnPartsDrag(int phase, const std::string& data, UINT flags, CPoint point) {
    MTessarayView* view = m_view.get();
    if (!view) return false;
    if (phase == kDragEnter) {
        long long pid = -1;
        int list = -1, item = -1;
        std::istringstream in(data);
        in >> pid >> list >> item;
        // Another process's indexes mean nothing here.
        if (!in || pid != static_cast<long long>(::getpid())) return false;
        MCadPartsList* parts = m_partsBar.GetList(list);
        MCadParts* part = parts ? parts->GetAt(item) : nullptr;
        if (!part) return false;
        view->SwitchToSelectTool();
        auto* tool = dynamic_cast<MSelectTool*>(view->GetTool());
        if (!tool) return false;
        tool->BeginDragShape(view, part->Instantiate(view), point.x, point.y);
        m_partInView = true;
        return true;
    }
    if (!m_partInView) return false;
    switch (phase) {
        case kDragMove:
            view->OnMouseMove(flags | MK_LBUTTON, point);
            return true;
        case kDragDrop:
            m_partInView = false;
            view->OnLButtonUp(flags & ~static_cast<UINT>(MK_LBUTTON), point);
            return true;
        default:
            m_partInView = false;
            if (auto* tool = dynamic_cast<MSelectTool*>(view->GetTool())) tool->End(view, FALSE);
            view->Invalidate();
            return true;
    }
}
