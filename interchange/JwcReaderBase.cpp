#include "interchange/JwcReaderBase.h"

#include <bit>
#include <cmath>
#include <memory>

#include "interchange/JwcPenSettings.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/StoredText.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"
#include "platform/TextFile.h"

namespace jwc {

std::uint32_t U32(const BYTE* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

float F32(const BYTE* p) {
    return std::bit_cast<float>(U32(p));
}

std::vector<std::string> SplitSettings(std::string_view block) {
    block = block.substr(0, block.find('\0'));
    std::vector<std::string> tokens;
    std::size_t i = 0;
    auto separator = [](char c) { return c == ' ' || c == ',' || c == '\t' || c == '\n' || c == '\r'; };
    while (i < block.size()) {
        while (i < block.size() && separator(block[i]))
            ++i;
        const std::size_t start = i;
        while (i < block.size() && !separator(block[i]))
            ++i;
        if (i > start) tokens.emplace_back(block.substr(start, i - start));
    }
    return tokens;
}

bool TokenNumber(const std::vector<std::string>& tokens, int n, double& out) {
    if (n < 1 || static_cast<std::size_t>(n) > tokens.size()) return false;
    const std::string& t = tokens[static_cast<std::size_t>(n - 1)];
    TextInput in(t);
    double v = 0;
    in >> v;
    if (in.fail() || !std::isfinite(v)) return false;
    in.peek();
    if (!in.eof()) return false;
    out = v;
    return true;
}

bool TokenCount(const std::vector<std::string>& tokens, int n, std::int64_t limit, std::int64_t& out) {
    double v = 0;
    if (!TokenNumber(tokens, n, v)) return false;
    if (v < 0 || v > static_cast<double>(limit) || v != std::floor(v)) return false;
    out = static_cast<std::int64_t>(v);
    return true;
}

std::string FixedName(const BYTE* p, std::size_t width) {
    std::size_t n = 0;
    while (n < width && p[n] != 0)
        ++n;
    return Cp932ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
}

}  // namespace jwc

namespace {
constexpr double kUnitsToRadians = kPi / 180.0 / 65536.0;
constexpr double kDefaultHeights[MJWCReaderBase::kTextKinds] = {4.0, 2.0, 2.5, 3.0, 4.0, 5.0,
                                                                6.0, 7.0, 8.0, 9.0, 10.0};
constexpr int kDefaultKindColors[MJWCReaderBase::kTextKinds] = {1, 1, 1, 2, 2, 3, 3, 4, 4, 7, 5};
constexpr double kDefaultSpacings[MJWCReaderBase::kTextKinds] = {0, 0, 0, 0.5, 0.5, 0.5, 1, 1, 1, 1, 1};
constexpr int kAuxiliaryStyle = 0x88;
}  // namespace

MJWCReaderBase::MJWCReaderBase() {
    for (int i = 0; i < kTextKinds; ++i) {
        m_kindHeights[i] = kDefaultHeights[i];
        m_kindColors[i] = kDefaultKindColors[i];
        m_kindWidths[i] = kDefaultHeights[i];
        m_kindSpacings[i] = kDefaultSpacings[i];
    }
    for (int i = 0; i < kPens; ++i) {
        m_penWidths[i] = 0.0;
        m_penColors[i] = 0;
    }
}

MJWCReaderBase::~MJWCReaderBase() = default;

void MJWCReaderBase::AddShape(MCadShape* shape, int) {
    delete shape;
}

double MJWCReaderBase::GetUnitScale() const {
    return 1.0;
}

void MJWCReaderBase::SetPenSettings(const MJWCPenSettings& settings) {
    SetPen(0, 0.0, 0);
    for (int pen = 1; pen <= MJWCPenSettings::kPens; ++pen)
        SetPen(pen, settings.GetWidthMm(pen), settings.GetColor(pen));
}

void MJWCReaderBase::SetPen(int pen, double width, COLORREF color) {
    if (pen < 0 || pen >= kPens) return;
    m_penWidths[pen] = width;
    m_penColors[pen] = color;
}

double MJWCReaderBase::GetPenWidth(int pen) const {
    return (pen >= 0 && pen < kPens) ? m_penWidths[pen] : 0.0;
}

COLORREF MJWCReaderBase::GetPenColor(int pen) const {
    return (pen >= 0 && pen < kPens) ? m_penColors[pen] : 0;
}

int MJWCReaderBase::LineStyleOfType(int lineType) {
    if (lineType >= 1 && lineType <= 8) return lineType - 1;
    if (lineType == 9) return kAuxiliaryStyle;
    return 0;
}

void MJWCReaderBase::ApplyPen(MCadShape* shape, int pen, int lineType, bool withWidth) const {
    const int style = lineType >= 0 ? LineStyleOfType(lineType) : -1;
    if (pen >= 1 && pen <= 6 && m_penColors[pen] != kNoColor) {
        if (style >= 0) shape->SetLineStyle(style);
        shape->SetColor(m_penColors[pen]);
    } else if (pen <= 7) {
        // Pens 0 and 7, and pens switched off in the settings, are JW_CAD's auxiliary lines.
        shape->SetLineStyle(kAuxiliaryStyle);
    } else {
        if (style >= 0) shape->SetLineStyle(style);
        shape->SetColor(0);
    }
    if (withWidth) shape->SetLineWidth(pen < kPens ? m_penWidths[pen] : 0.0);
}

void MJWCReaderBase::Deliver(std::unique_ptr<MCadShape> shape, int layer, const char* kind) {
    if (!shape->HasFiniteValues()) {
        m_losses.Drop(kind);
        return;
    }
    AddShape(shape.release(), layer);
}

void MJWCReaderBase::ReadLineRecord(const BYTE* p) {
    const double x1 = jwc::F32(p) * m_factor, y1 = jwc::F32(p + 4) * m_factor;
    const double x2 = jwc::F32(p + 8) * m_factor, y2 = jwc::F32(p + 12) * m_factor;
    auto line = std::make_unique<MLineShape>(MFloatPoint(x1, y1), MFloatPoint(x2, y2));
    ApplyPen(line.get(), p[17], p[16], true);
    Deliver(std::move(line), p[18], kLineKind);
}

void MJWCReaderBase::ReadArcRecord(const BYTE* p) {
    const double cx = jwc::F32(p) * m_factor, cy = jwc::F32(p + 4) * m_factor;
    const double radius = jwc::F32(p + 8) * m_factor;
    const int flatness = jwc::U16(p + 12);
    const std::uint32_t startUnits = jwc::U32(p + 14), endUnits = jwc::U32(p + 18),
                        tiltUnits = jwc::U32(p + 22);
    const double start = startUnits * kUnitsToRadians, end = endUnits * kUnitsToRadians;
    const double tilt = tiltUnits * kUnitsToRadians;
    const bool angles = startUnits != 0 || endUnits != 0;

    std::unique_ptr<MCadShape> shape;
    if (flatness == 10000) {
        if (!angles) {
            auto circle = std::make_unique<MCircleShape>();
            circle->SetCircle(cx, cy, radius);
            shape = std::move(circle);
        } else {
            auto arc = std::make_unique<MCircleArcShape>();
            arc->SetArc(cx, cy, radius, tilt + start, tilt + end);
            shape = std::move(arc);
        }
    } else {
        const double a = radius, b = radius * flatness * 0.0001;
        const MFloatPoint centre(cx, cy);
        auto at = [&](double t) {
            return centre + MFloatPoint(a * std::cos(t), b * std::sin(t)).GetRotated(tilt);
        };
        if (angles) {
            auto polygon = std::make_unique<MPolygonShape>(FALSE);
            const double last = end > start ? end : end + 2 * kPi;
            for (int i = 0; i <= 48; ++i)
                polygon->AddPoint(at(start + (last - start) * i / 48.0));
            shape = std::move(polygon);
        } else if (tiltUnits != 0) {
            auto polygon = std::make_unique<MPolygonShape>(TRUE);
            for (int i = 0; i < 48; ++i)
                polygon->AddPoint(at(i * kPi / 24));
            shape = std::move(polygon);
        } else {
            auto ellipse = std::make_unique<MEllipseShape>();
            ellipse->SetEllipse(cx, cy, a, b);
            shape = std::move(ellipse);
        }
    }
    ApplyPen(shape.get(), p[27], p[26], true);
    Deliver(std::move(shape), p[28], kArcKind);
}

std::uint32_t MJWCReaderBase::StringIndex(const BYTE* p) const {
    const std::uint32_t address = static_cast<std::uint32_t>(jwc::U16(p + 18)) * 16 + jwc::U16(p + 16);
    return address - m_stringStart;  // wraps to a huge value below the start: refused by the checks
}

bool MJWCReaderBase::CheckTextRecord(const BYTE* p, std::size_t blockLength) const {
    if (p[20] >= kTextKinds) return false;
    const std::uint32_t address = static_cast<std::uint32_t>(jwc::U16(p + 18)) * 16 + jwc::U16(p + 16);
    return address >= m_stringStart && address - m_stringStart < blockLength;
}

void MJWCReaderBase::ReadTextRecord(const BYTE* p, std::string_view block) {
    const double x1 = jwc::F32(p) * m_factor, y1 = jwc::F32(p + 4) * m_factor;
    const double x2 = jwc::F32(p + 8) * m_factor, y2 = jwc::F32(p + 12) * m_factor;
    const int kind = p[20];
    const int layer = p[21];
    const int flags = jwc::U16(p + 22);
    std::string_view text = block.substr(StringIndex(p));
    text = text.substr(0, text.find('\0'));

    std::string string = Cp932ToUtf8(text);
    if (CutToStoredText(string)) m_losses.Note(kTextsCutNote);
    auto shape = std::make_unique<MTextShape>();
    shape->SetString(string);
    shape->SetFontName(m_fontName);
    shape->SetTextSize(m_kindHeights[kind] / GetUnitScale());
    shape->SetAlignment(kAlignBottom);
    shape->SetPoint(MFloatPoint(x1, y1));
    double angle = MFloatPoint(x2 - x1, y2 - y1).GetAngle();
    if (flags & 0x20) {
        shape->SetTextFlag(kTextVertical, TRUE);
        angle = NormalizeAngle(angle + kPi / 2);
        shape->SetAlignment(0);
    }
    shape->SetAngle(angle);

    const int c = m_kindColors[kind];
    COLORREF color = 0;
    if (c >= 1 && c <= 6 && m_penColors[c] != kNoColor) {
        color = m_penColors[c];
    } else if (c >= 0 && c <= 7) {
        shape->SetLineStyle(kAuxiliaryStyle);
        shape->SetTextFlag(kTextFrame, TRUE);
        color = 0xFF0000;
    }
    shape->SetColor(color);
    shape->SetTextColor(color);
    Deliver(std::move(shape), layer, kTextKind);
}

void MJWCReaderBase::ReadPointRecord(const BYTE* p) {
    const double x = jwc::F32(p) * m_factor, y = jwc::F32(p + 4) * m_factor;
    auto circle = std::make_unique<MCircleShape>();
    circle->SetCircle(x, y, 0.5 / GetUnitScale());
    ApplyPen(circle.get(), p[9], -1, false);
    Deliver(std::move(circle), p[8], kPointKind);
}
