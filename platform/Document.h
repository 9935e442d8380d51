// The document base of the class library's document/view model, without any window: the path and
// title, the modified flag and the views attached to the document. Views of the window layer attach
// themselves through CDocumentView; the document never owns them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Object.h"
#include "platform/WinTypes.h"

class CDocument;

// What a document knows of a view attached to it.
class CDocumentView {
public:
    virtual ~CDocumentView() = default;
    // Called by UpdateAllViews for every attached view but the sender.
    virtual void OnUpdate(CDocumentView* sender, long hint, CObject* hintObject) {}
};

class CDocument : public CObject {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    // The file of the document; empty for an untitled document.
    const std::string& GetPathName() const { return m_path; }
    // Stores the absolute form of path, makes its file name the title and, when asked, hands the
    // path to the recent-file list.
    virtual void SetPathName(const std::string& path, BOOL addToRecentList = TRUE);
    // Forgets the path and gives the document the untitled title.
    void ClearPathName();
    const std::string& GetTitle() const { return m_title; }
    virtual void SetTitle(const std::string& title);

    virtual BOOL IsModified() const { return m_modified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_modified = modified ? TRUE : FALSE; }

    // Views attached to the document, in the order they attached.
    void AddView(CDocumentView* view);
    void RemoveView(CDocumentView* view);
    int GetViewCount() const { return static_cast<int>(m_views.size()); }
    CDocumentView* GetView(int index) const;
    // Null when no view is attached.
    CDocumentView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
    void UpdateAllViews(CDocumentView* sender, long hint = 0, CObject* hintObject = nullptr);

    // The framework's flow. The base new and open empty the document (DeleteContents), clear the
    // modified flag and, for new, the path; the base save only clears the modified flag.
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const std::string& path);
    virtual BOOL OnSaveDocument(const std::string& path);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual void PreCloseFrame() {}

private:
    std::string m_path;
    std::string m_title;
    BOOL m_modified = FALSE;
    std::vector<CDocumentView*> m_views;
};

template <class T>
class CProgramSlot;  // platform/ProgramState.h

// The recent-file list belongs to the application; SetPathName hands it the paths it is asked to.
using RecentFileHandler = std::function<void(const std::string& path)>;
// Installs a handler and returns the previous one; an empty handler (the default) ignores the paths.
CProgramSlot<RecentFileHandler>& AfxRecentFileSlot();
RecentFileHandler AfxSetRecentFileHandler(RecentFileHandler handler);

// The title of a document without a file ("無題" unless the application sets another).
const std::string& AfxGetUntitledTitle();
void AfxSetUntitledTitle(std::string title);
