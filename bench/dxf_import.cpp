// Importing a DXF file of 100,000 mixed entities (LINE, CIRCLE, ARC, TEXT, LWPOLYLINE and INSERT of
// small blocks) on 10 layers. Reports the import time, the peak resident memory of the process while
// it runs (peak_MB) and the part above the resident size before it (peak_growth_MB), and the time
// the independent reader ezdxf needs for the same file in the same run (ezdxf_s, and speedup =
// ezdxf's time / ours). Goals: under 1 s, at least 10 times faster than ezdxf.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "bench/ProcessMemory.h"
#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfReader.h"
#include "model/exchange/DxfOutStream.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"

namespace {

using benchmem::ResetPeak;
using benchmem::StatusMB;

constexpr int kEntities = 100000;
constexpr int kLayers = 10;
constexpr int kBlocks = 10;

std::string Layer(int i) {
    return "LAYER" + std::to_string(i % kLayers);
}

void WriteEntity(MDXFOutStream& out, std::mt19937& rng, int i, const std::string& layer) {
    std::uniform_real_distribution<double> coordinate(-100000.0, 100000.0);
    const double x = coordinate(rng), y = coordinate(rng);
    const int color = static_cast<int>(rng() % 256);
    const auto head = [&](const char* kind) {
        out.WriteString(0, kind);
        out.WriteString(8, layer);
        out.WriteInt(62, color);
    };
    switch (i % 6) {
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
            out.WriteString(2, "BLOCK" + std::to_string(i % kBlocks));
            out.WritePoint(10, x, y);
            out.WriteDouble(41, 1.5);
            out.WriteDouble(42, 1.5);
            out.WriteDouble(50, i % 90);
            break;
    }
}

std::string MakeDxf() {
    std::mt19937 rng(42);
    MDXFOutStream out;
    out.BeginSection("HEADER");
    out.WriteString(9, "$ACADVER");
    out.WriteString(1, "AC1015");
    out.EndSection();
    out.BeginSection("TABLES");
    out.WriteString(0, "TABLE");
    out.WriteString(2, "LAYER");
    out.WriteInt(70, kLayers);
    for (int l = 0; l < kLayers; ++l) {
        out.WriteString(0, "LAYER");
        out.WriteString(2, Layer(l));
        out.WriteInt(70, 0);
        out.WriteInt(62, l + 1);
        out.WriteString(6, "CONTINUOUS");
    }
    out.WriteString(0, "ENDTAB");
    out.EndSection();
    out.BeginSection("BLOCKS");
    for (int b = 0; b < kBlocks; ++b) {
        out.WriteString(0, "BLOCK");
        out.WriteString(8, "0");
        out.WriteString(2, "BLOCK" + std::to_string(b));
        out.WriteInt(70, 0);
        out.WritePoint(10, 0, 0);
        for (int k = 0; k < 4; ++k)
            WriteEntity(out, rng, k == 3 ? 1 : 0, "0");
        out.WriteString(0, "ENDBLK");
    }
    out.EndSection();
    out.BeginSection("ENTITIES");
    for (int i = 0; i < kEntities; ++i)
        WriteEntity(out, rng, i, Layer(i));
    out.EndSection();
    out.WriteString(0, "EOF");
    return out.TakeText();
}

struct Fixture {
    Fixture() {
        RegisterDocumentClasses();
        AfxSetMessageBoxHandler([](const std::string& text, UINT) {
            std::fprintf(stderr, "message: %s\n", text.c_str());
            return IDOK;
        });
        dir = std::filesystem::temp_directory_path() / ("tessaray_bench_dxf_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        path = (dir / "big.dxf").string();
        std::ofstream(path, std::ios::binary) << MakeDxf();
        ezdxfSeconds = EzdxfSeconds();
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    // The time of ezdxf.readfile as ezdxf reports it, or -1 (with ezdxf's complaint on standard
    // error) when it cannot read the file or is not installed.
    double EzdxfSeconds() const {
        const std::string command =
            "/usr/bin/python3 -c 'import sys, time, ezdxf; t = time.perf_counter(); "
            "ezdxf.readfile(sys.argv[1]); print(time.perf_counter() - t)' '" +
            path + "' 2>&1";
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return -1;
        std::string output;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        const int status = ::pclose(pipe);
        double seconds = -1;
        if (status != 0 || !ParseDouble(output, seconds)) {
            std::fprintf(stderr, "ezdxf could not read the file:\n%s\n", output.c_str());
            return -1;
        }
        return seconds;
    }
    std::filesystem::path dir;
    std::string path;
    double ezdxfSeconds = -1;
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void BM_ImportDxf(benchmark::State& state) {
    Fixture& f = TheFixture();
    const double before = StatusMB("VmRSS");
    ResetPeak();
    double seconds = 0;
    int shapes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        MTessarayDoc doc;
        MDXFReader reader(doc);
        if (!reader.Read(f.path)) state.SkipWithError("import failed");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        shapes = 0;
        for (int l = 0; l < doc.GetLayers()->GetLayerCount(); ++l)
            shapes += doc.GetLayers()->GetLayer(l)->GetSize();
    }
    const double peak = StatusMB("VmHWM");
    state.counters["peak_MB"] = peak;
    state.counters["peak_growth_MB"] = peak - before;
    state.counters["shapes"] = shapes;
    state.counters["file_MB"] = std::filesystem::file_size(f.path) / (1024.0 * 1024.0);
    state.counters["ezdxf_s"] = f.ezdxfSeconds;
    const double ours = seconds / static_cast<double>(state.iterations());
    if (f.ezdxfSeconds > 0 && ours > 0) state.counters["speedup"] = f.ezdxfSeconds / ours;
}

}  // namespace

BENCHMARK(BM_ImportDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

// Text shapes measure their text with the platform's fonts, which need a GUI application object.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TheFixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
