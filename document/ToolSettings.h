// The program-wide values that every tool shares and that a drawing file carries in its [TOOL]
// section: the drawing attributes new shapes receive, the values of the coordinate-entry dialog and
// of the angle dialog. They live here, below the tools, so that the document can save and load them;
// the tools, the frame's controls and the dialogs read and write them directly.
#pragma once

#include <iosfwd>
#include <string>

#include "model/ArrowInfo.h"
#include "model/FillStyle.h"
#include "platform/WinTypes.h"

// The attributes new shapes receive at commit, with their values at program start.
struct MDrawAttributes {
    COLORREF lineColor = 0;
    MFillStyle faceFill;  // no fill
    int lineType = 0;     // line-style word: the first style of the table
    double lineWidth = 0.0;
    MArrowInfo arrows{0, 4.0, 0, 4.0};  // start type, start size, end type, end size
    std::string fontName;
    double fontSize = 4.0;
    BOOL bold = FALSE;
    BOOL italic = FALSE;
    BOOL underline = FALSE;
    BOOL textFrame = FALSE;
    COLORREF textColor = 0;
    // Bits 0-1 horizontal (0 left, 1 centre, 2 right), bits 2-3 vertical (0 top, 4 middle, 8 bottom).
    int alignment = 0;
    // The three preset widths of the width commands; the frame sets them from its strings.
    double presetWidths[3] = {0.0, 0.2, 0.5};
};

// The 16 colours of the colour menus: commands 200 + k (line) and 300 + k (face) choose entry k,
// and the frame's swatches show them. 0-7 take each channel 0 or 255, 8-14 0 or 128 (index bits:
// 4 green, 2 red, 1 blue; black only once), 15 is no colour.
inline constexpr int kMenuColorCount = 16;
inline constexpr COLORREF kMenuColors[kMenuColorCount] = {
    0x000000, 0xFF0000, 0x0000FF, 0xFF00FF, 0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF,
    0x800000, 0x000080, 0x800080, 0x008000, 0x808000, 0x008080, 0x808080, kNoColor};

// The coordinate-entry dialog's values, kept between uses.
struct MCoordinateEntry {
    enum BaseMode { kAbsolute = 0, kRelative = 1, kOffset = 2 };
    enum Kind { kCartesian = 0, kPolar = 1 };
    int baseMode = kOffset;
    int kind = kCartesian;
    double x = 0.0;  // user length units
    double y = 0.0;
    double angle = 0.0;  // degrees
    double distance = 1000.0;
    BOOL xChecked = TRUE;
    BOOL yChecked = TRUE;
    BOOL distanceChecked = TRUE;
    BOOL angleChecked = TRUE;
    BOOL copy = FALSE;  // not saved
};

// The chamfer dialog's lengths (drawing units), cut off the first and the second line, and its
// "keep the values" box; every chamfer tool of the program shares them.
struct MChamferEntry {
    double length1 = 100.0;
    double length2 = 100.0;
    BOOL keepValues = FALSE;
};

// The program's values. They live for the whole run.
MDrawAttributes& GetDrawAttributes();
MCoordinateEntry& GetCoordinateEntry();
MChamferEntry& GetChamferEntry();
// The angle dialog's angle in degrees (90 at start).
double& AngleDialogAngle();
// Back to the start values (tests, and a fresh start of the tools).
void ResetToolSettings();

// The body of the [TOOL] section, after the document's "[TOOL]" and TAB "1" lines: the keyword lines
// "STYLE", "JUMP", "ANGLE" and "SIZE", each followed by its value lines. Numbers use the stream's
// formatting. Errors show only in the stream state.
void WriteCommonToolSettings(std::ostream& os);
// Reads that body up to the next section line ("[") or the end. A keyword's values are taken only
// when its whole line reads and holds usable numbers; otherwise the stream is left failed and the
// earlier values stay. Lines that are no keyword are skipped.
void ReadCommonToolSettings(std::istream& is);
