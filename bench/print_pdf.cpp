// Opening a generated DXF drawing and printing the whole of it into a PDF file through the
// program's print command, in a fresh process per repetition. The benchmark's time is the open and
// the print together; print_s is the print alone, pdf_MB the file, inked_permille the share of
// pixels that are not white in a rendering of the PDF's page (pdftoppm), which must not be zero.
// startup_s is the fresh process until it is ready for the file, teardown_s its end after the last
// figure, process_s the whole; the *_cpu_s figures are processor time, steadier on a busy machine.
// Goals: 100,000 mixed under 1.0 s; 100,000 lines under 0.8 s; 20,000 arcs, circles and texts
// under 0.3 s each; a floor plan of 10,000 entities under 0.2 s for the whole process. 20,000 arcs
// close together show the printed curves (pdf_MB).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "BenchDxf.h"
#include "ColdOpen.h"

namespace {

const std::filesystem::path& Dir() {
    static const std::filesystem::path dir = [] {
        auto d =
            std::filesystem::temp_directory_path() / ("tessaray_bench_print_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

// Per mille of the page's pixels that are not white, or -1 when no renderer is there.
double InkedPermille(const std::string& pdf) {
    const std::string stem = (Dir() / "page").string();
    std::string output;
    if (!bench::RunCommand("pdftoppm -r 30 -gray -singlefile '" + pdf + "' '" + stem + "' 2>&1", output)) {
        std::fprintf(stderr, "pdftoppm could not render the PDF:\n%s\n", output.c_str());
        return -1;
    }
    std::ifstream image(stem + ".pgm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    image >> magic >> width >> height >> maxValue;
    image.get();
    if (magic != "P5" || width <= 0 || height <= 0) return -1;
    std::string pixels(static_cast<std::size_t>(width) * height, '\0');
    image.read(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    std::size_t inked = 0;
    for (unsigned char v : pixels)
        inked += v < maxValue * 9 / 10;
    return 1000.0 * inked / pixels.size();
}

void OpenAndPrint(benchmark::State& state, int entities, bench::DxfMix mix, const char* name) {
    const std::string path = (Dir() / (std::string(name) + ".dxf")).string();
    const std::string pdf = (Dir() / (std::string(name) + ".pdf")).string();
    if (!std::filesystem::exists(path)) bench::WriteDxfFile(path, entities, mix);
    bench::Figures figures;
    for (auto _ : state) {
        std::filesystem::remove(pdf);
        if (!bench::RunFreshProcess(path, pdf, figures) || !std::filesystem::exists(pdf)) {
            state.SkipWithError("the drawing did not open or print");
            return;
        }
        state.SetIterationTime(figures["open_s"] + figures["print_s"]);
    }
    state.counters["open_s"] = figures["open_s"];
    state.counters["print_s"] = figures["print_s"];
    state.counters["print_cpu_s"] = figures["print_cpu_s"];
    state.counters["process_s"] = figures["process_s"];
    state.counters["startup_s"] = figures["startup_s"];
    state.counters["startup_cpu_s"] = figures["startup_cpu_s"];
    state.counters["teardown_s"] = figures["teardown_s"];
    state.counters["open_cpu_s"] = figures["open_cpu_s"];
    state.counters["peak_MB"] = figures["peak_MB"];
    state.counters["pdf_MB"] = std::filesystem::file_size(pdf) / (1024.0 * 1024.0);
    state.counters["inked_permille"] = InkedPermille(pdf);
}

void BM_PrintMixed100k(benchmark::State& state) {
    OpenAndPrint(state, 100000, bench::DxfMix::kMixed, "mixed");
}
void BM_PrintLines100k(benchmark::State& state) {
    OpenAndPrint(state, 100000, bench::DxfMix::kLines, "lines");
}
void BM_PrintArcs20k(benchmark::State& state) {
    OpenAndPrint(state, 20000, bench::DxfMix::kArcs, "arcs");
}
// The arcs above are dots on the page; these span centimetres, as a drawing's arcs do.
void BM_PrintNearArcs20k(benchmark::State& state) {
    OpenAndPrint(state, 20000, bench::DxfMix::kNearArcs, "near_arcs");
}
void BM_PrintTexts20k(benchmark::State& state) {
    OpenAndPrint(state, 20000, bench::DxfMix::kTexts, "texts");
}
void BM_PrintCircles20k(benchmark::State& state) {
    OpenAndPrint(state, 20000, bench::DxfMix::kCircles, "circles");
}
void BM_PrintPlan10k(benchmark::State& state) {
    OpenAndPrint(state, 10000, bench::DxfMix::kPlan, "plan");
}

#define COLD_BENCHMARK(f)               \
    BENCHMARK(f)                        \
        ->Unit(benchmark::kMillisecond) \
        ->UseManualTime()               \
        ->Iterations(1)                 \
        ->Repetitions(5)                \
        ->ReportAggregatesOnly(true)
COLD_BENCHMARK(BM_PrintMixed100k);
COLD_BENCHMARK(BM_PrintLines100k);
COLD_BENCHMARK(BM_PrintArcs20k);
COLD_BENCHMARK(BM_PrintNearArcs20k);
COLD_BENCHMARK(BM_PrintTexts20k);
COLD_BENCHMARK(BM_PrintCircles20k);
COLD_BENCHMARK(BM_PrintPlan10k);

}  // namespace

int main(int argc, char** argv) {
    const int result = bench::ColdMain(argc, argv);
    std::error_code ec;
    std::filesystem::remove_all(Dir(), ec);
    return result;
}
