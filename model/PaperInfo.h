// The paper of a drawing: size, scale, orientation and where drawing coordinate (0, 0) lies on the
// sheet. Paper millimetres = (drawing point + origin offset) × scale.
#pragma once

#include <iosfwd>
#include <string>

#include "model/geometry/FloatPoint.h"
#include "platform/WinTypes.h"

class CArchive;

// A paper size entry; width and height in millimetres as listed (landscape: A4 is 297 × 210).
class MPaperSizeInfo {
public:
    MPaperSizeInfo();
    MPaperSizeInfo(std::string name, std::string sizeText, double width, double height);

    void Set(std::string name, std::string sizeText, double width, double height);
    // Width and height finite and above 0.
    bool IsValid() const;
    // Entries are equal when width and height are exactly equal.
    bool operator==(const MPaperSizeInfo& o) const { return m_width == o.m_width && m_height == o.m_height; }

    double m_width;
    double m_height;
    std::string m_name;      // "A4"
    std::string m_sizeText;  // "297mm×210mm"
};

// The scales the program works with, in paper millimetres per drawing unit: past them the paper, or
// a drawing on it, is too large or too small for the numbers to hold.
inline constexpr double kMinPaperScale = 1e-6;
inline constexpr double kMaxPaperScale = 1e6;
inline bool IsUsablePaperScale(double scale) {
    return scale >= kMinPaperScale && scale <= kMaxPaperScale;
}

// A scale entry: paper millimetres per drawing unit (0.01 for "1 : 100").
class MPaperScaleInfo {
public:
    MPaperScaleInfo();
    MPaperScaleInfo(std::string name, double scale);

    void Set(std::string name, double scale);
    // Scale finite and above 0.
    bool IsValid() const;
    // Entries are equal when the scales are exactly equal.
    bool operator==(const MPaperScaleInfo& o) const { return m_scale == o.m_scale; }

    double m_scale;
    std::string m_name;
};

class MPaperInfo {
public:
    // Origin position codes: column = code % 3 (left, centre, right), row = code / 3 (top, middle,
    // bottom) of the sheet point where drawing (0, 0) lies.
    static constexpr int kOriginTopLeft = 0;
    static constexpr int kOriginCentre = 4;
    static constexpr int kOriginBottomLeft = 6;

    // A4 landscape at 1 : 100 with the origin at the top left.
    MPaperInfo();
    // Invalid entries are replaced by the defaults and an unknown code by bottom left.
    MPaperInfo(const MPaperSizeInfo& size, const MPaperScaleInfo& scale, int horizontal, int originCode);

    // Width and height as oriented: landscape gives (width, height), portrait (height, width).
    MFloatSize GetSize() const;
    // Stores the code (an unknown one becomes bottom left) and derives the origin offset from it.
    void SetOriginPosition(int code);
    int GetOriginPosition() const { return m_originCode; }
    // Replaces the scale entry and derives the offset again. A factor that is not finite and above
    // 0 is not taken (the paper keeps its scale): every conversion of the view divides by it.
    void SetScale(std::string name, double factor);
    // Replaces the size entry (an invalid one is not taken) and derives the offset again.
    void SetSizeInfo(const MPaperSizeInfo& size);
    // Any value but 0 is landscape; derives the offset again.
    void SetHorizontal(int horizontal);

    const MPaperSizeInfo& GetSizeInfo() const { return m_size; }
    const MPaperScaleInfo& GetScaleInfo() const { return m_scaleInfo; }
    double GetScale() const { return m_scaleInfo.m_scale; }
    // 1 landscape, 0 portrait.
    int GetHorizontal() const { return m_horizontal; }
    // Drawing units.
    const MFloatPoint& GetOriginOffset() const { return m_originOffset; }

    // Archive form: size name, size text, width, height, scale name, scale, horizontal (int32),
    // origin code (int32). Loading validates the values and derives the offset.
    void Serialize(CArchive& ar);
    // Text form of the drawing file's [PAPER] section: six lines, each beginning with a TAB.
    void WriteText(std::ostream& os) const;
    // Reads the six lines. Values that are missing or do not parse fall back to the defaults (size,
    // scale, orientation, code each on its own); a section cut short leaves the paper unchanged and
    // the next section line unread. The stream never fails on a damaged value.
    void ReadText(std::istream& is);

private:
    void UpdateOriginOffset();

    int m_originCode;
    MFloatPoint m_originOffset;
    MPaperSizeInfo m_size;
    MPaperScaleInfo m_scaleInfo;
    int m_horizontal;
};
