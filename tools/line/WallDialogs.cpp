#include "tools/line/WallDialogs.h"

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {
constexpr int kMaxTenths = 100;
}  // namespace

MInputWallLengthDialog::MInputWallLengthDialog(MTessarayView* view, double* length, BOOL* lengthLock,
                                               double* angle, BOOL* angleLock, BOOL* keepValues,
                                               MWallStyle* style)
    : MInputLineDialog(view, length, lengthLock, angle, angleLock, keepValues, IDD_WALL_LENGTH_INPUT) {
    Commands().OnCommand(IDC_WALL_SETUP, [this, view, style] {
        MInputWallDialog settings(view, *style);
        if (settings.DoModal() == IDOK) *style = settings.GetStyle();
    });
}

MInputWallDialog::MInputWallDialog(MTessarayView* view, const MWallStyle& style)
    : CDialog(IDD_WALL_SETTINGS, view),
      m_view(view),
      m_style(style),
      m_centreLine(style.centreLine ? 1 : 0),
      m_tenths(static_cast<int>(style.width * 10)) {
    m_style.MakeSound();
    m_tenths = static_cast<int>(m_style.width * 10);
    Commands().OnCommand(IDC_WALL_CENTRE_LINE, [this] {
        auto* box = GetDlgItemAs<CButton>(IDC_WALL_CENTRE_LINE);
        EnableCentreLine(box && box->GetCheck() ? TRUE : FALSE);
    });
}

BOOL MInputWallDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    if (auto* layers = GetDlgItemAs<CComboBox>(IDC_WALL_LAYER)) {
        int selected = 0;
        MTessarayDoc* doc = m_view ? m_view->GetDocument() : nullptr;
        const int count = doc ? doc->GetLayers()->GetLayerCount() : 0;
        for (int i = 0; i < count; ++i) {
            const CString& name = doc->GetLayers()->GetLayer(i)->GetName();
            layers->AddString(name);
            if (name == m_style.layer) selected = i;
        }
        if (count > 0) layers->SetCurSel(selected);
    }
    m_colors.FillColors();
    m_colors.SelectColor(m_style.color);
    m_styles.FillStyles(16);
    m_styles.SetCurSel(m_style.lineStyle);
    EnableCentreLine(m_centreLine ? TRUE : FALSE);
    return TRUE;
}

void MInputWallDialog::EnableCentreLine(BOOL on) {
    for (int id : {IDC_WALL_LAYER, IDC_WALL_STYLE, IDC_WALL_WIDTH, IDC_WALL_WIDTH_SPIN, IDC_WALL_COLOR})
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
}

void MInputWallDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_WALL_STYLE, m_styles);
    DDX_Control(pDX, IDC_WALL_COLOR, m_colors);
    DDX_Text(pDX, IDC_WALL_LEFT, m_style.leftWidth);
    DDX_Text(pDX, IDC_WALL_RIGHT, m_style.rightWidth);
    DDX_Check(pDX, IDC_WALL_CENTRE_LINE, m_centreLine);
    DDX_Text(pDX, IDC_WALL_WIDTH, m_tenths);
    DDV_MinMaxInt(pDX, m_tenths, 0, kMaxTenths);
    if (!pDX->m_bSaveAndValidate) return;
    if (auto* layers = GetDlgItemAs<CComboBox>(IDC_WALL_LAYER)) m_style.layer = layers->GetWindowText();
    m_style.centreLine = m_centreLine ? TRUE : FALSE;
    m_style.width = m_tenths / 10.0;
    m_style.lineStyle = std::max(0, m_styles.GetCurSel());
    m_style.color = m_colors.GetCurColor(m_style.color);
}
