#include "view/dialogs/AutoLayerDialog.h"

#include "document/DocumentTool.h"
#include "document/TessarayDoc.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {}  // namespace

MAutoLayerDialog::MAutoLayerDialog(MTessarayView* view) : CDialog(IDD_AUTO_LAYER, view), m_view(view) {
    Commands().OnNotify(LVN_ITEMCHANGED, IDC_TOOL_LIST, [this](NMHDR*, LRESULT*) { OnRowsChanged(); });
    Commands().OnControl(LBN_SELCHANGE, IDC_LAYER_LIST, [this] { OnEntryChosen(); });
}

MAutoLayerDialog::~MAutoLayerDialog() = default;

BOOL MAutoLayerDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    MTessarayDoc* doc = m_view ? m_view->GetDocument() : nullptr;
    MDocumentToolArray* tools = GetDocumentToolArray();
    auto* rows = GetDlgItemAs<CListCtrl>(IDC_TOOL_LIST);
    auto* entries = GetDlgItemAs<CListBox>(IDC_LAYER_LIST);
    if (!doc || !rows || !entries) {
        EndDialog(IDCANCEL);
        return result;
    }
    if (tools) {
        m_assignment = std::make_unique<MAutoLayerAssignment>(*doc, *tools);
    } else {
        // Without tools there is nothing to bind; the list box still shows the choices.
        struct NoTools : MDocumentToolArray {
            int GetToolCount() const override { return 0; }
            MDocumentTool* GetToolAt(int) const override { return nullptr; }
        } none;
        m_assignment = std::make_unique<MAutoLayerAssignment>(*doc, none);
    }

    CRect frame;
    rows->GetClientRect(&frame);
    const UINT headings[] = {IDS_TOOL_COLUMN, IDS_LAYER_COLUMN};
    for (int i = 0; i < 2; ++i)
        rows->InsertColumn(i, AfxLoadString(headings[i]), LVCFMT_LEFT, frame.Width() * (i + 1) / 2);
    for (int r = 0; r < m_assignment->GetRowCount(); ++r) {
        rows->InsertItem(r, m_assignment->GetRowTitle(r));
        rows->SetItemText(r, 1, m_assignment->GetRowText(r));
    }
    entries->ResetContent();
    for (const CString& entry : m_assignment->GetEntries())
        entries->AddString(entry);
    return result;
}

std::vector<int> MAutoLayerDialog::SelectedRows() const {
    std::vector<int> selected;
    if (auto* rows = GetDlgItemAs<CListCtrl>(IDC_TOOL_LIST))
        for (int r = rows->GetNextItem(-1, LVNI_SELECTED); r >= 0; r = rows->GetNextItem(r, LVNI_SELECTED))
            selected.push_back(r);
    return selected;
}

void MAutoLayerDialog::OnRowsChanged() {
    auto* entries = GetDlgItemAs<CListBox>(IDC_LAYER_LIST);
    if (!m_assignment || !entries) return;
    const int entry = m_assignment->EntryForRows(SelectedRows());
    if (entry != MAutoLayerAssignment::kUnchanged) entries->SetCurSel(entry);
}

void MAutoLayerDialog::OnEntryChosen() {
    auto* rows = GetDlgItemAs<CListCtrl>(IDC_TOOL_LIST);
    auto* entries = GetDlgItemAs<CListBox>(IDC_LAYER_LIST);
    if (!m_assignment || !rows || !entries) return;
    const int entry = entries->GetCurSel();
    if (entry < 0) return;
    const std::vector<int> selected = SelectedRows();
    m_assignment->ChooseEntry(selected, entry);
    for (int r : selected)
        rows->SetItemText(r, 1, m_assignment->GetRowText(r));
}

void MAutoLayerDialog::OnOK() {
    CDialog::OnOK();
    if (IsRunning() || !m_assignment) return;
    if (MDocumentToolArray* tools = GetDocumentToolArray()) m_assignment->Apply(*tools);
}
