// Hatching: pick boundary lines and outlines (click or rubber band), right-click inside the region,
// choose the settings in "ハッチング"; the hatch lines are laid through the clicked point and kept
// inside the boundaries, as one group in one undo step. "前回の選択範囲" picks the boundaries of the
// last hatch again.
#pragma once

#include <vector>

#include "document/TessarayDoc.h"
#include "tools/DrawTool.h"
#include "tools/edit/HatchDialog.h"

class MHatchTool : public MDrawTool, private MShapeLeaveListener {
public:
    explicit MHatchTool(int toolId);
    ~MHatchTool() override;

    BOOL HasSettings() const override { return TRUE; }
    // Picking skips the grid; the point the hatch runs through takes it.
    UINT GetPickTraits() override {
        return kPickTraitsDefault | kPicking | kPickByRect |
               (m_snappingThrough ? kGridWhilePicking : kNoPickTrait);
    }
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    BOOL CanNumericInput() override { return FALSE; }
    // With picks the right button hatches; without, it opens the menu.
    void OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) override;
    // The framework's menu under "前回の選択範囲".
    void BuildContextMenu(MTessarayView* view, MDrawMenu* menu, int x, int y) override;
    // Switching to another tool forgets the remembered selection; the hatch's own end keeps it.
    void End(MTessarayView* view, BOOL switching) override;
    void Reset() override;
    void SaveSettings(std::ostream& os) override;
    // Values out of the dialog's ranges are brought into them.
    void LoadSettings(std::istream& is) override;

    const MHatchValues& GetValues() const { return m_values; }
    int GetRememberedCount() const { return static_cast<int>(m_remembered.size()); }
    void ForgetSelection();
    void ForgetEntry(int index);

private:
    struct Remembered {
        MCadShape* shape = nullptr;
        int layer = 0;
        MFloatPoint point;
    };
    void Hatch(MTessarayView* view, const CPoint& click);
    // The pieces of the hatch into one group; false when there is none.
    bool MakeHatchGroup(MTessarayView* view, const MFloatPoint& through, const MFloatPoint& side);
    // Above this many lines the user is asked first; a pitch too small to move a line lays nothing.
    bool ConfirmLineCount(MTessarayView* view, const MFloatPoint& through);
    void Remember(MTessarayDoc* doc);
    void PickRemembered(MTessarayView* view);
    void OnShapeLeft(MTessarayDoc& doc, const MCadShape* shape) override;

    MHatchValues m_values;
    BOOL m_ending = FALSE;
    bool m_snappingThrough = false;
    std::vector<Remembered> m_remembered;
    // The drawing the remembered shapes belong to, while there are any.
    MTessarayDoc* m_rememberedDoc = nullptr;
};
