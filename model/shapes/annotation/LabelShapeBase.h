// The common base of the label and the balloon: a group whose member 0 is the leader (an open
// polyline starting with an arrow at the annotated point) and which holds the line, arrow, text
// and fill attributes of all its members. The derived class adds its members and lays them out
// from the leader in Recalc; attribute setters only store, and the members follow at the next
// layout.
//
// The members are stored with the shape but their content is derived. A shape that was loaded,
// read or changed and not laid out since is laid out again before it is drawn, hit, snapped to or
// exported, so that no caller sees members that do not match the fields. The layout needs no
// window: the text is measured at a fixed font height.
#pragma once

#include "model/shapes/containers/GeneratedGroupShape.h"
#include "platform/Exceptions.h"

class MPolygonShape;
class MTextShape;

class MLabelShapeBase : public MGeneratedGroupShape {
    DECLARE_SERIAL(MLabelShapeBase)
public:
    // The leader without points as member 0; text size 4, arrow style 1 of size 3, black.
    MLabelShapeBase();
    ~MLabelShapeBase() override;

    // The group's members, then line width, line style, colour, text colour, fill, font name,
    // text size, text flags, arrow style and arrow size.
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    // The leader's vertices; an index outside the leader raises the invalid-argument exception.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    // The leader's first vertex; the centre of the extent when the leader has none.
    MFloatPoint GetCenter() const override;
    void SetFillStyle(const MFillStyle& fill) override;
    MFillStyle GetFillStyle() const override;
    // The leader's stroke as it is stored: the label has no auxiliary-line rule.
    MStroke GetStrokeAttributes() const override;
    void ChangeStroke(const MStrokeChange& change) override;
    // The text properties are the label's own (its flag word too, not its members').
    MTextPresence GetTextStyle(MTextStyle* style) const override;
    void ChangeTextStyle(const MTextStyleChange& change) override;
    // The start of the record is the leader's arrow (its size 0 without a head); the end is unused.
    void SetArrows(const MArrowInfo& arrows) override;
    MArrowInfo GetArrows() const override;
    // The leader only; the other members follow at the next layout.
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;

    // Leader operations of the label and balloon tools. Each raises the invalid-argument exception
    // when member 0 is not a leader.
    MPolygonShape* GetLeader() const;
    void AddLeaderPoint(MCadView* view, const MFloatPoint& p);
    void RemoveLastLeaderPoint();
    void DeleteLeaderPoint(int index);
    int GetLeaderPointCount() const;
    // Nothing when the leader is empty.
    void MoveLastLeaderPoint(const MFloatPoint& p);

    void SetFontName(const CString& name) { ChangeTextStyle(MTextStyleChange::Font(MTextFontName(name))); }
    CString GetFontName() const { return m_fontName.Name(); }
    void SetTextSize(double size) { ChangeTextStyle(MTextStyleChange::Size(size)); }
    double GetTextSize() const { return m_textSize; }
    void SetTextColor(COLORREF color) { ChangeTextStyle(MTextStyleChange::Color(color)); }
    COLORREF GetTextColor() const { return m_textColor; }
    int GetTextFlags() const { return m_textFlags; }
    void SetTextFlags(int flags) { ChangeTextStyle(MTextStyleChange::Flags(flags)); }
    // The leader's arrow as given, its size kept also without a head (the tools' choice).
    void SetLeaderArrow(int style, double size) {
        m_arrowStyle = style;
        m_arrowSize = size;
        MarkStale();
    }
    int GetArrowStyle() const { return m_arrowStyle; }
    double GetArrowSize() const { return m_arrowSize; }
    // Whether the members no longer match the fields (until the next Recalc).
    BOOL IsLayoutStale() const { return m_layoutStale; }
    // The layout both kinds share: the derived class places its members from the leader
    // (LayOutMembers), the leader takes the shape's attributes, then the group's extent follows.
    // A leader without points does nothing.
    void Recalc(MCadView* view) override;

protected:
    // Whether the members the layout needs are present and of their classes.
    virtual BOOL HasLayoutMembers() const;
    // The derived class's own step of Recalc: its members from the leader's points v (never empty)
    // whose last segment ends at vertex t (FindLastSegment). The base has no members to place.
    virtual void LayOutMembers(MCadView* view, const MFloatPointArray& v, int t);
    // Lays the members out when they are stale and present; view may be null.
    void EnsureMembers(MCadView* view) const override;
    void MarkStale() { m_layoutStale = TRUE; }
    // Index t of the last leader vertex that ends a segment of non-zero length (0 when none).
    static int FindLastSegment(const MFloatPointArray& v);
    // Member index as its class; the invalid-argument exception when missing or of another class.
    template <class T>
    T* GetMemberAs(int index) const;
    // Colour, width and style onto a member.
    void ApplyLineAttributes(MCadShape* shape) const;
    // Colour, width, style and the start arrow onto the leader.
    void ApplyLeaderAttributes() const;
    // The string and the shape's font, size, flags, fill and colours onto the text member, which
    // is then measured.
    void MeasureTextMember(MCadView* view, MTextShape* text, const CString& string) const;
    // The leader's candidates, member 1's, then the first leader point as a base point; a snap
    // found reports the shape.
    double SnapLeaderAndOutline(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                int kinds, double best);
    // The first text-form line: TAB colour style width arrow-style arrow-size fill, no line end.
    void WriteAttributeLine(std::ostream& os) const;
    // The leader's points in the point-list form; an empty list when the leader is missing, so
    // that a damaged shape never stops a whole file from being written.
    void WriteLeaderText(std::ostream& os) const;
    // The five numbers of that line; FALSE (nothing taken) when they do not read.
    BOOL ReadAttributeNumbers(std::istream& is);
    // The rest of the text-size line as the text colour when it holds one, then the leader's points.
    void ReadTextColorAndLeader(std::istream& is);

    MTextFontName m_fontName;
    double m_textSize = 4.0;
    int m_textFlags = 0;
    COLORREF m_textColor = 0;
    int m_arrowStyle = kArrowOpen;
    double m_arrowSize = 3.0;
    MFillStyle m_fill;
    MStroke m_stroke;  // the leader's
    // Mutable: a const export or hit test lays out a shape whose members are stale.
    mutable BOOL m_layoutStale = TRUE;
};

template <class T>
T* MLabelShapeBase::GetMemberAs(int index) const {
    if (index < 0 || index >= GetShapeCount()) AfxThrowInvalidArgException();
    T* member = dynamic_cast<T*>(GetShapeAt(index));
    if (!member) AfxThrowInvalidArgException();
    return member;
}
