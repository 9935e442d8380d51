// Everything a text shape has but its string: the reference point and the measured box placed on it
// by the alignment word, the font, rotation and vertical writing, and the optional frame and
// background. The single-line and multi-line text shapes derive from it; the dimension, label and
// balloon shapes keep their text in such a shape.
#pragma once

#include "model/shapes/CadShape.h"
#include "model/shapes/text/TextFontName.h"

struct LOGFONT;
class CFont;

// Alignment word: bits 0-1 horizontal (0 left, 1 centre, 2 right), bits 2-3 vertical (0 top,
// 4 middle, 8 bottom) of the box point that lies on the reference point.
inline constexpr int kAlignCentre = 1;
inline constexpr int kAlignRight = 2;
inline constexpr int kAlignMiddle = 4;
inline constexpr int kAlignBottom = 8;
inline constexpr int kAlignCentreBottom = kAlignCentre | kAlignBottom;

class MTextShapeBase : public MCadShape {
    DECLARE_SERIAL(MTextShapeBase)
public:
    // Box (1, -1), text height 8, black text and frame colour, no fill, empty font name (the
    // default face).
    MTextShapeBase();
    ~MTextShapeBase() override;

    // reference point, box size, font name, text height, character width, angle, text flags,
    // alignment, text colour, line colour, line width, line style, fill.
    void Serialize(CArchive& ar) override;
    // The reference point.
    MFloatPoint GetCenter() const override;
    // Extents follow at the next Recalc.
    void Move(const MFloatPoint& offset) override;
    BOOL IsValid() const override;
    bool HasFiniteValues() const override;
    // MeasureText, then the rotated box as the extent.
    void Recalc(MCadView* view) override;
    void SetFillStyle(const MFillStyle& fill) override;
    MFillStyle GetFillStyle() const override;
    // The frame's stroke, with the auxiliary-line rule.
    const MStroke* GetStroke() const override;
    // An auxiliary style turns the frame and the text blue.
    void ChangeStroke(const MStrokeChange& change) override;
    MTextPresence GetTextStyle(MTextStyle* style) const override;
    void ChangeTextStyle(const MTextStyleChange& change) override;
    // The reference point turns about (cx, cy); the angle grows by angle.
    void Rotate(double cx, double cy, double angle) override;
    int GetCapabilities() const override;

    // The text family's own operations.
    // Sizes the box to the text and font (nothing here). view may be null: the screen measures.
    virtual void MeasureText(MCadView* view);
    // MeasureText, then the reference point becomes point.
    virtual void MoveTo(MCadView* view, const MFloatPoint& point);
    // The corner of the unrotated box from which it spans (width, height).
    virtual MFloatPoint GetTextOrigin() const;
    // Background and frame for the normal, highlight and grayed modes.
    virtual void DrawBox(MCadView* view, CDC* dc);
    virtual void DrawBoxHighlight(MCadView* view, CDC* dc);
    virtual void DrawBoxGrayed(MCadView* view, CDC* dc);

    // The reference point that places a box of positive width and negative height on the
    // unrotated rectangle box (the inverse of GetTextOrigin).
    MFloatPoint GetAlignmentPoint(const MFloatRect& box) const;
    // The angle minus pi/2 for vertical writing, in [-pi, pi]: what turns the box.
    double GetEffectiveAngle() const;
    // The origin turned about the reference point by the effective angle.
    MFloatPoint GetRotatedOrigin() const;
    // The box corners (ox, oy + h), (ox + w, oy + h), (ox + w, oy), (ox, oy), turned about the
    // reference point by the effective angle.
    void GetBoxCorners(MFloatPoint corners[4]) const;
    // The font of every drawing and measurement without its size: weight, italic, underline,
    // strike-out, face (trimmed, the default face when empty, "@" for vertical writing) and
    // escapement in tenths of a degree.
    void FillLogFont(LOGFONT& font) const;
    // The face name as FillLogFont puts it, cut to fit the 31-byte face field (the "@" included).
    CString GetFaceName() const;
    const MTextFontName& GetSharedFontName() const { return m_fontName; }

    const MFloatPoint& GetPoint() const { return m_point; }
    void SetPoint(const MFloatPoint& p) { m_point = p; }
    double GetBoxWidth() const { return m_boxWidth; }
    double GetBoxHeight() const { return m_boxHeight; }
    void SetBoxSize(double width, double height) { m_boxWidth = width, m_boxHeight = height; }
    double GetAngle() const { return m_angle; }
    void SetAngle(double angle) { m_angle = angle; }
    int GetAlignment() const { return m_alignment; }
    void SetAlignment(int alignment) { m_alignment = alignment; }
    double GetCharWidth() const { return m_charWidth; }
    void SetCharWidth(double width) { m_charWidth = width; }
    void SetFontName(const CString& name) { m_fontName = MTextFontName(name); }
    void SetFontName(const MTextFontName& name) { m_fontName = name; }
    CString GetFontName() const { return m_fontName.Name(); }
    void SetTextSize(double size) { m_textHeight = size; }
    double GetTextSize() const { return m_textHeight; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    COLORREF GetTextColor() const { return m_textColor; }
    int GetTextFlags() const { return m_textFlags; }
    void SetTextFlags(int flags) { m_textFlags = flags; }
    BOOL IsVertical() const { return (m_textFlags & kTextVertical) != 0; }
    BOOL HasFrame() const { return (m_textFlags & kTextFrame) != 0; }

protected:
    // The rotated box as the extent, normalised (no UpdateDrawExtent).
    void UpdateExtentFromBox();
    // The stored numbers, font name, colours and fill of other, as loading them would set them.
    void CopyStoredFrom(const MTextShapeBase& other);
    // Makes the font for drawing with the given cell height in logical pixels; FALSE when the height
    // is 0 or out of range.
    BOOL CreateDrawingFont(CFont& font, int width, int height) const;
    // The first two lines of the text form: the numbers (with the layout flags after the text
    // colour when given) and the font name. The reader takes line colour, style, width and fill
    // from the rest of the first line on their own, so a line that ends early keeps them. box, when
    // given, stands for the box's width and height.
    void WriteBaseText(std::ostream& os, const int* layoutFlags, const double* box = nullptr) const;
    void ReadBaseText(std::istream& is, int* layoutFlags);

    MFloatPoint m_point;
    double m_boxWidth = 1.0;
    double m_boxHeight = -1.0;
    MStroke m_stroke;  // the frame's
    MFillStyle m_fill;
    COLORREF m_textColor = 0;
    MTextFontName m_fontName;
    int m_textFlags = 0;
    int m_alignment = 0;
    double m_textHeight = 8.0;
    double m_charWidth = 0.0;
    double m_angle = 0.0;
};

// The face used when a text names none ("ＭＳ ゴシック", string 62723).
CString GetDefaultTextFace();
