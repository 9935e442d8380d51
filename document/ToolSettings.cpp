#include "document/ToolSettings.h"

#include <cmath>
#include <istream>
#include <ostream>
#include <vector>

#include "model/helpers/TextStream.h"
#include "model/settings/LineStyle.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/ProgramState.h"

namespace {

constexpr double kStartAngle = 90.0;

CProgramSlot<MDrawAttributes>& AttributesSlot() {
    static auto& slot = *new CProgramSlot<MDrawAttributes>;
    return slot;
}

CProgramSlot<MCoordinateEntry>& EntrySlot() {
    static auto& slot = *new CProgramSlot<MCoordinateEntry>;
    return slot;
}

CProgramSlot<MChamferEntry>& ChamferSlot() {
    static auto& slot = *new CProgramSlot<MChamferEntry>;
    return slot;
}

CProgramSlot<double>& AngleSlot() {
    static auto& slot = *new CProgramSlot<double>([] { return kStartAngle; });
    return slot;
}

}  // namespace

MDrawAttributes& GetDrawAttributes() {
    return AttributesSlot().Get();
}

MCoordinateEntry& GetCoordinateEntry() {
    return EntrySlot().Get();
}

MChamferEntry& GetChamferEntry() {
    return ChamferSlot().Get();
}

double& AngleDialogAngle() {
    return AngleSlot().Get();
}

void ResetToolSettings() {
    AttributesSlot().Reset();
    EntrySlot().Reset();
    AngleSlot().Reset();
    ChamferSlot().Reset();
}

void WriteCommonToolSettings(std::ostream& os) {
    const MDrawAttributes& a = GetDrawAttributes();
    os << "STYLE\n\t" << static_cast<unsigned>(a.lineColor) << ' ' << a.lineType << ' ' << a.lineWidth << ' ';
    WriteFillStyleText(os, a.faceFill);
    os << "\n\t";
    WriteArrowInfoText(os, a.arrows);
    os << '\n';

    const MCoordinateEntry& j = GetCoordinateEntry();
    os << "JUMP\n\t" << j.baseMode << ' ' << j.kind << ' ' << j.x << ' ' << j.y << ' ' << j.angle << ' '
       << j.distance << ' ' << j.xChecked << ' ' << j.yChecked << ' ' << j.distanceChecked << ' '
       << j.angleChecked << '\n';

    os << "ANGLE\n\t" << AngleDialogAngle() << '\n';

    os << "SIZE\n";
    WriteSizeSettings(os);
}

namespace {

bool Finite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// A value from a file that the tools could not use goes back to its start value; the others stay.
template <class T, class Usable>
T Checked(T value, T start, Usable usable) {
    return usable(value) ? value : start;
}

bool UsableLineType(int type) {
    return type >= 0 && GetLineStyleTable().Find(type) != nullptr;
}

bool UsableArrowType(int type) {
    return type >= kArrowNone && type < kArrowStyleCount;
}

bool UsableArrowSize(double size) {
    return std::isfinite(size) && size > 0.0;
}

void ReadStyle(std::istream& is) {
    unsigned lineColor = 0;
    int lineType = 0;
    double lineWidth = 0.0;
    MFillStyle fill;
    is >> lineColor >> lineType >> lineWidth;
    if (is.fail()) return;
    ReadFillStyleText(is, fill);
    if (is.fail()) return;
    SkipTextLine(is);
    MArrowInfo arrows;
    ReadArrowInfoText(is, arrows);
    if (is.fail()) return;
    SkipTextLine(is);
    const MDrawAttributes start;
    MDrawAttributes& a = GetDrawAttributes();
    a.lineColor = lineColor;
    a.lineType = Checked(lineType, start.lineType, UsableLineType);
    a.lineWidth = Checked(lineWidth, start.lineWidth, [](double w) { return std::isfinite(w) && w >= 0.0; });
    a.faceFill = fill;
    a.arrows.startStyle = Checked(arrows.startStyle, start.arrows.startStyle, UsableArrowType);
    a.arrows.endStyle = Checked(arrows.endStyle, start.arrows.endStyle, UsableArrowType);
    a.arrows.startSize = Checked(arrows.startSize, start.arrows.startSize, UsableArrowSize);
    a.arrows.endSize = Checked(arrows.endSize, start.arrows.endSize, UsableArrowSize);
}

void ReadJump(std::istream& is) {
    MCoordinateEntry j = GetCoordinateEntry();
    is >> j.baseMode >> j.kind >> j.x >> j.y >> j.angle >> j.distance >> j.xChecked >> j.yChecked >>
        j.distanceChecked >> j.angleChecked;
    if (is.fail()) return;
    SkipTextLine(is);
    if (!Finite({j.x, j.y, j.angle, j.distance})) {
        is.setstate(std::ios::failbit);
        return;
    }
    // Out-of-range choices would select no radio button of the dialog.
    if (j.baseMode < MCoordinateEntry::kAbsolute || j.baseMode > MCoordinateEntry::kOffset)
        j.baseMode = MCoordinateEntry::kOffset;
    if (j.kind != MCoordinateEntry::kPolar) j.kind = MCoordinateEntry::kCartesian;
    GetCoordinateEntry() = j;
}

void ReadAngle(std::istream& is) {
    double angle = 0.0;
    is >> angle;
    if (is.fail()) return;
    SkipTextLine(is);
    AngleDialogAngle() =
        Checked(angle, kStartAngle, [](double a) { return std::isfinite(a) && std::fabs(a) <= 360.0; });
}

}  // namespace

void ReadCommonToolSettings(std::istream& is) {
    while (!is.fail()) {
        const int c = is.peek();
        if (c == '[' || c == std::char_traits<char>::eof()) break;
        const std::string keyword = ReadTextLine(is);
        if (is.fail()) break;
        if (keyword == "STYLE")
            ReadStyle(is);
        else if (keyword == "JUMP")
            ReadJump(is);
        else if (keyword == "ANGLE")
            ReadAngle(is);
        else if (keyword == "SIZE")
            ReadSizeSettings(is);
    }
}
