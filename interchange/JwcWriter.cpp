#include "interchange/JwcWriter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/JwcFileIo.h"
#include "interchange/JwcReader.h"
#include "interchange/JwcShapeExport.h"
#include "model/shapes/CadShape.h"
#include "platform/Cp932.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "resources/ResourceIds.h"

namespace {

constexpr std::string_view kSignatureShort = "jw_cad(c)data.......a...m...............";
constexpr std::string_view kSignatureFloat = "jw_cad(c)data.......a.f.m...............";
constexpr double kPaperWidths[] = {297, 420, 594, 841, 1189, 1682, 2378, 3364, 4756, 10000, 50000, 100000};
constexpr int kPaperCodes[] = {4, 3, 2, 1, 0, 20, 30, 40, 50, 100, 500, 1000};
constexpr double kZero = 2.220446e-15;

// A 200-byte text block: the text, blanks up to byte 198, a line feed.
void AppendTextBlock(std::string& out, const std::string& text) {
    std::string block = text.substr(0, MJWCWriter::kBlockSize - 1);
    block.resize(MJWCWriter::kBlockSize - 1, ' ');
    block += '\n';
    out += block;
}

}  // namespace

MJWCWriter::MJWCWriter(MTessarayDoc& doc) : m_doc(doc) {
    std::copy(std::begin(kJWCTextKindHeights), std::end(kJWCTextKindHeights), std::begin(m_heights));
}

MJWCWriter::~MJWCWriter() = default;

void MJWCWriter::ComputeScale() {
    const double a = m_doc.GetPaperInfo().GetScale();
    if (a <= 1) {
        m_scaleFlag = 1;
        const double inverse = 1.0 / a;
        double n = std::ceil(inverse - kZero);
        if (!(n >= 1)) n = 1;
        m_denominator = static_cast<int>(std::min<double>(n, kMaxDenominator));
        m_reciprocal = 1.0;
    } else {
        // The exact reciprocal, so that the file reads back at the scale it was written with.
        m_scaleFlag = 0;
        m_denominator = 1;
        m_reciprocal = 1.0 / a;
    }
}

BOOL MJWCWriter::WriteHeader(std::string& out) {
    ComputeScale();
    out += m_scaleFlag ? kSignatureShort : kSignatureFloat;
    out.append(64, '\0');
    out.append(95, ' ');
    out += '\n';
    return TRUE;
}

BOOL MJWCWriter::WriteSettings(std::string& out) {
    std::copy(std::begin(kJWCTextKindHeights), std::end(kJWCTextKindHeights), std::begin(m_heights));
    const double width = m_doc.GetPaperInfo().GetSize().cx;
    m_paperWidth = 420;
    m_paperCode = 3;
    for (std::size_t i = 0; i < std::size(kPaperWidths); ++i) {
        if (width < kPaperWidths[i] * 1.1) {
            m_paperWidth = kPaperWidths[i];
            m_paperCode = kPaperCodes[i];
            break;
        }
    }
    m_factor = 518.0 / m_paperWidth / (m_scaleFlag ? m_denominator : m_reciprocal);
    const double paperScale = m_doc.GetPaperInfo().GetScale();

    m_lines.RemoveAll();
    m_arcs.RemoveAll();
    m_strings.RemoveAll();
    m_marks.RemoveAll();
    m_texts.RemoveAll();
    m_replaced = 0;
    m_marks.AddNew();  // entry 0 stays empty
    const MDocShapeArray* layers = m_doc.GetLayers();
    for (int i = 0; i < layers->GetLayerCount(); ++i) {
        const MLayer* layer = layers->GetLayer(i);
        const int jwLayer = std::min(i, 255);
        for (int j = 0; j < layer->GetSize(); ++j) {
            const MCadShape* shape = layer->GetAt(j);
            if (!shape) continue;
            ExportShapeJwcLines(*shape, m_lines, jwLayer, m_factor, paperScale);
            ExportShapeJwcArcs(*shape, m_arcs, jwLayer, m_factor, paperScale);
            ExportShapeJwcStrings(*shape, m_strings, jwLayer, m_factor, paperScale, m_texts, m_heights);
            ExportShapeJwcPoints(*shape, m_marks, jwLayer, m_factor, paperScale);
        }
    }
    // The count is the number of entries the reader takes after the empty entry 0; the block
    // holds 100 of them.
    const int marks = m_marks.GetSize() - 1;
    m_markCount = std::min(marks, kMaxMarks);
    m_droppedMarks = marks - m_markCount;

    std::string line = std::to_string(m_lines.GetSize()) + "," + std::to_string(m_arcs.GetSize()) + "," +
                       std::to_string(m_strings.GetSize()) + ",0," + std::to_string(m_markCount) +
                       ",3,2,1,1,";
    line += m_scaleFlag ? std::to_string(m_denominator) : FormatExact(m_reciprocal);
    line += ",0," + std::to_string(m_paperCode) + ",2,1,155.861,202.944,5,10,100,0,0,0,1,2,3,5,5,0,0,0,518,0";
    AppendTextBlock(out, line);
    return TRUE;
}

