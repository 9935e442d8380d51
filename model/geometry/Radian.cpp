#include "model/geometry/Radian.h"

void MRadian::SetDegrees(double degrees) {
    m_value = NormalizeAngle(degrees * kPi / 180.0);
}

double MRadian::ToDegrees() const {
    return m_value * 180.0 / kPi;
}

double MRadian::ToDegrees360() const {
    double d = ToDegrees();
    if (d < 0) d += 360.0;
    // A tiny negative angle would otherwise round up to 360 itself.
    if (d >= 360.0) d -= 360.0;
    return d;
}
