#include "interchange/DxfWriter.h"

#include <cmath>
#include <cstdio>
#include <set>

#include "document/Layer.h"
#include "document/MirrorOStream.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "model/settings/LineStyle.h"
#include "model/shapes/CadShape.h"
#include "platform/Cp932.h"
#include "platform/Strings.h"
#include "platform/ui/Cursor.h"
#include "resources/ResourceIds.h"

namespace {

void WriteVariable(MDXFOutStream& out, const char* name) {
    out.WriteString(9, name);
}

void TableStart(MDXFOutStream& out, const char* name, int count) {
    out.WriteString(0, "TABLE");
    out.WriteString(2, name);
    out.WriteInt(70, count);
}

// Decodes the UTF-8 sequence at text[i] (length len) to its code point.
unsigned CodePoint(const std::string& text, std::size_t i, std::size_t len) {
    const auto b = static_cast<unsigned char>(text[i]);
    unsigned cp = len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < len; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    return cp;
}

void AppendEscape(std::string& out, unsigned unit) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "\\U+%04X", unit);
    out += buf;
}

}  // namespace

void FillEmptyLineTypes(std::string& groups) {
    std::string out;
    out.reserve(groups.size() + 64);
    std::size_t pos = 0;
    // The next line without its "\n"; empty past the end.
    const auto nextLine = [&]() {
        std::size_t end = groups.find('\n', pos);
        if (end == std::string::npos) end = groups.size();
        const std::string_view line(groups.data() + pos, end - pos);
        pos = end + 1;
        return line;
    };
    while (pos < groups.size()) {
        const std::string_view code = nextLine();
        out.append(code);
        out += '\n';
        if (pos > groups.size()) break;
        const std::string_view value = nextLine();
        out.append(code == "  6" && value.empty() ? std::string_view("CONTINUOUS") : value);
        out += '\n';
    }
    groups.swap(out);
}

std::string EscapeForCp932(const std::string& text) {
    if (IsAscii(text)) return text;
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += text[i++];
            continue;
        }
        const std::size_t len = std::min(text.size() - i, Utf8SequenceLength(b));
        const std::string_view ch(text.data() + i, len);
        if (len > 1 && Utf8ToCp932(ch) == "?") {
            const unsigned cp = CodePoint(text, i, len);
            if (cp >= 0x10000) {
                AppendEscape(out, 0xD800 + ((cp - 0x10000) >> 10));
                AppendEscape(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                AppendEscape(out, cp);
            }
        } else {
            out.append(ch);
        }
        i += len;
    }
    return out;
}

MDXFWriter::MDXFWriter(MTessarayDoc& doc) : m_doc(doc) {}
MDXFWriter::~MDXFWriter() = default;

std::string MDXFWriter::DxfLayerName(const std::string& name) {
    return name.empty() ? "0" : name;
}

MFloatPoint MDXFWriter::GetOriginOffset() const {
    const MPaperInfo& paper = m_doc.GetPaperInfo();
    const MFloatPoint& offset = paper.GetOriginOffset();
    return MFloatPoint(-offset.x, -(paper.GetSize().cy / paper.GetScale()) - offset.y);
}

int MDXFWriter::Write(const std::string& path) {
    CWaitCursor wait;
    MMirrorOStream out;
    out.Open(path, MMirrorOStream::kSafe);
    // The same words as a failed save of the drawing itself: a full disk says so.
    if (out.fail()) {
        out.Close();
        MTessarayDoc::ReportFileError(out.GetError() ? out.GetError() : EIO);
        return 0;
    }
    try {
        const std::string text = BuildText();
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    } catch (...) {
        out.setstate(std::ios::badbit);
        out.Close();
        throw;
    }
    // Closing puts the new file in place; a failed write or rename leaves the target as it was.
    if (out.fail() || !out.Close()) {
        out.Close();
        MTessarayDoc::ReportFileError(out.GetError() ? out.GetError() : EIO);
        return 0;
    }
    return 1;
}

std::string MDXFWriter::BuildText() const {
    MDXFOutStream out;
    WriteHeader(out);
    out.BeginSection("TABLES");
    WriteLineTypes(out);
    WriteStyles(out);
    WriteLayers(out);
    out.EndSection();

    MDXFOutStream entities;
    WriteEntities(entities);
    std::string text = out.TakeText();
    std::string body = entities.TakeText();
    FillEmptyLineTypes(body);
    text += body;
    text += "  0\nEOF\n";
    return EscapeForCp932(text);
}

