// The select tool's dialogs: the numeric rotate, scale and move of the selection (their values
// are shared by every use while the program runs, never saved), the layer a selection moves to
// and the name of a part registered from the selection.
#pragma once

#include <string>

#include "platform/ui/Dialog.h"
#include "tools/input/NumericEntryDialog.h"

class MTessarayView;

struct MScaleValues {
    int mode = 0;  // 0 percentages, 1 sizes
    double xPercent = 100.0, yPercent = 100.0;
    int samePercent = 1;
    int sizeChoice = 0;  // 0 width, 1 height, 2 both
};
MScaleValues& GetScaleValues();

struct MMoveValues {
    double dx = 0.0, dy = 0.0;  // user units
    int copy = 0;
};
MMoveValues& GetMoveValues();

// The rotate dialog's angle in degrees.
double& GetRotateAngle();

// "図形回転": an angle in degrees; OK keeps it for the next use.
class MInputRotateRadius : public MNumericEntryDialog {
public:
    explicit MInputRotateRadius(CWnd* parent);
    double GetAngle() const { return GetRotateAngle(); }
};

// "拡大･縮小": percentages (the vertical one or both the same) or a new width and/or height of
// the selection, whose current size the caller gives (user units). A factor or a size used that is
// not above 0 is refused with message 62704 and the dialog stays open.
class MInputSizingDialog : public CDialog {
public:
    MInputSizingDialog(CWnd* parent, double width, double height);
    // The factors of the accepted values (1 where the old size is too small to divide by).
    void GetFactors(double* sx, double* sy) const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    void EnableControls();
    BOOL Refuses(CDataExchange* pDX) const;

    MScaleValues m_values;
    double m_oldWidth, m_oldHeight;
    double m_width, m_height;
};

// "移動": a horizontal and vertical offset (user units) and whether the selection is copied.
class MInputMovingDialog : public MNumericEntryDialog {
public:
    explicit MInputMovingDialog(CWnd* parent);

protected:
    BOOL OnInitDialog() override;
};

// "レイヤー間移動": every layer of the view's drawing, the current one chosen.
class MShapeLayerMoveDialog : public CDialog {
public:
    explicit MShapeLayerMoveDialog(MTessarayView* view);
    int GetLayer() const { return m_layer; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    MTessarayView* m_view;
    int m_layer = 0;
};

// "ﾌﾟﾛﾊﾟﾃｨｰ": the part's name and whether it follows the drawing's scale (checked at first).
class MPartsNameDialog : public CDialog {
public:
    explicit MPartsNameDialog(CWnd* parent);
    const std::string& GetName() const { return m_name; }
    BOOL GetFitToScale() const { return m_fitToScale ? TRUE : FALSE; }
    // An existing part's values, set before the dialog opens.
    void SetName(const std::string& name) { m_name = name; }
    void SetFitToScale(BOOL fit) { m_fitToScale = fit ? 1 : 0; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    std::string m_name;
    int m_fitToScale = 1;
};
