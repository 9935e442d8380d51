// One drawing attribute and a value of it. The attribute commands and the frame's controls make
// one and hand it to the current tool (MDrawTool::ApplyAttributeChange); the tool answers what a
// command checks or a control shows in the same form (MDrawTool::GetAttribute).
#pragma once

#include <string>
#include <variant>

#include "model/FillStyle.h"
#include "platform/WinTypes.h"

enum class MAttribute {
    // Colour.
    kLineColor,
    kTextColor,
    // Fill.
    kFaceColor,
    // Whole number: the line-style word, the arrow kinds, the flags (TRUE / FALSE) and the
    // alignment bits (0-1 horizontal, 2-3 vertical; the other bits of the word stay).
    kLineType,
    kStartArrowType,
    kEndArrowType,
    kBold,
    kItalic,
    kUnderline,
    kTextFrame,
    kHorzAlign,
    kVertAlign,
    // Number, in paper millimetres.
    kLineWidth,
    kStartArrowSize,
    kEndArrowSize,
    kFontSize,
    // Text.
    kFontName,
};

struct MAttributeChange {
    using Value = std::variant<COLORREF, MFillStyle, int, double, std::string>;

    MAttribute which;
    // Of the type the attribute's group above names; the readers below throw
    // std::bad_variant_access on any other.
    Value value;

    COLORREF Color() const { return std::get<COLORREF>(value); }
    const MFillStyle& Fill() const { return std::get<MFillStyle>(value); }
    int Number() const { return std::get<int>(value); }
    double Size() const { return std::get<double>(value); }
    const std::string& Name() const { return std::get<std::string>(value); }
};
