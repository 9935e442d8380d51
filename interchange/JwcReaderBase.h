// The shared part of the JW_CAD readers (drawings ".jwc", parts ".jwk"): the pen and text-kind
// tables and the decoding of the four record kinds into shapes. Where a finished shape goes and
// the unit of text sizes are the derived readers' business (AddShape, GetUnitScale).
//
// The readers take nothing from a file on trust: every count, offset and string address is checked
// against the file's size before anything is built, so a damaged file is refused as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/helpers/ImportLosses.h"
#include "platform/WinTypes.h"

class MCadShape;
struct MJWCPenSettings;

using CString = std::string;

// Little-endian reads from a byte block whose bounds the caller has checked.
namespace jwc {
inline std::uint16_t U16(const BYTE* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::int16_t S16(const BYTE* p) {
    return static_cast<std::int16_t>(U16(p));
}
std::uint32_t U32(const BYTE* p);
float F32(const BYTE* p);

// The values of a settings line: tokens separated by blanks, commas, tabs and line ends, up to the
// first NUL of the block.
std::vector<std::string> SplitSettings(std::string_view block);
// Token n (1-based) as a number; FALSE when missing or not a number (the whole token must parse).
bool TokenNumber(const std::vector<std::string>& tokens, int n, double& out);
// As TokenNumber, also FALSE unless the value is a whole number in 0..limit.
bool TokenCount(const std::vector<std::string>& tokens, int n, std::int64_t limit, std::int64_t& out);
// A NUL-terminated field of fixed width in code page 932, as UTF-8.
std::string FixedName(const BYTE* p, std::size_t width);
}  // namespace jwc

class MJWCReaderBase {
public:
    static constexpr int kTextKinds = 11;
    static constexpr int kPens = 7;  // 0..6
    static constexpr std::size_t kBlockSize = 200;
    static constexpr std::size_t kLineRecord = 22;
    static constexpr std::size_t kArcRecord = 32;
    static constexpr std::size_t kTextRecord = 24;
    static constexpr std::size_t kPointRecord = 12;

    MJWCReaderBase();
    virtual ~MJWCReaderBase();
    MJWCReaderBase(const MJWCReaderBase&) = delete;
    MJWCReaderBase& operator=(const MJWCReaderBase&) = delete;

    // Takes ownership of the shape. The base has nowhere to put it and deletes it.
    virtual void AddShape(MCadShape* shape, int layer);
    // Drawing units per paper millimetre of text sizes; 1.0 in the base.
    virtual double GetUnitScale() const;

    // Pens 1-6 from the settings (widths in millimetres), pen 0 width 0 and colour 0.
    void SetPenSettings(const MJWCPenSettings& settings);
    // One pen 0..6; others are ignored.
    void SetPen(int pen, double width, COLORREF color);
    double GetPenWidth(int pen) const;
    COLORREF GetPenColor(int pen) const;

    // The line-style word of a JW line type: 1..8 -> 0..7, 9 -> auxiliary 0x88, others 0.
    static int LineStyleOfType(int lineType);

    CString m_fontName;
    double m_factor = 1.0;  // every coordinate read is multiplied by it
    double m_kindHeights[kTextKinds];
    int m_kindColors[kTextKinds];
    double m_kindWidths[kTextKinds];
    double m_kindSpacings[kTextKinds];
    // Counts of the settings line and the string block's start and end addresses.
    std::int64_t m_lineCount = 0;
    std::int64_t m_arcCount = 0;
    std::int64_t m_textCount = 0;
    std::int64_t m_pointCount = 0;
    std::uint32_t m_stringStart = 0;
    std::uint32_t m_stringEnd = 0;

protected:
    // The record kinds as the losses name them.
    static constexpr const char* kLineKind = "線";
    static constexpr const char* kArcKind = "円・円弧";
    static constexpr const char* kTextKind = "文字";
    static constexpr const char* kPointKind = "点";
    static constexpr const char* kMarkKind = "マーク";
    static constexpr const char* kScaleNote = "縮尺が使えない値のため、1:1 で読み込みました。";

    // A shape with values that are not finite (a record's coordinates among them) is counted as a
    // record of the kind left out; any other goes to AddShape.
    void Deliver(std::unique_ptr<MCadShape> shape, int layer, const char* kind);
    // Record decoders: each builds its shape and hands it to AddShape with the record's layer.
    void ReadLineRecord(const BYTE* p);
    void ReadArcRecord(const BYTE* p);
    // block is the string block; its first byte has the address m_stringStart. The record must have
    // passed CheckTextRecord.
    void ReadTextRecord(const BYTE* p, std::string_view block);
    void ReadPointRecord(const BYTE* p);
    // Whether the record's text kind names a kind and its string address lies inside the block.
    bool CheckTextRecord(const BYTE* p, std::size_t blockLength) const;

    // The colour rule of pens for lines, arcs and points; with lineType < 0 the line type is not
    // applied (points), and withWidth sets the pen's width.
    void ApplyPen(MCadShape* shape, int pen, int lineType, bool withWidth) const;

    double m_penWidths[kPens];
    COLORREF m_penColors[kPens];
    // What the reading could not keep, told when it ends.
    MImportLosses m_losses;

private:
    std::uint32_t StringIndex(const BYTE* p) const;
};
