// Hostile inputs of up to 20 MB, each opened and printed by the real program ("tessaray -pt file
// out.pdf") in a fresh process: a polyline of bulges (100,000 vertices, and as many as 20 MB hold),
// bitmaps of 256 MiB deflated to 360 KB each (one, four, as many as 20 MB hold), an XDF line of
// 8 million numbers, an XDF text of 20 MB, a million nested groups and 10,000 damaged bitmaps.
// Goal: each one printed in under 20 s and 500 MB, or refused (exit status 1 and a message on
// stderr) within the same bounds.
// Reports wall_s (the benchmark's time), cpu_s, peak_MB, exit_status (-N: ended by signal N), file_MB
// and load1; the label tells whether the goal holds, and the same lines close the run on stderr. A
// run is killed after 60 s, or above 2 GB resident so that the shared machine keeps its memory:
// both are misses. The inputs are written once, in a temporary folder; one run each by default
// (--benchmark_repetitions=N for more). "--write dir" writes the inputs for a look.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ProgramRun.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMostBytes = 20'000'000;
constexpr double kGoalSeconds = 20, kGoalMB = 500;
constexpr bench::RunLimits kLimits{60, 2000};

// ---- The formats, as the readers take them

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
}

std::string Base64(std::string_view data) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < data.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, data.size() - i);
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 3; ++k)
            v = v << 8 | (k < n ? static_cast<unsigned char>(data[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? digits[(v >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

// A data block of the native format: the data's size, then base64 lines of 54 bytes each.
std::string Block(std::string_view payload, std::size_t size, bool deflated) {
    std::string out = "\t";
    out += std::to_string(size);
    out += deflated ? " BASE64 1\n" : " BASE64 0\n";
    for (std::size_t i = 0; i < payload.size(); i += 54) {
        out += '\t';
        out += Base64(payload.substr(i, 54));
        out += '\n';
    }
    return out;
}

// size zero bytes as a zlib stream, deflated a megabyte at a time.
std::string DeflatedZeros(std::size_t size) {
    z_stream z{};
    deflateInit(&z, Z_DEFAULT_COMPRESSION);
    std::vector<unsigned char> zeros(1 << 20);
    std::vector<unsigned char> buffer(1 << 16);
    std::string out;
    for (std::size_t left = size;;) {
        const std::size_t chunk = std::min(left, zeros.size());
        left -= chunk;
        z.next_in = zeros.data();
        z.avail_in = static_cast<uInt>(chunk);
        const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = buffer.data();
            z.avail_out = static_cast<uInt>(buffer.size());
            deflate(&z, flush);
            out.append(reinterpret_cast<const char*>(buffer.data()), buffer.size() - z.avail_out);
        } while (z.avail_out == 0);
        if (flush == Z_FINISH) break;
    }
    deflateEnd(&z);
    return out;
}

// A 24-bit bitmap shape of the native format, black; damaged, its pixels' block claims their size
// and holds three bytes.
std::string BitmapShape(std::uint32_t width, std::uint32_t height, bool damaged) {
    const std::uint32_t size = ((width * 3 + 3) & ~3u) * height;
    std::string file = "BM";
    PutLittleEndian(file, 14 + 40 + size, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 14 + 40, 4);
    std::string info;
    PutLittleEndian(info, 40, 4);
    PutLittleEndian(info, width, 4);
    PutLittleEndian(info, height, 4);
    PutLittleEndian(info, 1, 2);   // planes
    PutLittleEndian(info, 24, 2);  // bits a pixel
    info.append(24, '\0');         // no compression, sizes and colours left to the reader
    std::string out =
        "BITMAP\n\t0 0 100 100\n" + Block(file, file.size(), false) + Block(info, info.size(), false);
    if (damaged) return out + "\t" + std::to_string(size) + " BASE64 0\n\tAAAA\n";
    return out + Block(DeflatedZeros(size), size, true);
}

std::string Native(std::size_t shapes, const std::string& body) {
    return "$$TessarayText$$\n1\n[LAYERS]\n\t0\n\t1\n[LAYER]\n\tLayer1\n\t7\n\t" + std::to_string(shapes) +
           "\n" + body + "[EOF]\n";
}

const std::string& BigBitmap() {
    static const std::string shape = BitmapShape(16384, 5461, false);  // 255.98 MiB of pixels
    return shape;
}

// ---- The inputs

// One LWPOLYLINE of that many vertices of bulge 1, or as many as fit.
std::string Bulges(std::size_t vertices) {
    const std::string tail = "0\nENDSEC\n0\nEOF\n";
    std::string body;
    std::size_t n = 0;
    for (; n < vertices; ++n) {
        const std::string vertex = "10\n" + std::to_string(n) + "\n20\n0\n42\n1\n";
        if (body.size() + vertex.size() + tail.size() + 100 > kMostBytes) break;
        body += vertex;
    }
    return "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n0\n90\n" + std::to_string(n) + "\n70\n0\n" + body +
           tail;
}

// That many 256 MiB bitmaps, or as many as fit.
std::string Bitmaps(std::size_t count) {
    count = std::min(count, (kMostBytes - 100) / BigBitmap().size());
    std::string body;
    for (std::size_t i = 0; i < count; ++i)
        body += BigBitmap();
    return Native(count, body);
}

std::string Numbers8M() {
    std::string line(16'000'000 - 1, ' ');
    for (std::size_t i = 0; i < line.size(); i += 2)
        line[i] = '1';
    return "[ELEMENT]\nLINE\n" + line + "\n[END]\n";
}

std::string Text20MB() {
    const std::string head = "[ELEMENT]\nSTRING\n1 2 6 3.5 0 0.25 7\n ", tail = "\n[END]\n";
    return head + std::string(kMostBytes - head.size() - tail.size(), 'x') + tail;
}

std::string Groups1M() {
    const std::size_t n = 1'000'000;
    std::string body;
    body.reserve(18 * n + 100);
    for (std::size_t i = 0; i < n; ++i)
        body += "GROUP\n\t1\n\t0 0 0\n";
    body += "LINE\n\t0 0 10 10 0 0 0 1 3 5 2\n";
    for (std::size_t i = 0; i < n; ++i)
        body += "0\n";
    return Native(2, body + "LINE\n\t0 0 20 0 0 0 0 1 3 5 2\n");
}

std::string DamagedBitmaps10k() {
    const std::string shape = BitmapShape(4, 4, true);
    std::string body;
    for (int i = 0; i < 10'000; ++i)
        body += shape;
    return Native(10'000, body);
}

struct Input {
    const char* name;
    std::string (*make)();
};

const Input kInputs[] = {
    {"bulges100k.dxf", [] { return Bulges(100'000); }},
    {"bulges20MB.dxf", [] { return Bulges(SIZE_MAX); }},
    {"bitmap256MiB.qfd", [] { return Bitmaps(1); }},
    {"bitmap256MiBx4.qfd", [] { return Bitmaps(4); }},
    {"bitmaps20MB.qfd", [] { return Bitmaps(SIZE_MAX); }},
    {"numbers8M.xdf", Numbers8M},
    {"text20MB.xdf", Text20MB},
    {"groups1M.qfd", Groups1M},
    {"damaged10k.qfd", DamagedBitmaps10k},
};

// The input's path in dir; empty when it would pass 20 MB.
std::string Write(const Input& input, const fs::path& dir) {
    const std::string content = input.make();
    if (content.size() > kMostBytes) return std::string();
    const std::string path = (dir / input.name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

// ---- The runs

struct Place : bench::ProgramHome {
    std::map<std::string, std::string> inputs;

    Place() : bench::ProgramHome("hostile") {
        // The first start writes the settings: not what is measured.
        const std::string first = (dir / "first.qfd").string();
        std::ofstream(first, std::ios::binary) << Native(1, "LINE\n\t0 0 10 10 0 0 0 1 3 5 2\n");
        bench::RunProgram({bench::Program(), "-pt", first, (dir / "first.pdf").string()}, env, {}, kLimits);
    }

    // Written at the first call.
    const std::string& Path(const Input& input) {
        const auto it = inputs.find(input.name);
        if (it != inputs.end()) return it->second;
        const std::string& path = inputs[input.name] = Write(input, dir);
        ::malloc_trim(0);  // the freed text out of this process's memory, which a child starts from
        return path;
    }
};

Place& ThePlace() {
    static Place place;
    return place;
}

std::vector<std::string>& Verdicts() {
    static std::vector<std::string> lines;
    return lines;
}

std::string Cut(std::string text, std::size_t most) {
    if (text.size() <= most) return text;
    while (most > 0 && (static_cast<unsigned char>(text[most]) & 0xc0) == 0x80)
        --most;  // not within a UTF-8 character
    return text.substr(0, most) + "...";
}

std::string Verdict(const bench::ProgramRun& run, bool printed) {
    char figures[64];
    std::snprintf(figures, sizeof figures, "%.2f s, %.0f MB", run.process, run.peakMB);
    const std::string at = std::string(" (") + figures + ")";
    if (run.overTime) return "misses: killed at the time limit" + at;
    if (run.overMemory) return "misses: killed at the memory limit" + at;
    if (run.signal != 0) return std::string("misses: ") + strsignal(run.signal) + at;
    const bool within = run.process < kGoalSeconds && run.peakMB < kGoalMB;
    const std::string holds = within ? "holds: " : "misses: ";
    if (run.status == 0 && printed) return holds + "printed" + at;
    if (run.status == 1 && !run.lastMessage.empty())
        return holds + "refused" + at + ": " + Cut(run.lastMessage, 100);
    return "misses: exit status " + std::to_string(run.status) + (printed ? "" : ", no PDF") + at;
}

void PrintHostile(benchmark::State& state, const Input& input) {
    Place& place = ThePlace();
    const std::string& path = place.Path(input);
    if (path.empty()) {
        state.SkipWithError("the input passes 20 MB");
        return;
    }
    const std::string pdf = (place.dir / "out.pdf").string();
    bench::ProgramRun run;
    for (auto _ : state) {
        fs::remove(pdf);
        run = bench::RunProgram({bench::Program(), "-pt", path, pdf}, place.env, {}, kLimits);
        state.SetIterationTime(run.process);
    }
    const std::string verdict = Verdict(run, fs::exists(pdf));
    state.SetLabel(verdict);
    Verdicts().push_back(std::string(input.name) + ": " + verdict);
    state.counters["wall_s"] = run.process;
    state.counters["cpu_s"] = run.cpu;
    state.counters["peak_MB"] = run.peakMB;
    state.counters["exit_status"] = run.signal != 0 ? -run.signal : run.status;
    state.counters["file_MB"] = fs::file_size(path) / 1e6;
    state.counters["load1"] = bench::Load1();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write") {
        // The inputs for a look or a debugger.
        for (const Input& input : kInputs)
            if (Write(input, argv[2]).empty()) return 1;
        return 0;
    }
    // A crashing child leaves no core of hundreds of megabytes behind.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    for (const Input& input : kInputs)
        benchmark::RegisterBenchmark((std::string("BM_PrintHostile/") + input.name).c_str(), PrintHostile,
                                     input)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    std::cerr << "\nGoal: printed or refused in under " << kGoalSeconds << " s and " << kGoalMB
              << " MB; load " << bench::Load1() << "\n";
    for (const std::string& line : Verdicts())
        std::cerr << line << "\n";
    benchmark::Shutdown();
    return 0;
}
