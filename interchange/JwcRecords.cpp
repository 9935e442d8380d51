#include "interchange/JwcRecords.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "platform/Cp932.h"
#include "platform/Exceptions.h"

namespace {
void Put8(std::string& out, BYTE v) {
    out += static_cast<char>(v);
}

void Put32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

void PutZeros(std::string& out, std::size_t n) {
    out.append(n, '\0');
}
}  // namespace

void AppendJwc16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void AppendJwcFloat(std::string& out, float v) {
    Put32(out, std::bit_cast<std::uint32_t>(v));
}

float ToJWCFloat(double value) {
    if (std::isnan(value)) return 0.0f;
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

LONG ToJWCAngle(double angle) {
    // 360 degrees in 1/65536 degree, and radians to those units.
    constexpr double kJWCFullTurn = 23592960.0;
    constexpr double kJWCPerRadian = 3754936.206169363;
    double units = angle * kJWCPerRadian;
    if (units < 0) units += kJWCFullTurn;
    // Keep the truncation to 32 bits defined for angles of many turns.
    if (!(std::fabs(units) < 2147483648.0))
        units = std::isfinite(units) ? std::fmod(units, kJWCFullTurn) : 0.0;
    return static_cast<LONG>(units);
}

void MJWCLine::AppendTo(std::string& bytes) const {
    AppendJwcFloat(bytes, x1);
    AppendJwcFloat(bytes, y1);
    AppendJwcFloat(bytes, x2);
    AppendJwcFloat(bytes, y2);
    Put8(bytes, lineType);
    Put8(bytes, pen);
    Put8(bytes, layer);
    PutZeros(bytes, 3);
}

void MJWCArc::AppendTo(std::string& bytes) const {
    AppendJwcFloat(bytes, cx);
    AppendJwcFloat(bytes, cy);
    AppendJwcFloat(bytes, radius);
    AppendJwc16(bytes, flatness);
    Put32(bytes, static_cast<std::uint32_t>(startAngle));
    Put32(bytes, static_cast<std::uint32_t>(endAngle));
    Put32(bytes, static_cast<std::uint32_t>(tilt));
    Put8(bytes, lineType);
    Put8(bytes, pen);
    Put8(bytes, layer);
    PutZeros(bytes, 3);
}

void MJWCString::AppendTo(std::string& bytes) const {
    AppendJwcFloat(bytes, x1);
    AppendJwcFloat(bytes, y1);
    AppendJwcFloat(bytes, x2);
    AppendJwcFloat(bytes, y2);
    AppendJwc16(bytes, offset);
    AppendJwc16(bytes, segment);
    Put8(bytes, sizeKind);
    Put8(bytes, layer);
    AppendJwc16(bytes, flags);
}

void MJWCVPoint::AppendTo(std::string& bytes) const {
    AppendJwcFloat(bytes, x);
    AppendJwcFloat(bytes, y);
    Put8(bytes, layer);
}

void ThrowJWCIndexError() {
    AfxThrowInvalidArgException();
}

int MJWCVPointArray::AppendMarkBlockTo(std::string& bytes) const {
    const int n = GetSize();
    const int kept = n < kMarkBlockEntries ? n : kMarkBlockEntries;
    for (int i = 0; i < kMarkBlockEntries; ++i)
        AppendJwcFloat(bytes, i < kept ? GetAt(i).x : 0.0f);
    for (int i = 0; i < kMarkBlockEntries; ++i)
        AppendJwcFloat(bytes, i < kept ? GetAt(i).y : 0.0f);
    for (int i = 0; i < kMarkBlockEntries; ++i)
        Put8(bytes, i < kept ? GetAt(i).layer : 0);
    return n - kept;
}

BOOL MJWCStringList::Add(std::string_view utf8, WORD& offset) {
    const std::string_view text = utf8.substr(0, utf8.find('\0'));
    std::size_t replaced = 0;
    std::string cp932 = Utf8ToCp932(text, &replaced);
    if (m_block.size() + cp932.size() + 1 > static_cast<std::size_t>(kMaxBlockLength)) {
        m_overflowed = TRUE;
        return FALSE;
    }
    m_replaced += replaced;
    offset = static_cast<WORD>(m_block.size());
    m_block += cp932;
    m_block += '\0';
    m_texts.emplace_back(text);
    return TRUE;
}

const std::string& MJWCStringList::GetAt(int i) const {
    if (i < 0 || i >= GetCount()) AfxThrowInvalidArgException();
    return m_texts[static_cast<std::size_t>(i)];
}

void MJWCStringList::RemoveAll() {
    m_texts.clear();
    m_block.clear();
    m_overflowed = FALSE;
    m_replaced = 0;
}

int GetJWCColorNumber(COLORREF color) {
    static constexpr int kPens[8] = {2, 6, 2, 5, 3, 1, 4, 2};
    if (color >= kNoColor) return 2;
    const int index = 2 * (GetRValue(color) > 128) + (GetBValue(color) > 128) + 4 * (GetGValue(color) > 128);
    return kPens[index];
}

int GetJWCLineType(int lineStyleWord) {
    if (lineStyleWord < 0) return 0;
    if (lineStyleWord & 0x80) return 9;
    return (lineStyleWord & 0x7F) + 1;
}

const double kJWCTextKindHeights[11] = {2.0, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0};

int FindJWCTextKind(double height, const double heights[11]) {
    int best = 1;
    double bestDistance = std::fabs(heights[1] - height);
    for (int kind = 2; kind <= 10; ++kind) {
        const double d = std::fabs(heights[kind] - height);
        if (d < bestDistance) best = kind, bestDistance = d;
    }
    return best;
}
