// The input dialogs that the shape editors open (ShapeEditors.h). The model only knows these
// interfaces; the tools layer implements them with real dialogs and installs its factory at
// start-up, and tests install scripted ones. Each dialog is filled by its caller before DoModal
// and read back after IDOK; any other result means the user cancelled and nothing is taken over.
#pragma once

#include <memory>
#include <string>

#include "model/shapes/dimension/SizeStyle.h"
#include "platform/Strings.h"
#include "platform/WinTypes.h"

class MCadShape;
class MCadView;

using CString = std::string;

// Base of all shape dialogs: DoModal answers IDOK (1) when confirmed.
class MShapeDialog {
public:
    virtual ~MShapeDialog() = default;
    virtual int DoModal() = 0;
};

// Dialog 263 "寸法線文字": the text of one dimension shape. The caller copies the shape's
// user-text flag and text in, and points m_style at its own working copy of the shape's style,
// which the dialog's option button edits in place.
class MInputSizeTextDialog : public MShapeDialog {
public:
    BOOL m_userText = FALSE;
    CString m_text;
    MSizeStyle* m_style = nullptr;
};

// Dialog 162: a label's string, font, text size and offset (paper millimetres) and leader end.
class MInputLabelDialog : public MShapeDialog {
public:
    CString m_string;
    CString m_fontName;
    double m_textSize = 0.0;
    double m_textOffset = 0.0;
    int m_arrowStyle = 0;
    double m_arrowSize = 0.0;
};

// Dialog 163: a balloon's string, font, text size (paper millimetres), leader end and the two
// optional circle radii (millimetres) with their on-switches.
class MInputBalloonDialog : public MShapeDialog {
public:
    CString m_string;
    CString m_fontName;
    double m_textSize = 0.0;
    int m_arrowStyle = 0;
    double m_arrowSize = 0.0;
    double m_maxRadius = 0.0;
    double m_minRadius = 0.0;
    BOOL m_useMaxRadius = FALSE;
    BOOL m_useMinRadius = FALSE;
};

// Dialog 140: one line of text with its angle in degrees, its alignment word and the
// vertical-writing switch. The alignment is shown as a 3 x 3 choice.
class MTextInputDialog : public MShapeDialog {
public:
    // Alignment word (bits 0-1 horizontal 0/1/2, bits 2-3 vertical 0/4/8) to choice index.
    void SetAlignment(int word) { m_alignIndex = (word & 3) % 3 + ((word >> 2) & 3) % 3 * 3; }
    // Choice index back to the word.
    int GetAlignment() const { return m_alignIndex % 3 + (m_alignIndex / 3) * 4; }
    virtual CString GetText() const { return m_text; }

    CString m_text;
    double m_angle = 0.0;
    int m_alignIndex = 0;
    BOOL m_vertical = FALSE;
};

// Dialog 239: several lines of text; lines come back separated by line feeds only.
class MInputMultiTextDialog : public MTextInputDialog {
public:
    CString GetText() const override;

    BOOL m_wrap = FALSE;
};

// Dialog 141 "寸法線設定": edits a copy of a dimension style (the program-wide one or the one it
// was created with) and the four current number formats. OK writes both program-wide; m_style then
// holds the edited style for a caller that edits one dimension.
class MSizeSetupDialog : public MShapeDialog {
public:
    MSizeStyle m_style;
};

// Creates the dialogs. The default factory (installed until the tools install theirs) makes
// dialogs that cancel at once, so headless code never blocks.
class MShapeDialogFactory {
public:
    virtual ~MShapeDialogFactory() = default;
    virtual std::unique_ptr<MInputSizeTextDialog> CreateInputSizeTextDialog(MCadView* parent,
                                                                            MCadShape* shape);
    virtual std::unique_ptr<MInputLabelDialog> CreateInputLabelDialog(MCadView* parent);
    virtual std::unique_ptr<MInputBalloonDialog> CreateInputBalloonDialog(MCadView* parent);
    virtual std::unique_ptr<MTextInputDialog> CreateTextInputDialog();
    virtual std::unique_ptr<MInputMultiTextDialog> CreateInputMultiTextDialog();
    // initial: the style to start from; null for the program-wide one.
    virtual std::unique_ptr<MSizeSetupDialog> CreateSizeSetupDialog(MCadView* parent,
                                                                    const MSizeStyle* initial);
};

// The program's factory; never null. Installing null restores the default. The caller keeps
// ownership of what it installs and must keep it alive while installed. Returns the previous one.
MShapeDialogFactory* SetShapeDialogFactory(MShapeDialogFactory* factory);
MShapeDialogFactory& GetShapeDialogFactory();
// TRUE while the default factory is in force (no one has installed another), so that its dialogs
// only cancel.
BOOL IsDefaultShapeDialogFactory();
