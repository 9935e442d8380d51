#include "model/FillStyle.h"

#include <istream>
#include <ostream>

#include "platform/Archive.h"
#include "platform/Exceptions.h"

namespace {

// The colour counts a kind may carry; anything else in a file is damage (a reader would otherwise
// index colours that were never read).
bool IsValidPairing(int kind, int count) {
    if (kind == kFillPlain) return count == 1;
    if (kind == kFillLinear || kind == kFillSquare || kind == kFillCircular) return count == 2 || count == 3;
    return false;
}

// A decimal colour of the text form: 0 .. 0xFFFFFFFF.
bool ReadColorText(std::istream& is, COLORREF& out) {
    long long v = 0;
    if (!(is >> v)) return false;
    if (v < 0 || v > 0xFFFFFFFFLL) {
        is.setstate(std::ios::failbit);
        return false;
    }
    out = static_cast<COLORREF>(v);
    return true;
}

}  // namespace

MFillStyle::MFillStyle(COLORREF c) {
    SetColor(c);
}

MFillStyle::MFillStyle(int kind, double angle, COLORREF c1, COLORREF c2) : m_angle(angle) {
    SetColors(kind, {c1, c2});
}

MFillStyle::MFillStyle(int kind, double angle, COLORREF c1, COLORREF c2, COLORREF c3, double middle)
    : m_angle(angle), m_middle(middle) {
    SetColors(kind, {c1, c2, c3});
}

MFillStyle::MFillStyle(int kind, double angle, double centerX, double centerY, COLORREF c1, COLORREF c2)
    : m_centerX(centerX), m_centerY(centerY), m_angle(angle) {
    SetColors(kind, {c1, c2});
}

MFillStyle::MFillStyle(int kind, double angle, double centerX, double centerY, COLORREF c1, COLORREF c2,
                       COLORREF c3, double middle)
    : m_centerX(centerX), m_centerY(centerY), m_angle(angle), m_middle(middle) {
    SetColors(kind, {c1, c2, c3});
}

MFillStyle::MFillStyle(int kind, double centerX, double centerY, COLORREF c1, COLORREF c2)
    : m_centerX(centerX), m_centerY(centerY) {
    SetColors(kind, {c1, c2});
}

MFillStyle::MFillStyle(int kind, double centerX, double centerY, COLORREF c1, COLORREF c2, COLORREF c3,
                       double middle)
    : m_centerX(centerX), m_centerY(centerY), m_middle(middle) {
    SetColors(kind, {c1, c2, c3});
}

MFillStyle::MFillStyle(const MFillStyle& o) {
    *this = o;
}

MFillStyle& MFillStyle::operator=(const MFillStyle& o) {
    if (this == &o) return *this;
    m_colors = o.m_colors;
    m_kind = m_colors.empty() ? kFillPlain : o.m_kind;
    m_centerX = o.m_centerX;
    m_centerY = o.m_centerY;
    m_angle = o.m_angle;
    m_middle = o.m_middle;
    return *this;
}

void MFillStyle::SetColors(int kind, std::initializer_list<COLORREF> colors) {
    m_kind = kind;
    m_colors.assign(colors);
}

COLORREF MFillStyle::GetColor(int index) const {
    if (index < 0 || index >= GetColorCount()) AfxThrowInvalidArgException();
    return m_colors[static_cast<std::size_t>(index)];
}

void MFillStyle::SetColor(COLORREF c) {
    m_kind = kFillPlain;
    if (c == kNoColor)
        m_colors.clear();
    else
        m_colors.assign(1, c);
}

void MFillStyle::Clear() {
    m_kind = kFillPlain;
    m_colors.clear();
}

bool MFillStyle::IsStorable() const {
    return IsNone() || IsValidPairing(m_kind, GetColorCount());
}

