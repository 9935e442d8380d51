// Opening a generated DXF drawing of 10,000, 100,000 and 1,000,000 mixed entities in a fresh process
// per repetition: the import and the view's first update, as the program opens a file. Reports the
// open time (the benchmark's time; open_cpu_s the processor time, steadier on a busy machine), the
// whole process (process_s), its peak resident memory (read_peak_MB after the read, peak_MB at the end) and,
// up to 100,000 entities, ezdxf's read time of the same file in the same run (ezdxf_s, speedup).
// Goals: 100,000 under 0.4 s and at least 10 times ezdxf; 1,000,000 under 4 s and 400 MB; the
// time growing linearly.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "BenchDxf.h"
#include "ColdOpen.h"

namespace {

struct Files {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tessaray_bench_open_" + std::to_string(::getpid()));
    std::map<int, std::string> paths;
    std::map<int, double> ezdxf;

    Files() { std::filesystem::create_directories(dir); }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    const std::string& Path(int entities) {
        auto it = paths.find(entities);
        if (it != paths.end()) return it->second;
        const std::string path = (dir / ("mixed" + std::to_string(entities) + ".dxf")).string();
        bench::WriteDxfFile(path, entities);
        if (entities <= 100000) ezdxf[entities] = bench::EzdxfSeconds(path);
        return paths[entities] = path;
    }
};

Files& TheFiles() {
    static Files files;
    return files;
}

void BM_OpenCold(benchmark::State& state) {
    const int entities = static_cast<int>(state.range(0));
    const std::string& path = TheFiles().Path(entities);
    bench::Figures figures;
    for (auto _ : state) {
        if (!bench::RunFreshProcess(path, "", figures)) {
            state.SkipWithError("the drawing did not open");
            return;
        }
        state.SetIterationTime(figures["open_s"]);
    }
    state.counters["process_s"] = figures["process_s"];
    state.counters["open_cpu_s"] = figures["open_cpu_s"];
    state.counters["peak_MB"] = figures["peak_MB"];
    state.counters["read_peak_MB"] = figures["read_peak_MB"];
    state.counters["file_MB"] = std::filesystem::file_size(path) / (1024.0 * 1024.0);
    const auto ez = TheFiles().ezdxf.find(entities);
    if (ez != TheFiles().ezdxf.end() && ez->second > 0) {
        state.counters["ezdxf_s"] = ez->second;
        state.counters["speedup"] = ez->second / figures["open_s"];
    }
}
BENCHMARK(BM_OpenCold)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

// "--make N path [lines|arcs|near-arcs|texts]" writes the drawing of N entities, for looking at one open
// with a profiler.
int main(int argc, char** argv) {
    if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--make") {
        const std::string kind = argc == 5 ? argv[4] : "";
        const bench::DxfMix mix = kind == "lines"       ? bench::DxfMix::kLines
                                  : kind == "arcs"      ? bench::DxfMix::kArcs
                                  : kind == "near-arcs" ? bench::DxfMix::kNearArcs
                                  : kind == "texts"     ? bench::DxfMix::kTexts
                                                        : bench::DxfMix::kMixed;
        bench::WriteDxfFile(argv[3], std::stoi(argv[2]), mix);
        return 0;
    }
    return bench::ColdMain(argc, argv);
}
