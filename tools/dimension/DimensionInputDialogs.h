// The numeric entry of the radius (231), diameter (174) and angle (170) dimension tools. Each
// "ｵﾌﾟｼｮﾝ" opens the dimension settings, starting from the style of the tool's new dimension
// when it has one.
#pragma once

#include <string>

#include "platform/ui/Dialog.h"

class MSizeBaseShape;

// What the three share: the user text, the automatic text position and the keep box.
class MDimensionInputDialog : public CDialog {
public:
    MDimensionInputDialog(UINT id, CWnd* parent, const MSizeBaseShape* shape);

    std::string m_text = "Text";
    int m_userText = 0;
    int m_autoTextPosition = 1;
    int m_keep = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    const MSizeBaseShape* m_shape;
};

class MInputRadiusDialog : public MDimensionInputDialog {
public:
    enum : UINT { IDD = 231 };
    MInputRadiusDialog(CWnd* parent, const MSizeBaseShape* shape);
    void SetValues(const std::string& text, BOOL userText, BOOL autoTextPosition, BOOL noOvershoot,
                   BOOL overshootFromCentre, BOOL keep);

    int m_noOvershoot = 0;
    int m_overshootFromCentre = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // "はみ出した時中心から" means something only while "はみ出さない" is clear.
    void EnableOvershootFromCentre();
};

class MInputDiamterDialog : public MDimensionInputDialog {
public:
    enum : UINT { IDD = 174 };
    MInputDiamterDialog(CWnd* parent, const MSizeBaseShape* shape);
    void SetValues(const std::string& text, BOOL userText, BOOL autoTextPosition, BOOL keep);
};

// The angle in degrees, accepted from 0 to 360.
class MInputAngleDialog : public MDimensionInputDialog {
public:
    enum : UINT { IDD = 170 };
    // forAngleTool: stored for the caller only; the dialog looks the same for both tools.
    MInputAngleDialog(CWnd* parent, const MSizeBaseShape* shape, int forAngleTool);
    void SetValues(double angle, BOOL fixedAngle, const std::string& text, BOOL userText,
                   BOOL autoTextPosition, BOOL keep);

    double m_angle = 90.0;
    int m_fixedAngle = 0;
    int m_forAngleTool;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
