// Dialog 169 "寸法書式": edits the program-wide list of named dimension number formats. Add,
// update and delete change the list at once; OK only checks the name shown, Cancel takes nothing
// back. Built-in formats are read-only and the template for new formats stays the last entry.
#pragma once

#include <string>

#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/ui/Dialog.h"

class MSetupFormatDialog : public CDialog {
public:
    enum : UINT { IDD = 169 };
    // The controls start from the entry at the current list position (the first entry when the
    // position lies outside the list).
    explicit MSetupFormatDialog(CWnd* parent);

    std::string m_name;
    std::string m_prefix;
    std::string m_suffix;
    double m_step = 0.1;
    int m_comma = 0;
    int m_keepZeros = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    void OnSelchangeFormatList();
    void OnAddFormat();
    void OnDeleteFormat();
    void OnUpdateFormat();
    void Load(const MSizeFormatInfo& format);
    // The selected list index, or -1.
    int Selected() const;
    // The control values as a user format; FALSE (the user has been told) when a value or the name
    // is refused. except: the index whose own name may be kept (-1 for none).
    BOOL TakeControls(MSizeFormatInfo* format, int except);
    // Tells the user why the name is refused and focuses it; FALSE.
    BOOL RefuseName(UINT messageId);
    // Selects index in list and list box and shows that entry.
    void Show(int index);
};

// The current list position, held inside the list (0 for an empty one).
int ClampedSizeFormatListPosition();
