#include "view/dialogs/LayerDialogs.h"

#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>

#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {

// The entry after the layers of a "to" list: the position past the last layer.
constexpr const char* kLastEntry = "最後";

const MDocShapeArray* LayersOf(const MTessarayView* view) {
    const MTessarayDoc* doc = view ? view->GetDocument() : nullptr;
    return doc ? doc->GetLayers() : nullptr;
}

// Both lists get the layer names, the "to" list also "最後"; both select the current tab.
void FillFromToLists(CDialog& dialog, const MTessarayView* view) {
    auto* from = dialog.GetDlgItemAs<CComboBox>(IDC_LAYER_FROM);
    auto* to = dialog.GetDlgItemAs<CComboBox>(IDC_LAYER_TO);
    if (!from || !to) return;
    from->ResetContent();
    to->ResetContent();
    if (const MDocShapeArray* layers = LayersOf(view)) {
        for (int i = 0; i < layers->GetLayerCount(); ++i) {
            from->AddString(layers->GetLayer(i)->m_name);
            to->AddString(layers->GetLayer(i)->m_name);
        }
    }
    to->AddString(kLastEntry);
    const int current = view ? view->GetCurrentTab() : 0;
    from->SetCurSel(current);
    to->SetCurSel(current);
}

void ReadFromToLists(CDialog& dialog, int& from, int& to, CString& fromText, CString& toText) {
    auto* fromList = dialog.GetDlgItemAs<CComboBox>(IDC_LAYER_FROM);
    auto* toList = dialog.GetDlgItemAs<CComboBox>(IDC_LAYER_TO);
    from = fromList ? fromList->GetCurSel() : -1;
    to = toList ? toList->GetCurSel() : -1;
    fromText = fromList ? fromList->GetWindowText() : CString();
    toText = toList ? toList->GetWindowText() : CString();
}

}  // namespace

// ----- copy -------------------------------------------------------------------------------------

MLayerCopyDialog::MLayerCopyDialog(MTessarayView* view, const CString& newName)
    : CDialog(IDD_LAYER_COPY, view), m_newName(newName), m_view(view) {}

BOOL MLayerCopyDialog::OnInitDialog() {
    FillFromToLists(*this, m_view);
    return CDialog::OnInitDialog();
}

void MLayerCopyDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_NEW_LAYER_NAME, m_newName);
}

void MLayerCopyDialog::OnOK() {
    ReadFromToLists(*this, m_from, m_to, m_fromText, m_toText);
    CDialog::OnOK();
}

// ----- move -------------------------------------------------------------------------------------

MLayerMoveDialog::MLayerMoveDialog(MTessarayView* view) : CDialog(IDD_LAYER_MOVE, view), m_view(view) {}

BOOL MLayerMoveDialog::OnInitDialog() {
    FillFromToLists(*this, m_view);
    return CDialog::OnInitDialog();
}

void MLayerMoveDialog::OnOK() {
    ReadFromToLists(*this, m_from, m_to, m_fromText, m_toText);
    CDialog::OnOK();
}

// ----- name and attributes ----------------------------------------------------------------------

MLayerNameDialog::MLayerNameDialog(MTessarayView* view, const CString& name)
    : CDialog(IDD_LAYER_NAME, view), m_name(name) {
    Commands().OnControl(BN_CLICKED, IDC_LAYER_VISIBLE, [this] { EnableDependentChecks(); });
}

MLayerNameDialog::MLayerNameDialog(MTessarayView* view, const MLayer* layer)
    : MLayerNameDialog(view, CString()) {
    if (!layer) return;
    m_name = layer->m_name;
    m_visible = layer->IsVisible();
    m_printable = layer->IsPrintable();
    m_selectable = layer->IsSelectable();
}

int MLayerNameDialog::GetFlags() const {
    return (m_visible ? MLayer::kVisible : 0) | (m_printable ? MLayer::kPrintable : 0) |
           (m_selectable ? MLayer::kSelectable : 0);
}

BOOL MLayerNameDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    EnableDependentChecks();
    return result;
}

void MLayerNameDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_LAYER_NAME, m_name);
    DDX_Check(pDX, IDC_LAYER_VISIBLE, m_visible);
    DDX_Check(pDX, IDC_LAYER_PRINTABLE, m_printable);
    DDX_Check(pDX, IDC_LAYER_SELECTABLE, m_selectable);
}

void MLayerNameDialog::EnableDependentChecks() {
    const BOOL visible = IsDlgButtonChecked(IDC_LAYER_VISIBLE) != BST_UNCHECKED;
    for (int id : {IDC_LAYER_PRINTABLE, IDC_LAYER_SELECTABLE})
        if (CWnd* check = GetDlgItem(id)) check->EnableWindow(visible);
}

// ----- which layers are shown -------------------------------------------------------------------

MLayerShowDialog::MLayerShowDialog(MTessarayView* view) : CDialog(IDD_LAYER_SHOW, view), m_view(view) {
    Commands().OnCommand(IDC_LAYER_SHOW_APPLY, [this] { ApplyChecks(ReadChecks()); });
}

MLayerShowDialog::~MLayerShowDialog() = default;

BOOL MLayerShowDialog::OnInitDialog() {
    m_checks.clear();
    const MDocShapeArray* layers = LayersOf(m_view);
    CWnd* frame = GetDlgItem(IDC_LAYER_SHOW_LIST);
    if (layers && frame && frame->GetWidget()) {
        // The check-list box: a scrolling column of check boxes inside the template's frame.
        auto* outer = new QVBoxLayout(frame->GetWidget());
        outer->setContentsMargins(0, 0, 0, 0);
        auto* scroll = new QScrollArea(frame->GetWidget());
        scroll->setWidgetResizable(true);
        auto* column = new QWidget;
        auto* rows = new QVBoxLayout(column);
        for (int i = 0; i < layers->GetLayerCount(); ++i) {
            const MLayer* layer = layers->GetLayer(i);
            auto check = std::make_unique<CButton>();
            check->Create(layer->m_name, CButton::Kind::Check, this, static_cast<UINT>(kFirstLayerCheck + i));
            check->SetCheck(layer->IsVisible() ? BST_CHECKED : BST_UNCHECKED);
            rows->addWidget(check->GetWidget());
            m_checks.push_back(std::move(check));
        }
        rows->addStretch(1);
        scroll->setWidget(column);
        outer->addWidget(scroll);
    }
    return CDialog::OnInitDialog();
}

std::vector<int> MLayerShowDialog::ReadChecks() const {
    std::vector<int> checks;
    for (const auto& check : m_checks)
        checks.push_back(check->GetCheck() != BST_UNCHECKED ? 1 : 0);
    return checks;
}

void MLayerShowDialog::ApplyChecks(const std::vector<int>& checks) {
    MTessarayDoc* doc = m_view ? m_view->GetDocument() : nullptr;
    if (!doc) return;
    MDocShapeArray* layers = doc->GetLayers();
    const int n = std::min(layers->GetLayerCount(), static_cast<int>(checks.size()));
    for (int i = 0; i < n; ++i)
        layers->GetLayer(i)->SetVisible(checks[static_cast<std::size_t>(i)]);
    m_view->RedrawTabs();
    m_view->Invalidate();
}

void MLayerShowDialog::OnOK() {
    const std::vector<int> checks = ReadChecks();
    CDialog::OnOK();
    if (!IsRunning()) ApplyChecks(checks);
}
