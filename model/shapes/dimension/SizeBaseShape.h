// The common base of the dimensions: a group whose members (text, extension lines, dimension line
// and arrows) are derived data, rebuilt from the dimension's own points, attributes, style and text
// whenever they are missing and never stored. Type name and id stay the group's.
//
// Members need a view only for the paper scale of the style's lengths and for measuring the text.
// Exports, which know the paper scale, rebuild a dimension that was never drawn on a widget-free
// view of that scale; hit tests rebuild with the view they are given.
#pragma once

#include "model/shapes/containers/GeneratedGroupShape.h"
#include "model/shapes/dimension/SizeStyle.h"

class MTextShape;

class MSizeBaseShape : public MGeneratedGroupShape {
    DECLARE_SERIAL(MSizeBaseShape)
public:
    // Flag bit 0: the text is the user's and is never recomputed.
    static constexpr int kUserText = 0x1;

    // Colour and text colour 0, no fill, the program-wide default style, no members.
    MSizeBaseShape();
    ~MSizeBaseShape() override;

    // The dimension part only (text, colour, width, style, text colour, fill, dimension style,
    // flags); nothing of the group. Loading leaves the members to be rebuilt.
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    // 4: the extent's corners (left, top), (right, top), (right, bottom), (left, bottom).
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    // The All forms are the plain ones.
    void ScaleBy(const MShapeScale& scale) override;
    // Rebuild, then the group's extent from the members. Without a view a dimension that is not
    // built stays so, and its extent becomes the bounds of its handles.
    void Recalc(MCadView* view) override;
    // The setters store the value and pass it on to the members; the getters answer the stored one.
    void SetFillStyle(const MFillStyle& fill) override;
    MFillStyle GetFillStyle() const override;
    // The shape's own stroke as it is stored; a change goes to the members too.
    MStroke GetStrokeAttributes() const override;
    void ChangeStroke(const MStrokeChange& change) override;
    // The members' text with the shape's own text colour, which is stored only: the text member
    // takes it at the next rebuild.
    MTextPresence GetTextStyle(MTextStyle* style) const override;
    void ChangeTextStyle(const MTextStyleChange& change) override;
    void SetTextColor(COLORREF color) { m_textColor = color; }
    COLORREF GetTextColor() const { return m_textColor; }

    // Recomputes the text from the measured value unless the user-text flag is set.
    virtual void UpdateText();

    const CString& GetText() const { return m_text; }
    void SetText(const CString& text) { m_text = text; }
    int GetFlags() const { return m_flags; }
    void SetFlags(int flags) { m_flags = flags; }
    BOOL IsUserText() const { return (m_flags & kUserText) != 0; }
    const MSizeStyle& GetSizeStyle() const { return m_style; }
    void SetSizeStyle(const MSizeStyle& style) { m_style = style; }
    // Whether the members are present.
    BOOL IsBuilt() const { return GetShapeCount() > 0; }
    // Makes the dimension stale: the members are rebuilt on their next use.
    void DeleteMembers() { m_members.DeleteAll(); }

protected:
    // The style's lengths converted to drawing units for the view.
    struct Lengths {
        double textHeight;
        double extensionGap;
        double outsideLeader;
        double extensionOvershoot;
        double textGap;
    };
    Lengths GetLengths(MCadView* view) const;
    // A text member in the dimension's colours, fill, font and text height, holding the text.
    MTextShape* NewTextMember(const Lengths& lengths) const;
    // The angle of a text along v, never upside down: 0 for the zero vector, pi/2 for a vertical
    // one, otherwise the direction folded into [-pi/2, pi/2].
    static double GetTextAngle(const MFloatPoint& v);
    // Colour, width and line style of the dimension; with fill also a plain fill of the colour.
    void ApplyLineAttributes(MCadShape* shape, BOOL fill) const;
    // The members of a dimension line C-D with its text at E: the text, the extension lines
    // A-C and B-D when given, then one arrowed line, or, when the text does not fit between the
    // ends, two outside leaders with their arrows and a plain line.
    void BuildLinearMembers(MCadView* view, const MFloatPoint& c, const MFloatPoint& d, const MFloatPoint& e,
                            const MFloatPoint* a, const MFloatPoint* b);
    // Builds the members when they are missing: with the view (nothing without one), or for
    // exports on a widget-free view of the paper scale. Each dimension's Rebuild builds them.
    void EnsureMembers(MCadView* view) const override;
    void EnsureMembersForExport(double paperScale) const override;

    // The text form's tail of the first line (colour, line style, width, flags, text colour, fill
    // and the line end), then the style's two lines and the text lines.
    void WriteBaseText(std::ostream& os) const;
    // Reads that tail after the class's own numbers; the numbers up to the flags by extraction,
    // text colour and fill from the rest of the line.
    void ReadBaseText(std::istream& is);

    CString m_text;
    MStroke m_stroke;
    COLORREF m_textColor = 0;
    MFillStyle m_fill;
    MSizeStyle m_style;
    int m_flags = 0;
};
