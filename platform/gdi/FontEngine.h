// Fonts of the drawing layer on Qt: GDI's measures (cell height, escapement, vertical faces)
// on the installed faces. Internal to the platform.
#pragma once

#include <QFont>
#include <QString>
#include <string>
#include <vector>

#include "platform/gdi/GdiTypes.h"

struct GdiFont {
    QFont font;               // sized for the device resolution it was made for
    double em = 0.0;          // character height in device pixels
    double ascent = 0.0;      // pixels above the baseline (cell)
    double descent = 0.0;     // pixels below the baseline (cell)
    bool vertical = false;    // "@" face: laid out glyph by glyph
    double escapement = 0.0;  // degrees, counter-clockwise
    QString measureKey;       // the key of the font its advances are measured in, made once
};

// dpi is the resolution of the device the font will draw on (its pixel sizes stay in pixels).
GdiFont MakeGdiFont(const LOGFONT& font, double dpi = 96.0);
TEXTMETRIC MeasureTextMetrics(const LOGFONT& font);
// Whole-pixel advance of the text; byteExtents (optional) receives the extent after each
// CP932 byte as described in GdiBackend::MeasureText.
int MeasureTextWidth(const LOGFONT& font, const std::string& text, std::vector<int>* byteExtents);

// One character of a text run with its advance in device pixels.
struct GdiGlyph {
    QString text;
    double advance = 0.0;
    bool fullWidth = false;  // a double-byte character of code page 932
};
std::vector<GdiGlyph> SplitGlyphs(const GdiFont& font, const std::string& text);
// The sum of the glyphs' advances as SplitGlyphs gives them, without making the glyphs.
double TextAdvance(const GdiFont& font, const std::string& text);
