#include "tools/edit/HatchDialog.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/DC.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kDirections[4] = {IDC_HATCH_HORIZONTAL, IDC_HATCH_VERTICAL, IDC_HATCH_FALLING,
                                IDC_HATCH_RISING};

double ClampLength(double value, double fallback, double high) {
    if (!std::isfinite(value) || value < 0) return fallback;
    return std::min(value, high);
}

}  // namespace

void MHatchValues::Clamp() {
    const MHatchValues defaults;
    mode = std::clamp(mode, 0, 1);
    pitch = ClampLength(pitch, defaults.pitch, 10000.0);
    lineCount = std::clamp(lineCount, 1, 3);
    spacing = ClampLength(spacing, defaults.spacing, 1000.0);
    for (int& on : directions)
        on = std::clamp(on, 0, 1);
}

MHatchDialog::MHatchDialog(CWnd* parent, const MHatchValues& values)
    : CDialog(IDD_HATCH, parent), m_values(values), m_lineIndex(values.lineCount - 1) {
    for (UINT id : {IDC_HATCH_ONE_LINE, IDC_HATCH_TWO_LINES, IDC_HATCH_THREE_LINES})
        Commands().OnCommand(id, [this] { EnableSpacing(); });
}

BOOL MHatchDialog::OnInitDialog() {
    const BOOL focus = CDialog::OnInitDialog();
    MakeDirectionPictures();
    EnableSpacing();
    return focus;
}

void MHatchDialog::MakeDirectionPictures() {
    auto* first = GetDlgItemAs<CButton>(kDirections[0]);
    CSize ideal;
    if (!first || !first->GetIdealSize(&ideal) || ideal.cy <= 2) return;
    const int side = ideal.cy;
    const int last = side - 1;
    // From, to: the middle of the left edge to the right one, the top to the bottom, the top-left
    // corner to the bottom-right one, the bottom-left corner to the top-right one.
    const CPoint lines[4][2] = {{{0, side / 2}, {last, side / 2}},
                                {{side / 2, 0}, {side / 2, last}},
                                {{0, 0}, {last, last}},
                                {{0, last}, {last, 0}}};
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) return;
    for (int k = 0; k < 4; ++k) {
        CBitmap& picture = m_pictures[static_cast<std::size_t>(k)];
        if (!picture.CreateCompatibleBitmap(nullptr, side, side)) return;
        CBitmap* old = dc.SelectObject(&picture);
        const CRect all(0, 0, side, side);
        dc.FillSolidRect(&all, GetSysColor(COLOR_BTNFACE));
        CGdiObject* oldPen = dc.SelectStockObject(BLACK_PEN);
        dc.MoveTo(lines[k][0]);
        dc.LineTo(lines[k][1]);
        // The line's last pixel too.
        dc.SetPixel(lines[k][1].x, lines[k][1].y, 0);
        dc.SelectObject(oldPen);
        dc.SelectObject(old);
        if (auto* button = GetDlgItemAs<CButton>(kDirections[k])) button->SetBitmap(&picture);
    }
}

void MHatchDialog::DoDataExchange(CDataExchange* pDX) {
    for (int k = 0; k < 4; ++k)
        DDX_Check(pDX, kDirections[k], m_values.directions[static_cast<std::size_t>(k)]);
    DDX_Radio(pDX, IDC_HATCH_MODE1, m_values.mode);
    DDX_Radio(pDX, IDC_HATCH_ONE_LINE, m_lineIndex);
    DDX_Text(pDX, IDC_HATCH_SPACING, m_values.spacing);
    DDV_MinMaxDouble(pDX, m_values.spacing, 0.0, 1000.0);
    DDX_Text(pDX, IDC_HATCH_PITCH, m_values.pitch);
    DDV_MinMaxDouble(pDX, m_values.pitch, 0.0, 10000.0);
    m_values.lineCount = std::clamp(m_lineIndex + 1, 1, 3);
    m_values.mode = std::clamp(m_values.mode, 0, 1);
}

void MHatchDialog::EnableSpacing() {
    if (CWnd* spacing = GetDlgItem(IDC_HATCH_SPACING))
        spacing->EnableWindow(!IsDlgButtonChecked(IDC_HATCH_ONE_LINE));
}
