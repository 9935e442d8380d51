// The fill record against a plain copy of its earlier by-value layout (kind, colour vector, four
// doubles): random sequences of every operation drive both, and after each step every getter,
// equality and both stored forms must agree.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/FillStyle.h"
#include "platform/Archive.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/TextFile.h"

namespace {
namespace reference {

bool IsValidPairing(int kind, int count) {
    if (kind == kFillPlain) return count == 1;
    if (kind == kFillLinear || kind == kFillSquare || kind == kFillCircular) return count == 2 || count == 3;
    return false;
}

bool ReadColorText(std::istream& is, COLORREF& out) {
    long long v = 0;
    if (!(is >> v)) return false;
    if (v < 0 || v > 0xFFFFFFFFLL) {
        is.setstate(std::ios::failbit);
        return false;
    }
    out = static_cast<COLORREF>(v);
    return true;
}

class Fill {
public:
    Fill() = default;
    Fill(COLORREF c) { SetColor(c); }
    Fill(int kind, double angle, COLORREF c1, COLORREF c2) : m_angle(angle) { SetColors(kind, {c1, c2}); }
    Fill(int kind, double angle, COLORREF c1, COLORREF c2, COLORREF c3, double middle)
        : m_angle(angle), m_middle(middle) {
        SetColors(kind, {c1, c2, c3});
    }
    Fill(int kind, double angle, double cx, double cy, COLORREF c1, COLORREF c2)
        : m_centerX(cx), m_centerY(cy), m_angle(angle) {
        SetColors(kind, {c1, c2});
    }
    Fill(int kind, double angle, double cx, double cy, COLORREF c1, COLORREF c2, COLORREF c3, double middle)
        : m_centerX(cx), m_centerY(cy), m_angle(angle), m_middle(middle) {
        SetColors(kind, {c1, c2, c3});
    }
    Fill(int kind, double cx, double cy, COLORREF c1, COLORREF c2) : m_centerX(cx), m_centerY(cy) {
        SetColors(kind, {c1, c2});
    }
    Fill(int kind, double cx, double cy, COLORREF c1, COLORREF c2, COLORREF c3, double middle)
        : m_centerX(cx), m_centerY(cy), m_middle(middle) {
        SetColors(kind, {c1, c2, c3});
    }
    Fill(const Fill& o) { *this = o; }
    Fill& operator=(const Fill& o) {
        if (this == &o) return *this;
        m_colors = o.m_colors;
        m_kind = m_colors.empty() ? kFillPlain : o.m_kind;
        m_centerX = o.m_centerX;
        m_centerY = o.m_centerY;
        m_angle = o.m_angle;
        m_middle = o.m_middle;
        return *this;
    }

    BOOL IsNone() const { return m_colors.empty(); }
    int GetKind() const { return m_kind; }
    int GetColorCount() const { return static_cast<int>(m_colors.size()); }
    COLORREF GetColor(int index) const {
        if (index < 0 || index >= GetColorCount()) AfxThrowInvalidArgException();
        return m_colors[static_cast<std::size_t>(index)];
    }
    const COLORREF* GetColors() const { return m_colors.empty() ? nullptr : m_colors.data(); }
    BOOL IsGradation() const { return m_kind >= kFillLinear && m_kind <= kFillCircular && !m_colors.empty(); }
    double GetCenterX() const { return m_centerX; }
    double GetCenterY() const { return m_centerY; }
    double GetAngle() const { return m_angle; }
    double GetMiddle() const { return m_middle; }
    void SetCenter(double cx, double cy) { m_centerX = cx, m_centerY = cy; }
    void SetAngle(double angle) { m_angle = angle; }
    void SetMiddle(double middle) { m_middle = middle; }
    void SetColor(COLORREF c) {
        m_kind = kFillPlain;
        if (c == kNoColor)
            m_colors.clear();
        else
            m_colors.assign(1, c);
    }
    void Clear() {
        m_kind = kFillPlain;
        m_colors.clear();
    }
    bool IsStorable() const { return IsNone() || IsValidPairing(m_kind, GetColorCount()); }

