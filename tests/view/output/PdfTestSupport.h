// Reading back the PDF files the printing tests write: the first page's size and the straight
// strokes and colours of its content, in millimetres from the page's top-left corner. Enough of
// PDF for what Qt's writer produces (deflated content streams; q, Q, cm, m, l, c, h, re, S, SCN, scn,
// RG, rg).
#pragma once

#include <zlib.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pdftest {

struct Stroke {
    double x1, y1, x2, y2;  // millimetres from the top-left corner
    std::array<double, 3> colour;
};

struct PdfPage {
    bool ok = false;
    double widthMm = 0.0;
    double heightMm = 0.0;
    std::vector<Stroke> strokes;
    // Every stroke and fill colour the content selects (0..1 components).
    std::vector<std::array<double, 3>> colours;
    int saves = 0;  // graphics states saved (q)
    // The end points of the curve pieces (c), millimetres from the top-left corner.
    std::vector<std::array<double, 2>> curveEnds;
    int transforms = 0;  // changes of the transform (cm)
    // Where each text object's first glyph stands, millimetres from the top-left corner.
    std::vector<std::array<double, 2>> textStarts;
};

inline std::string Inflate(const std::string& in) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    std::string out;
    char buffer[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof(buffer);
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof(buffer) - z.avail_out);
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : std::string();
}

struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    // this applied after m (PDF's "m cm": new = m x current).
    Matrix Then(const Matrix& m) const {
        return {m.a * a + m.b * c, m.a * b + m.b * d,     m.c * a + m.d * c,
                m.c * b + m.d * d, m.e * a + m.f * c + e, m.e * b + m.f * d + f};
    }
    void Apply(double x, double y, double& ox, double& oy) const {
        ox = a * x + c * y + e;
        oy = b * x + d * y + f;
    }
};

inline PdfPage ReadPdf(const std::string& path) {
    PdfPage page;
    std::ifstream in(path, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t box = file.find("/MediaBox");
    if (box == std::string::npos) return page;
    std::istringstream boxValues(file.substr(file.find('[', box) + 1));
    double x0, y0, x1, y1;
    if (!(boxValues >> x0 >> y0 >> x1 >> y1)) return page;
    page.widthMm = (x1 - x0) * 25.4 / 72;
    page.heightMm = (y1 - y0) * 25.4 / 72;
    const double pageHeight = y1 - y0;

    std::size_t at = 0;
    while ((at = file.find("stream", at)) != std::string::npos) {
        if (at >= 3 && file.compare(at - 3, 3, "end") == 0) {
            at += 6;
            continue;
        }
        std::size_t start = at + 6;
        if (file[start] == '\r') ++start;
        if (file[start] == '\n') ++start;
        const std::size_t end = file.find("endstream", start);
        if (end == std::string::npos) break;
        const std::string content = Inflate(file.substr(start, end - start));
        at = end + 9;
        if (content.empty()) continue;
        std::istringstream tokens(content);
        std::vector<double> operands;
        std::vector<Matrix> stack;
        Matrix ctm, textLine;
        bool textStarted = false;
        std::array<double, 3> stroke{0, 0, 0};
        std::vector<std::array<double, 4>> path;  // page points
        double cx = 0, cy = 0, sx = 0, sy = 0;
        std::string t;
        auto toMm = [&](double x, double y, double& mx, double& my) {
            double px, py;
            ctm.Apply(x, y, px, py);
            mx = px * 25.4 / 72;
            my = (pageHeight - py) * 25.4 / 72;
        };
        while (tokens >> t) {
            char* endp = nullptr;
            const double v = std::strtod(t.c_str(), &endp);
            if (endp && *endp == '\0' && !t.empty()) {
                operands.push_back(v);
                continue;
            }
            const std::size_t n = operands.size();
            if (t == "q") {
                ++page.saves;
                stack.push_back(ctm);
            } else if (t == "Q") {
                if (!stack.empty()) ctm = stack.back(), stack.pop_back();
            } else if (t == "cm" && n >= 6) {
                ++page.transforms;
                ctm = ctm.Then({operands[n - 6], operands[n - 5], operands[n - 4], operands[n - 3],
                                operands[n - 2], operands[n - 1]});
            } else if (t == "BT") {
                textLine = Matrix();
                textStarted = false;
            } else if (t == "Tm" && n >= 6) {
                textLine = {operands[n - 6], operands[n - 5], operands[n - 4],
                            operands[n - 3], operands[n - 2], operands[n - 1]};
            } else if (t == "Td" && n >= 2) {
                textLine = textLine.Then({1, 0, 0, 1, operands[n - 2], operands[n - 1]});
                if (!textStarted) {
                    double x, y;
                    textLine.Apply(0, 0, x, y);
                    double mx, my;
                    toMm(x, y, mx, my);
                    page.textStarts.push_back({mx, my});
                    textStarted = true;
                }
            } else if (t == "m" && n >= 2) {
                toMm(operands[n - 2], operands[n - 1], cx, cy);
                sx = cx, sy = cy;
            } else if (t == "l" && n >= 2) {
                double x, y;
                toMm(operands[n - 2], operands[n - 1], x, y);
                path.push_back({cx, cy, x, y});
                cx = x, cy = y;
            } else if (t == "c" && n >= 6) {
                toMm(operands[n - 2], operands[n - 1], cx, cy);
                page.curveEnds.push_back({cx, cy});
            } else if (t == "h") {
                path.push_back({cx, cy, sx, sy});
            } else if (t == "S") {
                for (const auto& s : path)
                    page.strokes.push_back({s[0], s[1], s[2], s[3], stroke});
                path.clear();
            } else if ((t == "SCN" || t == "RG") && n >= 3) {
                stroke = {operands[n - 3], operands[n - 2], operands[n - 1]};
                page.colours.push_back(stroke);
            } else if ((t == "scn" || t == "rg") && n >= 3) {
                page.colours.push_back({operands[n - 3], operands[n - 2], operands[n - 1]});
            } else if (t == "n" || t == "f" || t == "f*" || t == "B" || t == "b") {
                path.clear();
            }
            operands.clear();
        }
    }
    page.ok = true;
    return page;
}

}  // namespace pdftest
