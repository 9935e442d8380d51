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
#include <string>

#include "BenchDxf.h"
#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfReader.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"

namespace {


constexpr int kEntities = 100000;

using benchmem::ResetPeak;

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
        bench::WriteDxfFile(path, kEntities);
        ezdxfSeconds = bench::EzdxfSeconds(path);
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
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
    const double before = bench::StatusMB("VmRSS");
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
    const double peak = bench::StatusMB("VmHWM");
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
