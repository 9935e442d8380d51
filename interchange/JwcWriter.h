// The export of the drawing as a JW_CAD drawing (".jwc"): every shape gives its records through
// the ExportShapeJwc functions (JwcShapeExport.h), and the writer lays the blocks out in the order
// the JW_CAD reader reads them. The file is built in memory and replaces the target only when
// complete.
#pragma once

#include <string>

#include "document/Interchange.h"
#include "interchange/JwcRecords.h"

class MTessarayDoc;

class MJWCWriter : public MDocumentWriter {
public:
    // Marks the file can hold besides the empty entry 0.
    static constexpr int kMaxMarks = MJWCVPointArray::kMarkBlockEntries - 1;
    static constexpr int kMaxDenominator = 30000;
    static constexpr std::size_t kBlockSize = 200;

    explicit MJWCWriter(MTessarayDoc& doc);
    ~MJWCWriter() override;

    // Writes the file. 0 with message 62700 when it cannot be written (the target is then left as
    // it was). Marks beyond 100 and texts beyond the 65,535-byte string block are left out with a
    // warning (62830, 62831); the file is still written and the result is 1.
    int Write(const std::string& path) override;
    // The file's bytes, as Write would write them; the record arrays hold what was exported.
    std::string BuildFile();

    // Steps of the layout; each appends its block(s).
    BOOL WriteHeader(std::string& out);
    BOOL WriteSettings(std::string& out);
    BOOL WriteFixedBlock(std::string& out);
    BOOL WriteStringRange(std::string& out);
    BOOL WriteRecords(std::string& out);

    double m_heights[11];
    int m_scaleFlag = 1;  // 1: integer denominator; 0: real reciprocal (enlargements)
    int m_denominator = 1;
    double m_reciprocal = 1.0;
    double m_paperWidth = 420;  // the JW paper's width in millimetres
    int m_paperCode = 3;
    double m_factor = 1.0;  // drawing coordinates to file units
    MJWCLineArray m_lines;
    MJWCArcArray m_arcs;
    MJWCStringArray m_strings;
    MJWCVPointArray m_marks;
    int m_markCount = 0;  // marks written (entries 1..m_markCount)
    int m_droppedMarks = 0;
    // Characters of layer names that code page 932 lacks (written as '?').
    int m_replaced = 0;
    MJWCStringList m_texts;

private:
    void ComputeScale();

    MTessarayDoc& m_doc;
};
