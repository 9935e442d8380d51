// The label (162) and balloon (163) dialogs. Each serves both its tool and the shape's editor, which
// knows it only through its model interface. Sizes are paper millimetres.
#pragma once

#include "model/shapes/ShapeDialogs.h"
#include "platform/ui/Dialog.h"

// Dialog 162 "引き出し線". A text size not above 0 is refused: the text could not be seen.
class MToolInputLabelDialog : public CDialog, public MInputLabelDialog {
public:
    enum : UINT { IDD = 162 };
    explicit MToolInputLabelDialog(CWnd* parent);
    int DoModal() override { return CDialog::DoModal(); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};

// Dialog 163 "バルーン". Typing a radius ticks its box; a ticked radius not above 0 (62679) and a
// ticked minimum above a ticked maximum (62680) keep the dialog open, as does a text size not
// above 0.
class MToolInputBalloonDialog : public CDialog, public MInputBalloonDialog {
public:
    enum : UINT { IDD = 163 };
    explicit MToolInputBalloonDialog(CWnd* parent);
    int DoModal() override { return CDialog::DoModal(); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
