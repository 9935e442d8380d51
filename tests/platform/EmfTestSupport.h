// Reading enhanced metafiles back in tests: a record walker over the bytes, and the independent
// converter emf2svg-conv with a small reader of the SVG it writes.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

struct EmfRecord {
    DWORD type = 0;
    DWORD size = 0;
    std::size_t offset = 0;
    std::size_t index = 0;
};

// The records of a metafile; valid when every record lies inside the file and the last is EOF.
class EmfFile {
public:
    explicit EmfFile(const std::vector<BYTE>& bytes) : m_bytes(bytes) {
        std::size_t at = 0;
        while (at + 8 <= m_bytes.size()) {
            EmfRecord r;
            r.offset = at;
            r.type = Raw32(at);
            r.size = Raw32(at + 4);
            r.index = records.size();
            if (r.size < 8 || r.size % 4 || at + r.size > m_bytes.size()) {
                error = "record " + std::to_string(r.index) + " overruns the file";
                return;
            }
            records.push_back(r);
            at += r.size;
            if (r.type == 14) break;
        }
        if (records.empty() || records.front().type != 1) {
            error = "no header";
        } else if (records.back().type != 14 || at != m_bytes.size()) {
            error = "no EOF at the end";
        } else {
            valid = true;
        }
    }

    const EmfRecord* First(DWORD type) const {
        for (const EmfRecord& r : records)
            if (r.type == type) return &r;
        return nullptr;
    }
    DWORD U32(std::size_t record, std::size_t at) const { return Raw32(records.at(record).offset + at); }
    LONG I32(std::size_t record, std::size_t at) const { return static_cast<LONG>(U32(record, at)); }
    short I16(std::size_t record, std::size_t at) const {
        const std::size_t o = records.at(record).offset + at;
        return static_cast<short>(m_bytes.at(o) | (m_bytes.at(o + 1) << 8));
    }
    CRect Rect(std::size_t record, std::size_t at) const {
        return CRect(I32(record, at), I32(record, at + 4), I32(record, at + 8), I32(record, at + 12));
    }
    std::u16string Utf16(std::size_t record, std::size_t at, std::size_t units) const {
        std::u16string s;
        for (std::size_t i = 0; i < units; ++i)
            s.push_back(static_cast<char16_t>(static_cast<unsigned short>(I16(record, at + 2 * i))));
        return s;
    }
    // A NUL-terminated string of at most units UTF-16 units (a font's face name).
    std::u16string Utf16z(std::size_t record, std::size_t at, std::size_t units) const {
        std::u16string s = Utf16(record, at, units);
        return s.substr(0, s.find(u'\0'));
    }
    std::u16string Description() const { return Utf16(0, U32(0, 64), U32(0, 60)); }

    std::vector<EmfRecord> records;
    bool valid = false;
    std::string error;

private:
    DWORD Raw32(std::size_t o) const {
        return DWORD(m_bytes.at(o)) | DWORD(m_bytes.at(o + 1)) << 8 | DWORD(m_bytes.at(o + 2)) << 16 |
               DWORD(m_bytes.at(o + 3)) << 24;
    }
    std::vector<BYTE> m_bytes;
};

inline bool EmfToSvgAvailable() {
    return std::system("command -v emf2svg-conv >/dev/null 2>&1") == 0;
}

struct SvgText {
    double x = 0.0;
    double y = 0.0;
    std::string text;
};

// The SVG of a metafile: straight path segments and texts, in the converter's coordinates (the
// metafile's device units; the group's translation is not applied).
struct SvgResult {
    bool ok = false;
    std::string text;
    std::string log;
    std::vector<std::array<double, 4>> segments;
    std::vector<SvgText> texts;

    bool HasLine(double x1, double y1, double x2, double y2, double tolerance = 0.5) const {
        for (const auto& s : segments) {
            const bool same = std::abs(s[0] - x1) <= tolerance && std::abs(s[1] - y1) <= tolerance &&
                              std::abs(s[2] - x2) <= tolerance && std::abs(s[3] - y2) <= tolerance;
            const bool reversed = std::abs(s[0] - x2) <= tolerance && std::abs(s[1] - y2) <= tolerance &&
                                  std::abs(s[2] - x1) <= tolerance && std::abs(s[3] - y1) <= tolerance;
            if (same || reversed) return true;
        }
        return false;
    }
    const SvgText* FindText(const std::string& s) const {
        for (const SvgText& t : texts)
            if (t.text == s) return &t;
        return nullptr;
    }
};

inline SvgResult ConvertEmfToSvg(const std::string& emfPath) {
    SvgResult r;
    const std::string svgPath = emfPath + ".svg";
    const std::string logPath = emfPath + ".log";
    const std::string command =
        "emf2svg-conv -i '" + emfPath + "' -o '" + svgPath + "' >'" + logPath + "' 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream log(logPath);
    r.log = std::string((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    std::ifstream in(svgPath);
    r.text = std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    r.ok = status == 0 && r.text.find("<svg") != std::string::npos;
    // Every "M x,y L x,y ..." path gives its consecutive segments.
    const std::regex path(R"re(<path d="([^"]*)")re");
    const std::regex point(R"re(([ML])\s*(-?[0-9.]+),(-?[0-9.]+))re");
    for (auto it = std::sregex_iterator(r.text.begin(), r.text.end(), path); it != std::sregex_iterator();
         ++it) {
        const std::string d = (*it)[1];
        double px = 0, py = 0;
        bool have = false;
        for (auto p = std::sregex_iterator(d.begin(), d.end(), point); p != std::sregex_iterator(); ++p) {
            const double x = std::stod((*p)[2]), y = std::stod((*p)[3]);
            if ((*p)[1] == "L" && have) r.segments.push_back({px, py, x, y});
            px = x, py = y, have = true;
        }
    }
    const std::regex text(
        R"re(<text[^>]* x="(-?[0-9.]+)" y="(-?[0-9.]+)"[^>]*><!\[CDATA\[(.*?)\]\]></text>)re");
    for (auto it = std::sregex_iterator(r.text.begin(), r.text.end(), text); it != std::sregex_iterator();
         ++it)
        r.texts.push_back(SvgText{std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
    return r;
}
