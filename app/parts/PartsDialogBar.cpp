#include "app/parts/PartsDialogBar.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "app/parts/PartsDialogs.h"
#include "document/parts/CadParts.h"
#include "model/Dib.h"
#include "platform/Archive.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "resources/ResourceIds.h"

namespace {

constexpr char kPathsSection[] = "Parts\\path";
constexpr UINT kListStyle =
    UINT{LVS_ICON} | UINT{LVS_SINGLESEL} | UINT{LVS_AUTOARRANGE} | UINT{LVS_EDITLABELS};
constexpr int kMargin = 6;

enum : int { kTabMenu = 0, kPartsMenu = 1, kNewTabMenu = 2 };

}  // namespace

std::unique_ptr<CBitmap> PartsIconBitmap(const MDib& icon) {
    const BITMAPINFOHEADER* h = icon.GetHeader();
    const int width = h ? h->biWidth : 0;
    const int height = h ? std::abs(h->biHeight) : 0;
    const int stride = ((width * 4 + 31) / 32) * 4;
    // Other depths take the general road.
    if (!h || h->biBitCount != 4 || h->biCompression != BI_RGB || width <= 0 || height <= 0 ||
        icon.GetBitsSize() < stride * height || icon.GetColorCount() < 16)
        return icon.CreateDDB(nullptr);
    DWORD palette[16];
    for (int i = 0; i < 16; ++i)
        palette[i] = icon.GetColorEntry(i) & 0xFFFFFFu;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
    const BYTE* bits = icon.GetBits();
    for (int y = 0; y < height; ++y) {
        const BYTE* row = bits + static_cast<std::size_t>(h->biHeight > 0 ? height - 1 - y : y) * stride;
        for (int x = 0; x < width; ++x) {
            const int index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
            pixels[static_cast<std::size_t>(y) * width + x] = palette[index];
        }
    }
    auto bitmap = std::make_unique<CBitmap>();
    if (!bitmap->CreateBitmap(width, height, 1, 32, pixels.data())) return nullptr;
    return bitmap;
}

CString CanonicalPartsPath(const CString& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(fs::path(path), ec);
    if (ec) canonical = fs::absolute(fs::path(path), ec).lexically_normal();
    return canonical.string();
}

BOOL WritePartsList(MCadPartsList& list) {
    if (!SavePartsListFile(list)) return FALSE;
    list.m_modified = 0;
    return TRUE;
}

MPartsDialogBar::MPartsDialogBar() {
    CCommandMap& map = Commands();
    map.OnNotify(TCN_SELCHANGE, IDC_PARTS_TABS, [this](NMHDR*, LRESULT*) { RefillIcons(); });
    map.OnNotify(NM_RCLICK, IDC_PARTS_TABS, [this](NMHDR*, LRESULT*) { OnTabRightClick(); });
    map.OnNotify(NM_RCLICK, IDC_PARTS_LIST,
                 [this](NMHDR* nm, LRESULT*) { OnListRightClick(reinterpret_cast<NMLISTVIEW*>(nm)->iItem); });
    map.OnNotify(LVN_ENDLABELEDIT, IDC_PARTS_LIST, [this](NMHDR* nm, LRESULT* result) {
        *result = OnEndLabelEdit(reinterpret_cast<NMLVDISPINFO*>(nm));
    });
}

MPartsDialogBar::~MPartsDialogBar() = default;

BOOL MPartsDialogBar::Create(CFrameWnd* pParentFrame) {
    if (!MDockDialogBar::Create(pParentFrame, kStyle, IDD_PARTS_BAR, "PartsBar", CSize(kWidth, kHeight)))
        return FALSE;
    if (!m_tabCtrl.Create(0, this, IDC_PARTS_TABS) || !m_listCtrl.Create(kListStyle, this, IDC_PARTS_LIST))
        return FALSE;
    SetWindowText(AfxLoadString(IDD_PARTS_BAR));
    RepositionControls();
    return TRUE;
}

MCadPartsList* MPartsDialogBar::GetCurrentList() const {
    const int tab = const_cast<MPartsTabCtrl&>(m_tabCtrl).GetCurSel();
    return tab < 0 ? nullptr : m_lists.GetAt(tab);
}

