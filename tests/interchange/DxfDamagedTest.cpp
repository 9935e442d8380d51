// Damaged and truncated files: the reader gives message 62700 or a partial drawing, never a crash,
// a leak or a hang. The fuzz target fuzz/dxf_reader.cpp does the same on arbitrary bytes.
#include <random>

#include "DxfTestSupport.h"

using namespace dxftest;

namespace {

// The real files when present, and a small drawing of every entity kind in any case.
std::vector<std::string> Samples() {
    std::vector<std::string> samples;
    samples.push_back(Dxf(
        "0|SECTION|2|HEADER|9|$ACADVER|1|AC1015|9|$DWGCODEPAGE|3|ANSI_932|0|ENDSEC|"
        "0|SECTION|2|TABLES|0|TABLE|2|LTYPE|0|LTYPE|2|D|49|1|49|-1|0|ENDTAB|0|TABLE|2|LAYER|0|LAYER|2|A|62|3|"
        "6|D|"
        "0|ENDTAB|0|TABLE|2|STYLE|0|STYLE|2|V|70|4|0|ENDTAB|0|ENDSEC|0|SECTION|2|BLOCKS|"
        "0|BLOCK|2|B|10|0|20|0|0|LINE|8|0|10|0|20|0|11|1|21|0|0|SOLID|10|0|20|0|11|1|21|0|12|1|22|1|0|ENDBLK|"
        "0|BLOCK|2|C|10|0|20|0|0|INSERT|2|B|10|1|20|1|0|INSERT|2|C|10|2|20|2|0|ENDBLK|0|ENDSEC|"
        "0|SECTION|2|ENTITIES|0|LINE|8|A|10|0|20|0|11|5|21|5|0|CIRCLE|10|0|20|0|40|2|0|ARC|10|0|20|0|40|1|50|"
        "10|51|20|"
        "0|TEXT|7|V|10|0|20|0|40|1|72|1|11|1|21|1|1|\x93\xFA%%c|0|POLYLINE|70|5|0|VERTEX|10|0|20|0|0|VERTEX|"
        "10|1|20|2|"
        "0|VERTEX|10|3|20|1|0|SEQEND|0|INSERT|66|1|2|C|10|5|20|5|41|2|42|3|50|30|0|ATTRIB|10|0|20|0|40|1|1|x|"
        "0|SEQEND|0|DIMENSION|2|B|0|MTEXT|10|0|20|0|40|1|3|{\\fA;long "
        "|1|text\\Pline|0|LWPOLYLINE|10|0|20|0|10|1|"
        "20|1|0|LEADER|10|0|20|0|10|2|20|2|0|ENDSEC|0|EOF"));
    const std::string dir = TestDataDir();
    for (const char* name :
         {"dxf/issue42.dxf", "dxf/supported_entities.dxf", "dxf/blocks2.dxf", "dxf/small_r13.dxf"}) {
        const std::string path = TestDataFile(name);
        if (!path.empty()) samples.push_back(ReadFileBytes(path));
    }
    return samples;
}

class DxfDamaged : public DxfTest {
protected:
    // Reads the bytes into a fresh document; the reader must answer 0 with message 62700, or 1.
    void ReadDamaged(const std::string& bytes) {
        MessageBoxRecorder recorder;
        MTessarayDoc d;
        MDXFReader reader(d);
        reader.SetExpansionLimit(1u << 20);
        const int result = reader.ReadBytes(bytes);
        ASSERT_TRUE(result == 0 || result == 1);
        // A reading tells at most once what it could not take.
        if (result == 0)
            EXPECT_TRUE(recorder.Saw(62700));
        else
            EXPECT_LE(recorder.Messages().size(), 1u);
        // A refused file leaves the document as it was.
        if (result == 1) EXPECT_GE(d.GetLayers()->GetLayerCount(), 1);
    }
};

TEST_F(DxfDamaged, TruncatedAnywhere) {
    for (const std::string& sample : Samples()) {
        const std::size_t step = std::max<std::size_t>(1, sample.size() / 150);
        for (std::size_t cut = 0; cut < sample.size(); cut += step)
            ReadDamaged(sample.substr(0, cut));
    }
}

TEST_F(DxfDamaged, BytesChangedLinesDroppedOrRepeated) {
    std::mt19937 rng(7);
    for (const std::string& sample : Samples()) {
        for (int round = 0; round < 60; ++round) {
            std::string bytes = sample;
            const int changes = 1 + static_cast<int>(rng() % 8);
            for (int k = 0; k < changes; ++k) {
                const std::size_t at = rng() % bytes.size();
                switch (rng() % 4) {
                    case 0:
                        bytes[at] = static_cast<char>(rng());
                        break;
                    case 1:
                        bytes.erase(at, std::min<std::size_t>(bytes.size() - at, rng() % 40));
                        break;
                    case 2:
                        bytes.insert(at, bytes.substr(at / 2, rng() % 64));
                        break;
                    default:
                        bytes.insert(at, "\n");
                        break;
                }
                if (bytes.empty()) bytes = "0";
            }
            ReadDamaged(bytes);
        }
    }
}

TEST_F(DxfDamaged, OddStructures) {
    for (const char* pairs : {
             "0|SECTION|0|SECTION|0|SECTION",                          // sections without names
             "0|SECTION|2|BLOCKS|0|ENDBLK|0|ENDBLK|0|BLOCK|0|ENDBLK",  // blocks that never opened
             "0|SECTION|2|BLOCKS|0|BLOCK|2|A|0|LINE|10|0|20|0|11|1|21|1|0|ENDSEC|0|SECTION|2|BLOCKS|0|BLOCK|"
             "2|A",
             "0|SECTION|2|BLOCKS|0|BLOCK|2|A|0|INSERT|2|A|0|INSERT|2|A|0|ENDBLK|0|ENDSEC",  // places itself
             "0|SECTION|2|ENTITIES|0|POLYLINE|0|VERTEX|10|1e999|20|nan|0|VERTEX|10|-inf|0|POLYLINE|0|SEQEND",
             "0|SECTION|2|ENTITIES|0|CIRCLE|40|1e308|10|1e308|0|ARC|40|1|50|1e300|51|-1e300|0|TEXT|40|inf|1|"
             "x",
             "0|SECTION|2|ENTITIES|0|INSERT|2|*|41|0|42|1e308|0|VERTEX|0|SEQEND|0|SEQEND",
             "0|SECTION|2|ENTITIES|0|ARC|40|1|50|1e300|51|1e300|0|ARC|40|1|50|1e17|51|1e17",
             "0|SECTION|2|TABLES|0|TABLE|2|LTYPE|0|LTYPE|2|X|49|1e308|49|-1e308|49|nan|0|ENDTAB|0|TABLE|0|"
             "ENDTAB",
             "99999999999999999999|SECTION|-2147483649|ENTITIES|  0|  LINE  ",
             "0|SECTION|2|ENTITIES|0|MTEXT|40|1|1|\\|0|MTEXT|40|1|1|%%|0|MTEXT|40|1|1|\\S^;|0|TEXT|40|1|1|"
             "\\U+D800",
         })
        ReadDamaged(Dxf(pairs));
    ReadDamaged("");
    ReadDamaged(std::string(100000, '\n'));
    ReadDamaged(std::string(3, '\0') + "0\nSECTION\n");
}

}  // namespace
