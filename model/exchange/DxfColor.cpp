#include "model/exchange/DxfColor.h"

#include <array>

namespace {
constexpr int kTableSize = 16;

const std::array<COLORREF, kTableSize>& ColorTable() {
    // Index = DXF colour number for 1..15; 7 is drawn black on the program's white paper.
    static const std::array<COLORREF, kTableSize> table = {
        0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0x000000,
        0x808080, 0x000080, 0x008080, 0x008000, 0x808000, 0x800000, 0x800080, 0x808080,
    };
    return table;
}

const std::array<int, kTableSize>& ColorNumberTable() {
    // Index = 2*(R above the threshold) + (B above) + 4*(G above); 8..15 are the dark shades.
    static const std::array<int, kTableSize> table = {7, 5, 1, 6, 3, 4, 2, 0, 0, 13, 9, 14, 11, 12, 10, 8};
    return table;
}

int ChannelIndex(COLORREF color, int threshold) {
    return 2 * (GetRValue(color) > threshold) + (GetBValue(color) > threshold) +
           4 * (GetGValue(color) > threshold);
}
}  // namespace

void InitDXFColorTable() {
    ColorTable();
}

void InitDXFColorNumberTable() {
    ColorNumberTable();
}

COLORREF GetDXFTableColor(int index) {
    if (index < 0 || index >= kTableSize) return 0;
    return ColorTable()[index];
}

int GetDXFTableColorNumber(int index) {
    if (index < 0 || index >= kTableSize) return 7;
    return ColorNumberTable()[index];
}

int GetDXFColorNumber(COLORREF color) {
    if (color > 0xFFFFFF) return ColorNumberTable()[0];
    int index = ChannelIndex(color, 128);
    if (index == 0 && (GetRValue(color) > 64 || GetGValue(color) > 64 || GetBValue(color) > 64))
        index = 8 + ChannelIndex(color, 64);
    return ColorNumberTable()[index];
}
