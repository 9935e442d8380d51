#include "platform/gdi/FontEngine.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "platform/Cp932.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/gdi/QtGdi.h"

namespace {

const char* const kGothic = "Noto Sans CJK JP";
const char* const kMincho = "Noto Serif CJK JP";
constexpr double kReferenceDpi = 96.0;
// Default cell height of a font asked for with height 0.
constexpr double kDefaultCell = 16.0;

// Full-width ASCII and the ideographic space folded, blanks removed, lower case: the key by
// which Windows face names are recognised however they were typed.
QString FoldFaceName(const QString& name) {
    QString folded;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) c = QChar(char16_t(u - 0xFEE0));
        if (u == 0x3000 || c.isSpace()) continue;
        folded.append(c.toLower());
    }
    return folded;
}

bool IsInstalled(const QString& family) {
    static std::mutex lock;
    static QStringList families;
    std::lock_guard<std::mutex> guard(lock);
    if (families.isEmpty()) families = QFontDatabase::families();
    return families.contains(family, Qt::CaseInsensitive);
}

// A 96-dpi device for measuring, so metrics never depend on the screen.
QPaintDevice* MeasureDevice() {
    static QImage image = [] {
        QImage im(1, 1, QImage::Format_RGB32);
        im.setDotsPerMeterX(3780);
        im.setDotsPerMeterY(3780);
        return im;
    }();
    return &image;
}

QFont BaseFont(const LOGFONT& lf, const QString& family) {
    QFont font(family);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setHintingPreference(QFont::PreferNoHinting);
    // GDI draws without kerning; per-character sums then equal the drawn width.
    font.setKerning(false);
    const int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp<int>(lf.lfWeight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    return font;
}

struct FaceMetrics {
    double cellPerEm = 1.0;
    double ascentShare = 0.8;
    double avgCharPerEm = 0.5;
};

FaceMetrics MetricsOf(const QFont& base) {
    static std::mutex lock;
    static std::map<std::tuple<QString, int, bool>, FaceMetrics> cache;
    const auto key = std::make_tuple(base.family(), static_cast<int>(base.weight()), base.italic());
    std::lock_guard<std::mutex> guard(lock);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    QFont probe(base);
    probe.setPointSizeF(100.0 * 72.0 / kReferenceDpi);
    const QFontMetricsF fm(probe, MeasureDevice());
    FaceMetrics m;
    const double cell = fm.ascent() + fm.descent();
    if (cell > 0) {
        m.cellPerEm = cell / 100.0;
        m.ascentShare = fm.ascent() / cell;
    }
    if (fm.averageCharWidth() > 0) m.avgCharPerEm = fm.averageCharWidth() / 100.0;
    cache.emplace(key, m);
    return m;
}

}  // namespace

QString SubstituteFaceName(const std::string& faceName) {
    QString name = QString::fromUtf8(faceName.data(), static_cast<qsizetype>(faceName.size())).trimmed();
    if (name.startsWith(u'@')) name.remove(0, 1);
    const QString key = FoldFaceName(name);
    if (key.isEmpty()) return kGothic;
    static const char* const serifKeys[] = {"明朝", "mincho", "timesnewroman", "century", "serif"};
    static const char* const sansKeys[] = {"ゴシック",    "gothic",   "メイリオ", "meiryo",  "arial",
                                           "mssansserif", "tahoma",   "verdana",  "segoeui", "system",
                                           "terminal",    "fixedsys", "courier",  "osaka"};
    for (const char* k : serifKeys)
        if (key.contains(QString::fromUtf8(k))) return kMincho;
    for (const char* k : sansKeys)
        if (key.contains(QString::fromUtf8(k))) return kGothic;
    return IsInstalled(name) ? name : QString(kGothic);
}

std::vector<std::string> EnumFontFamilies() {
    static const char* const windowsFaces[] = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝",
                                               "MS UI Gothic",  "メイリオ",        "Arial",     "Century",
                                               "Courier New",   "Times New Roman"};
    QStringList names;
    for (const char* face : windowsFaces)
        names.append(QString::fromUtf8(face));
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family) && !names.contains(family, Qt::CaseInsensitive))
            names.append(family);
    std::vector<std::string> result;
    for (const QString& name : names)
        if (!name.isEmpty() && !name.startsWith(u'@')) result.push_back(name.toStdString());
    return result;
}

