// The results of the measuring tools, in read-only fields: the distance between two points (176),
// the lengths of a polyline (227), the angle between two lines (175) and an area (266). The three
// value dialogs open with no text selected, so that nothing invites overtyping a result.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Dialog.h"

// Drawing lengths and the direction as the current linear and angle formats show them, without
// prefix and suffix.
class MMeasureLengthDialog : public CDialog {
public:
    enum : UINT { IDD = 176 };
    // Points relative to the drawing's origin; angle in degrees.
    MMeasureLengthDialog(CWnd* parent, double x0, double y0, double x1, double y1, double length,
                         double angle);

    std::string m_points;
    std::string m_length;
    std::string m_angle;

protected:
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class MLengthReportDialog : public CDialog {
public:
    enum : UINT { IDD = 227 };
    explicit MLengthReportDialog(CWnd* parent);

    // Lines ended by "\r\n".
    std::string m_report;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class MMeasureAngleDialog : public CDialog {
public:
    enum : UINT { IDD = 175 };
    MMeasureAngleDialog(CWnd* parent, double degrees);

    std::string m_angle;

protected:
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class MMeasureAreaDialog : public CDialog {
public:
    enum : UINT { IDD = 266 };
    MMeasureAreaDialog(CWnd* parent, double area);

    double m_area;
    double m_areaM2;

protected:
    void OnShowWindow(BOOL bShow, UINT nStatus) override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// One line "%4d.%10G\r\n" a segment, then " 合計%10G\r\n" with their sum; numbers in the C locale.
std::string LengthReport(const std::vector<double>& lengths);
