// The DXF export: the open drawing as an ASCII DXF file of the R12 layout (HEADER, TABLES with the
// program's line styles, two text styles and the layers, ENTITIES), every shape writing its own
// entities. The file is code page 932 (as its header says) with CRLF line ends, and it replaces the
// target only when it was written completely.
#pragma once

#include <string>

#include "document/Interchange.h"
#include "model/geometry/FloatPoint.h"

class MDXFOutStream;
class MTessarayDoc;

class MDXFWriter : public MDocumentWriter {
public:
    explicit MDXFWriter(MTessarayDoc& doc);
    ~MDXFWriter() override;

    // Under the wait cursor; nonzero on success. A file that cannot be written completely gives
    // message 62700 and 0, and the target stays as it was.
    int Write(const std::string& path) override;

    // The file's text (UTF-8, "\n"); characters that code page 932 cannot hold are written as
    // "\U+XXXX" escapes, which DXF readers resolve.
    std::string BuildText() const;
    // What every coordinate loses: the paper's bottom-left corner becomes (0, 0).
    MFloatPoint GetOriginOffset() const;

    // The layer name entities carry: a layer without a name goes to layer "0".
    static std::string DxfLayerName(const std::string& name);

private:
    void WriteHeader(MDXFOutStream& out) const;
    void WriteLineTypes(MDXFOutStream& out) const;
    void WriteStyles(MDXFOutStream& out) const;
    void WriteLayers(MDXFOutStream& out) const;
    void WriteEntities(MDXFOutStream& out) const;

    MTessarayDoc& m_doc;
};

// An empty line-type name (group 6) names no line type that a reader could find: it becomes
// "CONTINUOUS". The text is a sequence of DXF groups as MDXFOutStream writes them.
void FillEmptyLineTypes(std::string& groups);
// Characters outside code page 932 as "\U+XXXX" (pairs of them beyond the basic plane).
std::string EscapeForCp932(const std::string& text);
