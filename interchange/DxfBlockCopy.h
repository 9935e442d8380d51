// Turning the placed copy of a block. A group turns each member through a trial turned copy, to
// find the members (rectangles, ellipses) that become another class when turned; the shapes the
// DXF reader builds never do, so their copies are turned in place, with the same results.
#pragma once

#include "model/geometry/FloatPoint.h"

class MCadShape;
class MGroupShape;

// Whether every member (nested groups too) keeps its class when turned.
bool TurnsInPlace(const MCadShape* shape);

// Turns the copy about (cx, cy) exactly as MGroupShape::Rotate would.
void TurnPlacedCopy(MGroupShape& copy, double cx, double cy, double angle);

// How far the shape's numbers reach from the point: the largest coordinate difference, text size or
// text box side of it and its members; infinity when one is no number. A placement scales this
// (and turns it), so it tells whether the copy's numbers stay in range.
double ReachOf(const MCadShape& shape, const MFloatPoint& from);

// How many groups deep the shape goes: 0 for a shape that is no group, 1 for a group of plain shapes.
int NestingOf(const MCadShape& shape);
