// A shape's text properties as one value (MCadShape::GetTextStyle), and a change of some of them
// (MCadShape::ChangeTextStyle), as the stroke is one MStroke.
#pragma once

#include "model/shapes/text/TextFontName.h"
#include "platform/WinTypes.h"

// Text flag bits.
inline constexpr int kTextItalic = 0x1;
inline constexpr int kTextBold = 0x2;
inline constexpr int kTextUnderline = 0x4;
inline constexpr int kTextStrikeOut = 0x8;
inline constexpr int kTextFrame = 0x40;
inline constexpr int kTextVertical = 0x80;

// Where a shape's text is: nowhere, in parts of it (a group's members, a label's text), or the
// shape is a text itself.
enum class MTextPresence { kNone, kHasText, kIsText };

// The none value is what a shape without text answers.
struct MTextStyle {
    MTextFontName fontName;
    double size = 0.0;  // drawing units
    COLORREF color = kNoColor;
    int flags = 0;      // kTextItalic ...
    int alignment = 0;  // bits 0-1 horizontal, 2-3 vertical
};

// The properties a change sets.
enum : int {
    kTextStyleFont = 0x1,
    kTextStyleSize = 0x2,
    kTextStyleColor = 0x4,
    kTextStyleFlags = 0x8,  // the bits of flagMask only
};

struct MTextStyleChange {
    int fields = 0;
    MTextStyle value;
    int flagMask = ~0;

    static MTextStyleChange Font(const MTextFontName& name) {
        MTextStyleChange c;
        c.fields = kTextStyleFont;
        c.value.fontName = name;
        return c;
    }
    static MTextStyleChange Size(double size) {
        MTextStyleChange c;
        c.fields = kTextStyleSize;
        c.value.size = size;
        return c;
    }
    static MTextStyleChange Color(COLORREF color) {
        MTextStyleChange c;
        c.fields = kTextStyleColor;
        c.value.color = color;
        return c;
    }
    static MTextStyleChange Flags(int flags) {
        MTextStyleChange c;
        c.fields = kTextStyleFlags;
        c.value.flags = flags;
        return c;
    }
    // One bit of the flag word on or off.
    static MTextStyleChange Flag(int flag, bool on) {
        MTextStyleChange c;
        c.fields = kTextStyleFlags;
        c.value.flags = on ? flag : 0;
        c.flagMask = flag;
        return c;
    }

    // The named fields of style take their new values.
    void ApplyTo(MTextStyle& style) const {
        if (fields & kTextStyleFont) style.fontName = value.fontName;
        if (fields & kTextStyleSize) style.size = value.size;
        if (fields & kTextStyleColor) style.color = value.color;
        if (fields & kTextStyleFlags) style.flags = (style.flags & ~flagMask) | (value.flags & flagMask);
    }
};
