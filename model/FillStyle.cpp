#include "model/FillStyle.h"

#include <algorithm>
#include <bit>
#include <cstdint>
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

// Only +0.0 is the default: a -0.0 or a NaN must still come back from the getters.
bool IsPositiveZero(double v) {
    return std::bit_cast<std::uint64_t>(v) == 0;
}

}  // namespace

MFillStyle::MFillStyle(COLORREF c) {
    SetColor(c);
}

MFillStyle::MFillStyle(int kind, double angle, COLORREF c1, COLORREF c2)
    : m_data(std::make_unique<Data>(Data{kind, 2, {c1, c2}, 0.0, 0.0, angle, 0.0})) {}

MFillStyle::MFillStyle(int kind, double angle, COLORREF c1, COLORREF c2, COLORREF c3, double middle)
    : m_data(std::make_unique<Data>(Data{kind, 3, {c1, c2, c3}, 0.0, 0.0, angle, middle})) {}

MFillStyle::MFillStyle(int kind, double angle, double centerX, double centerY, COLORREF c1, COLORREF c2)
    : m_data(std::make_unique<Data>(Data{kind, 2, {c1, c2}, centerX, centerY, angle, 0.0})) {}

MFillStyle::MFillStyle(int kind, double angle, double centerX, double centerY, COLORREF c1, COLORREF c2,
                       COLORREF c3, double middle)
    : m_data(std::make_unique<Data>(Data{kind, 3, {c1, c2, c3}, centerX, centerY, angle, middle})) {}

MFillStyle::MFillStyle(int kind, double centerX, double centerY, COLORREF c1, COLORREF c2)
    : m_data(std::make_unique<Data>(Data{kind, 2, {c1, c2}, centerX, centerY, 0.0, 0.0})) {}

MFillStyle::MFillStyle(int kind, double centerX, double centerY, COLORREF c1, COLORREF c2, COLORREF c3,
                       double middle)
    : m_data(std::make_unique<Data>(Data{kind, 3, {c1, c2, c3}, centerX, centerY, 0.0, middle})) {}

MFillStyle::MFillStyle(const MFillStyle& o)
    : m_data(o.m_data ? std::make_unique<Data>(*o.m_data) : nullptr) {}

MFillStyle& MFillStyle::operator=(const MFillStyle& o) {
    if (this == &o) return *this;
    if (!o.m_data)
        m_data.reset();
    else
        Assign(*o.m_data);
    return *this;
}

MFillStyle::Data& MFillStyle::Edit() {
    if (!m_data) m_data = std::make_unique<Data>();
    return *m_data;
}

void MFillStyle::Assign(const Data& d) {
    if (m_data)
        *m_data = d;
    else
        m_data = std::make_unique<Data>(d);
}

// A record that comes back to the all-default state lets its block go, so that shapes whose fill
// was cleared cost no more than shapes that never had one.
void MFillStyle::ReleaseIfDefault() {
    const Data& d = *m_data;
    if (d.count == 0 && IsPositiveZero(d.centerX) && IsPositiveZero(d.centerY) && IsPositiveZero(d.angle) &&
        IsPositiveZero(d.middle))
        m_data.reset();
}

COLORREF MFillStyle::GetColor(int index) const {
    if (index < 0 || index >= GetColorCount()) AfxThrowInvalidArgException();
    return m_data->colors[index];
}

void MFillStyle::SetCenter(double centerX, double centerY) {
    if (!m_data && IsPositiveZero(centerX) && IsPositiveZero(centerY)) return;
    Data& d = Edit();
    d.centerX = centerX;
    d.centerY = centerY;
    ReleaseIfDefault();
}

void MFillStyle::SetAngle(double angle) {
    if (!m_data && IsPositiveZero(angle)) return;
    Edit().angle = angle;
    ReleaseIfDefault();
}

void MFillStyle::SetMiddle(double middle) {
    if (!m_data && IsPositiveZero(middle)) return;
    Edit().middle = middle;
    ReleaseIfDefault();
}

void MFillStyle::SetColor(COLORREF c) {
    if (c == kNoColor) {
        Clear();
        return;
    }
    Data& d = Edit();
    d.kind = kFillPlain;
    d.count = 1;
    d.colors[0] = c;
}

void MFillStyle::Clear() {
    if (!m_data) return;
    m_data->kind = kFillPlain;
    m_data->count = 0;
    ReleaseIfDefault();
}

bool MFillStyle::IsStorable() const {
    return IsNone() || IsValidPairing(GetKind(), GetColorCount());
}

bool MFillStyle::operator==(const MFillStyle& o) const {
    if (IsNone() || o.IsNone()) return IsNone() && o.IsNone();
    const Data& a = *m_data;
    const Data& b = *o.m_data;
    if (a.kind != b.kind || a.count != b.count || !std::equal(a.colors, a.colors + a.count, b.colors))
        return false;
    switch (a.kind) {
        case kFillPlain:
            return true;
        case kFillLinear:
            if (a.angle != b.angle) return false;
            break;
        case kFillSquare:
            if (a.angle != b.angle || a.centerX != b.centerX || a.centerY != b.centerY) return false;
            break;
        case kFillCircular:
            if (a.centerX != b.centerX || a.centerY != b.centerY) return false;
            break;
        default:
            break;
    }
    return a.count != 3 || a.middle == b.middle;
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
    MFillStyle::Data read{kind, count};
    for (int i = 0; i < count; ++i) {
        DWORD v = 0;
        ar >> v;
        read.colors[i] = v;
    }
    ar >> read.centerX >> read.centerY >> read.angle >> read.middle;
    f.Assign(read);
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
    MFillStyle::Data read;
    int count = 0;
    switch (t) {
        case 1:
            read.kind = kFillLinear;
            is >> read.angle >> count;
            break;
        case 2:
            read.kind = kFillSquare;
            is >> read.angle >> read.centerX >> read.centerY >> count;
            break;
        case 3:
            read.kind = kFillCircular;
            is >> read.centerX >> read.centerY >> count;
            break;
        default:
            return;  // an unknown gradation leaves the record as it was
    }
    if (!is || !IsValidPairing(read.kind, count)) {
        is.setstate(std::ios::failbit);
        f.Clear();
        return;
    }
    read.count = count;
    for (int i = 0; i < count; ++i) {
        if (!ReadColorText(is, read.colors[i])) {
            f.Clear();
            return;
        }
    }
    if (count == 3 && !(is >> read.middle)) {
        f.Clear();
        return;
    }
    f.Assign(read);
}