void MDXFWriter::WriteHeader(MDXFOutStream& out) const {
    const MPaperInfo& paper = m_doc.GetPaperInfo();
    const double width = paper.GetSize().cx / paper.GetScale();
    const double height = paper.GetSize().cy / paper.GetScale();
    out.BeginSection("HEADER");
    // The version and code page let other programs decode the Japanese text.
    WriteVariable(out, "$ACADVER");
    out.WriteString(1, "AC1009");
    WriteVariable(out, "$DWGCODEPAGE");
    out.WriteString(3, "ANSI_932");
    WriteVariable(out, "$EXTMIN");
    out.WriteInt(10, 0);
    out.WriteInt(20, 0);
    WriteVariable(out, "$EXTMAX");
    out.WriteDouble(10, width);
    out.WriteDouble(20, height);
    WriteVariable(out, "$LTSCALE");
    out.WriteInt(40, 1);
    WriteVariable(out, "$LIMMIN");
    out.WriteInt(10, 0);
    out.WriteInt(20, 0);
    WriteVariable(out, "$LIMMAX");
    out.WriteDouble(10, width);
    out.WriteDouble(20, height);
    WriteVariable(out, "$DIMSCALE");
    out.WriteInt(40, 1);
    out.EndSection();
}

void MDXFWriter::WriteLineTypes(MDXFOutStream& out) const {
    const MLineStyleTable& table = GetLineStyleTable();
    TableStart(out, "LTYPE", table.GetSize());
    for (int k = 0; k < table.GetSize(); ++k) {
        const MLineStyle& style = table.GetAt(k);
        out.WriteString(0, "LTYPE");
        out.WriteString(2, style.m_name);
        out.WriteInt(70, 64);
        out.WriteString(3, style.m_picture);
        out.WriteInt(72, 65);
        const int count = style.m_dashes.GetSize();
        bool allZero = true;
        for (int j = 0; j < count; ++j)
            if (style.m_dashes[j] != 0.0) allZero = false;
        if (allZero) {
            out.WriteInt(73, 0);
            out.WriteDouble(40, 0.0);
            continue;
        }
        out.WriteInt(73, count);
        out.WriteDouble(40, style.GetPatternLength());
        for (int j = 0; j < count; ++j)
            out.WriteDouble(49, style.m_dashes[j]);
    }
    out.WriteString(0, "LTYPE");
    out.WriteString(2, "HOJO");
    out.WriteInt(70, 64);
    out.WriteString(3, "-   -   -   -   -   -   -   -   ");
    out.WriteInt(72, 65);
    out.WriteInt(73, 2);
    out.WriteDouble(40, 2.5);
    out.WriteDouble(49, 0.625);
    out.WriteDouble(49, -1.875);
    out.WriteString(0, "ENDTAB");
}

void MDXFWriter::WriteStyles(MDXFOutStream& out) const {
    TableStart(out, "STYLE", 2);
    const auto style = [&](const char* name, int flags, const char* bigFont) {
        out.WriteString(0, "STYLE");
        out.WriteString(2, name);
        out.WriteInt(70, flags);
        out.WriteDouble(40, 0.0);
        out.WriteDouble(41, 1.0);
        out.WriteDouble(42, 0.0);
        out.WriteDouble(50, 0.0);
        out.WriteInt(71, 0);
        out.WriteString(3, "TXT");
        out.WriteString(4, bigFont);
    };
    style("STANDARD", 64, "BIGFONT");
    style("TATEGAKI", 68, "EXTFONT");
    out.WriteString(0, "ENDTAB");
}

void MDXFWriter::WriteLayers(MDXFOutStream& out) const {
    // Two layers of one name would be one table entry twice; every name is listed once.
    const MDocShapeArray* layers = m_doc.GetLayers();
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (int i = 0; i < layers->GetLayerCount(); ++i) {
        const std::string name = DxfLayerName(layers->GetLayer(i)->GetName());
        if (seen.insert(name).second) names.push_back(name);
    }
    TableStart(out, "LAYER", static_cast<int>(names.size()));
    for (const std::string& name : names) {
        out.WriteString(0, "LAYER");
        out.WriteString(2, name);
        out.WriteInt(70, 64);
        out.WriteInt(62, 7);
        out.WriteString(6, "CONTINUOUS");
    }
    out.WriteString(0, "ENDTAB");
}

void MDXFWriter::WriteEntities(MDXFOutStream& out) const {
    const MDocShapeArray* layers = m_doc.GetLayers();
    const MFloatPoint origin = GetOriginOffset();
    const double scale = m_doc.GetPaperInfo().GetScale();
    out.BeginSection("ENTITIES");
    for (int i = 0; i < layers->GetLayerCount(); ++i) {
        const MLayer* layer = layers->GetLayer(i);
        const std::string name = DxfLayerName(layer->GetName());
        for (int k = 0; k < layer->GetSize(); ++k)
            if (const MCadShape* shape = layer->GetAt(k)) ExportShapeDxf(*shape, out, name, origin, scale);
    }
    out.EndSection();
}
