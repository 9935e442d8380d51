// Opening a drawing in a fresh process, as the program does: the document reads the file, then the
// view's first update fits and recalculates it. The benchmark program runs itself again with
// "--child" for each repetition, so that every run pays for fresh memory and fonts as a user does.
#pragma once

#include <unistd.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <sstream>
#include <string>

#include "BenchDxf.h"
#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfImportUi.h"
#include "interchange/InterchangeFactory.h"
#include "model/ClassRegistry.h"
#include "model/settings/LineStyle.h"
#include "model/settings/OptionRecord.h"
#include "platform/Strings.h"
#include "platform/ui/Print.h"
#include "view/ClassRegistry.h"
#include "view/TessarayView.h"

namespace bench {

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The processor time of the process so far: on a busy machine it varies far less than the clock.
inline double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

constexpr int kClientWidth = 1920;
constexpr int kClientHeight = 1080;

// The import's questions answered as a user who wants the drawing on the sheet: the paper as it is,
// the scale fitted; no progress dialog.
class FittingImportUi : public MDXFImportUi {
public:
    int RunPaperDialog(MTessarayDoc&) override { return IDOK; }
    std::unique_ptr<MDXFReadProgress> CreateProgress() override { return nullptr; }
};

// A document and its view with a 1920 x 1080 client area, shown off screen.
struct ProgramWindow {
    MTessarayDoc doc;
    MTessarayView view;
    FittingImportUi importUi;

    ProgramWindow() {
        RegisterModelClasses();
        RegisterDocumentClasses();
        RegisterViewClasses();
        InitLineStyles();
        InstallInterchangeFactory();
        SetDXFImportUi(&importUi);
        AfxSetMessageBoxHandler([](const std::string& text, UINT type) {
            if ((type & MB_TYPEMASK) == MB_YESNOCANCEL) return IDYES;
            std::fprintf(stderr, "message: %s\n", text.c_str());
            return IDOK;
        });
        doc.OnNewDocument();
        view.SetDocument(&doc);
        view.Create(nullptr, 1);
        QWidget* window = view.GetFrameWindow()->GetWidget();
        window->resize(kClientWidth + GetSystemMetrics(SM_CXVSCROLL),
                       kClientHeight + GetSystemMetrics(SM_CYHSCROLL));
        window->show();
        QApplication::processEvents();
    }

    // The read and the first update, each timed; the peak memory after the read.
    bool Open(const std::string& path, double& read, double& update, double* readPeakMB = nullptr) {
        AfxGetPrinterSettings().paperName = doc.GetPaperInfo().GetSizeInfo().m_name;
        auto start = std::chrono::steady_clock::now();
        const BOOL opened = doc.OnOpenDocument(path);
        read = SecondsSince(start);
        if (readPeakMB) *readPeakMB = StatusMB("VmHWM");
        start = std::chrono::steady_clock::now();
        view.OnInitialUpdate();
        update = SecondsSince(start);
        return opened != FALSE;
    }

    // Through the print command, into a PDF file, without the dialog. The printer's paper is the
    // sheet's, so the page shows the whole sheet.
    void PrintToPdf(const std::string& pdf) {
        CPrinterSettings& settings = AfxGetPrinterSettings();
        settings.printerName.clear();
        settings.outputFile = pdf;
        view.OnFilePrint(TRUE);
    }
};

// One initially updated window for a whole tool benchmark, as the program keeps one; snapping is
// off so that the pointer lands where the benchmark puts it.
inline ProgramWindow& ToolWindow() {
    static ProgramWindow* window = [] {
        auto* w = new ProgramWindow;
        w->view.OnInitialUpdate();
        GetOptionRecord().m_snap = 0;
        return w;
    }();
    return *window;
}

// The monotonic clock as a number both processes read alike.
inline long long MonotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The child's side: opens the file (and prints it when a PDF is named), then writes its figures as
// "name=value" words on standard output. spawnNs is when the parent started it: startup_s runs from
// there until the window is ready for the file (the process, the toolkit and the program's set-up),
// finished_s until the last figure.
inline int RunChild(const std::string& path, const std::string& pdf, long long spawnNs) {
    const auto start = std::chrono::steady_clock::now();
    ProgramWindow window;
    const double setup = SecondsSince(start);
    const double startup = spawnNs > 0 ? (MonotonicNs() - spawnNs) * 1e-9 : 0.0;
    double read = 0, update = 0, readPeak = 0;
    const double openCpu = CpuSeconds();
    if (!window.Open(path, read, update, &readPeak)) return 2;
    const double open = read + update;
    const double printCpu = CpuSeconds();
    double print = 0;
    if (!pdf.empty()) {
        const auto printStart = std::chrono::steady_clock::now();
        window.PrintToPdf(pdf);
        print = SecondsSince(printStart);
    }
    const double endCpu = CpuSeconds();
    const double finished = spawnNs > 0 ? (MonotonicNs() - spawnNs) * 1e-9 : 0.0;
    std::printf(
        "setup_s=%.6f startup_s=%.6f startup_cpu_s=%.6f read_s=%.6f update_s=%.6f open_s=%.6f print_s=%.6f "
        "open_cpu_s=%.6f print_cpu_s=%.6f finished_s=%.6f read_peak_MB=%.3f peak_MB=%.3f\n",
        setup, startup, openCpu, read, update, open, print, printCpu - openCpu, endCpu - printCpu, finished,
        readPeak, StatusMB("VmHWM"));
    std::fflush(stdout);
    return 0;
}

using Figures = std::map<std::string, double>;

// The parent's side: one fresh process; its figures, its whole time as process_s, and teardown_s
// from its last figure to its end.
inline bool RunFreshProcess(const std::string& path, const std::string& pdf, Figures& figures) {
    const auto start = std::chrono::steady_clock::now();
    std::string output;
    const std::string command = "'/proc/" + std::to_string(::getpid()) + "/exe' --child '" + path + "' '" +
                                pdf + "' " + std::to_string(MonotonicNs());
    if (!RunCommand(command, output)) {
        std::fprintf(stderr, "the fresh process failed:\n%s\n", output.c_str());
        return false;
    }
    figures.clear();
    figures["process_s"] = SecondsSince(start);
    std::istringstream words(output);
    for (std::string word; words >> word;) {
        const auto eq = word.find('=');
        double value = 0;
        if (eq != std::string::npos && ParseDouble(word.substr(eq + 1), value))
            figures[word.substr(0, eq)] = value;
    }
    if (figures["finished_s"] > 0) figures["teardown_s"] = figures["process_s"] - figures["finished_s"];
    return figures.count("open_s") != 0;
}

// The registered benchmarks, run in this process with numbers in the C locale.
inline int RunBenchmarks(int argc, char** argv) {
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The main of a benchmark program that runs its repetitions in fresh processes: the child's part
// when this process is one, else the benchmarks.
inline int ColdMain(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--child") {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        QApplication app(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        return RunChild(argv[2], argc > 3 ? argv[3] : "", argc > 4 ? std::atoll(argv[4]) : 0);
    }
    return RunBenchmarks(argc, argv);
}

// The main of a benchmark program whose repetitions share this process and its toolkit.
inline int WarmMain(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}

}  // namespace bench
