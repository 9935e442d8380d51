#include "tools/dimension/MeasureDialogs.h"

#include <clocale>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

namespace {

std::string Linear(double value) {
    return GetCurrentSizeFormat(SIZEFORMAT_LINEAR).Format(value, FALSE, FALSE);
}

std::string Angle(double degrees) {
    return GetCurrentSizeFormat(SIZEFORMAT_ANGLE).Format(degrees, FALSE, FALSE);
}

// The caret at the start of each edit and nothing selected, once the dialog shows: the first focus
// chose the first edit's text.
void ClearSelections(CDialog& dialog, std::initializer_list<int> edits) {
    for (int id : edits)
        if (auto* edit = dialog.GetDlgItemAs<CEdit>(id)) edit->SetSel(0, 0);
}

// "%10G" whatever the process's locale: the decimal point is always ".".
std::string Column(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%10G", value);
    std::string out = text;
    const char* point = std::localeconv()->decimal_point;
    if (point && *point && std::string(point) != ".") {
        const std::size_t at = out.find(point);
        if (at != std::string::npos) out.replace(at, std::string(point).size(), ".");
    }
    return out;
}

}  // namespace

std::string LengthReport(const std::vector<double>& lengths) {
    std::string report;
    double total = 0.0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%4d.", static_cast<int>(i + 1));
        report += number + Column(lengths[i]) + "\r\n";
        total += lengths[i];
    }
    return report + " 合計" + Column(total) + "\r\n";
}

// ----- 176 --------------------------------------------------------------------------------------

MMeasureLengthDialog::MMeasureLengthDialog(CWnd* parent, double x0, double y0, double x1, double y1,
                                           double length, double angle)
    : CDialog(IDD, parent),
      m_points("(" + Linear(x0) + " , " + Linear(y0) + ")-(" + Linear(x1) + " , " + Linear(y1) + ")"),
      m_length(Linear(length)),
      m_angle(Angle(angle)) {}

void MMeasureLengthDialog::OnShowWindow(BOOL bShow, UINT) {
    if (bShow) ClearSelections(*this, {IDC_MEASURED_POINTS, IDC_MEASURED_LENGTH, IDC_MEASURED_DIRECTION});
}

void MMeasureLengthDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_MEASURED_POINTS, m_points);
    DDX_Text(pDX, IDC_MEASURED_LENGTH, m_length);
    DDX_Text(pDX, IDC_MEASURED_DIRECTION, m_angle);
}

// ----- 227 --------------------------------------------------------------------------------------

MLengthReportDialog::MLengthReportDialog(CWnd* parent) : CDialog(IDD, parent) {}

void MLengthReportDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_LENGTH_REPORT, m_report);
}

// ----- 175 --------------------------------------------------------------------------------------

MMeasureAngleDialog::MMeasureAngleDialog(CWnd* parent, double degrees)
    : CDialog(IDD, parent), m_angle(Angle(degrees)) {}

void MMeasureAngleDialog::OnShowWindow(BOOL bShow, UINT) {
    if (bShow) ClearSelections(*this, {IDC_MEASURED_ANGLE});
}

void MMeasureAngleDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_MEASURED_ANGLE, m_angle);
}

// ----- 266 --------------------------------------------------------------------------------------

MMeasureAreaDialog::MMeasureAreaDialog(CWnd* parent, double area)
    : CDialog(IDD, parent), m_area(area), m_areaM2(area * 0.000001) {}

void MMeasureAreaDialog::OnShowWindow(BOOL bShow, UINT) {
    if (bShow) ClearSelections(*this, {IDC_MEASURED_AREA, IDC_MEASURED_AREA_M2});
}

void MMeasureAreaDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_MEASURED_AREA, m_area);
    DDX_Text(pDX, IDC_MEASURED_AREA_M2, m_areaM2);
}
