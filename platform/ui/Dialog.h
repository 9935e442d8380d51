// Modal dialogs built from the dialog templates of resources/dialogs.inc: controls by id laid out
// by Qt layouts, data exchange and validation by control id (DoDataExchange), OK and Cancel.
// Under a DialogRunner (tests) DoModal runs a script instead of showing the dialog.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Wnd.h"
#include "resources/ResourceFormats.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CDialog() override;

    // Builds the dialog, runs it and returns the code given to EndDialog (IDOK, IDCANCEL or a
    // button's id); -1 when it could not be built or its initialisation failed. The controls live
    // only during DoModal: read what is needed in OnOK or through data exchange.
    virtual int DoModal();
    void EndDialog(int nResult);
    // Exchanges data with the controls (bSaveAndValidate: from them, with validation). FALSE when a
    // value was refused (the user has been told and the control has the focus).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    UINT GetTemplateId() const { return m_nIDTemplate; }
    // TRUE from the building of the controls to the end of DoModal, while EndDialog has not run.
    BOOL IsRunning() const { return m_running && !m_ended; }
    // The focus to the control; an edit's whole text is chosen.
    void GotoDlgCtrl(CWnd* pCtrl);

    // Check-box/edit pairs of numeric-input dialogs: a change of the edit's text (EN_CHANGE), or
    // the edit getting the focus, ticks the check box.
    void TickOnEdit(int editId, int checkId);
    void TickOnFocus(int editId, int checkId);

    // A template given at run time (built in code, or by a test) under `id`; it takes precedence
    // over resources. Texts must stay valid (string literals).
    static void RegisterTemplate(unsigned int id, std::vector<DialogTemplateItem> items);

protected:
    // Default: UpdateData(FALSE). Returns TRUE to let the first control have the focus.
    virtual BOOL OnInitDialog();
    // The dialog is shown, after the first focus and its chosen text (bShow TRUE; nStatus 0).
    virtual void OnShowWindow(BOOL bShow, UINT nStatus) {}
    // Default: UpdateData(TRUE) and, when it succeeds, EndDialog(IDOK).
    virtual void OnOK();
    // Default: EndDialog(IDCANCEL).
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX) {}

private:
    void Build(const DialogTemplateItem* tmpl);
    // The first enabled, shown control that Tab reaches, in template order.
    CWnd* FirstTabStop() const;
    void TearDown();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    int m_nModalResult = -1;
    bool m_ended = false;
    bool m_running = false;
    std::vector<std::unique_ptr<CWnd>> m_controls;
};
