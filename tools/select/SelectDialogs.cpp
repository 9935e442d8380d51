#include "tools/select/SelectDialogs.h"

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {

constexpr double kTinySize = 2.220446e-15;
constexpr int kMoveSpinLimit = 10000;

CProgramSlot<MScaleValues>& ScaleSlot() {
    static auto& slot = *new CProgramSlot<MScaleValues>();
    return slot;
}

CProgramSlot<MMoveValues>& MoveSlot() {
    static auto& slot = *new CProgramSlot<MMoveValues>();
    return slot;
}

CProgramSlot<double>& RotateSlot() {
    static auto& slot = *new CProgramSlot<double>();
    return slot;
}

void SetSpinRange(CWnd& dialog, int id, int lower, int upper) {
    if (auto* spin = dialog.GetDlgItemAs<CSpinButtonCtrl>(id)) spin->SetRange32(lower, upper);
}

double Ratio(double now, double before) {
    return before < kTinySize ? 1.0 : now / before;
}

}  // namespace

MScaleValues& GetScaleValues() {
    return ScaleSlot().Get();
}

MMoveValues& GetMoveValues() {
    return MoveSlot().Get();
}

double& GetRotateAngle() {
    return RotateSlot().Get();
}

// ----- 150 --------------------------------------------------------------------------------------

MInputRotateRadius::MInputRotateRadius(CWnd* parent) : MNumericEntryDialog(IDD_ROTATE_SHAPES, parent) {
    AddField(IDC_ROTATE_SHAPES_ANGLE, 0, kPlain, &GetRotateAngle(), nullptr);
}

// ----- 216 --------------------------------------------------------------------------------------

MInputSizingDialog::MInputSizingDialog(CWnd* parent, double width, double height)
    : CDialog(IDD_SCALE_SHAPES, parent),
      m_values(GetScaleValues()),
      m_oldWidth(width),
      m_oldHeight(height),
      m_width(width),
      m_height(height) {
    for (int id : {IDC_SCALE_BY_PERCENT, IDC_SCALE_BY_SIZE, IDC_SCALE_SAME_PERCENT})
        Commands().OnCommand(id, [this] { EnableControls(); });
    const int choices[] = {IDC_SCALE_WIDTH_ONLY, IDC_SCALE_HEIGHT_ONLY, IDC_SCALE_BOTH_SIZES};
    for (int k = 0; k < 3; ++k)
        Commands().OnCommand(choices[k], [this, k] {
            m_values.sizeChoice = k;
            EnableControls();
        });
}

BOOL MInputSizingDialog::OnInitDialog() {
    UpdateData(FALSE);
    SetSpinRange(*this, IDC_SHAPES_X_SPIN, 1, kMoveSpinLimit);
    SetSpinRange(*this, IDC_SHAPES_Y_SPIN, 1, kMoveSpinLimit);
    EnableControls();
    return TRUE;
}

void MInputSizingDialog::EnableControls() {
    const BOOL bySize = GetCheckedRadioButton(IDC_SCALE_BY_PERCENT, IDC_SCALE_BY_SIZE) == IDC_SCALE_BY_SIZE;
    const BOOL same = IsDlgButtonChecked(IDC_SCALE_SAME_PERCENT) ? TRUE : FALSE;
    const int choice = m_values.sizeChoice;
    const auto enable = [this](int id, BOOL on) {
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
    };
    enable(IDC_SCALE_SAME_PERCENT, !bySize);
    enable(IDC_SCALE_X_PERCENT, !bySize);
    enable(IDC_SHAPES_X_SPIN, !bySize);
    enable(IDC_SCALE_Y_PERCENT, !bySize && !same);
    enable(IDC_SHAPES_Y_SPIN, !bySize && !same);
    for (int id : {IDC_SCALE_WIDTH_ONLY, IDC_SCALE_HEIGHT_ONLY, IDC_SCALE_BOTH_SIZES})
        enable(id, bySize);
    enable(IDC_SCALE_WIDTH, bySize && choice != 1);
    enable(IDC_SCALE_HEIGHT, bySize && choice != 0);
}

void MInputSizingDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Radio(pDX, IDC_SCALE_BY_PERCENT, m_values.mode);
    DDX_Text(pDX, IDC_SCALE_X_PERCENT, m_values.xPercent);
    DDX_Text(pDX, IDC_SCALE_Y_PERCENT, m_values.yPercent);
    DDX_Check(pDX, IDC_SCALE_SAME_PERCENT, m_values.samePercent);
    DDX_Radio(pDX, IDC_SCALE_WIDTH_ONLY, m_values.sizeChoice);
    DDX_Text(pDX, IDC_SCALE_WIDTH, m_width);
    DDX_Text(pDX, IDC_SCALE_HEIGHT, m_height);
    if (pDX->m_bSaveAndValidate && Refuses(pDX)) {
        AfxMessageBox(IDS_NOT_POSITIVE, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

// A factor or a size that would mirror the selection or flatten it to nothing.
BOOL MInputSizingDialog::Refuses(CDataExchange* pDX) const {
    const MScaleValues& v = m_values;
    if (v.mode == 0) {
        const double vertical = v.samePercent ? v.xPercent : v.yPercent;
        if (!(v.xPercent > 0.0))
            pDX->PrepareEditCtrl(IDC_SCALE_X_PERCENT);
        else if (!(vertical > 0.0))
            pDX->PrepareEditCtrl(IDC_SCALE_Y_PERCENT);
        else
            return FALSE;
        return TRUE;
    }
    if (v.sizeChoice != 1 && !(m_width > 0.0))
        pDX->PrepareEditCtrl(IDC_SCALE_WIDTH);
    else if (v.sizeChoice != 0 && !(m_height > 0.0))
        pDX->PrepareEditCtrl(IDC_SCALE_HEIGHT);
    else
        return FALSE;
    return TRUE;
}

void MInputSizingDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    GetScaleValues() = m_values;
    EndDialog(IDOK);
}

void MInputSizingDialog::GetFactors(double* sx, double* sy) const {
    const MScaleValues& v = m_values;
    if (v.mode == 0) {
        *sx = v.xPercent * 0.01;
        *sy = (v.samePercent ? v.xPercent : v.yPercent) * 0.01;
        return;
    }
    const double byWidth = Ratio(m_width, m_oldWidth);
    const double byHeight = Ratio(m_height, m_oldHeight);
    *sx = v.sizeChoice == 1 ? byHeight : byWidth;
    *sy = v.sizeChoice == 0 ? byWidth : byHeight;
}

// ----- 217 --------------------------------------------------------------------------------------

MInputMovingDialog::MInputMovingDialog(CWnd* parent) : MNumericEntryDialog(IDD_MOVE_SHAPES, parent) {
    MMoveValues& v = GetMoveValues();
    AddField(IDC_MOVE_SHAPES_X, 0, kPlain, &v.dx, nullptr);
    AddField(IDC_MOVE_SHAPES_Y, 0, kPlain, &v.dy, nullptr);
    AddCheck(IDC_MOVE_SHAPES_COPY, &v.copy);
}

BOOL MInputMovingDialog::OnInitDialog() {
    MNumericEntryDialog::OnInitDialog();
    SetSpinRange(*this, IDC_SHAPES_X_SPIN, -kMoveSpinLimit, kMoveSpinLimit);
    SetSpinRange(*this, IDC_SHAPES_Y_SPIN, -kMoveSpinLimit, kMoveSpinLimit);
    return TRUE;
}

// ----- 253 --------------------------------------------------------------------------------------

MShapeLayerMoveDialog::MShapeLayerMoveDialog(MTessarayView* view)
    : CDialog(IDD_SHAPE_LAYER_MOVE, view), m_view(view) {}

BOOL MShapeLayerMoveDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    auto* combo = GetDlgItemAs<CComboBox>(IDC_SHAPE_LAYER);
    MTessarayDoc* doc = m_view ? m_view->GetDocument() : nullptr;
    if (!combo || !doc) return TRUE;
    const MDocShapeArray& layers = *doc->GetLayers();
    for (int i = 0; i < layers.GetLayerCount(); ++i)
        combo->AddString(layers.GetLayer(i)->GetName());
    combo->SetCurSel(layers.GetCurrentLayerIndex());
    return TRUE;
}

void MShapeLayerMoveDialog::OnOK() {
    auto* combo = GetDlgItemAs<CComboBox>(IDC_SHAPE_LAYER);
    m_layer = combo ? combo->GetCurSel() : -1;
    EndDialog(IDOK);
}

// ----- 210 --------------------------------------------------------------------------------------

MPartsNameDialog::MPartsNameDialog(CWnd* parent) : CDialog(IDD_PARTS_NAME, parent) {}

void MPartsNameDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_PARTS_NAME, m_name);
    DDX_Check(pDX, IDC_PARTS_FIT_SCALE, m_fitToScale);
}
