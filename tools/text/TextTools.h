// The text tools: a click asks for the text, the text then follows the pointer and the next click
// places it. While it floats, the toolbar's font, size, bold, italic and underline (and, for the
// multi-line tool, alignment) apply to it at once.
#pragma once

#include <vector>

#include <iosfwd>

#include "tools/DrawTool.h"

class MTextShape;
class MTextShapeBase;

// What both text tools share: their values, the floating text and the attribute setters.
class MTextToolBase : public MDrawTool {
public:
    explicit MTextToolBase(int toolId);

    BOOL HasSettings() const override { return TRUE; }
    // The first press asks for the text; then the text follows the pointer and the release at
    // step 1 commits it.
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    // The program-wide value; font, size, bold, italic and underline also to the floating text.
    void ApplyAttributeChange(MTessarayView* view, const MAttributeChange& change) override;

    const CString& GetText() const { return m_text; }
    int GetAlignmentWord() const { return m_alignment; }
    double GetTextSize() const { return m_textSize; }
    double GetAngle() const { return m_angle; }
    const CString& GetToolFontName() const { return m_fontName; }

    static constexpr double kDefaultTextSize = 8.0;

protected:
    // The text being placed (new shape 0 at step 1), or null.
    MTextShape* Floating() const;
    // The press asks for the text, which then floats with the pointer until the release.
    std::vector<MToolStep> PlacingSteps();
    // Changes the floating text with the tracker erased, then measures it again.
    template <class Change>
    void ChangeFloating(MTessarayView* view, Change change);
    // Font, size (paper mm converted by the paper scale), bold, italic and underline.
    void ApplyFont(MTessarayView* view, MTextShapeBase& shape, const CString& font, double size);
    // The dialog for the text made at the first press, which is out of the list meanwhile; on OK
    // the text is filled and placed at p. false: the tool ends and the text goes.
    virtual bool AskText(MTessarayView* view, MTextShape& shape, const MFloatPoint& p) = 0;

    CString m_text = "Text";
    int m_alignment = 0;
    CString m_fontName;
    double m_textSize = kDefaultTextSize;
    double m_reserved = 0.0;
    double m_angle = 0.0;
};

class MTextTool : public MTextToolBase {
public:
    explicit MTextTool(int toolId);

    MCadShape* NewShape(MTessarayView* view) override;
    // The font name; the alignment word, reserved, size and angle; the text.
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

protected:
    bool AskText(MTessarayView* view, MTextShape& shape, const MFloatPoint& p) override;
};

class MMultiTextTool : public MTextToolBase {
public:
    explicit MMultiTextTool(int toolId);

    MCadShape* NewShape(MTessarayView* view) override;
    // The alignment also lays out the floating text's lines.
    void ApplyAttributeChange(MTessarayView* view, const MAttributeChange& change) override;
    // The alignment word; the font name; reserved, size, angle and wrap; the lines.
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

    BOOL IsWrap() const { return m_wrap; }

protected:
    bool AskText(MTessarayView* view, MTextShape& shape, const MFloatPoint& p) override;

private:
    BOOL m_wrap = FALSE;
};

// The vertical-writing choice of each dialog, program-wide.
int& TextVerticalWriting();
int& MultiTextVerticalWriting();
