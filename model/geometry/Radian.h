// An angle in radians that keeps itself within [-pi, pi].
#pragma once

#include <type_traits>

#include "model/geometry/Geometry.h"

class MRadian {
public:
    MRadian() = default;
    MRadian(double radians) : m_value(NormalizeAngle(radians)) {}
    MRadian& operator=(double radians) {
        m_value = NormalizeAngle(radians);
        return *this;
    }

    operator double() const { return m_value; }
    double GetValue() const { return m_value; }

    // Every result is normalised again. Templates keep "angle + 1" unambiguous next to the
    // conversion to double.
    template <class T>
    requires std::is_arithmetic_v<T> MRadian operator+(T d) const {
        return MRadian(m_value + static_cast<double>(d));
    }
    template <class T>
    requires std::is_arithmetic_v<T> MRadian operator-(T d) const {
        return MRadian(m_value - static_cast<double>(d));
    }
    template <class T>
    requires std::is_arithmetic_v<T> MRadian operator*(T f) const {
        return MRadian(m_value * static_cast<double>(f));
    }
    template <class T>
    requires std::is_arithmetic_v<T> MRadian operator/(T f) const {
        return MRadian(m_value / static_cast<double>(f));
    }
    MRadian operator+(const MRadian& o) const { return MRadian(m_value + o.m_value); }
    MRadian operator-(const MRadian& o) const { return MRadian(m_value - o.m_value); }
    MRadian& operator+=(double d) { return *this = m_value + d; }
    MRadian& operator-=(double d) { return *this = m_value - d; }
    MRadian& operator*=(double f) { return *this = m_value * f; }
    MRadian& operator/=(double f) { return *this = m_value / f; }

    void SetDegrees(double degrees);
    // In [-180, 180].
    double ToDegrees() const;
    // In [0, 360).
    double ToDegrees360() const;

private:
    double m_value = 0.0;
};
