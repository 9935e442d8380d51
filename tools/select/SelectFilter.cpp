// The select filter: the kinds of shapes the select tool may pick, chosen in a dialog and kept in
// the application profile under "SELECT\Filter".
#include "tools/select/SelectFilter.h"

#include <algorithm>
#include <string>

#include "model/shapes/CadShape.h"
#include "model/shapes/ShapeFactory.h"
#include "platform/Strings.h"
#include "platform/ui/CheckListBox.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"

namespace {

constexpr const char* kFilterSection = "SELECT\\Filter";
constexpr const char* kCountEntry = "NumID";

bool IsPrototypeId(unsigned int id) {
    MCadShapeFactory& factory = GetShapeFactory();
    for (int i = 0; i < factory.GetCount(); ++i)
        if (static_cast<unsigned int>(factory.GetAt(i)->GetTypeId()) == id) return true;
    return false;
}

// The dialog: one check-list item per kind of shape the factory makes, ticked when chosen.
class MSelectFilterDialog : public CDialog {
public:
    MSelectFilterDialog(CWnd* parent, std::vector<unsigned int>* kinds);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void CheckAll(int state);

    std::vector<unsigned int>* m_kinds;
    std::vector<int> m_checked;
    std::vector<std::string> m_names;
    std::vector<unsigned int> m_typeIds;
    CCheckListBox m_list;
};

}  // namespace

// ----- the filter -------------------------------------------------------------------------------

MSelectFilter::MSelectFilter() {
    MCadShapeFactory& factory = GetShapeFactory();
    for (int i = 0; i < factory.GetCount(); ++i)
        m_kinds.push_back(static_cast<unsigned int>(factory.GetAt(i)->GetTypeId()));
}

MCadShape* MSelectFilter::Admit(MCadShape* shape) const {
    if (!m_on || !shape) return shape;
    const unsigned int id = static_cast<unsigned int>(shape->GetTypeId());
    return std::find(m_kinds.begin(), m_kinds.end(), id) != m_kinds.end() ? shape : nullptr;
}

BOOL MSelectFilter::LoadStoredKinds() {
    CWinApp* app = AfxGetApp();
    if (!app) return FALSE;
    // A damaged profile may claim any count: no more entries are read than there are kinds, and
    // ids of no kind are dropped.
    const int stored = app->GetProfileInt(kFilterSection, kCountEntry, 0);
    const int count = std::clamp(stored, 0, GetShapeFactory().GetCount());
    m_kinds.clear();
    for (int i = 0; i < count; ++i) {
        const int id = app->GetProfileInt(kFilterSection, std::to_string(i), 0);
        if (id > 0 && IsPrototypeId(static_cast<unsigned int>(id)))
            m_kinds.push_back(static_cast<unsigned int>(id));
    }
    return TRUE;
}

void MSelectFilter::ChooseKinds() {
    MSelectFilterDialog dialog(AfxGetMainWnd(), &m_kinds);
    if (dialog.DoModal() != IDOK) return;
    CWinApp* app = AfxGetApp();
    if (!app) return;
    app->WriteProfileInt(kFilterSection, kCountEntry, static_cast<int>(m_kinds.size()));
    for (std::size_t i = 0; i < m_kinds.size(); ++i)
        app->WriteProfileInt(kFilterSection, std::to_string(i), static_cast<int>(m_kinds[i]));
}

// ----- the dialog -------------------------------------------------------------------------------

MSelectFilterDialog::MSelectFilterDialog(CWnd* parent, std::vector<unsigned int>* kinds)
    : CDialog(IDD_SELECT_FILTER, parent), m_kinds(kinds) {
    MCadShapeFactory& factory = GetShapeFactory();
    const std::vector<unsigned int>& filter = *kinds;
    for (int i = 0; i < factory.GetCount(); ++i) {
        const MCadShape* prototype = factory.GetAt(i);
        const unsigned int id = static_cast<unsigned int>(prototype->GetTypeId());
        m_names.push_back(prototype->GetTypeName());
        m_typeIds.push_back(id);
        m_checked.push_back(std::find(filter.begin(), filter.end(), id) != filter.end() ? 1 : 0);
    }
    Commands().OnControl(BN_CLICKED, IDC_FILTER_CHECK_ALL, [this] { CheckAll(BST_CHECKED); });
    Commands().OnControl(BN_CLICKED, IDC_FILTER_UNCHECK_ALL, [this] { CheckAll(BST_UNCHECKED); });
}

void MSelectFilterDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_FILTER_LIST, m_list);
}

BOOL MSelectFilterDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        const int item = m_list.AddString(m_names[i]);
        m_list.SetCheck(item, m_checked[i] ? BST_CHECKED : BST_UNCHECKED);
    }
    return TRUE;
}

void MSelectFilterDialog::CheckAll(int state) {
    for (int i = 0; i < m_list.GetCount(); ++i)
        m_list.SetCheck(i, state);
}

void MSelectFilterDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    std::vector<unsigned int>& filter = *m_kinds;
    filter.clear();
    for (std::size_t i = 0; i < m_typeIds.size(); ++i)
        if (m_list.GetCheck(static_cast<int>(i)) == BST_CHECKED) filter.push_back(m_typeIds[i]);
    EndDialog(IDOK);
}
