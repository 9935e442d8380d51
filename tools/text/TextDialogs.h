// The text dialogs: one line of text (140) and several lines (239). Each serves both the text tools
// and a text shape's editor (tools/ShapeEditors.cpp), which knows it only through its model interface.
#pragma once

#include "model/shapes/ShapeDialogs.h"
#include "platform/ui/Dialog.h"

// Dialog 140 "文字列入力". The caller fills the interface's fields before DoModal.
class MToolTextInputDialog : public CDialog, public MTextInputDialog {
public:
    enum : UINT { IDD = 140 };
    explicit MToolTextInputDialog(CWnd* parent);
    int DoModal() override { return CDialog::DoModal(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Dialog 239: several lines, wrapping too. The edit shows and gives lines as CR LF pairs; the
// interface's GetText drops the CRs again.
class MToolInputMultiTextDialog : public CDialog, public MInputMultiTextDialog {
public:
    enum : UINT { IDD = 239 };
    explicit MToolInputMultiTextDialog(CWnd* parent);
    int DoModal() override { return CDialog::DoModal(); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
