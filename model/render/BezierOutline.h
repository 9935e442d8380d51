// Outlines of circles, arcs and ellipses as cubic Bezier pieces, for targets that keep curves
// (printers). A run is its start point, then two controls and an end point per piece.
#pragma once

#include <vector>

#include "model/geometry/FloatPoint.h"

// Continues the run with the arc of the axis-parallel ellipse of radii (rx, ry) about centre,
// from the angle start through sweep (radians, counter-clockwise when positive), a quarter turn
// at most per piece. An empty run starts at the arc's start point; a run that ends elsewhere
// gets a straight piece to it first.
void AppendArcPieces(std::vector<MFloatPoint>& run, const MFloatPoint& centre, double rx, double ry,
                     double start, double sweep);
// Continues a run that has its start with a straight piece to `to` (a copy: it may be a point
// of the run itself).
void AppendLinePiece(std::vector<MFloatPoint>& run, MFloatPoint to);
