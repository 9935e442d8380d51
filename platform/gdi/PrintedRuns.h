// The runs of points a printer's page receives: only the points that change the line. A point
// repeating the one before it, or one that only continues a horizontal or vertical stretch in
// the same direction, adds nothing to what is stroked, but costs its digits in the page's
// content, which the printer's file then compresses. Outlines of small round shapes on whole
// device pixels are mostly such steps.
#pragma once

#include <vector>

#include "platform/gdi/GdiBackend.h"

// Appends to out the points of the run (count points) that change the line: its first and last
// points always, every corner between them. Answers how many points it appended.
int AppendPrintedRun(const GdiPointF* run, int count, std::vector<GdiPointF>& out);
