#include "view/dialogs/OptionDialogs.h"

#include "model/settings/OptionRecord.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {

constexpr double kMinGrid = 1e-10;
constexpr double kMaxGrid = 1e10;

}  // namespace

MGeneralOptionDialog::MGeneralOptionDialog(MTessarayView* view) : CDialog(IDD_GENERAL_OPTIONS, view) {}

BOOL MGeneralOptionDialog::OnInitDialog() {
    if (auto* spin = GetDlgItemAs<CSpinButtonCtrl>(IDC_UNDO_COUNT_SPIN))
        spin->SetRange32(1, MOptionRecord::kMaxUndoCount);
    if (auto* spin = GetDlgItemAs<CSpinButtonCtrl>(IDC_DRAW_LIMIT_SPIN))
        spin->SetRange32(0, MOptionRecord::kMaxDrawLimit);
    const BOOL result = CDialog::OnInitDialog();
    // The arrows start from the values shown.
    if (auto* spin = GetDlgItemAs<CSpinButtonCtrl>(IDC_UNDO_COUNT_SPIN)) spin->SetPos32(m_undoCount);
    if (auto* spin = GetDlgItemAs<CSpinButtonCtrl>(IDC_DRAW_LIMIT_SPIN)) spin->SetPos32(m_drawLimit);
    return result;
}

void MGeneralOptionDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_UNDO_COUNT, m_undoCount);
    DDV_MinMaxInt(pDX, m_undoCount, 1, MOptionRecord::kMaxUndoCount);
    DDX_Text(pDX, IDC_DRAW_LIMIT, m_drawLimit);
    DDV_MinMaxInt(pDX, m_drawLimit, 0, MOptionRecord::kMaxDrawLimit);
    DDX_Check(pDX, IDC_SAVE_COMPRESS, m_saveCompress);
    DDX_Radio(pDX, IDC_SELECTION_DISPLAY, m_drawSelectedShape);
    DDX_Radio(pDX, IDC_SAVE_MODE, m_saveBackupMode);
    DDX_Check(pDX, IDC_BMP_HALFTONE, m_bmpHalftone);
    DDX_Check(pDX, IDC_METAFILE_RES, m_metafileRes);
}

MSetupGridDialog::MSetupGridDialog(MTessarayView* view, double width, double height)
    : CDialog(IDD_SETUP_GRID, view), m_width(width), m_height(height) {}

void MSetupGridDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_GRID_WIDTH, m_width);
    DDV_MinMaxDouble(pDX, m_width, kMinGrid, kMaxGrid);
    DDX_Text(pDX, IDC_GRID_HEIGHT, m_height);
    DDV_MinMaxDouble(pDX, m_height, kMinGrid, kMaxGrid);
}