    bool operator==(const Fill& o) const {
        if (IsNone() || o.IsNone()) return IsNone() && o.IsNone();
        if (m_kind != o.m_kind || m_colors != o.m_colors) return false;
        switch (m_kind) {
            case kFillPlain:
                return true;
            case kFillLinear:
                if (m_angle != o.m_angle) return false;
                break;
            case kFillSquare:
                if (m_angle != o.m_angle || m_centerX != o.m_centerX || m_centerY != o.m_centerY)
                    return false;
                break;
            case kFillCircular:
                if (m_centerX != o.m_centerX || m_centerY != o.m_centerY) return false;
                break;
            default:
                break;
        }
        return m_colors.size() != 3 || m_middle == o.m_middle;
    }

    friend void Load(CArchive& ar, Fill& f) {
        f.Clear();
        std::int32_t kind = 0, count = 0;
        ar >> kind >> count;
        if (count == 0) return;
        if (!IsValidPairing(kind, count)) AfxThrowArchiveException(CArchiveException::genericException);
        Fill read;
        read.m_kind = kind;
        read.m_colors.resize(static_cast<std::size_t>(count));
        for (COLORREF& c : read.m_colors) {
            DWORD v = 0;
            ar >> v;
            c = v;
        }
        ar >> read.m_centerX >> read.m_centerY >> read.m_angle >> read.m_middle;
        f = read;
    }

    friend void ReadText(std::istream& is, Fill& f) {
        is >> std::ws;
        const int c = is.peek();
        if (c != 'G' && c != 'g') {
            COLORREF color = kNoColor;
            if (!ReadColorText(is, color)) {
                f.Clear();
                return;
            }
            f.SetColor(color);
            return;
        }
        is.get();
        int t = 0;
        if (!(is >> t)) {
            f.Clear();
            return;
        }
        Fill read;
        int count = 0;
        switch (t) {
            case 1:
                read.m_kind = kFillLinear;
                is >> read.m_angle >> count;
                break;
            case 2:
                read.m_kind = kFillSquare;
                is >> read.m_angle >> read.m_centerX >> read.m_centerY >> count;
                break;
            case 3:
                read.m_kind = kFillCircular;
                is >> read.m_centerX >> read.m_centerY >> count;
                break;
            default:
                return;
        }
        if (!is || !IsValidPairing(read.m_kind, count)) {
            is.setstate(std::ios::failbit);
            f.Clear();
            return;
        }
        read.m_colors.resize(static_cast<std::size_t>(count));
        for (COLORREF& color : read.m_colors) {
            if (!ReadColorText(is, color)) {
                f.Clear();
                return;
            }
        }
        if (count == 3 && !(is >> read.m_middle)) {
            f.Clear();
            return;
        }
        f = read;
    }

private:
    void SetColors(int kind, std::initializer_list<COLORREF> colors) {
        m_kind = kind;
        m_colors.assign(colors);
    }

    int m_kind = kFillPlain;
    std::vector<COLORREF> m_colors;
    double m_centerX = 0.0;
    double m_centerY = 0.0;
    double m_angle = 0.0;
    double m_middle = 0.0;
};

void Store(CArchive& ar, const Fill& f) {
    ar << static_cast<std::int32_t>(f.GetKind()) << static_cast<std::int32_t>(f.GetColorCount());
    if (f.IsNone()) return;
    for (int i = 0; i < f.GetColorCount(); ++i)
        ar << static_cast<DWORD>(f.GetColor(i));
    ar << f.GetCenterX() << f.GetCenterY() << f.GetAngle() << f.GetMiddle();
}

void WriteText(std::ostream& os, const Fill& f) {
    if (f.IsNone()) {
        os << kNoColor;
        return;
    }
    switch (f.GetKind()) {
        case kFillLinear:
            os << "G1 " << f.GetAngle() << ' ';
            break;
        case kFillSquare:
            os << "G2 " << f.GetAngle() << ' ' << f.GetCenterX() << ' ' << f.GetCenterY() << ' ';
            break;
        case kFillCircular:
            os << "G3 " << f.GetCenterX() << ' ' << f.GetCenterY() << ' ';
            break;
        default:
            os << f.GetColor(0);
            return;
    }
    os << f.GetColorCount();
    for (int i = 0; i < f.GetColorCount(); ++i)
        os << ' ' << f.GetColor(i);
    if (f.GetColorCount() > 2) os << ' ' << f.GetMiddle();
}

}  // namespace reference

std::vector<BYTE> Bytes(const MFillStyle& f) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << f;
    }
    return file.Data();
}

