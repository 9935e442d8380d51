// The text of a DXF file as the shapes export it: every group is two lines, the group code
// right-aligned in three characters, then the value. Lines end with "\n" and text values stay
// UTF-8 here; the DXF writer chooses the file's encoding and line ends when it writes the text out,
// so a failed export never leaves a half-written file.
#pragma once

#include <string>
#include <string_view>

class MFloatPoint;

class MDXFOutStream {
public:
    MDXFOutStream() = default;
    MDXFOutStream(const MDXFOutStream&) = delete;
    MDXFOutStream& operator=(const MDXFOutStream&) = delete;

    // A line break inside a value would be read as the next group code, so CR and LF in text
    // become blanks.
    void WriteString(int code, std::string_view text);
    void WriteInt(int code, int value);
    // The shortest form that reads back as the same double, in the C locale ("%g" would turn
    // 123456.789 into 123457). A value that is not finite is written as 0 so the file stays readable.
    void WriteDouble(int code, double value);
    // x under code, y under code + 10.
    void WritePoint(int code, double x, double y);
    void WritePoint(int code, const MFloatPoint& p);

    // "  0" SECTION, "  2" name.
    void BeginSection(std::string_view name);
    // "  0" ENDSEC.
    void EndSection();

    const std::string& GetText() const { return m_text; }
    std::string TakeText() { return std::move(m_text); }
    void Clear() { m_text.clear(); }

private:
    void WriteCode(int code);

    std::string m_text;
};

// The real-number text of WriteDouble.
std::string FormatDxfReal(double value);
