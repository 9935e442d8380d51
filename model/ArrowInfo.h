// The arrow record of line-like shapes: a head style and a size (paper millimetres) at each end.
#pragma once

#include <iosfwd>

#include "platform/WinTypes.h"
#include "resources/ResourceIds.h"

class CArchive;

// Arrow-head styles; any other value draws and exports nothing.
inline constexpr int kArrowNone = 0;
inline constexpr int kArrowOpen = 1;          // "矢印": open V of two wings
inline constexpr int kArrowFilled = 2;        // "三角": filled triangle
inline constexpr int kArrowSlash = 3;         // "斜線": one oblique stroke
inline constexpr int kArrowCross = 4;         // "バツ": two crossed strokes
inline constexpr int kArrowHollowCircle = 5;  // "白丸"
inline constexpr int kArrowFilledCircle = 6;  // "黒丸"
inline constexpr int kArrowStyleCount = 7;
// The answers of a set of shapes whose arrows differ.
inline constexpr int kArrowStyleMixed = 255;
inline constexpr double kArrowSizeMixed = -1.0;

// String-table ids of the style names, indexed by style.
inline constexpr UINT kArrowStyleNameIds[kArrowStyleCount] = {
    IDS_ARROW_NONE,  IDS_ARROW_OPEN,          IDS_ARROW_FILLED,       IDS_ARROW_SLASH,
    IDS_ARROW_CROSS, IDS_ARROW_HOLLOW_CIRCLE, IDS_ARROW_FILLED_CIRCLE};

class MArrowInfo {
public:
    int startStyle = kArrowNone;
    int endStyle = kArrowNone;
    double startSize = 0.0;
    double endSize = 0.0;

    MArrowInfo() = default;
    MArrowInfo(int startStyleValue, double startSizeValue, int endStyleValue, double endSizeValue)
        : startStyle(startStyleValue),
          endStyle(endStyleValue),
          startSize(startSizeValue),
          endSize(endSizeValue) {}

    // The size of an end counts only when that end has a head.
    double GetStartSize() const { return startStyle != kArrowNone ? startSize : 0.0; }
    double GetEndSize() const { return endStyle != kArrowNone ? endSize : 0.0; }
    double GetMaxSize() const {
        const double s = GetStartSize(), e = GetEndSize();
        return s > e ? s : e;
    }

    bool operator==(const MArrowInfo& o) const {
        return startStyle == o.startStyle && endStyle == o.endStyle && startSize == o.startSize &&
               endSize == o.endSize;
    }
    bool operator!=(const MArrowInfo& o) const { return !(*this == o); }
};

// Archive form: startStyle (int32), startSize (double), endStyle (int32), endSize (double).
CArchive& operator<<(CArchive& ar, const MArrowInfo& a);
CArchive& operator>>(CArchive& ar, MArrowInfo& a);
// Text form: startStyle startSize endStyle endSize, single blanks, the stream's number formatting,
// no line end.
void WriteArrowInfoText(std::ostream& os, const MArrowInfo& a);
// Plain extraction of the four values; on failure the record is unchanged and the stream failed.
void ReadArrowInfoText(std::istream& is, MArrowInfo& a);