bool MFillStyle::operator==(const MFillStyle& o) const {
    if (IsNone() || o.IsNone()) return IsNone() && o.IsNone();
    if (m_kind != o.m_kind || m_colors != o.m_colors) return false;
    switch (m_kind) {
        case kFillPlain:
            return true;
        case kFillLinear:
            if (m_angle != o.m_angle) return false;
            break;
        case kFillSquare:
            if (m_angle != o.m_angle || m_centerX != o.m_centerX || m_centerY != o.m_centerY) return false;
            break;
        case kFillCircular:
            if (m_centerX != o.m_centerX || m_centerY != o.m_centerY) return false;
            break;
        default:
            break;
    }
    return m_colors.size() != 3 || m_middle == o.m_middle;
}

CArchive& operator<<(CArchive& ar, const MFillStyle& f) {
    ar << static_cast<std::int32_t>(f.GetKind()) << static_cast<std::int32_t>(f.GetColorCount());
    if (f.IsNone()) return ar;
    for (int i = 0; i < f.GetColorCount(); ++i)
        ar << static_cast<DWORD>(f.GetColor(i));
    return ar << f.GetCenterX() << f.GetCenterY() << f.GetAngle() << f.GetMiddle();
}

CArchive& operator>>(CArchive& ar, MFillStyle& f) {
    f.Clear();
    std::int32_t kind = 0, count = 0;
    ar >> kind >> count;
    if (count == 0) return ar;
    if (!IsValidPairing(kind, count)) AfxThrowArchiveException(CArchiveException::genericException);
    MFillStyle read;
    read.m_kind = kind;
    read.m_colors.resize(static_cast<std::size_t>(count));
    for (COLORREF& c : read.m_colors) {
        DWORD v = 0;
        ar >> v;
        c = v;
    }
    ar >> read.m_centerX >> read.m_centerY >> read.m_angle >> read.m_middle;
    f = read;
    return ar;
}

void WriteFillStyleText(std::ostream& os, const MFillStyle& f) {
    const int kind = f.GetKind();
    if (f.IsNone()) {
        os << kNoColor;
        return;
    }
    switch (kind) {
        case kFillLinear:
            os << "G1 " << f.GetAngle() << ' ';
            break;
        case kFillSquare:
            os << "G2 " << f.GetAngle() << ' ' << f.GetCenterX() << ' ' << f.GetCenterY() << ' ';
            break;
        case kFillCircular:
            os << "G3 " << f.GetCenterX() << ' ' << f.GetCenterY() << ' ';
            break;
        default:
            // A plain colour (a record of an unknown kind degrades to its first colour).
            os << f.GetColor(0);
            return;
    }
    os << f.GetColorCount();
    for (int i = 0; i < f.GetColorCount(); ++i)
        os << ' ' << f.GetColor(i);
    if (f.GetColorCount() > 2) os << ' ' << f.GetMiddle();
}

void ReadFillStyleText(std::istream& is, MFillStyle& f) {
    is >> std::ws;
    const int c = is.peek();
    if (c != 'G' && c != 'g') {
        COLORREF color = kNoColor;
        if (!ReadColorText(is, color)) {
            f.Clear();
            return;
        }
        f.SetColor(color);
        return;
    }
    is.get();
    int t = 0;
    if (!(is >> t)) {
        f.Clear();
        return;
    }
    MFillStyle read;
    int count = 0;
    switch (t) {
        case 1:
            read.m_kind = kFillLinear;
            is >> read.m_angle >> count;
            break;
        case 2:
            read.m_kind = kFillSquare;
            is >> read.m_angle >> read.m_centerX >> read.m_centerY >> count;
            break;
        case 3:
            read.m_kind = kFillCircular;
            is >> read.m_centerX >> read.m_centerY >> count;
            break;
        default:
            return;  // an unknown gradation leaves the record as it was
    }
    if (!is || !IsValidPairing(read.m_kind, count)) {
        is.setstate(std::ios::failbit);
        f.Clear();
        return;
    }
    read.m_colors.resize(static_cast<std::size_t>(count));
    for (COLORREF& color : read.m_colors) {
        if (!ReadColorText(is, color)) {
            f.Clear();
            return;
        }
    }
    if (count == 3 && !(is >> read.m_middle)) {
        f.Clear();
        return;
    }
    f = read;
}
