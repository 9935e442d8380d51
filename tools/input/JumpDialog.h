// Typed coordinates ("座標入力"): Cartesian x, y or polar distance, angle, each with its check box,
// from the origin, the last released point or the clicked point. The values are the program-wide
// coordinate entry; they change only on OK.
#pragma once

#include "document/ToolSettings.h"
#include "platform/ui/Dialog.h"

class MJumpDialog : public CDialog {
public:
    MJumpDialog(CWnd* parent, BOOL showCopy);
    // Whether the clicked point may be the base (set before DoModal). Without it a stored offset
    // base shows and is taken as relative.
    void SetOffsetAllowed(BOOL allowed) { m_offsetAllowed = allowed; }
    // What the dialog offers at first (set before DoModal): the angle in degrees, the copy box.
    void PresetAngle(double degrees) { m_entry.angle = degrees; }
    void PresetCopy(BOOL copy) { m_entry.copy = copy; }
    // The values the dialog shows (after OK: the accepted ones).
    const MCoordinateEntry& GetEntry() const { return m_entry; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    void UpdateEnabling();
    void EnableEdit(int checkId, int editId, bool kindSelected);

    MCoordinateEntry m_entry;
    BOOL m_showCopy;
    BOOL m_offsetAllowed = FALSE;
};
