// The wall tool's dialogs: its locks with the "設定..." button (228), and the wall itself (171):
// widths, and the layer, style, width and colour of the centre line.
#pragma once

#include "tools/line/LineDialogs.h"
#include "tools/line/WallTool.h"
#include "widgets/ColorListBox.h"
#include "widgets/LineStyleCombo.h"

// "設定..." writes the wall at once, even when this dialog is then cancelled.
class MInputWallLengthDialog : public MInputLineDialog {
public:
    MInputWallLengthDialog(MTessarayView* view, double* length, BOOL* lengthLock, double* angle,
                           BOOL* angleLock, BOOL* keepValues, MWallStyle* style);
};

class MInputWallDialog : public CDialog {
public:
    MInputWallDialog(MTessarayView* view, const MWallStyle& style);
    const MWallStyle& GetStyle() const { return m_style; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void EnableCentreLine(BOOL on);

    MTessarayView* m_view;
    MWallStyle m_style;
    int m_centreLine;
    int m_tenths;
    MLineStyleCombo m_styles;
    MColorListBox m_colors;
};
