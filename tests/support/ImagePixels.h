// Comparing rendered images pixel by pixel.
#pragma once

#include <QImage>

// Pixels in which two images of the same size differ in colour; -1 for images of other sizes.
inline int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            if ((p[col] & 0xFFFFFF) != (q[col] & 0xFFFFFF)) ++n;
    }
    return n;
}