BOOL MJWCWriter::WriteFixedBlock(std::string& out) {
    AppendTextBlock(out,
                    "0.5,0.0,3.0,15.0,1,1,0,0,0,1,0.0,0.0,0.0,0.0,0.0,0.0,0,0,0,1000.000,1000.000,100.000,"
                    "200.000,300.000,500.000,0,0,1");
    return TRUE;
}

BOOL MJWCWriter::WriteStringRange(std::string& out) {
    char end[8];
    std::snprintf(end, sizeof end, "%04x", static_cast<unsigned>(m_texts.GetRunningOffset() & 0xFFFF));
    AppendTextBlock(
        out, std::string("6834:0000,6834:") + end + ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0");
    return TRUE;
}

BOOL MJWCWriter::WriteRecords(std::string& out) {
    // Entries past the block were counted as dropped above; only 101 entries are written.
    m_marks.AppendMarkBlockTo(out);

    static const int kColors[11] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
    static const int kSizes[11] = {20, 20, 25, 30, 40, 50, 60, 70, 80, 90, 100};
    static const int kSpacings[11] = {0, 0, 0, 5, 5, 5, 10, 10, 10, 10, 10};
    for (int v : kColors)
        AppendJwc16(out, v);
    for (int v : kSizes)
        AppendJwc16(out, v);
    for (int v : kSizes)
        AppendJwc16(out, v);
    for (int v : kSpacings)
        AppendJwc16(out, v);

    for (int i = 0; i < 16; ++i) {
        if (m_scaleFlag)
            AppendJwc16(out, m_denominator);
        else
            AppendJwcFloat(out, ToJWCFloat(m_reciprocal));
    }
    out.append(544, '\x01');
    for (int i = 0; i < 16; ++i)
        out += static_cast<char>(i * 16);

    m_lines.AppendTo(out);
    m_arcs.AppendTo(out);
    m_strings.AppendTo(out);
    m_texts.AppendTo(out);

    const MDocShapeArray* layers = m_doc.GetLayers();
    for (int i = 0; i < 256; ++i) {
        std::string field;
        if (const MLayer* layer = layers->GetLayer(i)) {
            std::size_t replaced = 0;
            field = Utf8ToCp932(Cp932Cut(layer->GetName(), 7), &replaced);
            m_replaced += static_cast<int>(replaced);
        }
        field.resize(8, '\0');
        out += field;
    }
    out.append(16 * 16, '\0');
    return TRUE;
}

std::string MJWCWriter::BuildFile() {
    std::string out;
    out.reserve(4096);
    if (!WriteHeader(out) || !WriteSettings(out) || !WriteFixedBlock(out) || !WriteStringRange(out) ||
        !WriteRecords(out))
        return {};
    return out;
}

int MJWCWriter::Write(const std::string& path) {
    const std::string bytes = BuildFile();
    if (bytes.empty()) {
        AfxMessageBox(AfxLoadString(IDS_CANNOT_OPEN_FILE), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    // The same words as a failed save of the drawing itself: a full disk says so.
    if (const int error = WriteFileAtomically(path, bytes)) {
        MTessarayDoc::ReportFileError(error);
        return 0;
    }
    if (m_replaced + m_texts.GetReplacedCount() > 0) MTessarayDoc::ReportCharactersReplaced();
    if (m_droppedMarks > 0)
        AfxMessageBox(AfxFormatString1(IDS_JWC_MARKS_DROPPED, std::to_string(m_droppedMarks)),
                      MB_OK | MB_ICONWARNING);
    if (m_texts.HasOverflowed()) AfxMessageBox(AfxLoadString(IDS_JWC_TEXTS_DROPPED), MB_OK | MB_ICONWARNING);
    return 1;
}
