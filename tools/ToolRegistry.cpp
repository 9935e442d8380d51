// The registry of the tools: one row per tool, in registration order, which is also the order of
// the tools in the array and of their settings in a drawing file. A tool not built yet is a plain
// MDrawTool with its row's identity: its command switches to it and its automatic layer is kept
// and saved. A tool's own class takes its row by its factory (CreateTool<MLineTool>).
#include "resources/ResourceIds.h"
#include "tools/DrawToolArray.h"
#include "tools/circle/ArcTools.h"
#include "tools/circle/CircleTool.h"
#include "tools/circle/EllipseTools.h"
#include "tools/circle/ThreePointTools.h"
#include "tools/dimension/AngleDimensionTools.h"
#include "tools/dimension/MeasureTools.h"
#include "tools/dimension/RadialDimensionTools.h"
#include "tools/dimension/SizeTool.h"
#include "tools/edit/CopyTools.h"
#include "tools/edit/CornerTool.h"
#include "tools/edit/DividTool.h"
#include "tools/edit/EdgeTool.h"
#include "tools/edit/FusionTool.h"
#include "tools/edit/HatchTool.h"
#include "tools/edit/HoleTool.h"
#include "tools/edit/LineCutTools.h"
#include "tools/edit/LineExtendTool.h"
#include "tools/edit/RoundTool.h"
#include "tools/edit/TrimTool.h"
#include "tools/line/ContLineTool.h"
#include "tools/line/FreeLineTool.h"
#include "tools/line/LineTool.h"
#include "tools/line/MarkTool.h"
#include "tools/line/NPolygonTool.h"
#include "tools/line/PolygonTool.h"
#include "tools/line/RectTool.h"
#include "tools/line/SplineTools.h"
#include "tools/line/WallTool.h"
#include "tools/line/XYLineTool.h"
#include "tools/select/SelectTool.h"
#include "tools/select/StretchTool.h"
#include "tools/text/LabelTools.h"
#include "tools/text/TextTools.h"
#include "tools/view/OriginTool.h"
#include "tools/view/PrintAreaTool.h"
#include "tools/view/ZoomTool.h"

