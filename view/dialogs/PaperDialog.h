// Dialog 178 "用紙設定": paper size, scale, orientation and grid. It edits a working copy of the
// remembered default paper and stores it as the new default on OK, so that Cancel changes nothing.
#pragma once

#include "document/PaperSettings.h"
#include "platform/ui/Dialog.h"

class CWnd;

class MPaperSetupDialog : public CDialog {
public:
    // What the Template and Open buttons leave in m_choice (they close the dialog like OK).
    enum : int { kChoiceOpen = 1, kChoiceTemplate = 2 };

    // The working copy starts as the remembered default paper. choice is kept for the caller until
    // Template or Open replaces it.
    MPaperSetupDialog(CWnd* parent, int choice = 0, BOOL showTemplate = FALSE, BOOL showOpen = FALSE);

    // Starts the working copy from a drawing's paper and grid instead (table indices by exact size
    // and scale, -1 when they are not in the tables).
    void SetFromPaper(const MPaperInfo& paper, double gridWidth, double gridHeight);

    MDefaultPaper m_paper;
    int m_choice;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnSizeSelected();
    void OnScaleSelected();
    void OnScaleEdited();
    void CloseWithChoice(int choice);

    BOOL m_showTemplate;
    BOOL m_showOpen;
    // Set while the dialog itself writes the scale edit, whose change then needs no look-up.
    bool m_writingScale = false;
};
