// The dimension style record: font, text height, the distances of extension lines, leaders and text
// (millimetres on paper) and the arrow heads. Dimension shapes copy the program-wide default when
// they are made; the dimension settings dialog edits it and the "SIZE" block of the drawing file
// carries it.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "platform/WinTypes.h"

class MSizeStyle {
public:
    std::string m_fontName = "ＭＳ ゴシック";
    double m_textHeight = 3.0;          // "ｻｲｽﾞ"
    double m_extensionGap = 2.0;        // "線離れ": measured point to the start of its extension line
    double m_outsideLeader = 8.0;       // "はみ出し": leaders outside the extension lines
    double m_extensionOvershoot = 2.0;  // "線下がり": extension line past the dimension line
    double m_textGap = 1.0;             // "文字離れ": dimension line to text
    int m_arrowStyle = 1;
    double m_arrowSize = 3.0;

    bool operator==(const MSizeStyle&) const = default;

    // Two lines: TAB font name; TAB the five distances, arrow style and arrow size separated by
    // blanks. Numbers in the C locale, doubles in their shortest exact form.
    void WriteText(std::ostream& os) const;
    // Reads the two lines back. FALSE (and failbit) when they are missing or a number is damaged;
    // the record is then unchanged.
    BOOL ReadText(std::istream& is);
};

// The program-wide default style that new dimensions copy.
MSizeStyle& GetDefaultSizeStyle();
