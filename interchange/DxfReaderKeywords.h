// Small helpers the reader's two halves share.
#pragma once

#include <string>
#include <string_view>

#include "model/helpers/AsciiText.h"
#include "platform/WinTypes.h"

class MFillStyle;

// Entity kinds of the entity map; 0 for a name the map does not hold.
enum : int {
    kDxfLine = 1,
    kDxfCircle = 2,
    kDxfArc = 3,
    kDxfText = 4,
    kDxfPolyline = 5,
    kDxfVertex = 6,
    kDxfSeqEnd = 7,
    kDxfSolid = 8,
    kDxfInsert = 9,
    kDxfDimension = 10,
    kDxfMText = 11,
    kDxfLwPolyline = 12,
    kDxfLeader = 13,
    kDxfAttrib = 14,
};

// Table states of the TABLES section.
enum : int {
    kDxfIgnoredTable = 0,
    kDxfAfterTable = 1,
    kDxfBetweenTables = 2,
    kDxfLineTypes = 3,
    kDxfLayers = 4,
    kDxfStyles = 5
};

// A name of the file's structure (section, table, entity) without the blanks some writers put
// around it.
std::string_view DxfKeyword(std::string_view value);
// DXF compares table names without regard to case.
inline std::string DxfUpper(std::string_view s) {
    return AsciiUpper(s);
}
// A real value; 0 for text that is no number and for infinities and NaN.
double DxfReal(std::string_view value);
// A plain fill of exactly that one colour (the "by block" mark of solids).
bool IsPlainFillOf(const MFillStyle& fill, COLORREF color);
