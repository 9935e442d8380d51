#include "model/Stroke.h"

#include <cstdint>
#include <istream>
#include <ostream>

#include "platform/Archive.h"

CArchive& operator<<(CArchive& ar, const MStroke& s) {
    return ar << static_cast<DWORD>(s.color) << s.width << static_cast<std::int32_t>(s.style);
}

CArchive& operator>>(CArchive& ar, MStroke& s) {
    DWORD color = 0;
    std::int32_t style = 0;
    double width = 0.0;
    ar >> color >> width >> style;
    s.color = color;
    s.width = width;
    s.style = style;
    return ar;
}

void WriteStrokeText(std::ostream& os, const MStroke& s) {
    os << static_cast<unsigned long>(s.color) << ' ' << s.style << ' ' << s.width;
}

void ReadStrokeText(std::istream& is, MStroke& s) {
    unsigned long color = 0;
    int style = 0;
    double width = 0.0;
    if (is >> color >> style >> width) s = MStroke{static_cast<COLORREF>(color), style, width};
}

void ReadStrokeTextLeniently(std::istream& is, MStroke& s) {
    unsigned long color = 0;
    int style = 0;
    double width = 0.0;
    if (is >> color) s.color = static_cast<COLORREF>(color);
    if (is >> style) s.style = style;
    if (is >> width) s.width = width;
}
