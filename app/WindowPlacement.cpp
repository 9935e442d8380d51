#include "app/WindowPlacement.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <sstream>

namespace {

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// A whole integer, clamped to [low, high]; false for anything else.
bool ParseNumber(const std::string& s, long long low, long long high, long long& out) {
    const std::size_t sign = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (s.size() == sign || s.find_first_not_of("0123456789", sign) != std::string::npos) return false;
    long long v = 0;
    try {
        v = std::stoll(s);
    } catch (const std::out_of_range&) {
        v = s[0] == '-' ? LLONG_MIN : LLONG_MAX;  // digits beyond every range: the nearest end
    }
    out = std::clamp(v, low, high);
    return true;
}

long long Overlap(const CRect& a, const CRect& b) {
    const long long w = std::min<long long>(a.right, b.right) - std::max<long long>(a.left, b.left);
    const long long h = std::min<long long>(a.bottom, b.bottom) - std::max<long long>(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

std::optional<MWindowPlacement> MWindowPlacement::Parse(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, ','))
        parts.push_back(Trim(part));
    if (parts.size() != kFields) return std::nullopt;
    long long v[kFields];
    for (int i = 0; i < kFields; ++i) {
        // The flags and the show command are written unsigned, the positions signed.
        const long long high = i < 2 ? UINT_MAX : INT_MAX;
        if (!ParseNumber(parts[static_cast<std::size_t>(i)], INT_MIN, high, v[i])) return std::nullopt;
    }
    MWindowPlacement p;
    p.flags = static_cast<unsigned>(std::max(v[0], 0LL));
    p.showCommand = static_cast<int>(std::min<long long>(v[1], INT_MAX));
    p.minPosition = {static_cast<LONG>(v[2]), static_cast<LONG>(v[3])};
    p.maxPosition = {static_cast<LONG>(v[4]), static_cast<LONG>(v[5])};
    p.normal = CRect(static_cast<LONG>(v[6]), static_cast<LONG>(v[7]), static_cast<LONG>(v[8]),
                     static_cast<LONG>(v[9]));
    return p;
}

std::string MWindowPlacement::Format() const {
    char text[160];
    std::snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags,
                  static_cast<unsigned>(showCommand), minPosition.x, minPosition.y, maxPosition.x,
                  maxPosition.y, normal.left, normal.top, normal.right, normal.bottom);
    return text;
}

std::optional<CRect> MWindowPlacement::FitToScreens(const std::vector<CRect>& screens) const {
    // Sizes in 64 bits: the corners may lie at the two ends of the int range.
    const long long width = static_cast<long long>(normal.right) - normal.left;
    const long long height = static_cast<long long>(normal.bottom) - normal.top;
    if (width <= 0 || height <= 0) return std::nullopt;
    const CRect* screen = nullptr;
    long long best = -1;
    for (const CRect& s : screens) {
        if (s.IsRectEmpty()) continue;
        const long long overlap = Overlap(normal, s);
        if (overlap > best) best = overlap, screen = &s;
    }
    if (!screen) return std::nullopt;
    const LONG w = static_cast<LONG>(
        std::clamp<long long>(width, std::min(kMinWidth, screen->Width()), screen->Width()));
    const LONG h = static_cast<LONG>(
        std::clamp<long long>(height, std::min(kMinHeight, screen->Height()), screen->Height()));
    const LONG x = static_cast<LONG>(std::clamp<long long>(normal.left, screen->left, screen->right - w));
    const LONG y = static_cast<LONG>(std::clamp<long long>(normal.top, screen->top, screen->bottom - h));
    return CRect(x, y, x + w, y + h);
}
