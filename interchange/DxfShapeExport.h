// The shapes as DXF entities: MDXFWriter writes each shape of the drawing through ExportShapeDxf.
// origin is subtracted from every coordinate; sizes fixed on paper (arrow heads, the texts of
// dimensions) are divided by paperScale. A kind without a DXF form writes nothing.
#pragma once

#include <string>

#include "model/geometry/FloatPoint.h"

class MCadShape;
class MDXFOutStream;
class MPolygonShape;

void ExportShapeDxf(const MCadShape& shape, MDXFOutStream& out, const std::string& layer,
                    const MFloatPoint& origin, double paperScale);
// The outline family's own entity (a POLYLINE with the open outline's arrow heads), whatever
// kind the polygon is.
void ExportPolygonDxf(const MPolygonShape& shape, MDXFOutStream& out, const std::string& layer,
                      const MFloatPoint& origin, double paperScale);
