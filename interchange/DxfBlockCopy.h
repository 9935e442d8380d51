// Turning the placed copy of a block. A group turns each member through a trial turned copy, to
// find the members (rectangles, ellipses) that become another class when turned; the shapes the
// DXF reader builds never do, so their copies are turned in place, with the same results.
#pragma once

class MCadShape;
class MGroupShape;

// Whether every member (nested groups too) keeps its class when turned.
bool TurnsInPlace(const MCadShape* shape);

// Turns the copy about (cx, cy) exactly as MGroupShape::Rotate would.
void TurnPlacedCopy(MGroupShape& copy, double cx, double cy, double angle);
