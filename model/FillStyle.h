// The fill record of closed shapes: no fill, a plain colour, or a two- or three-colour gradation.
#pragma once

#include <iosfwd>
#include <memory>

#include "platform/WinTypes.h"

class CArchive;

// Fill kinds.
inline constexpr int kFillPlain = 0;
inline constexpr int kFillLinear = 256;    // along angle
inline constexpr int kFillSquare = 257;    // about (centerX, centerY), turned by angle
inline constexpr int kFillCircular = 258;  // about (centerX, centerY)

// No base class, no virtual operations. Invariant: no colours <=> no fill, and then kind is 0.
// Nearly every closed shape holds one and most have no fill, so the record is one pointer: the
// all-default state (no fill, all four doubles +0.0) holds nothing, any other state one owned block.
class MFillStyle {
public:
    // No fill.
    MFillStyle() = default;
    // Plain colour; kNoColor gives no fill.
    MFillStyle(COLORREF c);
    // Linear gradation (kind 256).
    MFillStyle(int kind, double angle, COLORREF c1, COLORREF c2);
    MFillStyle(int kind, double angle, COLORREF c1, COLORREF c2, COLORREF c3, double middle);
    // Square gradation (kind 257).
    MFillStyle(int kind, double angle, double centerX, double centerY, COLORREF c1, COLORREF c2);
    MFillStyle(int kind, double angle, double centerX, double centerY, COLORREF c1, COLORREF c2, COLORREF c3,
               double middle);
    // Circular gradation (kind 258).
    MFillStyle(int kind, double centerX, double centerY, COLORREF c1, COLORREF c2);
    MFillStyle(int kind, double centerX, double centerY, COLORREF c1, COLORREF c2, COLORREF c3,
               double middle);

    MFillStyle(const MFillStyle& o);
    MFillStyle& operator=(const MFillStyle& o);
    // A moved-from record is no fill with all doubles 0.
    MFillStyle(MFillStyle&& o) noexcept = default;
    MFillStyle& operator=(MFillStyle&& o) noexcept = default;
    ~MFillStyle() = default;

    BOOL IsNone() const { return !m_data || m_data->count == 0; }
    int GetKind() const { return m_data ? m_data->kind : kFillPlain; }
    int GetColorCount() const { return m_data ? m_data->count : 0; }
    // 0 <= index < GetColorCount() is the caller's duty; outside it raises the invalid-argument
    // exception.
    COLORREF GetColor(int index) const;
    const COLORREF* GetColors() const { return IsNone() ? nullptr : m_data->colors; }
    BOOL IsGradation() const {
        const int kind = GetKind();
        return kind >= kFillLinear && kind <= kFillCircular && !IsNone();
    }

    // Fractions of the filled rectangle: x from its left edge, y from its top edge (y down).
    double GetCenterX() const { return m_data ? m_data->centerX : 0.0; }
    double GetCenterY() const { return m_data ? m_data->centerY : 0.0; }
    // Direction of a linear or square gradation, radians.
    double GetAngle() const { return m_data ? m_data->angle : 0.0; }
    // With three colours: where the middle colour lies, as a fraction from the first colour.
    double GetMiddle() const { return m_data ? m_data->middle : 0.0; }
    // These keep their values whatever the kind; Clear and SetColor leave them alone.
    void SetCenter(double centerX, double centerY);
    void SetAngle(double angle);
    void SetMiddle(double middle);

    // Makes the record a plain colour; kNoColor gives no fill.
    void SetColor(COLORREF c);
    // No fill.
    void Clear();
    // A file can hold the record: no fill, or as many colours as the kind takes.
    bool IsStorable() const;

    // Compares only what the kind uses (see the .cpp); doubles exactly.
    bool operator==(const MFillStyle& o) const;
    bool operator!=(const MFillStyle& o) const { return !(*this == o); }

private:
    // Every kind takes at most three colours (a plain colour one, a gradation two or three).
    struct Data {
        int kind = kFillPlain;
        int count = 0;
        COLORREF colors[3] = {};
        double centerX = 0.0;
        double centerY = 0.0;
        double angle = 0.0;
        double middle = 0.0;
    };

    Data& Edit();
    void Assign(const Data& d);
    void ReleaseIfDefault();

    std::unique_ptr<Data> m_data;

    friend CArchive& operator>>(CArchive& ar, MFillStyle& f);
    friend void ReadFillStyleText(std::istream& is, MFillStyle& f);
};

// Archive form: kind, count (int32 each); with colours: the colours (32 bits each), centerX, centerY,
// angle, middle. Loading accepts kind 0 with one colour and gradations with two or three; any other
// pairing raises CArchiveException (the record is then no fill). A count of 0 is no fill.
CArchive& operator<<(CArchive& ar, const MFillStyle& f);
CArchive& operator>>(CArchive& ar, MFillStyle& f);

// Text form, no line end: 16777216 for no fill; a plain colour in decimal; "G1 " angle count colours
// [middle], "G2 " angle centerX centerY count colours [middle], "G3 " centerX centerY count colours
// [middle]. Doubles in the stream's current formatting.
void WriteFillStyleText(std::ostream& os, const MFillStyle& f);
// Reads the text form. A gradation count other than 2 or 3, or an unreadable value, sets failbit
// and leaves no fill. An unknown "G" number leaves the record as it was.
void ReadFillStyleText(std::istream& is, MFillStyle& f);