MCadParts* MPartsDialogBar::GetSelectedParts() const {
    MCadPartsList* list = GetCurrentList();
    const int item = m_listCtrl.GetNextItem(-1, LVNI_SELECTED);
    return list && item >= 0 ? list->GetAt(item) : nullptr;
}

BOOL MPartsDialogBar::HasSelection() const {
    return m_listCtrl.GetNextItem(-1, LVNI_SELECTED) >= 0 ? TRUE : FALSE;
}

void MPartsDialogBar::EditSelectedLabel() {
    const int item = m_listCtrl.GetNextItem(-1, LVNI_SELECTED);
    if (item >= 0) m_listCtrl.EditLabel(item);
}

void MPartsDialogBar::EditSelectedProperties() {
    MCadPartsList* list = GetCurrentList();
    MCadParts* part = GetSelectedParts();
    if (!list || !part) return;
    const int item = m_listCtrl.GetNextItem(-1, LVNI_SELECTED);
    const CString oldName = part->m_name;
    const int oldKeepSize = part->m_keepSize;
    const int oldModified = list->m_modified;
    if (!EditPartsProperties(this, *part)) return;
    list->m_modified = 1;
    if (!WritePartsList(*list)) {
        part->m_name = oldName;
        part->m_keepSize = oldKeepSize;
        list->m_modified = oldModified;
        AfxMessageBox(IDS_PARTS_SAVE_FAILED, MB_OK | MB_ICONEXCLAMATION);
    }
    RefillIcons();
    // The next part command still acts on this part.
    m_listCtrl.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

BOOL MPartsDialogBar::AddPartsToCurrentList(MCadParts* part) {
    MCadPartsList* list = GetCurrentList();
    if (!list || !part) return FALSE;
    list->m_current = list->Add(part);
    RefillIcons();
    return TRUE;
}

BOOL MPartsDialogBar::TakeBackFromCurrentList(MCadParts* part) {
    MCadPartsList* list = GetCurrentList();
    const int index = list ? list->Find(part) : -1;
    if (index < 0) return FALSE;
    list->RemoveAt(index);
    list->m_current = std::clamp(list->m_current, 0, std::max(0, list->GetSize() - 1));
    RefillIcons();
    return TRUE;
}

void MPartsDialogBar::RefillIcons() {
    m_listCtrl.DeleteAllItems();
    MCadPartsList* list = GetCurrentList();
    if (!list) return;
    m_imageList = std::make_unique<CImageList>();
    m_imageList->Create(MCadParts::kIconSize, MCadParts::kIconSize, ILC_MASK | ILC_COLOR4, 4, 1);
    // Every pixel of every icon is opaque.
    CBitmap mask;
    mask.CreateBitmap(MCadParts::kIconSize, MCadParts::kIconSize, 1, 1, nullptr);
    for (int i = 0; i < list->GetSize(); ++i) {
        const MDib* icon = list->GetAt(i)->GetIcon();
        std::unique_ptr<CBitmap> bitmap = icon ? PartsIconBitmap(*icon) : nullptr;
        if (!bitmap || m_imageList->Add(bitmap.get(), &mask) < 0) {
            // A part without a picture still needs image i.
            CBitmap blank;
            blank.CreateBitmap(MCadParts::kIconSize, MCadParts::kIconSize, 1, 1, nullptr);
            m_imageList->Add(&blank, &mask);
        }
    }
    m_listCtrl.SetImageList(m_imageList.get(), LVSIL_NORMAL);
    for (int i = 0; i < list->GetSize(); ++i)
        m_listCtrl.InsertItem(i, list->GetAt(i)->m_name, i);
}

void MPartsDialogBar::UpdateTabs() {
    const int selected = m_tabCtrl.GetCurSel();
    m_tabCtrl.DeleteAllItems();
    for (int i = 0; i < m_lists.GetSize(); ++i)
        m_tabCtrl.InsertItem(i, m_lists.GetAt(i)->GetName());
    const int count = m_tabCtrl.GetItemCount();
    if (count > 0) m_tabCtrl.SetCurSel(std::max(0, std::min(selected, count - 1)));
    RefillIcons();
    RepositionControls();
}

void MPartsDialogBar::LoadPartsLists() {
    CProfile& profile = AfxGetProfile();
    std::set<CString> loaded;
    for (int i = 0; i < m_lists.GetSize(); ++i)
        loaded.insert(CanonicalPartsPath(m_lists.GetAt(i)->m_path));
    for (int i = 0;; ++i) {
        const CString path = profile.GetProfileString(kPathsSection, std::to_string(i), "");
        if (path.empty()) break;
        // Two tabs on one file would overwrite each other's changes.
        if (!loaded.insert(CanonicalPartsPath(path)).second) continue;
        auto list = std::make_unique<MCadPartsList>();
        try {
            LoadPartsListFile(*list, path);
        } catch (const CException&) {
            continue;  // its message was shown
        }
        m_lists.Add(list.release());
    }
}

void MPartsDialogBar::SavePartsLists() const {
    CProfile& profile = AfxGetProfile();
    profile.DeleteSection(kPathsSection);
    for (int i = 0; i < m_lists.GetSize(); ++i)
        profile.WriteProfileString(kPathsSection, std::to_string(i), m_lists.GetAt(i)->m_path);
}

void MPartsDialogBar::RepositionControls() {
    if (!m_tabCtrl.IsWindow() || !m_listCtrl.IsWindow()) return;
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(kMargin, kMargin);
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    m_tabCtrl.MoveWindow(rect);
    CRect display = rect;
    m_tabCtrl.AdjustRect(FALSE, &display);
    m_listCtrl.MoveWindow(display);
    m_listCtrl.BringWindowToTop();
    Invalidate();
}

int MPartsDialogBar::FindList(const CString& path) const {
    const CString wanted = CanonicalPartsPath(path);
    for (int i = 0; i < m_lists.GetSize(); ++i)
        if (CanonicalPartsPath(m_lists.GetAt(i)->m_path) == wanted) return i;
    return -1;
}

void MPartsDialogBar::InsertList(int position, std::unique_ptr<MCadPartsList> list) {
    const int count = m_lists.GetSize();
    const int at = position < 0 || position > count ? count : position;
    m_lists.InsertAt(at, list.release());
    UpdateTabs();
    m_tabCtrl.SetCurSel(at);
    RefillIcons();
}

std::unique_ptr<MCadPartsList> MPartsDialogBar::TakeList(int index) {
    MCadPartsList* list = m_lists.GetAt(index);
    if (!list) return nullptr;
    m_lists.RemoveAt(index);
    UpdateTabs();
    return std::unique_ptr<MCadPartsList>(list);
}

void MPartsDialogBar::OnTabRightClick() {
    CPoint point;
    GetCursorPos(&point);
    CPoint client = point;
    m_tabCtrl.ScreenToClient(&client);
    const int tab = m_tabCtrl.HitTest(client);
    if (tab >= 0) m_tabCtrl.SetCurSel(tab);
    RefillIcons();
    CMenu::TrackPopupMenuResource(IDR_PARTS_MENU, kTabMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y,
                                  this);
}

void MPartsDialogBar::OnListRightClick(int item) {
    if (item >= 0) m_listCtrl.SetItemState(item, 0, LVIS_DROPHILITED);
    CPoint point;
    GetCursorPos(&point);
    int menu = -1;
    if (!GetCurrentList())
        menu = kNewTabMenu;
    else if (HasSelection())
        menu = kPartsMenu;
    if (menu >= 0)
        CMenu::TrackPopupMenuResource(IDR_PARTS_MENU, menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y,
                                      this);
}

LRESULT MPartsDialogBar::OnEndLabelEdit(NMLVDISPINFO* info) {
    MCadPartsList* list = GetCurrentList();
    if (!info || !info->item.pszText || !list) return 0;
    MCadParts* part = list->GetAt(info->item.iItem);
    if (!part) return 0;
    // A part without a name would have no label: refused as an empty tab name is.
    const std::string name = TrimmedName(info->item.pszText);
    if (name.empty()) {
        AfxMessageBox(IDS_NAME_EMPTY, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    m_listCtrl.SetItemText(info->item.iItem, name);
    part->m_name = name;
    list->m_modified = 1;
    WritePartsList(*list);
    return 0;
}
