// Opening a drawing of a few kilobytes whose embedded object's record inflates to 16 MB of compound
// file: every FAT slot points at sector 0 and the FAT lists that sector 32,000 times, so a reader
// that bounded its chains by the FAT's length would copy gigabytes. Reports the time of the open
// and the peak resident memory above the size before it (peak_growth_MB). Goals: under 1 s, a few
// MB above the record itself.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ProcessMemory.h"
#include "document/TessarayDoc.h"
#include "model/helpers/TextStream.h"
#include "platform/Strings.h"
#include "view/ClassRegistry.h"

namespace {

using benchmem::ResetPeak;
using benchmem::StatusMB;

constexpr std::size_t kSector = 512;
constexpr std::size_t kSectors = 32768;
constexpr std::uint32_t kFatSectors = 32000;

void Put32(std::vector<BYTE>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v[at + i] = BYTE(x >> (8 * i));
}

// A container header, then the compound file: the header, sector 0 (the FAT, all zero), sector 1 (the
// directory: a root entry with a class id), then DIFAT sectors listing sector 0 as every FAT sector.
std::vector<BYTE> LoopingRecord() {
    std::vector<BYTE> record(16 + (kSectors + 1) * kSector, 0);
    Put32(record, 12, static_cast<std::uint32_t>(record.size() - 16));
    const std::size_t cfb = 16;
    const BYTE signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(&record[cfb], signature, 8);
    record[cfb + 24] = 0x3E, record[cfb + 26] = 3, record[cfb + 28] = 0xFE, record[cfb + 29] = 0xFF;
    record[cfb + 30] = 9, record[cfb + 32] = 6;
    Put32(record, cfb + 44, kFatSectors);
    Put32(record, cfb + 48, 1);  // the directory
    Put32(record, cfb + 56, 4096);
    Put32(record, cfb + 60, 0xFFFFFFFE);
    const std::uint32_t difat = 2, difatSectors = (kFatSectors - 109 + 126) / 127;
    Put32(record, cfb + 68, difat);
    Put32(record, cfb + 72, difatSectors);
    for (std::uint32_t k = 0; k < difatSectors; ++k)
        Put32(record, cfb + (difat + k + 1) * kSector + 508, difat + k + 1);
    const std::size_t root = cfb + 2 * kSector;
    const char16_t name[] = u"Root Entry";
    for (std::size_t i = 0; name[i]; ++i)
        record[root + 2 * i] = BYTE(name[i]);
    record[root + 64] = 22, record[root + 66] = 5;
    Put32(record, root + 68, 0xFFFFFFFF), Put32(record, root + 72, 0xFFFFFFFF),
        Put32(record, root + 76, 0xFFFFFFFF);
    const BYTE clsid[16] = {0x20, 0x08, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    std::memcpy(&record[root + 80], clsid, 16);
    Put32(record, root + 116, 0xFFFFFFFE);
    return record;
}

std::string Drawing() {
    const std::vector<BYTE> record = LoopingRecord();
    SetBinaryBlockCompression(true);
    std::ostringstream block;
    WriteBinaryBlock(block, record.data(), static_cast<int>(record.size()), TRUE);
    return "$$TessarayText$$\n1\n[LAYERS]\n\t0\n\t1\n[LAYER]\n\tLayer1\n\t7\n\t1\nOLE2\n\t10 20 300 150\n" +
           block.str() + "[EOF]\n";
}

void BM_OpenLoopingObject(benchmark::State& state) {
    RegisterViewClasses();
    AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDOK; });
    const std::string drawing = Drawing();
    const double before = StatusMB("VmRSS");
    ResetPeak();
    for (auto _ : state) {
        MTessarayDoc doc;
        if (!doc.OpenNativeBytes(drawing, "looping.qfd")) state.SkipWithError("open failed");
    }
    state.counters["file_KB"] = drawing.size() / 1024.0;
    state.counters["record_MB"] = (16 + (kSectors + 1) * kSector) / (1024.0 * 1024.0);
    state.counters["peak_growth_MB"] = StatusMB("VmHWM") - before;
}

}  // namespace

BENCHMARK(BM_OpenLoopingObject)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
