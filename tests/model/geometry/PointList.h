// A point array written as a list, for the geometry tests.
#pragma once

#include <initializer_list>

#include "model/geometry/FloatPointArray.h"

inline MFloatPointArray Points(std::initializer_list<MFloatPoint> list) {
    MFloatPointArray a;
    for (const MFloatPoint& p : list)
        a.Add(p);
    return a;
}
