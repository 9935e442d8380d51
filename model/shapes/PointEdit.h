// The program-wide point-edit flag: while it is set, the handles of the polygon-family shapes are
// their vertices. The select and stretch tools set and clear it; it is never saved.
#pragma once

#include "platform/WinTypes.h"

extern BOOL PointEditFlag;
// The tools' name for the same flag.
inline BOOL& PointEditMode = PointEditFlag;