namespace {

// clang-format off
constexpr MToolRegistration kRegistry[] = {
    {"LINE",          1,   ID_TOOL_LINE,             TRUE,  &CreateTool<MLineTool>},
    {"XYLINE",        2,   ID_TOOL_XYLINE,           TRUE,  &CreateTool<MXYLineTool>},
    {"CONTLINE",      3,   ID_TOOL_CONTLINE,         TRUE,  &CreateTool<MContLineTool>},
    {"SPLINE",        4,   ID_TOOL_SPLINE,           TRUE,  &CreateTool<MSplineTool>},
    {"SPLINELOOP",    5,   ID_TOOL_SPLINELOOP,       TRUE,  &CreateTool<MSplineLoopTool>},
    {"FREELINE",      51,  ID_TOOL_FREELINE,         TRUE,  &CreateTool<MFreeLineTool>},
    {"CIRCLE",        6,   ID_TOOL_CIRCLE,           TRUE,  &CreateTool<MCircleTool>},
    {"3PCIRCLE",      7,   ID_TOOL_3PCIRCLE,         TRUE,  &CreateTool<M3PCircleTool>},
    {"ELLIPSE",       8,   ID_TOOL_ELLIPSE,          TRUE,  &CreateTool<MEllipseTool>},
    {"ELLIPSEEXTENT", 50,  ID_TOOL_ELLIPSEEXTENT,    TRUE,  &CreateTool<MEllipseExtentTool>},
    {"CIRCLEARC",     9,   ID_TOOL_CIRCLEARC,        TRUE,  &CreateTool<MCircleArcTool>},
    {"3PCIRCLEARC",   10,  ID_TOOL_3PCIRCLEARC,      TRUE,  &CreateTool<M3PCircleArcTool>},
    {"CIRCLEFAN",     11,  ID_TOOL_CIRCLEFAN,        TRUE,  &CreateTool<MCircleFanTool>},
    {"HALFCIRCLE",    12,  ID_TOOL_HALFCIRCLE,       TRUE,  &CreateTool<MHalfCircleTool>},
    {"QUADCIRCLE",    13,  ID_TOOL_QUADCIRCLE,       TRUE,  &CreateTool<MQuadCircleTool>},
    {"RECT",          14,  ID_TOOL_RECT,             TRUE,  &CreateTool<MRectTool>},
    {"NPOLYGON",      15,  ID_TOOL_NPOLYGON,         TRUE,  &CreateTool<MNPolygonTool>},
    {"POLYGON",       16,  ID_TOOL_POLYGON,          TRUE,  &CreateTool<MPolygonTool>},
    {"SIZE",          17,  ID_TOOL_SIZE,             TRUE,  &CreateTool<MSizeTool>},
    {"SIZEX",         18,  ID_TOOL_SIZEX,            TRUE,  &CreateTool<MSizeXTool>},
    {"SIZEY",         19,  ID_TOOL_SIZEY,            TRUE,  &CreateTool<MSizeYTool>},
    {"RADIUS",        20,  ID_TOOL_RADIUS,           TRUE,  &CreateTool<MRadiusTool>},
    {"DIAMETER",      21,  ID_TOOL_DIAMETER,         TRUE,  &CreateTool<MDiameterTool>},
    {"ANGLE",         22,  ID_TOOL_ANGLE,            TRUE,  &CreateTool<MAngleTool>},
    {"LINEANGLE",     23,  ID_TOOL_LINEANGLE,        TRUE,  &CreateTool<MLineAngleTool>},
    {"LABEL",         24,  ID_TOOL_LABEL,            TRUE,  &CreateTool<MLabelTool>},
    {"BALLOON",       25,  ID_TOOL_BALLOON,          TRUE,  &CreateTool<MBalloonTool>},
    {"WALL",          26,  ID_TOOL_WALL,             TRUE,  &CreateTool<MWallTool>},
    {"MARK",          27,  ID_TOOL_MARK,             TRUE,  &CreateTool<MMarkTool>},
    {"TEXT",          28,  ID_TOOL_TEXT,             TRUE,  &CreateTool<MTextTool>},
    {"HATCH",         29,  ID_TOOL_HATCH,            TRUE,  &CreateTool<MHatchTool>},
    {"SELECT",        30,  ID_TOOL_SELECT,           FALSE, &CreateTool<MSelectTool>},
    {"CORNER",        31,  ID_TOOL_CORNER,           FALSE, &CreateTool<MCornerTool>},
    {"ROUND",         32,  ID_TOOL_ROUND,            FALSE, &CreateTool<MRoundTool>},
    {"LINEEXTEND",    33,  ID_TOOL_LINEEXTEND,       FALSE, &CreateTool<MLineExtendTool>},
    {"LINECUT",       34,  ID_TOOL_LINECUT,          FALSE, &CreateTool<MLineCutTool>},
    {"LINELINECUT",   35,  ID_TOOL_LINELINECUT,      FALSE, &CreateTool<MLineLineCutTool>},
    {"TRIM",          36,  ID_TOOL_TRIM,             FALSE, &CreateTool<MTrimTool>},
    {"COPYLINE",      37,  ID_TOOL_COPYLINE,         FALSE, &CreateTool<MCopyLineTool>},
    {"COPYROTATE",    38,  ID_TOOL_COPYROTATE,       FALSE, &CreateTool<MCopyRotateTool>},
    {"MEASURELENGTH", 39,  ID_TOOL_MEASURELENGTH,    FALSE, &CreateTool<MMeasureLengthTool>},
    {"MEASUREANGLE",  40,  ID_TOOL_MEASUREANGLE,     FALSE, &CreateTool<MMeasureAngleTool>},
    {"FUSION",        41,  ID_TOOL_FUSION,           FALSE, &CreateTool<MFusionTool>},
    {"ORIGIN",        42,  ID_TOOL_ORIGIN,           FALSE, &CreateTool<MOriginTool>},
    {"PRINTAREA",     43,  ID_TOOL_PRINTAREA,        FALSE, &CreateTool<MPrintAreaTool>},
    {"ZOOM",          44,  ID_TOOL_ZOOM,             FALSE, &CreateTool<MZoomTool>},
    {"EDGE",          46,  ID_TOOL_EDGE,             FALSE, &CreateTool<MEdgeTool>},
    {"HOLE",          47,  ID_TOOL_HOLE,             FALSE, &CreateTool<MHoleTool>},
    {"HOLE2LINE",     48,  ID_TOOL_HOLE2LINE,        FALSE, &CreateTool<MHole2LineTool>},
    {"MULTITEXT",     49,  ID_TOOL_MULTITEXT,        TRUE,  &CreateTool<MMultiTextTool>},
    {"DIVID",         52,  ID_TOOL_DIVID,            TRUE,  &CreateTool<MDividTool>},
    {"STRETCH",       53,  ID_TOOL_STRETCH,          FALSE, &CreateTool<MStretchTool>},
    {"MEASUREAREA",   54,  ID_TOOL_MEASUREAREA,      FALSE, &CreateTool<MMeasureAreaTool>},
};
// clang-format on

}  // namespace

std::span<const MToolRegistration> GetToolRegistry() {
    return kRegistry;
}
