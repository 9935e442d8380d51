#include "model/shapes/dimension/SizeStyle.h"

#include <vector>

#include "model/shapes/dimension/SizeTextLines.h"
#include "platform/ProgramState.h"

using namespace size_text;

void MSizeStyle::WriteText(std::ostream& os) const {
    WriteValueLine(os, m_fontName);
    os << '\t' << DoubleText(m_textHeight) << ' ' << DoubleText(m_extensionGap) << ' '
       << DoubleText(m_outsideLeader) << ' ' << DoubleText(m_extensionOvershoot) << ' '
       << DoubleText(m_textGap) << ' ' << IntText(m_arrowStyle) << ' ' << DoubleText(m_arrowSize) << '\n';
}

BOOL MSizeStyle::ReadText(std::istream& is) {
    MSizeStyle read;
    std::vector<std::string> t;
    const bool ok =
        ReadValueLine(is, read.m_fontName) && ReadTokenLine(is, t) && t.size() >= 7 &&
        ParseFiniteDouble(t[0], read.m_textHeight) && ParseFiniteDouble(t[1], read.m_extensionGap) &&
        ParseFiniteDouble(t[2], read.m_outsideLeader) && ParseFiniteDouble(t[3], read.m_extensionOvershoot) &&
        ParseFiniteDouble(t[4], read.m_textGap) && ParseInt(t[5], read.m_arrowStyle) &&
        ParseFiniteDouble(t[6], read.m_arrowSize);
    if (!ok) {
        is.setstate(std::ios::failbit);
        return FALSE;
    }
    *this = read;
    return TRUE;
}

MSizeStyle& GetDefaultSizeStyle() {
    static auto& slot = *new CProgramSlot<MSizeStyle>;
    return slot.Get();
}
