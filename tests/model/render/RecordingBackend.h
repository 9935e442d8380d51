// A drawing back end that keeps what it is asked to draw, in device coordinates.
#pragma once

#include <vector>

#include "platform/gdi/GdiBackend.h"

class RecordingBackend : public GdiBackend {
public:
    struct Call {
        enum Kind { Lines, Polygons, Figure, Text, Curves, Other } kind;
        std::vector<std::vector<GdiPointF>> runs;
        GdiAttributes attributes;
    };

    explicit RecordingBackend(CRect bounds = CRect(0, 0, 1000, 1000), int dpi = 96, bool printing = false)
        : m_bounds(bounds), m_dpi(dpi), m_printing(printing) {}

    int GetDeviceCaps(int index) const override {
        if (index == LOGPIXELSX || index == LOGPIXELSY) return m_dpi;
        if (index == HORZRES) return m_bounds.Width();
        if (index == VERTRES) return m_bounds.Height();
        return 0;
    }
    CRect GetBounds() const override { return m_bounds; }
    bool IsPrinting() const override { return m_printing; }
    void SetClip(const CRgn*) override {}
    void DrawFigure(const GdiFigure& f, const GdiAttributes& a) override {
        Call c{Call::Figure, Split(f.fill.data(), f.fillCounts.data(), int(f.fillCounts.size())), a};
        calls.push_back(c);
    }
    void Polylines(const GdiPointF* p, const int* counts, int n, const GdiAttributes& a) override {
        calls.push_back({Call::Lines, Split(p, counts, n), a});
    }
    bool TakesCurves() const override { return curves; }
    void Beziers(const GdiPointF* p, int count, const GdiAttributes& a) override {
        calls.push_back({Call::Curves, Split(p, &count, 1), a});
    }
    void Polygons(const GdiPointF* p, const int* counts, int n, const GdiAttributes& a) override {
        calls.push_back({Call::Polygons, Split(p, counts, n), a});
    }
    void PatBlt(const CRect&, DWORD, const GdiAttributes& a) override {
        calls.push_back({Call::Other, {}, a});
    }
    void TextOut(double, double, UINT, const RECT*, const std::string&, const GdiAttributes& a) override {
        calls.push_back({Call::Text, {}, a});
    }
    void StretchDib(int, int, int, int, int, int, int, int, const BITMAPINFO*, const void*, DWORD,
                    const GdiAttributes& a) override {
        calls.push_back({Call::Other, {}, a});
    }
    void BitBlt(const CRect&, const CBitmap::Surface&, CPoint, COLORREF, DWORD,
                const GdiAttributes& a) override {
        calls.push_back({Call::Other, {}, a});
    }
    COLORREF GetPixel(int, int) const override { return 0xFFFFFFFF; }
    COLORREF SetPixel(int, int, COLORREF) override { return 0xFFFFFFFF; }

    std::vector<Call> calls;
    // Whether Bezier runs come as such (as to a printer).
    bool curves = false;

private:
    static std::vector<std::vector<GdiPointF>> Split(const GdiPointF* p, const int* counts, int n) {
        std::vector<std::vector<GdiPointF>> runs;
        int k = 0;
        for (int i = 0; i < n; ++i) {
            runs.emplace_back(p + k, p + k + counts[i]);
            k += counts[i];
        }
        return runs;
    }

    CRect m_bounds;
    int m_dpi;
    bool m_printing;
};
