#include "model/geometry/ExactOrientation.h"

#include <cmath>

namespace {

// A sum of doubles held without rounding: non-overlapping components, smallest magnitude first.
struct Expansion {
    double c[16];
    int n = 0;

    // Adds b exactly (two-sum chain); zero components are dropped.
    void Add(double b) {
        double q = b;
        int k = 0;
        for (int i = 0; i < n; ++i) {
            const double sum = q + c[i];
            const double bv = sum - q;
            const double av = sum - bv;
            const double low = (q - av) + (c[i] - bv);
            q = sum;
            if (low != 0.0) c[k++] = low;
        }
        if (q != 0.0) c[k++] = q;
        n = k;
    }
    // Adds the product a·b exactly: the rounded product and its rounding error.
    void AddProduct(double a, double b) {
        const double p = a * b;
        Add(std::fma(a, b, -p));
        Add(p);
    }
    // The largest component carries the sign of the whole sum.
    int Sign() const { return n == 0 ? 0 : (c[n - 1] > 0 ? 1 : -1); }
};

int ExactOrientation(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& c) {
    Expansion e;
    e.AddProduct(a.x, b.y);
    e.AddProduct(-a.x, c.y);
    e.AddProduct(-c.x, b.y);
    e.AddProduct(-a.y, b.x);
    e.AddProduct(a.y, c.x);
    e.AddProduct(c.y, b.x);
    return e.Sign();
}

// 0 for directions in [0, pi), 1 for [pi, 2·pi).
int HalfPlane(const MFloatPoint& o, const MFloatPoint& p) {
    return (p.y > o.y || (p.y == o.y && p.x > o.x)) ? 0 : 1;
}

}  // namespace

int GetOrientationSign(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& c) {
    const double left = (a.x - c.x) * (b.y - c.y);
    const double right = (a.y - c.y) * (b.x - c.x);
    const double det = left - right;
    const double bound = kOrientationErrorBound * (std::fabs(left) + std::fabs(right));
    if (det > bound) return 1;
    if (-det > bound) return -1;
    return ExactOrientation(a, b, c);
}

int CompareDirectionsAround(const MFloatPoint& o, const MFloatPoint& p, const MFloatPoint& q) {
    const int hp = HalfPlane(o, p);
    const int hq = HalfPlane(o, q);
    if (hp != hq) return hp - hq;
    return -GetOrientationSign(o, p, q);
}
