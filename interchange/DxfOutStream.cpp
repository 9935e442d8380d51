#include "interchange/DxfOutStream.h"

#include <charconv>
#include <cmath>

#include "model/geometry/FloatPoint.h"
#include "platform/TextFile.h"

std::string FormatDxfReal(double value) {
    if (!std::isfinite(value) || value == 0.0) return "0";  // no "-0" either
    return FormatExact(value);
}

void MDXFOutStream::WriteCode(int code) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, code);
    const auto length = r.ptr - buf;
    if (length < 3) m_text.append(3 - length, ' ');
    m_text.append(buf, r.ptr);
    m_text += '\n';
}

void MDXFOutStream::WriteString(int code, std::string_view text) {
    WriteCode(code);
    const std::size_t start = m_text.size();
    m_text.append(text);
    for (std::size_t i = start; i < m_text.size(); ++i)
        if (m_text[i] == '\n' || m_text[i] == '\r') m_text[i] = ' ';
    m_text += '\n';
}

void MDXFOutStream::WriteInt(int code, int value) {
    WriteCode(code);
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    m_text.append(buf, r.ptr);
    m_text += '\n';
}

void MDXFOutStream::WriteDouble(int code, double value) {
    WriteCode(code);
    m_text += FormatDxfReal(value);
    m_text += '\n';
}

void MDXFOutStream::WritePoint(int code, double x, double y) {
    WriteDouble(code, x);
    WriteDouble(code + 10, y);
}

void MDXFOutStream::WritePoint(int code, const MFloatPoint& p) {
    WritePoint(code, p.x, p.y);
}

void MDXFOutStream::BeginSection(std::string_view name) {
    WriteString(0, "SECTION");
    WriteString(2, name);
}

void MDXFOutStream::EndSection() {
    m_text += "  0\nENDSEC\n";
}
