// The angle of a fixed-direction constraint ("角度入力"): degrees from -360 to 360, kept between
// uses in the program-wide angle.
#pragma once

#include "platform/ui/Dialog.h"

class MAngleDialog : public CDialog {
public:
    explicit MAngleDialog(CWnd* parent = nullptr);
    // The accepted angle in degrees (the program-wide one after OK).
    double GetAngle() const { return m_angle; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    double m_angle;
};
