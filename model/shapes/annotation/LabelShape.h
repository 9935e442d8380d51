// The label (type id 23, keyword "LABEL"): a note on a leader. The leader ends at a short
// horizontal underline (member 1) on which the note's text (member 2) stands, to the side the
// leader's last segment points.
#pragma once

#include "model/shapes/annotation/LabelShapeBase.h"

class MLineShape;
class MTextShape;

class MLabelShape : public MLabelShapeBase {
    DECLARE_SERIAL(MLabelShape)
public:
    // The leader, an underline and a text member; text offset 0.
    MLabelShape();
    ~MLabelShape() override;

    // The base part, then the string and the text offset.
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    // The leader's candidates, the underline's, then the first leader point as a base point.
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // TAB colour style width arrow-style arrow-size fill; the string and the font name as
    // multi-line strings; TAB text-size flags offset text-colour; the leader's points.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    MLineShape* GetUnderline() const;
    MTextShape* GetTextMember() const;
    const CString& GetString() const { return m_string; }
    void SetString(const CString& text);
    double GetTextOffset() const { return m_textOffset; }
    void SetTextOffset(double offset);

protected:
    BOOL HasLayoutMembers() const override;
    // The underline and the text from the leader's last segment. Missing or foreign members raise
    // the invalid-argument exception.
    void LayOutMembers(MCadView* view, const MFloatPointArray& v, int t) override;

private:
    CString m_string;
    double m_textOffset = 0.0;
};
