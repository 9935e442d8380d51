// How new radius, diameter and angle dimensions place their text, program-wide: each tool's
// numeric entry changes it for every dimension that tool makes for the rest of the run.
#pragma once

#include "platform/WinTypes.h"

struct MDimensionPlacement {
    BOOL radiusAutoText = TRUE;
    // A radius text outside the circle: no line inside it, or else the inside line from the centre.
    BOOL noOvershoot = FALSE;
    BOOL overshootFromCentre = FALSE;
    BOOL diameterAutoText = TRUE;
    BOOL angleAutoText = TRUE;
    BOOL lineAngleAutoText = TRUE;
};

MDimensionPlacement& GetDimensionPlacement();
