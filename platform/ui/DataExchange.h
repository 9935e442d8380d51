// Dialog data exchange and validation by control id. DDX_ functions move a value between a member
// and a control (direction by m_bSaveAndValidate); a value that cannot be read is refused with the
// framework's message and Fail(). DDV_ functions check the value just exchanged, only when saving,
// and refuse it with the framework's range message. A refusal leaves the dialog open with the
// offending control focused.
#pragma once

#include <string>

#include "platform/ui/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control nIDC, remembered as the one a following DDV_ refers to; a missing control is a
    // programming error and throws CInvalidArgException.
    CWnd* PrepareCtrl(int nIDC);
    CWnd* PrepareEditCtrl(int nIDC);
    // Focuses the remembered control (selecting an edit's text) and throws CUserException.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

// Edits (and the edit text of combos). Numbers are written in the C locale: doubles with 15
// significant digits, floats with 6; reading accepts blanks around one number and nothing else.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
// Check boxes: 0, 1 or 2.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The radio group that begins with nIDC: the index of the checked button, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Combo boxes: the selected index (-1 none); the text (loading selects the first item beginning
// with it, or else sets the edit text); the exact text.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, std::string& value);
// List boxes: the selected index; the selected item's text.
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, std::string& value);
// Makes `control` (a member control object) stand for the dialog's control nIDC: it receives the
// control's notifications and paints it, and GetDlgItem answers it.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);
// Sliders: the thumb's position.
void DDX_Slider(CDataExchange* pDX, int nIDC, int& value);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal);
// At most nChars characters.
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);
