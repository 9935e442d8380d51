#include "model/ArrowInfo.h"

#include <istream>
#include <ostream>

#include "platform/Archive.h"

CArchive& operator<<(CArchive& ar, const MArrowInfo& a) {
    return ar << static_cast<std::int32_t>(a.startStyle) << a.startSize
              << static_cast<std::int32_t>(a.endStyle) << a.endSize;
}

CArchive& operator>>(CArchive& ar, MArrowInfo& a) {
    std::int32_t startStyle = 0, endStyle = 0;
    double startSize = 0, endSize = 0;
    ar >> startStyle >> startSize >> endStyle >> endSize;
    a = MArrowInfo(startStyle, startSize, endStyle, endSize);
    return ar;
}

void WriteArrowInfoText(std::ostream& os, const MArrowInfo& a) {
    os << a.startStyle << ' ' << a.startSize << ' ' << a.endStyle << ' ' << a.endSize;
}

void ReadArrowInfoText(std::istream& is, MArrowInfo& a) {
    int startStyle = 0, endStyle = 0;
    double startSize = 0, endSize = 0;
    if (is >> startStyle >> startSize >> endStyle >> endSize)
        a = MArrowInfo(startStyle, startSize, endStyle, endSize);
}
