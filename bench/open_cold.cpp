// Opening a generated DXF drawing of 10,000, 100,000 and 1,000,000 mixed entities in a fresh process
// per repetition: the import and the view's first update, as the program opens a file. Reports the
// open time (the benchmark's time; open_cpu_s the processor time, steadier on a busy machine), the
// whole process (process_s), its peak resident memory (read_peak_MB after the read, peak_MB at the end) and,
// up to 100,000 entities, ezdxf's read time of the same file in the same run (ezdxf_s, speedup).
// BM_OpenKind opens 20,000 arcs, circles or texts and a generated floor plan of 10,000 entities the
// same way. startup_s is the fresh process until it is ready for the file, teardown_s its end after
// the open.
// Goals: 100,000 under 0.3 s and at least 10 times ezdxf; 1,000,000 under 4 s and 400 MB; the
// time growing linearly; the plan under 0.2 s for the whole process.
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
    std::map<std::string, std::string> paths;
    std::map<std::string, double> ezdxf;

    Files() { std::filesystem::create_directories(dir); }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    const std::string& Path(int entities, const std::string& kind = "mixed") {
        const std::string name = kind + std::to_string(entities);
        auto it = paths.find(name);
        if (it != paths.end()) return it->second;
        const std::string path = (dir / (name + ".dxf")).string();
        bench::DxfMix mix = bench::DxfMix::kMixed;
        bench::DxfMixNamed(kind, mix);
        bench::WriteDxfFile(path, entities, mix);
        if (entities <= 100000) ezdxf[name] = bench::EzdxfSeconds(path);
        return paths[name] = path;
    }
};

Files& TheFiles() {
    static Files files;
    return files;
}

void OpenFresh(benchmark::State& state, int entities, const std::string& kind) {
    const std::string& path = TheFiles().Path(entities, kind);
    bench::Figures figures;
    for (auto _ : state) {
        if (!bench::RunFreshProcess(path, "", figures)) {
            state.SkipWithError("the drawing did not open");
            return;
        }
        state.SetIterationTime(figures["open_s"]);
    }
    state.counters["process_s"] = figures["process_s"];
    state.counters["startup_s"] = figures["startup_s"];
    state.counters["teardown_s"] = figures["teardown_s"];
    state.counters["open_cpu_s"] = figures["open_cpu_s"];
    state.counters["peak_MB"] = figures["peak_MB"];
    state.counters["read_peak_MB"] = figures["read_peak_MB"];
    state.counters["file_MB"] = std::filesystem::file_size(path) / (1024.0 * 1024.0);
    const auto ez = TheFiles().ezdxf.find(kind + std::to_string(entities));
    if (ez != TheFiles().ezdxf.end() && ez->second > 0) {
        state.counters["ezdxf_s"] = ez->second;
        state.counters["speedup"] = ez->second / figures["open_s"];
    }
}

void BM_OpenCold(benchmark::State& state) {
    OpenFresh(state, static_cast<int>(state.range(0)), "mixed");
}
void BM_OpenKind(benchmark::State& state, int entities, const char* kind) {
    OpenFresh(state, entities, kind);
}
#define KIND_BENCHMARK(name, entities, kind)             \
    BENCHMARK_CAPTURE(BM_OpenKind, name, entities, kind) \
        ->Unit(benchmark::kMillisecond)                  \
        ->UseManualTime()                                \
        ->Iterations(1)                                  \
        ->Repetitions(5)                                 \
        ->ReportAggregatesOnly(true)
KIND_BENCHMARK(arcs20k, 20000, "arcs");
KIND_BENCHMARK(circles20k, 20000, "circles");
KIND_BENCHMARK(texts20k, 20000, "texts");
KIND_BENCHMARK(plan10k, 10000, "plan");

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

// "--make N path [lines|arcs|near-arcs|circles|texts|plan]" writes the drawing of N entities, for
// looking at one open with a profiler.
int main(int argc, char** argv) {
    if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--make") {
        bench::DxfMix mix = bench::DxfMix::kMixed;
        if (argc == 5) bench::DxfMixNamed(argv[4], mix);
        bench::WriteDxfFile(argv[3], std::stoi(argv[2]), mix);
        return 0;
    }
    return bench::ColdMain(argc, argv);
}
