#include "model/PaperInfo.h"

#include <cmath>
#include <ostream>

#include "model/helpers/TextStream.h"
#include "platform/Archive.h"
#include "platform/TextFile.h"

namespace {

bool IsPositive(double v) {
    return std::isfinite(v) && v > 0.0;
}

// A value line of the paper section: TAB and text. A blank line gives an empty value; a section
// line ("[NAME]") or the end of the stream means the section was cut short.
bool ReadValueLine(std::istream& is, std::string& out) {
    const int c = is.peek();
    if (!is.good() || c == std::char_traits<char>::eof() || c == '[') return false;
    if (c == '\n') {
        is.get();
        SkipTextComment(is);
        out.clear();
    } else {
        ReadTextString(is, out, TRUE);
    }
    return !is.bad();
}

// A name is one line of the file: line ends inside it would break the section apart.
std::string OneLine(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

}  // namespace

MPaperSizeInfo::MPaperSizeInfo() : m_width(297.0), m_height(210.0), m_name("A4"), m_sizeText("297mm×210mm") {}

MPaperSizeInfo::MPaperSizeInfo(std::string name, std::string sizeText, double width, double height)
    : m_width(width), m_height(height), m_name(std::move(name)), m_sizeText(std::move(sizeText)) {}

void MPaperSizeInfo::Set(std::string name, std::string sizeText, double width, double height) {
    m_name = std::move(name);
    m_sizeText = std::move(sizeText);
    m_width = width;
    m_height = height;
}

bool MPaperSizeInfo::IsValid() const {
    return IsPositive(m_width) && IsPositive(m_height);
}

MPaperScaleInfo::MPaperScaleInfo() : m_scale(0.01), m_name("1 : 100") {}

MPaperScaleInfo::MPaperScaleInfo(std::string name, double scale) : m_scale(scale), m_name(std::move(name)) {}

void MPaperScaleInfo::Set(std::string name, double scale) {
    m_name = std::move(name);
    m_scale = scale;
}

bool MPaperScaleInfo::IsValid() const {
    return IsPositive(m_scale);
}

MPaperInfo::MPaperInfo() : m_originCode(kOriginTopLeft), m_horizontal(1) {}

MPaperInfo::MPaperInfo(const MPaperSizeInfo& size, const MPaperScaleInfo& scale, int horizontal,
                       int originCode)
    : m_originCode(kOriginTopLeft),
      m_size(size.IsValid() ? size : MPaperSizeInfo()),
      m_scaleInfo(scale.IsValid() ? scale : MPaperScaleInfo()),
      m_horizontal(horizontal != 0 ? 1 : 0) {
    SetOriginPosition(originCode);
}

MFloatSize MPaperInfo::GetSize() const {
    return m_horizontal ? MFloatSize(m_size.m_width, m_size.m_height)
                        : MFloatSize(m_size.m_height, m_size.m_width);
}

void MPaperInfo::SetOriginPosition(int code) {
    m_originCode = code >= 0 && code <= 8 ? code : kOriginBottomLeft;
    UpdateOriginOffset();
}

void MPaperInfo::SetScale(std::string name, double factor) {
    if (!IsPositive(factor)) return;
    m_scaleInfo.Set(std::move(name), factor);
    UpdateOriginOffset();
}

void MPaperInfo::SetSizeInfo(const MPaperSizeInfo& size) {
    if (!size.IsValid()) return;
    m_size = size;
    UpdateOriginOffset();
}

void MPaperInfo::SetHorizontal(int horizontal) {
    m_horizontal = horizontal != 0 ? 1 : 0;
    UpdateOriginOffset();
}

void MPaperInfo::UpdateOriginOffset() {
    const MFloatSize size = GetSize();
    const double scale = m_scaleInfo.m_scale;
    m_originOffset.x = size.cx * 0.5 * (m_originCode % 3) / scale;
    m_originOffset.y = size.cy * 0.5 * -(m_originCode / 3) / scale;
}

void MPaperInfo::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_size.m_name << m_size.m_sizeText << m_size.m_width << m_size.m_height;
        ar << m_scaleInfo.m_name << m_scaleInfo.m_scale;
        ar << static_cast<std::int32_t>(m_horizontal) << static_cast<std::int32_t>(m_originCode);
        return;
    }
    MPaperSizeInfo size;
    MPaperScaleInfo scale;
    std::int32_t horizontal = 1;
    std::int32_t code = 0;
    ar >> size.m_name >> size.m_sizeText >> size.m_width >> size.m_height;
    ar >> scale.m_name >> scale.m_scale;
    ar >> horizontal >> code;
    *this = MPaperInfo(size, scale, horizontal, code);
}

void MPaperInfo::WriteText(std::ostream& os) const {
    os << '\t' << OneLine(m_size.m_name) << '\n';
    os << '\t' << OneLine(m_size.m_sizeText) << '\n';
    os << '\t' << FormatG(m_size.m_width, 15) << ' ' << FormatG(m_size.m_height, 15) << '\n';
    os << '\t' << OneLine(m_scaleInfo.m_name) << '\n';
    os << '\t' << FormatG(m_scaleInfo.m_scale, 15) << '\n';
    os << '\t' << m_horizontal << ' ' << m_originCode << '\n';
}

void MPaperInfo::ReadText(std::istream& is) {
    std::string lines[6];
    for (std::string& line : lines)
        if (!ReadValueLine(is, line)) return;

    MPaperSizeInfo size;
    {
        TextInput numbers(lines[2]);
        double width = 0.0;
        double height = 0.0;
        if (numbers >> width >> height) size.Set(lines[0], lines[1], width, height);
    }
    MPaperScaleInfo scale;
    {
        TextInput number(lines[4]);
        double factor = 0.0;
        if (number >> factor) scale.Set(lines[3], factor);
    }
    int horizontal = 1;
    int code = kOriginBottomLeft;
    {
        TextInput numbers(lines[5]);
        int h = 0;
        if (numbers >> h) {
            horizontal = h;
            int c = 0;
            if (numbers >> c) code = c;
        }
    }
    *this = MPaperInfo(size, scale, horizontal, code);
}