std::vector<BYTE> Bytes(const reference::Fill& f) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        reference::Store(ar, f);
    }
    return file.Data();
}

// What a load did: -1 nothing thrown, else the archive cause; 1000 for any other exception.
template <class F, class Read>
int LoadOutcome(const std::vector<BYTE>& bytes, F& f, Read read) {
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    try {
        read(ar, f);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    } catch (...) {
        return 1000;
    }
    return -1;
}

// The stream's state and what it left unread.
std::string AfterRead(std::istream& is) {
    std::string state = std::to_string(is.rdstate()) + "|";
    is.clear();
    std::ostringstream rest;
    rest << is.rdbuf();
    return state + rest.str();
}

void ExpectSame(const MFillStyle& f, const reference::Fill& r, int precision) {
    ASSERT_EQ(f.IsNone(), r.IsNone());
    ASSERT_EQ(f.GetKind(), r.GetKind());
    ASSERT_EQ(f.GetColorCount(), r.GetColorCount());
    ASSERT_EQ(f.GetColors() == nullptr, r.GetColors() == nullptr);
    for (int i = 0; i < r.GetColorCount(); ++i) {
        ASSERT_EQ(f.GetColor(i), r.GetColor(i));
        ASSERT_EQ(f.GetColors()[i], r.GetColors()[i]);
    }
    ASSERT_EQ(f.IsGradation(), r.IsGradation());
    ASSERT_EQ(f.IsStorable(), r.IsStorable());
    // Bitwise: a -0.0 or a NaN must come back as it went in.
    ASSERT_EQ(std::bit_cast<std::uint64_t>(f.GetCenterX()), std::bit_cast<std::uint64_t>(r.GetCenterX()));
    ASSERT_EQ(std::bit_cast<std::uint64_t>(f.GetCenterY()), std::bit_cast<std::uint64_t>(r.GetCenterY()));
    ASSERT_EQ(std::bit_cast<std::uint64_t>(f.GetAngle()), std::bit_cast<std::uint64_t>(r.GetAngle()));
    ASSERT_EQ(std::bit_cast<std::uint64_t>(f.GetMiddle()), std::bit_cast<std::uint64_t>(r.GetMiddle()));
    ASSERT_EQ(Bytes(f), Bytes(r));
    TextOutput a, b;
    a.precision(precision);
    b.precision(precision);
    WriteFillStyleText(a, f);
    reference::WriteText(b, r);
    ASSERT_EQ(a.str(), b.str());
}

constexpr int kSlots = 4;

class Sequence {
public:
    explicit Sequence(std::uint64_t round) : m_rng(round) {}

    void Step();

