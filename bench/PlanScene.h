// A generated floor plan as an architect's DXF file holds one, for the cold open and print
// benchmarks: rooms on a grid in millimetres, walls as lines (outer faces) and closed polylines
// (inner faces), doors and windows as block placements (a door is a leaf and its swing arc),
// room names and areas as texts, a dimension per room drawn through its own anonymous block, and
// some furniture; on a few layers, by layer colour.
#pragma once

#include <algorithm>
#include <string>

#include "interchange/DxfOutStream.h"

namespace bench {

// What one room adds to the ENTITIES section: 4 wall lines, 1 inner polyline, a door, a window,
// 2 texts, 1 dimension, a table and a chair.
constexpr int kPlanEntitiesPerRoom = 12;

namespace plan {

constexpr double kRoomWidth = 4200.0, kRoomDepth = 3600.0, kWall = 150.0;

inline void Head(MDXFOutStream& out, const char* kind, const char* layer) {
    out.WriteString(0, kind);
    out.WriteString(8, layer);
}

inline void Line(MDXFOutStream& out, const char* layer, double x1, double y1, double x2, double y2) {
    Head(out, "LINE", layer);
    out.WritePoint(10, x1, y1);
    out.WriteDouble(30, 0);
    out.WritePoint(11, x2, y2);
    out.WriteDouble(31, 0);
}

inline void Text(MDXFOutStream& out, const char* layer, double x, double y, double height,
                 const std::string& text) {
    Head(out, "TEXT", layer);
    out.WritePoint(10, x, y);
    out.WriteDouble(30, 0);
    out.WriteDouble(40, height);
    out.WriteString(1, text);
}

inline void Rectangle(MDXFOutStream& out, const char* layer, double x, double y, double w, double h) {
    out.WriteString(0, "LWPOLYLINE");
    out.WriteString(100, "AcDbEntity");
    out.WriteString(8, layer);
    out.WriteString(100, "AcDbPolyline");
    out.WriteInt(90, 4);
    out.WriteInt(70, 1);
    out.WritePoint(10, x, y);
    out.WritePoint(10, x + w, y);
    out.WritePoint(10, x + w, y + h);
    out.WritePoint(10, x, y + h);
}

inline void Arrow(MDXFOutStream& out, double x, double y, double direction) {
    Head(out, "SOLID", "DIMS");
    out.WritePoint(10, x, y);
    out.WritePoint(11, x - direction * 180.0, y + 45.0);
    out.WritePoint(12, x - direction * 180.0, y - 45.0);
    out.WritePoint(13, x - direction * 180.0, y - 45.0);
}

inline std::string DimensionBlock(int i) {
    return "*D" + std::to_string(i + 1);
}

// The anonymous block of a horizontal dimension of the room's width, 600 below its wall.
inline void WriteDimensionBlock(MDXFOutStream& out, int i, double x, double y) {
    out.WriteString(0, "BLOCK");
    out.WriteString(8, "0");
    out.WriteString(2, DimensionBlock(i));
    out.WriteInt(70, 1);
    out.WritePoint(10, 0, 0);
    const double y0 = y - 600.0, x1 = x + kRoomWidth;
    Line(out, "DIMS", x, y0, x1, y0);
    Line(out, "DIMS", x, y - 100.0, x, y0 - 150.0);
    Line(out, "DIMS", x1, y - 100.0, x1, y0 - 150.0);
    Arrow(out, x, y0, -1.0);
    Arrow(out, x1, y0, 1.0);
    Text(out, "DIMS", x + kRoomWidth / 2 - 450.0, y0 + 80.0, 250.0, "4200");
    out.WriteString(0, "ENDBLK");
}

inline void WriteLayers(MDXFOutStream& out) {
    static const char* const kLayers[][2] = {{"WALLS", "7"}, {"DOORS", "3"}, {"WINDOWS", "4"},
                                             {"TEXT", "2"},  {"DIMS", "1"},  {"FURNITURE", "5"}};
    out.WriteString(0, "TABLE");
    out.WriteString(2, "LAYER");
    out.WriteInt(70, 6);
    for (const auto& layer : kLayers) {
        out.WriteString(0, "LAYER");
        out.WriteString(2, layer[0]);
        out.WriteInt(70, 0);
        out.WriteInt(62, std::stoi(layer[1]));
        out.WriteString(6, "CONTINUOUS");
    }
    out.WriteString(0, "ENDTAB");
}

inline void WriteFixedBlocks(MDXFOutStream& out) {
    // A door of 900: its leaf standing open and the quarter circle it sweeps.
    out.WriteString(0, "BLOCK");
    out.WriteString(8, "0");
    out.WriteString(2, "DOOR");
    out.WriteInt(70, 0);
    out.WritePoint(10, 0, 0);
    Line(out, "0", 0, 0, 0, 900);
    Line(out, "0", 40, 0, 40, 900);
    Head(out, "ARC", "0");
    out.WritePoint(10, 0, 0);
    out.WriteDouble(40, 900);
    out.WriteDouble(50, 0);
    out.WriteDouble(51, 90);
    out.WriteString(0, "ENDBLK");
    // A window of 1800 in a wall of kWall: frame and glass.
    out.WriteString(0, "BLOCK");
    out.WriteString(8, "0");
    out.WriteString(2, "WINDOW");
    out.WriteInt(70, 0);
    out.WritePoint(10, 0, 0);
    Line(out, "0", 0, 0, 1800, 0);
    Line(out, "0", 0, kWall, 1800, kWall);
    Line(out, "0", 0, kWall / 2, 1800, kWall / 2);
    Line(out, "0", 0, 0, 0, kWall);
    Line(out, "0", 1800, 0, 1800, kWall);
    out.WriteString(0, "ENDBLK");
}

}  // namespace plan

// A plan of about `entities` entities (whole rooms, kPlanEntitiesPerRoom each), rooms placed in
// rows of a square building.
inline std::string MakePlanDxf(int entities) {
    using namespace plan;
    const int rooms = std::max(1, entities / kPlanEntitiesPerRoom);
    int columns = 1;
    while (columns * columns < rooms)
        ++columns;
    const auto origin = [&](int r, double& x, double& y) {
        x = (r % columns) * kRoomWidth;
        y = (r / columns) * kRoomDepth;
    };
    MDXFOutStream out;
    out.BeginSection("HEADER");
    out.WriteString(9, "$ACADVER");
    out.WriteString(1, "AC1015");
    out.WriteString(9, "$INSUNITS");
    out.WriteInt(70, 4);
    out.EndSection();
    out.BeginSection("TABLES");
    WriteLayers(out);
    out.EndSection();
    out.BeginSection("BLOCKS");
    WriteFixedBlocks(out);
    for (int r = 0; r < rooms; ++r) {
        double x, y;
        origin(r, x, y);
        WriteDimensionBlock(out, r, x, y);
    }
    out.EndSection();
    out.BeginSection("ENTITIES");
    for (int r = 0; r < rooms; ++r) {
        double x, y;
        origin(r, x, y);
        Line(out, "WALLS", x, y, x + kRoomWidth, y);
        Line(out, "WALLS", x + kRoomWidth, y, x + kRoomWidth, y + kRoomDepth);
        Line(out, "WALLS", x + kRoomWidth, y + kRoomDepth, x, y + kRoomDepth);
        Line(out, "WALLS", x, y + kRoomDepth, x, y);
        Rectangle(out, "WALLS", x + kWall, y + kWall, kRoomWidth - 2 * kWall, kRoomDepth - 2 * kWall);
        Head(out, "INSERT", "DOORS");
        out.WriteString(2, "DOOR");
        out.WritePoint(10, x + 300.0 + (r % 3) * 900.0, y + kWall);
        out.WriteDouble(41, 1.0);
        out.WriteDouble(42, 1.0);
        out.WriteDouble(50, (r % 2) * 90.0);
        Head(out, "INSERT", "WINDOWS");
        out.WriteString(2, "WINDOW");
        out.WritePoint(10, x + 1200.0, y + kRoomDepth - kWall);
        Text(out, "TEXT", x + 900.0, y + kRoomDepth / 2, 300.0, "ROOM " + std::to_string(r + 101));
        Text(out, "TEXT", x + 900.0, y + kRoomDepth / 2 - 450.0, 200.0, std::to_string(14 + r % 7) + ".1 m2");
        Head(out, "DIMENSION", "DIMS");
        out.WriteString(2, DimensionBlock(r));
        out.WritePoint(10, x + kRoomWidth, y - 600.0);
        out.WriteInt(70, 32);
        Rectangle(out, "FURNITURE", x + 2400.0, y + 1200.0, 1200.0, 800.0);
        Head(out, "CIRCLE", "FURNITURE");
        out.WritePoint(10, x + 3000.0, y + 2400.0);
        out.WriteDouble(40, 250.0);
    }
    out.EndSection();
    out.WriteString(0, "EOF");
    return out.TakeText();
}

}  // namespace bench
