// The label and balloon tools: a leader drawn as the continuous line draws its chain; when the chain
// is ended a dialog asks for the text, and one label or balloon is committed whose leader runs
// through the chain's vertices. The toolbar's start-arrow controls show and change the tools' own
// leader end, not the program-wide arrows.
#pragma once

#include <iosfwd>
#include <initializer_list>
#include <memory>
#include <optional>

#include "tools/line/ContLineTool.h"

class MLabelShapeBase;
class MPolygonShape;

class MLeaderTextTool : public MContLineTool {
public:
    MLeaderTextTool(int toolId, double textSize);

    BOOL HasSettings() const override { return TRUE; }
    // The start arrow's kind and size are the leader end's; the end arrow shows none.
    void ApplyAttributeChange(MTessarayView* view, const MAttributeChange& change) override;
    MAttributeChange GetAttribute(MAttribute which) override;
    void OnNumericInput(MTessarayView* view) override;
    // The chain is taken out and the dialog asks for the text; OK commits the shape. The chain goes
    // and the tool resets in every case.
    void OnDecide(MTessarayView* view) override;

    const CString& GetText() const { return m_text; }
    const CString& GetToolFontName() const { return m_fontName; }
    double GetTextSize() const { return m_textSize; }
    int GetEndKind() const { return m_endKind; }
    double GetEndSize() const { return m_endSize; }

    static constexpr int kDefaultEndKind = 1;
    static constexpr double kDefaultEndSize = 3.0;

protected:
    // The dialog with the tool's values and the toolbar's font and size; null on Cancel. The shape
    // it makes has no leader points yet.
    virtual std::unique_ptr<MLabelShapeBase> AskAndMake(MTessarayView* view) = 0;
    // The line tool's locks; the font name; the numbers (the label's line ends with a space
    // before its line end); the text.
    void SaveLeaderSettings(std::ostream& os, std::initializer_list<double> numbers, bool spaceAtEnd);
    // The numbers line read by the caller between the font name and the text.
    template <class ReadNumbers>
    void LoadLeaderSettings(std::istream& is, ReadNumbers readNumbers);
    // Text flags from the program-wide bold, italic and underline.
    void ApplyTextFlags(MLabelShapeBase& shape);
    // A loaded end kind the combo cannot show becomes the default.
    static int LoadedEndKind(const std::optional<double>& value);

    CString m_text = "Text";
    CString m_fontName;
    double m_textSize;
    int m_endKind = kDefaultEndKind;
    double m_endSize = kDefaultEndSize;
};

class MLabelTool : public MLeaderTextTool {
public:
    explicit MLabelTool(int toolId);
    // The line tool's locks; the font name; size, gap, end kind and end size; the text.
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

    double GetGap() const { return m_gap; }

protected:
    std::unique_ptr<MLabelShapeBase> AskAndMake(MTessarayView* view) override;

private:
    double m_gap = 1.0;
};

class MBalloonTool : public MLeaderTextTool {
public:
    explicit MBalloonTool(int toolId);
    // The line tool's locks; the font name; size, end kind, end size, the radii and their flags;
    // the text.
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

    double GetMaxRadius() const { return m_maxRadius; }
    double GetMinRadius() const { return m_minRadius; }

protected:
    std::unique_ptr<MLabelShapeBase> AskAndMake(MTessarayView* view) override;

private:
    double m_maxRadius = 32.0;
    double m_minRadius = 4.0;
    BOOL m_useMaxRadius = FALSE;
    BOOL m_useMinRadius = FALSE;
};
