// Generated DXF drawings for the benchmarks: mixed entities (LINE, CIRCLE, ARC, TEXT, LWPOLYLINE and
// INSERT of small blocks) on 10 layers, one kind only, or a floor plan (PlanScene.h); and the figures
// the benchmarks share.
#pragma once

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <utility>

#include "bench/PlanScene.h"
#include "bench/ProcessMemory.h"
#include "interchange/DxfOutStream.h"
#include "platform/TextFile.h"

namespace bench {

// kNearArcs: arcs within a small area, so that each spans many device pixels on the page.
enum class DxfMix { kMixed, kLines, kArcs, kTexts, kNearArcs, kCircles, kPlan };

constexpr int kDxfLayers = 10;
constexpr int kDxfBlocks = 10;

inline std::string DxfLayer(int i) {
    return "LAYER" + std::to_string(i % kDxfLayers);
}

// kind: 0 line, 1 circle, 2 arc, 3 text, 4 polyline, 5 block placement; placed at random within
// spread of the origin.
inline void WriteDxfEntity(MDXFOutStream& out, std::mt19937& rng, int i, int kind, const std::string& layer,
                           double spread = 100000.0) {
    std::uniform_real_distribution<double> coordinate(-spread, spread);
    const double x = coordinate(rng), y = coordinate(rng);
    const int color = static_cast<int>(rng() % 256);
    const auto head = [&](const char* name) {
        out.WriteString(0, name);
        out.WriteString(8, layer);
        out.WriteInt(62, color);
    };
    switch (kind) {
        case 0:
            head("LINE");
            out.WritePoint(10, x, y);
            out.WriteDouble(30, 0);
            out.WritePoint(11, x + 123.5, y - 77.25);
            out.WriteDouble(31, 0);
            break;
        case 1:
            head("CIRCLE");
            out.WritePoint(10, x, y);
            out.WriteDouble(40, 12.5 + (i % 17));
            break;
        case 2:
            head("ARC");
            out.WritePoint(10, x, y);
            out.WriteDouble(40, 30.25);
            out.WriteDouble(50, i % 360);
            out.WriteDouble(51, (i * 7) % 360);
            break;
        case 3:
            head("TEXT");
            out.WritePoint(10, x, y);
            out.WriteDouble(40, 2.5);
            out.WriteString(1, "Text " + std::to_string(i) + " %%c25");
            break;
        case 4:
            // Readers of R2000 files want the subclass markers of this entity.
            out.WriteString(0, "LWPOLYLINE");
            out.WriteString(100, "AcDbEntity");
            out.WriteString(8, layer);
            out.WriteInt(62, color);
            out.WriteString(100, "AcDbPolyline");
            out.WriteInt(90, 6);
            out.WriteInt(70, i % 2);
            for (int k = 0; k < 6; ++k)
                out.WritePoint(10, x + k * 10.5, y + (k % 2) * 7.25);
            break;
        default:
            head("INSERT");
            out.WriteString(2, "BLOCK" + std::to_string(i % kDxfBlocks));
            out.WritePoint(10, x, y);
            out.WriteDouble(41, 1.5);
            out.WriteDouble(42, 1.5);
            out.WriteDouble(50, i % 90);
            break;
    }
}

inline int DxfKind(DxfMix mix, int i) {
    switch (mix) {
        case DxfMix::kLines:
            return 0;
        case DxfMix::kArcs:
        case DxfMix::kNearArcs:
            return 2;
        case DxfMix::kTexts:
            return 3;
        case DxfMix::kCircles:
            return 1;
        default:
            return i % 6;
    }
}

inline std::string MakeDxf(int entities, DxfMix mix = DxfMix::kMixed) {
    if (mix == DxfMix::kPlan) return MakePlanDxf(entities);
    std::mt19937 rng(42);
    MDXFOutStream out;
    out.BeginSection("HEADER");
    out.WriteString(9, "$ACADVER");
    out.WriteString(1, "AC1015");
    out.EndSection();
    out.BeginSection("TABLES");
    out.WriteString(0, "TABLE");
    out.WriteString(2, "LAYER");
    out.WriteInt(70, kDxfLayers);
    for (int l = 0; l < kDxfLayers; ++l) {
        out.WriteString(0, "LAYER");
        out.WriteString(2, DxfLayer(l));
        out.WriteInt(70, 0);
        out.WriteInt(62, l + 1);
        out.WriteString(6, "CONTINUOUS");
    }
    out.WriteString(0, "ENDTAB");
    out.EndSection();
    out.BeginSection("BLOCKS");
    for (int b = 0; b < kDxfBlocks; ++b) {
        out.WriteString(0, "BLOCK");
        out.WriteString(8, "0");
        out.WriteString(2, "BLOCK" + std::to_string(b));
        out.WriteInt(70, 0);
        out.WritePoint(10, 0, 0);
        for (int k = 0; k < 4; ++k)
            WriteDxfEntity(out, rng, k == 3 ? 1 : 0, k == 3 ? 1 : 0, "0");
        out.WriteString(0, "ENDBLK");
    }
    out.EndSection();
    out.BeginSection("ENTITIES");
    // Texts alone lie closer together, so that the fitted sheet shows them at a legible size.
    const double spread = mix == DxfMix::kTexts || mix == DxfMix::kNearArcs ? 500.0 : 100000.0;
    for (int i = 0; i < entities; ++i)
        WriteDxfEntity(out, rng, i, DxfKind(mix, i), DxfLayer(i), spread);
    out.EndSection();
    out.WriteString(0, "EOF");
    return out.TakeText();
}

// The mixes by the names the benchmark programs take on their command lines.
inline bool DxfMixNamed(const std::string& name, DxfMix& mix) {
    static const std::pair<const char*, DxfMix> kNames[] = {
        {"mixed", DxfMix::kMixed}, {"lines", DxfMix::kLines},        {"arcs", DxfMix::kArcs},
        {"texts", DxfMix::kTexts}, {"near-arcs", DxfMix::kNearArcs}, {"circles", DxfMix::kCircles},
        {"plan", DxfMix::kPlan}};
    for (const auto& [n, m] : kNames)
        if (name == n) return mix = m, true;
    return false;
}

inline void WriteDxfFile(const std::string& path, int entities, DxfMix mix = DxfMix::kMixed) {
    std::ofstream(path, std::ios::binary) << MakeDxf(entities, mix);
}

using benchmem::StatusMB;

// The output of a shell command, and whether it ended well.
inline bool RunCommand(const std::string& command, std::string& output) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return false;
    output.clear();
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    return ::pclose(pipe) == 0;
}

// The time of ezdxf.readfile as ezdxf reports it, or -1 (with ezdxf's complaint on standard error)
// when it cannot read the file or is not installed.
inline double EzdxfSeconds(const std::string& path) {
    const std::string command =
        "/usr/bin/python3 -c 'import sys, time, ezdxf; t = time.perf_counter(); "
        "ezdxf.readfile(sys.argv[1]); print(time.perf_counter() - t)' '" +
        path + "' 2>&1";
    std::string output;
    double seconds = -1;
    if (!RunCommand(command, output) || !ParseDouble(output, seconds)) {
        std::fprintf(stderr, "ezdxf could not read the file:\n%s\n", output.c_str());
        return -1;
    }
    return seconds;
}

}  // namespace bench
