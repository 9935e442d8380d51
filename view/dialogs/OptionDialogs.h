// The general option dialog (the program-wide option record) and the grid pitch dialog. The view's
// commands fill them, run them and take their values back after OK.
#pragma once

#include "platform/ui/Dialog.h"

class MTessarayView;

// Dialog 243 "オプション".
class MGeneralOptionDialog : public CDialog {
public:
    explicit MGeneralOptionDialog(MTessarayView* view);

    int m_undoCount = 4;           // 1 .. 1000
    int m_drawLimit = 1000;        // objects shown while dragging, 0 .. 1000
    int m_saveCompress = 1;        // compress bitmaps and OLE objects when saving
    int m_drawSelectedShape = -1;  // 0 plain, 1 marked, 2 marked with a wide pass
    int m_saveBackupMode = -1;     // 0 normal, 1 keep a backup, 2 safe save
    int m_bmpHalftone = 0;         // bitmap interpolation
    int m_metafileRes = 0;         // metafiles at printer resolution

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// Dialog 144 "グリッド設定": the grid pitch in drawing units.
class MSetupGridDialog : public CDialog {
public:
    MSetupGridDialog(MTessarayView* view, double width, double height);

    double m_width;
    double m_height;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
