#include "document/ToolSettings.h"

#include <cmath>
#include <istream>
#include <ostream>
#include <vector>

#include "model/helpers/TextStream.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/ProgramState.h"

namespace {

CProgramSlot<MDrawAttributes>& AttributesSlot() {
    static auto& slot = *new CProgramSlot<MDrawAttributes>;
    return slot;
}

CProgramSlot<MCoordinateEntry>& EntrySlot() {
    static auto& slot = *new CProgramSlot<MCoordinateEntry>;
    return slot;
}

CProgramSlot<double>& AngleSlot() {
    static auto& slot = *new CProgramSlot<double>([] { return 90.0; });
    return slot;
}

}  // namespace

MDrawAttributes& GetDrawAttributes() {
    return AttributesSlot().Get();
}

MCoordinateEntry& GetCoordinateEntry() {
    return EntrySlot().Get();
}

double& AngleDialogAngle() {
    return AngleSlot().Get();
}

void ResetToolSettings() {
    AttributesSlot().Reset();
    EntrySlot().Reset();
    AngleSlot().Reset();
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
    if (!Finite({lineWidth, arrows.startSize, arrows.endSize})) {
        is.setstate(std::ios::failbit);
        return;
    }
    MDrawAttributes& a = GetDrawAttributes();
    a.lineColor = lineColor;
    a.lineType = lineType;
    a.lineWidth = lineWidth;
    a.faceFill = fill;
    a.arrows = arrows;
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
    if (!std::isfinite(angle)) {
        is.setstate(std::ios::failbit);
        return;
    }
    AngleDialogAngle() = angle;
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