namespace {

// Advances are measured at the reference resolution; the font may be sized for another.
QFont ReferenceFont(const GdiFont& f) {
    QFont measured(f.font);
    measured.setPointSizeF(std::max(f.em, 0.1) * 72.0 / kReferenceDpi);
    return measured;
}

GdiFont BuildGdiFont(const LOGFONT& lf, double dpi) {
    GdiFont f;
    f.vertical = !lf.lfFaceName.empty() && lf.lfFaceName[0] == '@';
    f.escapement = lf.lfEscapement / 10.0;
    f.font = BaseFont(lf, SubstituteFaceName(lf.lfFaceName));
    const FaceMetrics m = MetricsOf(f.font);
    double cell;
    if (lf.lfHeight > 0) {
        cell = lf.lfHeight;
        f.em = cell / m.cellPerEm;
    } else if (lf.lfHeight < 0) {
        f.em = -static_cast<double>(lf.lfHeight);
        cell = f.em * m.cellPerEm;
    } else {
        cell = kDefaultCell;
        f.em = cell / m.cellPerEm;
    }
    f.ascent = std::round(cell * m.ascentShare);
    f.descent = std::round(cell) - f.ascent;
    // Qt takes sizes in points of the target device; below a tenth of a pixel nothing is legible.
    f.font.setPointSizeF(std::max(f.em, 0.1) * 72.0 / (dpi > 0 ? dpi : kReferenceDpi));
    if (lf.lfWidth > 0 && m.avgCharPerEm > 0 && f.em > 0) {
        const double stretch = 100.0 * lf.lfWidth / (m.avgCharPerEm * f.em);
        f.font.setStretch(static_cast<int>(std::clamp(std::round(stretch), 1.0, 4000.0)));
    }
    f.measureKey = ReferenceFont(f).key();
    return f;
}

// Kept for the whole run and never destroyed, as the measured fonts below; a drawing uses few
// fonts, and making one (face substitution, a QFont, its metrics) costs more than drawing a text.
template <class Key, class Value, class Make>
Value FindOrMake(std::mutex& lock, std::map<Key, Value>& values, Key key, Make make) {
    constexpr std::size_t kMaxValues = 256;
    std::lock_guard<std::mutex> guard(lock);
    auto it = values.find(key);
    if (it != values.end()) return it->second;
    if (values.size() >= kMaxValues) values.clear();
    return values.emplace(std::move(key), make()).first->second;
}

}  // namespace

GdiFont MakeGdiFont(const LOGFONT& lf, double dpi) {
    // Everything of the LOGFONT that BuildGdiFont reads, and the resolution.
    using Key = std::tuple<LONG, LONG, LONG, LONG, BYTE, BYTE, BYTE, std::string, double>;
    static std::mutex lock;
    static auto* fonts = new std::map<Key, GdiFont>;
    Key key{lf.lfHeight,    lf.lfWidth,     lf.lfEscapement, lf.lfWeight, lf.lfItalic,
            lf.lfUnderline, lf.lfStrikeOut, lf.lfFaceName,   dpi};
    return FindOrMake(lock, *fonts, std::move(key), [&] { return BuildGdiFont(lf, dpi); });
}

QFont MakeQFont(const LOGFONT& font, double dpiY) {
    return MakeGdiFont(font, dpiY).font;
}

namespace {

TEXTMETRIC BuildTextMetrics(const LOGFONT& lf) {
    const GdiFont f = MakeGdiFont(lf, kReferenceDpi);
    const QFontMetricsF fm(f.font, MeasureDevice());
    TEXTMETRIC tm;
    tm.tmAscent = static_cast<LONG>(f.ascent);
    tm.tmDescent = static_cast<LONG>(f.descent);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - static_cast<LONG>(std::lround(f.em)));
    tm.tmExternalLeading = std::max<LONG>(0, static_cast<LONG>(std::lround(fm.leading())));
    tm.tmAveCharWidth = static_cast<LONG>(std::lround(fm.averageCharWidth()));
    tm.tmMaxCharWidth = static_cast<LONG>(std::lround(fm.maxWidth()));
    tm.tmWeight = lf.lfWeight <= 0 ? FW_NORMAL : lf.lfWeight;
    tm.tmItalic = lf.lfItalic;
    tm.tmUnderlined = lf.lfUnderline;
    tm.tmStruckOut = lf.lfStrikeOut;
    tm.tmCharSet = lf.lfCharSet;
    return tm;
}

}  // namespace

TEXTMETRIC MeasureTextMetrics(const LOGFONT& lf) {
    // The escapement turns the text, not its measures.
    using Key = std::tuple<LONG, LONG, LONG, BYTE, BYTE, BYTE, BYTE, std::string>;
    static std::mutex lock;
    static auto* metrics = new std::map<Key, TEXTMETRIC>;
    Key key{lf.lfHeight,    lf.lfWidth,     lf.lfWeight,  lf.lfItalic,
            lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfFaceName};
    return FindOrMake(lock, *metrics, std::move(key), [&] { return BuildTextMetrics(lf); });
}

