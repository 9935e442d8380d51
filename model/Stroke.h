// The stroke of a shape's lines: colour, line-style word and width, with the auxiliary-line rule.
#pragma once

#include <iosfwd>

#include "platform/WinTypes.h"

class CArchive;

// Line-style word: -1 none, low 7 bits index the line-style table, 0x80 marks an auxiliary line.
inline constexpr int kLineStyleNone = -1;
inline constexpr int kAuxiliaryLine = 0x80;
// Auxiliary lines are drawn in this colour and report no colour.
inline constexpr COLORREF kAuxiliaryColor = 0xFF0000;
inline bool IsAuxiliaryStyle(int lineStyle) {
    return lineStyle != kLineStyleNone && (lineStyle & kAuxiliaryLine);
}

struct MStroke {
    COLORREF color = 0;
    int style = 0;       // line-style word
    double width = 0.0;  // paper millimetres; 0 draws one pixel wide

    bool IsAuxiliary() const { return IsAuxiliaryStyle(style); }
    // The auxiliary-line rule, for the shapes that follow it: an auxiliary line reports no colour
    // and keeps its own when given another; choosing an auxiliary style gives it kAuxiliaryColor.
    COLORREF GetColor() const { return IsAuxiliary() ? kNoColor : color; }
    void SetColor(COLORREF c) {
        if (!IsAuxiliary()) color = c;
    }
    void SetStyle(int lineStyle) {
        style = lineStyle;
        if (IsAuxiliary()) color = kAuxiliaryColor;
    }

    bool operator==(const MStroke&) const = default;
};

// Archive form: colour (DWORD), width (double), style (int32).
CArchive& operator<<(CArchive& ar, const MStroke& s);
CArchive& operator>>(CArchive& ar, MStroke& s);
// Text form: colour style width, single blanks, the stream's number formatting, no line end.
void WriteStrokeText(std::ostream& os, const MStroke& s);
// Plain extraction of the three values; on failure the stroke is unchanged and the stream failed.
void ReadStrokeText(std::istream& is, MStroke& s);
// For lines that older files may end early: each value present replaces its field, in order, and
// a missing one leaves the rest unchanged. The stream fails at the first missing value.
void ReadStrokeTextLeniently(std::istream& is, MStroke& s);
