// The dialogs of the linear dimensions: the dimension settings (141), the numeric entry of the
// dimension tools (161) and the text of one dimension (263). The model knows 141 and 263 only as
// interfaces (model/shapes/ShapeDialogs.h); these classes are those dialogs on screen.
#pragma once

#include <string>

#include "model/shapes/ShapeDialogs.h"
#include "platform/ui/Dialog.h"

// Dialog 141 "寸法線設定". OK writes the edited style and the four formats chosen program-wide,
// also when the dialog started from one dimension's style; m_style keeps the edited copy.
class MToolSizeSetupDialog : public CDialog, public MSizeSetupDialog {
public:
    enum : UINT { IDD = 141 };
    // initial: the style to start from; null for the program-wide one.
    MToolSizeSetupDialog(CWnd* parent, const MSizeStyle* initial);
    int DoModal() override { return CDialog::DoModal(); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    void FillFontNames();
    // Fills the four format combos; keep: keep the names they show where the list still has them.
    void FillFormatCombos(BOOL keep);
    void OnEditFormats();
};

// Dialog 161 "寸法線": the numeric entry of the linear dimension tools. Lengths are in user units.
class MInputSizeDialog : public CDialog {
public:
    enum : UINT { IDD = 161 };
    explicit MInputSizeDialog(CWnd* parent);
    void SetValues(double length, BOOL fixedLength, BOOL autoTextPosition, const std::string& text,
                   BOOL userText, BOOL keep);

    double m_length = 1000.0;
    int m_fixedLength = 1;
    int m_autoTextPosition = 1;
    std::string m_text = "Text";
    int m_userText = 0;
    int m_keep = 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// Dialog 263 "寸法線文字". Its caller fills the interface's fields before DoModal; the option
// button edits *m_style in place when the settings dialog is confirmed.
class MToolInputSizeTextDialog : public CDialog, public MInputSizeTextDialog {
public:
    enum : UINT { IDD = 263 };
    explicit MToolInputSizeTextDialog(CWnd* parent);
    int DoModal() override { return CDialog::DoModal(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
