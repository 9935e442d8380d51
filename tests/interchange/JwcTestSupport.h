// JW_CAD files for the tests, independent of the code under test: an unpacker of ".jwc" files that
// follows the block layout field by field, and builders of ".jwc" and ".jwk" files from records.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace jwtest {

inline std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b.at(at)) |
                                      (static_cast<unsigned char>(b.at(at + 1)) << 8));
}
inline std::uint32_t U32(const std::string& b, std::size_t at) {
    return U16(b, at) | (static_cast<std::uint32_t>(U16(b, at + 2)) << 16);
}
inline float F32(const std::string& b, std::size_t at) {
    return std::bit_cast<float>(U32(b, at));
}
inline unsigned B(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b.at(at));
}

inline std::vector<std::string> Split(const std::string& text, const std::string& separators) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : text) {
        if (separators.find(c) != std::string::npos) {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

struct Line {
    float x1, y1, x2, y2;
    unsigned type, pen, layer;
};
struct Arc {
    float cx, cy, r;
    unsigned flat;
    std::uint32_t start, end, tilt;
    unsigned type, pen, layer;
};
struct Text {
    float x1, y1, x2, y2;
    unsigned offset, segment, kind, layer, flags;
};

// A ".jwc" file unpacked block by block; every byte is accounted for (see `size`).
struct Jwc {
    std::string header, settings, fixed, range;
    std::vector<std::string> tokens;
    float markX[101], markY[101];
    unsigned markLayer[101];
    int kinds[44];
    std::vector<double> groupScales;
    std::string groupFlags;
    std::vector<Line> lines;
    std::vector<Arc> arcs;
    std::vector<Text> texts;
    std::string block;
    std::vector<std::string> layerNames;  // 256 fields of 8 bytes, raw
    std::string groupNames;
    std::size_t size = 0;  // bytes the layout accounts for
};

inline Jwc Unpack(const std::string& b) {
    Jwc f;
    f.header = b.substr(0, 200);
    f.settings = b.substr(200, 200);
    f.fixed = b.substr(400, 200);
    f.range = b.substr(600, 200);
    f.tokens = Split(f.settings.substr(0, f.settings.find('\0')), " ,\t\n");
    const bool floats = f.header.substr(20, 5) == "a.f.m";
    std::size_t at = 800;
    for (int i = 0; i < 101; ++i)
        f.markX[i] = F32(b, at + 4 * i);
    for (int i = 0; i < 101; ++i)
        f.markY[i] = F32(b, at + 404 + 4 * i);
    for (int i = 0; i < 101; ++i)
        f.markLayer[i] = B(b, at + 808 + i);
    at += 909;
    for (int i = 0; i < 44; ++i)
        f.kinds[i] = static_cast<std::int16_t>(U16(b, at + 2 * i));
    at += 88;
    for (int i = 0; i < 16; ++i) {
        if (floats)
            f.groupScales.push_back(F32(b, at)), at += 4;
        else
            f.groupScales.push_back(static_cast<std::int16_t>(U16(b, at))), at += 2;
    }
    f.groupFlags = b.substr(at, 560);
    at += 560;
    const int nLines = std::stoi(f.tokens.at(0)), nArcs = std::stoi(f.tokens.at(1)),
              nTexts = std::stoi(f.tokens.at(2));
    for (int i = 0; i < nLines; ++i, at += 22)
        f.lines.push_back({F32(b, at), F32(b, at + 4), F32(b, at + 8), F32(b, at + 12), B(b, at + 16),
                           B(b, at + 17), B(b, at + 18)});
    for (int i = 0; i < nArcs; ++i, at += 32)
        f.arcs.push_back({F32(b, at), F32(b, at + 4), F32(b, at + 8), U16(b, at + 12), U32(b, at + 14),
                          U32(b, at + 18), U32(b, at + 22), B(b, at + 26), B(b, at + 27), B(b, at + 28)});
    for (int i = 0; i < nTexts; ++i, at += 24)
        f.texts.push_back({F32(b, at), F32(b, at + 4), F32(b, at + 8), F32(b, at + 12), U16(b, at + 16),
                           U16(b, at + 18), B(b, at + 20), B(b, at + 21), U16(b, at + 22)});
    // The block's length is the second address of the string range minus the first.
    const auto pair = Split(f.range.substr(0, f.range.find(' ')), ",");
    auto address = [](const std::string& t) {
        return std::stoul(t.substr(0, 4), nullptr, 16) * 16 + std::stoul(t.substr(5, 4), nullptr, 16);
    };
    const std::size_t length = address(pair.at(1)) - address(pair.at(0));
    f.block = b.substr(at, length);
    at += length;
    for (int i = 0; i < 256; ++i, at += 8)
        f.layerNames.push_back(b.substr(at, 8));
    f.groupNames = b.substr(at, 256);
    at += 256;
    f.size = at;
    return f;
}

// Little-endian appenders for building fixtures.
inline void P16(std::string& o, int v) {
    o += static_cast<char>(v & 0xFF);
    o += static_cast<char>((v >> 8) & 0xFF);
}
inline void P32(std::string& o, std::uint32_t v) {
    P16(o, static_cast<int>(v & 0xFFFF));
    P16(o, static_cast<int>(v >> 16));
}
inline void PF(std::string& o, float v) {
    P32(o, std::bit_cast<std::uint32_t>(v));
}
inline std::string Block(const std::string& text) {
    std::string s = text;
    s.resize(200, ' ');
    return s;
}

inline std::string LineRecord(float x1, float y1, float x2, float y2, int type, int pen, int layer) {
    std::string r;
    PF(r, x1), PF(r, y1), PF(r, x2), PF(r, y2);
    r += static_cast<char>(type), r += static_cast<char>(pen), r += static_cast<char>(layer);
    r.append(3, '\0');
    return r;
}
inline std::string ArcRecord(float cx, float cy, float radius, int flatness, std::uint32_t start,
                             std::uint32_t end, std::uint32_t tilt, int type, int pen, int layer) {
    std::string r;
    PF(r, cx), PF(r, cy), PF(r, radius);
    P16(r, flatness);
    P32(r, start), P32(r, end), P32(r, tilt);
    r += static_cast<char>(type), r += static_cast<char>(pen), r += static_cast<char>(layer);
    r.append(3, '\0');
    return r;
}
inline std::string TextRecord(float x1, float y1, float x2, float y2, int offset, int segment, int kind,
                              int layer, int flags) {
    std::string r;
    PF(r, x1), PF(r, y1), PF(r, x2), PF(r, y2);
    P16(r, offset), P16(r, segment);
    r += static_cast<char>(kind), r += static_cast<char>(layer);
    P16(r, flags);
    return r;
}
inline std::string PointRecord(float x, float y, int layer, int pen) {
    std::string r;
    PF(r, x), PF(r, y);
    r += static_cast<char>(layer), r += static_cast<char>(pen);
    r.append(2, '\0');
    return r;
}

// A ".jwc" drawing assembled from its parts as the layout gives them.
struct JwcBuilder {
    std::string variant = "a...m...............";
    double denominator = 1;
    int paperCode = 3;
    double paperUnits = 420;  // with A3 the coordinate factor is the denominator
    std::vector<std::string> lines, arcs, texts, points;
    std::string block;  // string block
    std::string range;  // empty: "1000:0000," and the end of the block
    std::vector<std::array<float, 2>> markXY;
    std::vector<int> markLayers;
    int markCountOverride = -1;
    int kinds[44] = {1,  1,  1,  2,  2,  3,   3,   4,   4,   7,   5,    //
                     40, 40, 50, 60, 80, 100, 120, 140, 160, 180, 200,  //
                     40, 20, 25, 30, 40, 50,  60,  70,  80,  90,  100,  //
                     0,  0,  0,  5,  5,  5,   10,  10,  10,  10,  10};
    std::string layerNames[256];
    std::string groupNames[16];
    std::string settingsOverride;

    std::string Settings() const {
        if (!settingsOverride.empty()) return settingsOverride;
        std::ostringstream os;
        os << lines.size() << "," << arcs.size() << "," << texts.size() << "," << points.size() << ","
           << (markCountOverride >= 0 ? markCountOverride : static_cast<int>(markXY.size())) << ",3,2,1,1,"
           << denominator << ",0," << paperCode << ",2,1,155.861,202.944,5,10,100,0,0,0,1,2,3,5,5,0,0,0,"
           << paperUnits << ",0";
        return os.str();
    }

    std::string Build() const {
        std::string b = "jw_cad(c)data......." + variant;
        b.resize(200, ' ');
        b += Block(Settings());
        b += Block("");
        if (range.empty()) {
            char text[40];
            std::snprintf(text, sizeof text, "1000:0000,%04x:%04x,",
                          0x1000 + static_cast<int>(block.size()) / 16, static_cast<int>(block.size()) % 16);
            b += Block(text);
        } else {
            b += Block(range);
        }
        float xs[101] = {}, ys[101] = {};
        char layers[101] = {};
        for (std::size_t i = 0; i < markXY.size(); ++i) {
            xs[i + 1] = markXY[i][0], ys[i + 1] = markXY[i][1];
            layers[i + 1] = static_cast<char>(markLayers[i]);
        }
        for (float x : xs)
            PF(b, x);
        for (float y : ys)
            PF(b, y);
        b.append(layers, 101);
        for (int k : kinds)
            P16(b, k);
        const bool floats = variant.substr(0, 5) == "a.f.m";
        for (int i = 0; i < 16; ++i) {
            if (floats)
                PF(b, static_cast<float>(denominator));
            else
                P16(b, static_cast<int>(denominator));
        }
        b.append(560, '\x01');
        for (const auto& r : lines)
            b += r;
        for (const auto& r : arcs)
            b += r;
        for (const auto& r : texts)
            b += r;
        b += block;
        for (const auto& r : points)
            b += r;
        for (const auto& n : layerNames) {
            std::string f = n;
            f.resize(8, '\0');
            b += f;
        }
        for (const auto& n : groupNames) {
            std::string f = n;
            f.resize(16, '\0');
            b += f;
        }
        return b;
    }
};

}  // namespace jwtest
