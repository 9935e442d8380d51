// Basic types and value classes with the class library's names and semantics.
#pragma once

#include <algorithm>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using COLORREF = std::uint32_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// 0x00BBGGRR, as GDI packs it.
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

// The program's "no colour" value.
constexpr COLORREF kNoColor = 0x1000000;

struct POINT {
    LONG x = 0;
    LONG y = 0;
};
struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

class CPoint : public POINT {
public:
    constexpr CPoint() = default;
    constexpr CPoint(LONG px, LONG py) : POINT{px, py} {}
    constexpr CPoint(const POINT& p) : POINT(p) {}
    void Offset(LONG dx, LONG dy) { x += dx, y += dy; }
    constexpr bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    constexpr CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
    constexpr CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
    constexpr CPoint operator-() const { return {-x, -y}; }
    CPoint& operator+=(const CPoint& o) { return x += o.x, y += o.y, *this; }
    CPoint& operator-=(const CPoint& o) { return x -= o.x, y -= o.y, *this; }
};

class CSize : public SIZE {
public:
    constexpr CSize() = default;
    constexpr CSize(LONG w, LONG h) : SIZE{w, h} {}
    constexpr bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
};

// Right and bottom are exclusive where GDI measures in pixels.
class CRect : public RECT {
public:
    constexpr CRect() = default;
    constexpr CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& r) : RECT(r) {}
    constexpr CRect(const CPoint& tl, const CPoint& br) : RECT{tl.x, tl.y, br.x, br.y} {}

    constexpr LONG Width() const { return right - left; }
    constexpr LONG Height() const { return bottom - top; }
    constexpr CSize Size() const { return {Width(), Height()}; }
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr CPoint BottomRight() const { return {right, bottom}; }
    constexpr CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr bool PtInRect(const POINT& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    constexpr bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }

    void SetRect(LONG l, LONG t, LONG r, LONG b) { left = l, top = t, right = r, bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void NormalizeRect() {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
    }
    void InflateRect(LONG dx, LONG dy) { left -= dx, top -= dy, right += dx, bottom += dy; }
    void DeflateRect(LONG dx, LONG dy) { InflateRect(-dx, -dy); }
    void OffsetRect(LONG dx, LONG dy) { left += dx, top += dy, right += dx, bottom += dy; }
    void OffsetRect(const POINT& p) { OffsetRect(p.x, p.y); }
    // Both return FALSE and leave an empty rectangle when the result is empty, as GDI does.
    BOOL IntersectRect(const RECT& a, const RECT& b) {
        SetRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom));
        if (IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        return TRUE;
    }
    BOOL UnionRect(const RECT& a, const RECT& b) {
        const CRect ra(a), rb(b);
        if (ra.IsRectEmpty()) *this = rb;
        else if (rb.IsRectEmpty()) *this = ra;
        else
            SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom));
        if (IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        return TRUE;
    }
};
