// The balloon (type id 24, keyword "BALLOON"): a circled note on a leader, as used for item
// numbers. The leader's last segment runs straight on into a circle (member 1) that encloses the
// text (member 2); optional bounds keep the circle's radius within limits.
#pragma once

#include "model/shapes/annotation/LabelShapeBase.h"

class MCircleShape;
class MTextShape;

class MBalloonShape : public MLabelShapeBase {
    DECLARE_SERIAL(MBalloonShape)
public:
    // The leader, a circle and a text member; no radius bounds.
    MBalloonShape();
    ~MBalloonShape() override;

    // The base part, then the string, the minimum and the maximum radius.
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    // The leader's candidates, the circle's, then the first leader point as a base point.
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // TAB colour style width arrow-style arrow-size fill; TAB minimum maximum; the string and the
    // font name as multi-line strings; TAB text-size flags text-colour; the leader's points.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    MCircleShape* GetCircle() const;
    MTextShape* GetTextMember() const;
    const CString& GetString() const { return m_string; }
    void SetString(const CString& text);
    // Drawing units; 0 means no bound.
    double GetMinRadius() const { return m_minRadius; }
    double GetMaxRadius() const { return m_maxRadius; }
    void SetRadiusBounds(double minimum, double maximum);

protected:
    BOOL HasLayoutMembers() const override;
    // The circle and the text at the leader's end. Missing or foreign members raise the
    // invalid-argument exception.
    void LayOutMembers(MCadView* view, const MFloatPointArray& v, int t) override;

private:
    CString m_string;
    double m_minRadius = 0.0;
    double m_maxRadius = 0.0;
};
