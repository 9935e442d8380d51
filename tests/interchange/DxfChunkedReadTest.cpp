// A DXF file read a piece at a time gives the drawing and the messages of the same bytes read whole:
// pairs split between pieces (also in the middle of a line end), pairs longer than a piece, line ends
// of either kind, a byte order mark, files cut short anywhere and files that are no DXF.
#include <random>

#include "DxfTestSupport.h"
#include "bench/BenchDxf.h"
#include "platform/Archive.h"
#include "platform/File.h"

using namespace dxftest;

namespace {

// What a reading leaves: the reader's result, its messages, the layers and each shape's bytes.
std::vector<std::string> Outcome(MTessarayDoc& file, int result, const MessageBoxRecorder& told) {
    std::vector<std::string> outcome{"result " + std::to_string(result)};
    for (const auto& message : told.Messages())
        outcome.push_back("message " + message.text);
    const MDocShapeArray* layers = file.GetLayers();
    for (int i = 0; i < layers->GetLayerCount(); ++i) {
        const MLayer* layer = layers->GetLayer(i);
        outcome.push_back("layer " + layer->GetName());
        for (int k = 0; k < layer->GetSize(); ++k) {
            CMemFile stored;
            {
                CArchive ar(&stored, CArchive::store);
                ar << static_cast<const CObject*>(layer->GetAt(k));
            }
            outcome.emplace_back(stored.Data().begin(), stored.Data().end());
        }
    }
    return outcome;
}

std::vector<std::string> ReadWhole(const std::string& bytes) {
    MTessarayDoc file;
    MessageBoxRecorder told;
    MDXFReader reader(file);
    const int result = reader.ReadBytes(bytes);
    return Outcome(file, result, told);
}

std::vector<std::string> ReadInPieces(const std::string& path, std::size_t pieceSize) {
    MTessarayDoc file;
    MessageBoxRecorder told;
    MDXFReader reader(file);
    reader.SetPieceSize(pieceSize);
    const int result = reader.Read(path);
    return Outcome(file, result, told);
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

class DxfPieces : public DxfTest {
protected:
    void ExpectSameInPieces(const std::string& bytes, std::initializer_list<std::size_t> pieceSizes) {
        const std::string path = MakeTempDir("dxf-pieces") + "/drawing.dxf";
        WriteFileBytes(path, bytes);
        const std::vector<std::string> whole = ReadWhole(bytes);
        for (std::size_t size : pieceSizes) {
            SCOPED_TRACE("piece size " + std::to_string(size));
            EXPECT_EQ(ReadInPieces(path, size), whole);
        }
    }
};

TEST_F(DxfPieces, PairsAcrossPiecesReadAsWhole) {
    // A long MTEXT value is longer than the small pieces: the buffer grows for it.
    const std::string longText(3000, 'x');
    const std::string drawing =
        bench::MakeDxf(120) + Dxf("0|SECTION|2|ENTITIES|0|MTEXT|8|L|10|1|20|2|40|2.5|3|" + longText + "|1|" +
                                  longText + "|0|ENDSEC|0|EOF");
    ExpectSameInPieces(drawing, {1, 2, 3, 7, 64, 4096, MDXFPairSource::kDefaultPieceSize});
    // "\r" and "\n" of one line end fall into two pieces at odd sizes.
    ExpectSameInPieces(WithCrLf(drawing), {2, 3, 5, 63});
    ExpectSameInPieces("\xEF\xBB\xBF" + WithCrLf(drawing), {1, 4, 97});
    // The last line without its line end.
    ExpectSameInPieces(drawing.substr(0, drawing.size() - 1), {1, 6, 1000});
}

TEST_F(DxfPieces, FilesCutShortAnywhereKeepWhatWasRead) {
    const std::string drawing = bench::MakeDxf(60);
    std::mt19937 rng(3);
    std::vector<std::size_t> cuts = {0, 1, 2, 4, 9, drawing.size() - 1, drawing.size() - 4};
    for (int i = 0; i < 12; ++i)
        cuts.push_back(rng() % drawing.size());
    for (std::size_t cut : cuts) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        ExpectSameInPieces(drawing.substr(0, cut), {3, 50, 4096});
    }
    // Some of the cuts leave a drawing with the message that the file was cut short.
    const std::vector<std::string> half = ReadWhole(drawing.substr(0, drawing.size() / 2));
    EXPECT_EQ(half.front(), "result 1");
    EXPECT_NE(std::find_if(
                  half.begin(), half.end(),
                  [](const std::string& s) { return s.find("途中で終わっています") != std::string::npos; }),
              half.end());
}

TEST_F(DxfPieces, FilesThatAreNoDxfAreRefusedAlike) {
    ExpectSameInPieces("AutoCAD Binary DXF\r\n\x1a", {1, 5, 4096});
    ExpectSameInPieces("hello\nworld\n", {1, 4096});
    ExpectSameInPieces("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n", {1, 3});
    ExpectSameInPieces(std::string(5000, '1') + "\n", {7, 4096});
    const std::vector<std::string> refused = ReadWhole("hello\nworld\n");
    EXPECT_EQ(refused.front(), "result 0");
    EXPECT_EQ(refused.size(), 2u);  // the result and the refusal: nothing read
}

}  // namespace
