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

// The stroke properties a change sets.
enum : int {
    kStrokeColor = 0x1,
    kStrokeStyle = 0x2,
    kStrokeWidth = 0x4,
};

struct MStrokeChange {
    int fields = 0;
    MStroke value;

    static MStrokeChange Color(COLORREF color) {
        MStrokeChange c;
        c.fields = kStrokeColor;
        c.value.color = color;
        return c;
    }
    static MStrokeChange Style(int style) {
        MStrokeChange c;
        c.fields = kStrokeStyle;
        c.value.style = style;
        return c;
    }
    static MStrokeChange Width(double width) {
        MStrokeChange c;
        c.fields = kStrokeWidth;
        c.value.width = width;
        return c;
    }

    // Colour, style, then width, with the auxiliary-line rule.
    void ApplyTo(MStroke& stroke) const {
        if (fields & kStrokeColor) stroke.SetColor(value.color);
        if (fields & kStrokeStyle) stroke.SetStyle(value.style);
        if (fields & kStrokeWidth) stroke.width = value.width;
    }
    // The same, each value taken as it is (kinds without the rule).
    void StoreIn(MStroke& stroke) const {
        if (fields & kStrokeColor) stroke.color = value.color;
        if (fields & kStrokeStyle) stroke.style = value.style;
        if (fields & kStrokeWidth) stroke.width = value.width;
    }
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
