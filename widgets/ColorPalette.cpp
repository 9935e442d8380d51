#include "widgets/ColorPalette.h"

#include <initializer_list>

namespace {

// Colour of hue bits (4 green, 2 red, 1 blue): the hue's channels at `on`, the others at `off`.
constexpr COLORREF HueColor(int bits, int on, int off) {
    return RGB((bits & 2) ? on : off, (bits & 4) ? on : off, (bits & 1) ? on : off);
}

constexpr int kShades[] = {88, 128, 168, 208, 255};
constexpr int kGreys[] = {0x58, 0x6C, 0x80, 0x94, 0xA8, 0xBC, 0xD0, 0xE4};

// The pure colours; per hue (blue, red, magenta, green, cyan, yellow) five shades and then the tints
// (the other channels at each of `tints`); the greys. With noColorFirst, kNoColor comes first.
template <std::size_t N>
std::array<COLORREF, N> BuildColors(bool noColorFirst, std::initializer_list<int> tints) {
    std::array<COLORREF, N> colors{};
    std::size_t n = 0;
    if (noColorFirst) colors[n++] = kNoColor;
    for (int bits = 0; bits < 8; ++bits)
        colors[n++] = HueColor(bits, 255, 0);
    for (int hue = 1; hue <= 6; ++hue) {
        for (int shade : kShades)
            colors[n++] = HueColor(hue, shade, 0);
        for (int tint : tints)
            colors[n++] = HueColor(hue, 255, tint);
    }
    for (int grey : kGreys)
        colors[n++] = RGB(grey, grey, grey);
    return colors;
}

}  // namespace

const std::array<COLORREF, kPaletteColorCount>& GetColorPalette() {
    static const auto palette = BuildColors<kPaletteColorCount>(false, {140, 172, 204});
    return palette;
}

COLORREF ColorOfCommand(UINT id, UINT firstId) {
    if (id < firstId || id - firstId >= static_cast<UINT>(kPaletteColorCount)) return kNoColor;
    return GetColorPalette()[id - firstId];
}

UINT CommandOfColor(COLORREF color, UINT firstId) {
    const auto& palette = GetColorPalette();
    for (int i = 0; i < kPaletteColorCount; ++i)
        if (palette[static_cast<std::size_t>(i)] == color) return firstId + static_cast<UINT>(i);
    return 0;
}

const std::array<COLORREF, kMenuColorCount>& GetMenuColors() {
    static const std::array<COLORREF, kMenuColorCount> colors = std::to_array(kMenuColors);
    return colors;
}

const std::array<COLORREF, kColorListCount>& GetColorListColors() {
    static const auto colors = BuildColors<kColorListCount>(true, {128, 140, 172, 204});
    return colors;
}