    std::array<MFillStyle, kSlots> fills;
    std::array<reference::Fill, kSlots> refs;
    int precision = 6;
    std::string last;
    int touched[2] = {0, 0};

private:
    std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(m_rng() % n); }
    int Slot() { return static_cast<int>(Pick(kSlots)); }
    // Zeros of both signs often, so that records keep coming back to the default state.
    double Double() {
        static const double kSpecial[] = {0.0,
                                          0.0,
                                          0.0,
                                          -0.0,
                                          0.5,
                                          0.25,
                                          1e300,
                                          -1e-300,
                                          1.0 / 3,
                                          std::numeric_limits<double>::infinity(),
                                          std::numeric_limits<double>::quiet_NaN()};
        if (Pick(3) == 0) return std::uniform_real_distribution<double>(-10, 10)(m_rng);
        return kSpecial[Pick(std::size(kSpecial))];
    }
    COLORREF Color() {
        static const COLORREF kSpecial[] = {0, kNoColor, 0xFFFFFF, 0xFFFFFFFF, RGB(255, 0, 0)};
        if (Pick(2) == 0) return static_cast<COLORREF>(m_rng());
        return kSpecial[Pick(std::size(kSpecial))];
    }
    int Kind() {
        static const int kKinds[] = {kFillLinear, kFillSquare, kFillCircular, kFillPlain, 255, 259, -1, 7};
        return kKinds[Pick(std::size(kKinds))];
    }
    void Construct(int slot);
    std::vector<BYTE> DamagedBytes();
    std::string DamagedText();

    std::mt19937_64 m_rng;
};

void Sequence::Construct(int s) {
    const int kind = Kind();
    const double a = Double(), x = Double(), y = Double(), m = Double();
    const COLORREF c1 = Color(), c2 = Color(), c3 = Color();
    switch (Pick(8)) {
        case 0:
            fills[s] = MFillStyle(), refs[s] = reference::Fill();
            break;
        case 1:
            fills[s] = MFillStyle(c1), refs[s] = reference::Fill(c1);
            break;
        case 2:
            fills[s] = MFillStyle(kind, a, c1, c2), refs[s] = reference::Fill(kind, a, c1, c2);
            break;
        case 3:
            fills[s] = MFillStyle(kind, a, c1, c2, c3, m), refs[s] = reference::Fill(kind, a, c1, c2, c3, m);
            break;
        case 4:
            fills[s] = MFillStyle(kind, a, x, y, c1, c2), refs[s] = reference::Fill(kind, a, x, y, c1, c2);
            break;
        case 5:
            fills[s] = MFillStyle(kind, a, x, y, c1, c2, c3, m);
            refs[s] = reference::Fill(kind, a, x, y, c1, c2, c3, m);
            break;
        case 6:
            fills[s] = MFillStyle(kind, x, y, c1, c2), refs[s] = reference::Fill(kind, x, y, c1, c2);
            break;
        default:
            fills[s] = MFillStyle(kind, x, y, c1, c2, c3, m),
            refs[s] = reference::Fill(kind, x, y, c1, c2, c3, m);
            break;
    }
}

// A stored record, often damaged: cut short, a byte changed, or its kind and count replaced.
std::vector<BYTE> Sequence::DamagedBytes() {
    std::vector<BYTE> bytes = Bytes(refs[Slot()]);
    switch (Pick(4)) {
        case 0:
            break;
        case 1:
            bytes.resize(Pick(bytes.size() + 1));
            break;
        case 2:
            bytes[Pick(bytes.size())] = static_cast<BYTE>(m_rng());
            break;
        default: {
            const std::int32_t kind = Kind(), count = static_cast<std::int32_t>(Pick(6)) - 1;
            std::memcpy(bytes.data(), &kind, 4);
            std::memcpy(bytes.data() + 4, &count, 4);
            break;
        }
    }
    return bytes;
}

// A written record, often damaged: cut short, a word changed, or a known bad form.
std::string Sequence::DamagedText() {
    TextOutput out;
    out.precision(precision);
    reference::WriteText(out, refs[Slot()]);
    std::string text = out.str() + (Pick(2) ? " 5 tail" : "");
    static const char* const kWords[] = {"x", "-5", "99999999999", "G", "g2", "G7", "4", "0", "1e999", "nan"};
    static const char* const kForms[] = {"",          "G",        "G7 1 2 3", "g3 0.5 0.5 2 1 2",
                                         "G1 0.5",    "16777216", "  65535",  "G2 1 2 3 3 1 2",
                                         "G1 x 2 1 2"};
    switch (Pick(4)) {
        case 0:
            break;
        case 1:
            text.resize(Pick(text.size() + 1));
            break;
        case 2: {
            const std::size_t at = text.empty() ? 0 : Pick(text.size());
            const std::size_t end = text.find(' ', at);
            text.replace(at, end == std::string::npos ? std::string::npos : end - at,
                         kWords[Pick(std::size(kWords))]);
            break;
        }
        default:
            text = kForms[Pick(std::size(kForms))];
            break;
    }
    return text;
}