namespace {

// A font as text is measured in it, with the advance of each character it has measured: the
// text engine shapes one character in microseconds, and drawings repeat few characters often.
class MeasuredFont {
public:
    explicit MeasuredFont(const QFont& reference) : m_metrics(reference, MeasureDevice()) {
        m_ascii.fill(-1.0);
    }
    double Advance(std::string_view ch) {
        // Most characters of a drawing are ASCII: those go by their code, without a hash.
        const bool ascii = ch.size() == 1 && static_cast<unsigned char>(ch[0]) < m_ascii.size();
        if (ascii && m_ascii[static_cast<unsigned char>(ch[0])] >= 0.0)
            return m_ascii[static_cast<unsigned char>(ch[0])];
        const double advance = Measure(ch);
        if (ascii) m_ascii[static_cast<unsigned char>(ch[0])] = advance;
        return advance;
    }

private:
    double Measure(std::string_view ch) {
        auto it = m_advances.find(ch);
        if (it == m_advances.end())
            it = m_advances
                     .emplace(std::string(ch), m_metrics.horizontalAdvance(QString::fromUtf8(
                                                   ch.data(), static_cast<qsizetype>(ch.size()))))
                     .first;
        return it->second;
    }

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    QFontMetricsF m_metrics;
    std::unordered_map<std::string, double, Hash, std::equal_to<>> m_advances;
    std::array<double, 128> m_ascii;  // -1 until measured
};

std::mutex& AdvanceLock() {
    static std::mutex lock;
    return lock;
}

// Everything of a LOGFONT that changes a measure (not the escapement: text is measured unturned).
using MeasureKey = std::tuple<LONG, LONG, LONG, BYTE, BYTE, BYTE, BYTE, BYTE, std::string>;

// Fonts by key, kept for the whole run and never destroyed: fonts must not outlive the
// application object at exit. Called with AdvanceLock held.
template <class Key, class MakeReference>
MeasuredFont& FindOrAdd(std::map<Key, std::unique_ptr<MeasuredFont>>& fonts, Key key, MakeReference make) {
    constexpr std::size_t kMaxFonts = 256;
    auto it = fonts.find(key);
    if (it != fonts.end()) return *it->second;
    if (fonts.size() >= kMaxFonts) fonts.clear();
    return *fonts.emplace(std::move(key), std::make_unique<MeasuredFont>(make())).first->second;
}

MeasuredFont& MeasuredFontOf(const LOGFONT& lf) {
    static auto* fonts = new std::map<MeasureKey, std::unique_ptr<MeasuredFont>>;
    MeasureKey key{lf.lfHeight,    lf.lfWidth,   lf.lfWeight,         lf.lfItalic,  lf.lfUnderline,
                   lf.lfStrikeOut, lf.lfCharSet, lf.lfPitchAndFamily, lf.lfFaceName};
    return FindOrAdd(*fonts, std::move(key), [&] { return ReferenceFont(MakeGdiFont(lf, kReferenceDpi)); });
}

// A font made already, by the description of its reference font.
MeasuredFont& MeasuredFontOf(const GdiFont& f) {
    static auto* fonts = new std::map<QString, std::unique_ptr<MeasuredFont>>;
    return FindOrAdd(*fonts, f.measureKey.isEmpty() ? ReferenceFont(f).key() : f.measureKey,
                     [&] { return ReferenceFont(f); });
}

}  // namespace

namespace {

// Visits the UTF-8 characters of text in order; a sequence cut off at the end is one character.
template <class Visit>
void ForEachCharacter(const std::string& text, Visit visit) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n =
            std::min(Utf8SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        visit(std::string_view(text.data() + i, n));
        i += n;
    }
}

}  // namespace

std::vector<GdiGlyph> SplitGlyphs(const GdiFont& f, const std::string& text) {
    std::vector<GdiGlyph> glyphs;
    std::lock_guard<std::mutex> guard(AdvanceLock());
    MeasuredFont& measured = MeasuredFontOf(f);
    ForEachCharacter(text, [&](std::string_view ch) {
        GdiGlyph g;
        g.text = QString::fromUtf8(ch.data(), static_cast<qsizetype>(ch.size()));
        g.fullWidth = ch.size() > 1 && Cp932Length(ch) == 2;
        g.advance = measured.Advance(ch);
        glyphs.push_back(std::move(g));
    });
    return glyphs;
}

double TextAdvance(const GdiFont& f, const std::string& text) {
    std::lock_guard<std::mutex> guard(AdvanceLock());
    MeasuredFont& measured = MeasuredFontOf(f);
    double width = 0.0;
    ForEachCharacter(text, [&](std::string_view ch) { width += measured.Advance(ch); });
    return width;
}

int MeasureTextWidth(const LOGFONT& lf, const std::string& text, std::vector<int>* byteExtents) {
    if (byteExtents) byteExtents->clear();
    if (text.empty()) return 0;
    std::lock_guard<std::mutex> guard(AdvanceLock());
    MeasuredFont& font = MeasuredFontOf(lf);
    double x = 0.0;
    ForEachCharacter(text, [&](std::string_view ch) {
        x += font.Advance(ch);
        if (!byteExtents) return;
        const int bytes = ch.size() == 1 ? 1 : static_cast<int>(std::max<std::size_t>(1, Cp932Length(ch)));
        for (int b = 0; b < bytes; ++b)
            byteExtents->push_back(static_cast<int>(std::lround(x)));
    });
    return static_cast<int>(std::lround(x));
}
