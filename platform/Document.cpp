#include "platform/Document.h"
#include "platform/ProgramState.h"

#include <algorithm>
#include <filesystem>

namespace {

std::string DefaultUntitledTitle() {
    return "無題";
}

std::string& UntitledTitle() {
    static auto& slot = *new CProgramSlot<std::string>(DefaultUntitledTitle);
    return slot.Get();
}

}  // namespace

IMPLEMENT_DYNAMIC(CDocument, CObject)

CDocument::CDocument() : m_title(UntitledTitle()) {}

CDocument::~CDocument() = default;

void CDocument::SetPathName(const std::string& path, BOOL addToRecentList) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    m_path = ec ? path : full.lexically_normal().string();
    SetTitle(std::filesystem::path(m_path).filename().string());
    const RecentFileHandler& recent = AfxRecentFileSlot().Get();
    if (addToRecentList && recent) recent(m_path);
}

void CDocument::ClearPathName() {
    m_path.clear();
    SetTitle(UntitledTitle());
}

void CDocument::SetTitle(const std::string& title) {
    m_title = title;
}

void CDocument::AddView(CDocumentView* view) {
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) m_views.push_back(view);
}

void CDocument::RemoveView(CDocumentView* view) {
    std::erase(m_views, view);
}

CDocumentView* CDocument::GetView(int index) const {
    return index >= 0 && index < GetViewCount() ? m_views[static_cast<std::size_t>(index)] : nullptr;
}

void CDocument::UpdateAllViews(CDocumentView* sender, long hint, CObject* hintObject) {
    const auto views = m_views;  // a view may detach while it updates
    for (CDocumentView* view : views)
        if (view != sender) view->OnUpdate(sender, hint, hintObject);
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    SetModifiedFlag(FALSE);
    ClearPathName();
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const std::string& path) {
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const std::string& path) {
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    DeleteContents();
}

CProgramSlot<RecentFileHandler>& AfxRecentFileSlot() {
    static auto& slot = *new CProgramSlot<RecentFileHandler>;
    return slot;
}

RecentFileHandler AfxSetRecentFileHandler(RecentFileHandler handler) {
    return AfxRecentFileSlot().Exchange(std::move(handler));
}

const std::string& AfxGetUntitledTitle() {
    return UntitledTitle();
}

void AfxSetUntitledTitle(std::string title) {
    UntitledTitle() = std::move(title);
}
