// The shapes as JW_CAD records, one record array at a time, as MJWCWriter gathers them.
// Coordinates are multiplied by scale, sizes fixed on paper divided by paperScale, and every
// record carries layer (clamped to 0..255). A kind without records of an array adds none.
#pragma once

class MCadShape;
class MJWCArcArray;
class MJWCLineArray;
class MJWCStringArray;
class MJWCStringList;
class MJWCVPointArray;

void ExportShapeJwcLines(const MCadShape& shape, MJWCLineArray& lines, int layer, double scale,
                         double paperScale);
void ExportShapeJwcArcs(const MCadShape& shape, MJWCArcArray& arcs, int layer, double scale,
                        double paperScale);
// Adds each text to the writer's string list (which gives the record its offset and keeps the
// running offset) and appends the record; heights are the writer's character sizes of the kinds
// 1 to 10 (index 0 unused).
void ExportShapeJwcStrings(const MCadShape& shape, MJWCStringArray& strings, int layer, double scale,
                           double paperScale, MJWCStringList& texts, const double heights[11]);
void ExportShapeJwcPoints(const MCadShape& shape, MJWCVPointArray& points, int layer, double scale,
                          double paperScale);
