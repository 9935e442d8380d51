// The hatch settings ("ハッチング"): the directions, the mode, the lines per group, their spacing and
// the pitch of the groups, in millimetres on paper.
#pragma once

#include <array>

#include "platform/gdi/GdiObjects.h"
#include "platform/ui/Dialog.h"

struct MHatchValues {
    int mode = 1;          // 0 alternate pieces, 1 the pieces on the clicked side of every boundary
    double pitch = 3.0;    // from one group to the next, 0..10000 mm
    int lineCount = 1;     // lines per group, 1..3
    double spacing = 1.0;  // between the lines of a group, 0..1000 mm
    std::array<int, 4> directions{0, 0, 0, 1};  // horizontal, vertical, falling, rising: 0 or 1

    // Each value into the dialog's range; a pitch or spacing that is negative or not a number
    // takes its default.
    void Clamp();
};

class MHatchDialog : public CDialog {
public:
    MHatchDialog(CWnd* parent, const MHatchValues& values);
    // After OK: the accepted values.
    const MHatchValues& GetValues() const { return m_values; }
    // The direction buttons' pictures (horizontal, vertical, falling, rising): squares as high as
    // the first button, each with its line.
    const CBitmap& GetDirectionPicture(int k) const { return m_pictures[static_cast<std::size_t>(k)]; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // The spacing means something only with more than one line per group.
    void EnableSpacing();
    void MakeDirectionPictures();

    std::array<CBitmap, 4> m_pictures;
    MHatchValues m_values;
    int m_lineIndex = 0;
};