void Sequence::Step() {
    const int s = Slot(), o = Slot();
    touched[0] = s, touched[1] = o;
    switch (Pick(14)) {
        case 0:
        case 1:
            last = "construct";
            Construct(s);
            break;
        case 2:
            last = "SetCenter";
            {
                const double x = Double(), y = Double();
                fills[s].SetCenter(x, y), refs[s].SetCenter(x, y);
            }
            break;
        case 3:
            last = "SetAngle";
            {
                const double a = Double();
                fills[s].SetAngle(a), refs[s].SetAngle(a);
            }
            break;
        case 4:
            last = "SetMiddle";
            {
                const double m = Double();
                fills[s].SetMiddle(m), refs[s].SetMiddle(m);
            }
            break;
        case 5:
            last = "Clear";
            fills[s].Clear(), refs[s].Clear();
            break;
        case 6:
            last = "SetColor";
            {
                const COLORREF c = Color();
                fills[s].SetColor(c), refs[s].SetColor(c);
            }
            break;
        case 7:
            last = "copy assignment (perhaps to itself)";
            fills[s] = fills[o], refs[s] = refs[o];
            break;
        case 8: {
            last = "copy construction";
            const MFillStyle copy(fills[o]);
            fills[s] = copy, refs[s] = reference::Fill(refs[o]);
            break;
        }
        case 9: {
            // The earlier layout copied on a move; now a moved-from record is the default one.
            last = "move construction";
            const reference::Fill copied = refs[o];
            MFillStyle moved(std::move(fills[o]));
            refs[o] = reference::Fill();
            ExpectSame(moved, copied, precision);
            fills[s] = std::move(moved);
            refs[s] = copied;
            break;
        }
        case 10: {
            last = "move assignment (perhaps to itself)";
            MFillStyle& source = fills[o];
            fills[s] = std::move(source);
            if (s != o) {
                refs[s] = refs[o];
                refs[o] = reference::Fill();
            }
            break;
        }
        case 11: {
            last = "archive load";
            const std::vector<BYTE> bytes = DamagedBytes();
            const int a = LoadOutcome(bytes, fills[s], [](CArchive& ar, MFillStyle& f) { ar >> f; });
            const int b = LoadOutcome(bytes, refs[s], [](CArchive& ar, reference::Fill& f) { Load(ar, f); });
            EXPECT_EQ(a, b);
            break;
        }
        case 12: {
            last = "text read";
            const std::string text = DamagedText();
            TextInput a(text), b(text);
            ReadFillStyleText(a, fills[s]);
            ReadText(b, refs[s]);
            EXPECT_EQ(AfterRead(a), AfterRead(b)) << text;
            break;
        }
        default:
            last = "text precision";
            precision = std::array{6, 15, 17}[Pick(3)];
            break;
    }
}

TEST(FillStyleReference, RandomSequencesAnswerAsTheEarlierLayout) {
    for (std::uint64_t round = 1; round <= 2000; ++round) {
        Sequence q(round);
        for (int step = 0; step < 40; ++step) {
            q.Step();
            SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step) + ": " + q.last);
            for (int i : q.touched)
                ExpectSame(q.fills[i], q.refs[i], q.precision);
            for (int i = 0; i < kSlots; ++i) {
                for (int j = 0; j < kSlots; ++j)
                    ASSERT_EQ(q.fills[i] == q.fills[j], q.refs[i] == q.refs[j]) << i << " " << j;
                ASSERT_EQ(q.fills[i] != MFillStyle(), !(q.refs[i] == reference::Fill()));
            }
            if (HasFailure()) return;
        }
    }
}

}  // namespace
