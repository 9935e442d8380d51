// The abstract base of every drawing object. Every operation the document, view and tools ask of
// a shape is a virtual with a harmless default here, or a plain call over one, so any shape can be
// asked for any attribute and answers the none value where its class has none (FALSE, 0, -1,
// kNoColor, DBL_MAX, an empty string).
//
// Hit-test contract: the point passed to HitTest is in the view's LOGICAL pixels (what
// MCadView::DocToLogical gives; y down, no scroll offset), and the tolerance is in the same pixels.
// Callers that hold a device point convert it with the DC's DPtoLP first. The pixel tests
// (HitTestPixel) take a device point and convert it themselves.
//
// Coordinates are drawing units with the y axis up; widths and arrow sizes are paper millimetres.
#pragma once

#include <cfloat>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "model/ArrowInfo.h"
#include "model/FillStyle.h"
#include "model/Stroke.h"
#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatPointArray.h"
#include "model/geometry/FloatRect.h"
#include "model/shapes/TextStyle.h"
#include "platform/Object.h"
#include "platform/WinTypes.h"

class CArchive;
class CDC;
class CDocument;
class MCadShape;
class MCadView;
struct MSnapPoint;

using CString = std::string;

// Capabilities of a kind (GetCapabilities): what the select tool may do with the shape, and what
// a point snapped on it can fix of a line drawn from there.
enum : int {
    kShapeCanFlipX = 0x1,       // left-right flip
    kShapeCanFlipY = 0x2,       // up-down flip
    kShapeCanRotate = 0x4,      // rotation
    kShapeCanReshape = 0x8,     // reshaping by handles and point edit
    kShapeCanEdit = 0xF,        // all four
    kShapeHasDirection = 0x10,  // GetDirectionAngle answers
    kShapeHasNormal = 0x20,     // GetNormalAngle answers
    kShapeHasTangent = 0x40,    // GetTangentAngle answers
};

// A turn by angle (radians, counter-clockwise) about (x, y), or a flip about the vertical line
// through x (MirrorX) or the horizontal line through y (MirrorY).
struct MShapeTransform {
    enum Kind { kRotate, kMirrorX, kMirrorY } kind = kRotate;
    double x = 0.0;
    double y = 0.0;
    double angle = 0.0;

    // Rotate, MirrorX or MirrorY on shape.
    void ApplyTo(MCadShape& shape) const;
};

// How Render draws a shape.
enum class MDrawMode {
    kNormal,     // in the shape's own colours
    kTracking,   // the outline with the DC's current pen (rubber bands, selection marks)
    kHighlight,  // solid black with the stock black pen and brush, for the pixel hit tests
    kGrayed,     // pen and brush in the system grey text colour
};

// A scaling about centre by sx and sy: uniform for the one-factor forms (Scale, ScaleAll, sx == sy),
// all for the ...All forms, which a text takes without changing its size.
struct MShapeScale {
    MFloatPoint centre;
    double sx = 1.0;
    double sy = 1.0;
    bool uniform = false;
    bool all = false;
};

// The eight standard handles of the extent.
enum : int {
    kHandleTopRight = 0,
    kHandleBottomRight = 1,
    kHandleBottomLeft = 2,
    kHandleTopLeft = 3,
    kHandleRight = 4,
    kHandleBottom = 5,
    kHandleLeft = 6,
    kHandleTop = 7,
};

class MCadShape : public CObject {
    DECLARE_SERIAL(MCadShape)
public:
    // Both extents start as the all-zero rectangle; Recalc fills them.
    MCadShape();
    ~MCadShape() override;

    // Writes and reads nothing; each class writes its own fields after calling it.
    void Serialize(CArchive& ar) override;

    virtual BOOL IsClosed() const;
    // The outline. The base (and classes without a vertex list of their own) fill an array that
    // belongs to this shape: it stays valid while the shape lives and is not changed, and no other
    // shape's call overwrites it.
    virtual const MFloatPointArray& GetPoints() const;
    virtual int GetHandleCount() const;
    // Drawing coordinates of a handle; an unknown index gives the top-middle handle.
    virtual MFloatPoint GetHandle(int index) const;
    // Drags a handle to `to`; the index may change when the handle crosses the opposite side. With
    // a rectangle the stretch works on it (and it receives the new edges); otherwise on the extent.
    virtual void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr);
    virtual int GetGripCount() const;
    virtual MFloatPoint GetGrip(int index) const;
    virtual void MoveGrip(int* index, const MFloatPoint& to, BOOL keepRatio);

    // Draws the shape in one of the modes (MDrawMode); nothing by default.
    virtual void Render(MCadView* view, CDC* dc, MDrawMode mode);
    void Draw(MCadView* view, CDC* dc) { Render(view, dc, MDrawMode::kNormal); }
    // The draw extent becomes the extent inflated on every side by the whole line width.
    void UpdateDrawExtent(MCadView* view);

    // Nothing by default. A kind scales its geometry by the factors; only the text and the group
    // look at the form (MShapeScale::uniform and all).
    virtual void ScaleBy(const MShapeScale& scale);
    // The four forms. A factor near 0 of the uniform ones changes nothing.
    void Scale(const MFloatPoint& centre, double factor);
    void ScaleXY(const MFloatPoint& centre, double sx, double sy) { ScaleBy({centre, sx, sy, false, false}); }
    void ScaleAll(const MFloatPoint& centre, double factor);
    void ScaleAllXY(const MFloatPoint& centre, double sx, double sy) {
        ScaleBy({centre, sx, sy, false, true});
    }
    virtual void Move(const MFloatPoint& offset);

    // Snap searches take the best record so far and the best distance, and return the new best
    // distance (the rule of OfferSnapCandidate).
    // Calls other->SnapIntersectionWithSegment once per own segment.
    virtual double SnapIntersection(MCadShape* other, MSnapPoint& snap, const MFloatPoint& cursor,
                                    const MFloatRect& aperture, double best);
    // Offers each crossing of this shape with the segment a-b as an intersection (kind 2).
    virtual double SnapIntersectionWithSegment(MCadShape* source, MSnapPoint& snap, const MFloatPoint& cursor,
                                               const MFloatRect& aperture, double best, const MFloatPoint& a,
                                               const MFloatPoint& b);
    // Appends the crossings of the outline with a-b (IntersectSegments flags) to out; returns how many.
    virtual int IntersectSegment(const MFloatPoint& a, const MFloatPoint& b, MFloatPointArray* out,
                                 int flags) const;
    // Whether the nearest point of the geometry lies within tolerance of point; see the contract at
    // the top of this file (logical pixels). foot receives that nearest point in drawing units.
    virtual BOOL HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const;
    // Appends the crossings with the circle of centre (cx, cy) and the radius to out; returns how
    // many. (px, py) is the caller's reference point (the snap cursor): a shape that coincides with
    // the circle has no single crossing and reports that point instead.
    virtual int IntersectCircle(double cx, double cy, double px, double py, double radius,
                                MFloatPointArray* out) const;
    // -1, 0 or 1.
    virtual int GetSide(double x, double y) const;
    virtual MFloatPoint GetCenter() const;
    // Coarse area-selection test: the rectangle overlaps the extent.
    virtual BOOL IsInRect(const MFloatRect& rect) const;
    // FALSE only when no point of the geometry lies in the rectangle, so that no crossing with this
    // shape can be found there; the base answers from the extent.
    virtual BOOL MayMeetRect(const MFloatRect& rect) const;
    // Offers the characteristic points of the enabled snap kinds.
    virtual double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                              int kinds, double best);
    // Draw, only when the draw extent (inflated by 2 pixels) is visible in the DC.
    virtual void DrawIfVisible(MCadView* view, CDC* dc);
    // Invalidates the draw extent (inflated by 2 pixels) in the view's window.
    virtual void Invalidate(MCadView* view, BOOL erase);
    // Pixel tests: the shape's highlight mode rendered into a one-bit image of the tested square or
    // rectangle; TRUE at the first black pixel.
    // point is in device pixels of the view's client DC.
    virtual BOOL HitTestPixel(MCadView* view, const CPoint& point, int tolerance);
    // rect is in the view's logical pixels.
    virtual BOOL IntersectsDeviceRectPixel(MCadView* view, const CRect& rect);
    // rect in the view's logical pixels, area the same rectangle in drawing units.
    virtual BOOL IntersectsRectPixel(MCadView* view, const CRect& rect, const MFloatRect& area);
    // An edge of the outline crosses an edge of the rectangle (strictly inside both).
    BOOL IntersectsRect(const MFloatRect& rect) const;

    // New shapes; the caller owns them. Duplicate is a round trip through the archive form that
    // also copies both extents. Archive and memory exceptions propagate.
    virtual MCadShape* Clone() const;
    virtual MCadShape* Duplicate() const;
    virtual BOOL IsValid() const;
    // Every number the shape keeps (coordinates, sizes, heights, widths, angles) is finite. Readers
    // keep no shape that fails this: its file form could not be read back.
    virtual bool HasFiniteValues() const;
    // Recomputes the extent and then calls UpdateDrawExtent.
    virtual void Recalc(MCadView* view);
    virtual void FreeCache(MCadView* view);

    virtual void SetFillStyle(const MFillStyle& fill);
    virtual MFillStyle GetFillStyle() const;
    // The stroke of a kind that keeps one as an MStroke, or null.
    virtual const MStroke* GetStroke() const;
    // Colour, style and width as the attribute controls show them. By default through GetStroke
    // with the auxiliary-line rule (an auxiliary line reports kNoColor); without a stroke kNoColor,
    // kLineStyleNone and -1. A group answers its members' common values (-1 where they differ).
    virtual MStroke GetStrokeAttributes() const;
    // By default through GetStroke with the rule (MStrokeChange::ApplyTo); nothing without one.
    virtual void ChangeStroke(const MStrokeChange& change);
    COLORREF GetColor() const { return GetStrokeAttributes().color; }
    void SetColor(COLORREF color) { ChangeStroke(MStrokeChange::Color(color)); }
    double GetLineWidth() const { return GetStrokeAttributes().width; }
    void SetLineWidth(double width) { ChangeStroke(MStrokeChange::Width(width)); }
    int GetLineStyle() const { return GetStrokeAttributes().style; }
    void SetLineStyle(int lineStyle) { ChangeStroke(MStrokeChange::Style(lineStyle)); }
    // Empty for no style, "HOJO" for an auxiliary line, else the table entry's name. A style
    // outside the table gives the name of entry 0 (the continuous style, as which such a line is
    // drawn) instead of failing, so one damaged shape cannot abort a DXF export.
    CString GetLineStyleName() const;
    // Fill, colour, line style, line width and arrows, in that order, through the virtual pairs.
    void CopyStyleFrom(const MCadShape* source);

    // Where the shape's text is, and (when style is not null) its text properties: the none value
    // by default. A group answers its text members' common font and size (the none value when they
    // differ) and the italic, bold, underline and strike-out bits all of them have.
    virtual MTextPresence GetTextStyle(MTextStyle* style) const;
    MTextStyle TextStyle() const {
        MTextStyle style;
        GetTextStyle(&style);
        return style;
    }
    BOOL HasText() const { return GetTextStyle(nullptr) != MTextPresence::kNone; }
    BOOL IsText() const { return GetTextStyle(nullptr) == MTextPresence::kIsText; }
    // Nothing by default; a group passes the member bits, font and size on to its members.
    virtual void ChangeTextStyle(const MTextStyleChange& change);
    // One bit of the flag word (kTextBold ...).
    BOOL HasTextFlag(int flag) const { return (TextStyle().flags & flag) != 0; }
    void SetTextFlag(int flag, BOOL on) { ChangeTextStyle(MTextStyleChange::Flag(flag, on != FALSE)); }

    virtual void SetArrows(const MArrowInfo& arrows);
    void SetArrowsEx(int startStyle, double startSize, int endStyle, double endSize) {
        SetArrows(MArrowInfo(startStyle, startSize, endStyle, endSize));
    }
    virtual MArrowInfo GetArrows() const;

    // About the vertical line through x / the horizontal line through y.
    virtual void MirrorX(double x, double y);
    virtual void MirrorY(double x, double y);
    // Counter-clockwise by angle (radians) about (cx, cy).
    virtual void Rotate(double cx, double cy, double angle);
    // New transformed copies; the caller owns them. By default a Clone changed in place; a kind
    // overrides CreateTransformed when it wants another copy or cannot hold the result.
    virtual MCadShape* CreateTransformed(const MShapeTransform& transform) const;
    MCadShape* CreateRotated(double cx, double cy, double angle) const {
        return CreateTransformed({MShapeTransform::kRotate, cx, cy, angle});
    }
    MCadShape* CreateMirroredX(double x, double y) const {
        return CreateTransformed({MShapeTransform::kMirrorX, x, y});
    }
    MCadShape* CreateMirroredY(double x, double y) const {
        return CreateTransformed({MShapeTransform::kMirrorY, x, y});
    }

    // The kShapeCan / kShapeHas bits of the kind; none by default.
    virtual int GetCapabilities() const;
    BOOL HasCapability(int bit) const { return (GetCapabilities() & bit) != 0; }
    // The tools' names of the snap bits.
    BOOL HasDirection() const { return HasCapability(kShapeHasDirection); }
    BOOL HasNormal() const { return HasCapability(kShapeHasNormal); }
    BOOL HasTangent() const { return HasCapability(kShapeHasTangent); }
    // The angle at point that a kShapeHas bit (kShapeHasDirection, kShapeHasNormal,
    // kShapeHasTangent) promises, in radians; DBL_MAX when there is no answer at that point. out is
    // the normal's foot or the tangent's reference point (may be null); the direction has none.
    virtual double GetAngleAt(int kind, const MFloatPoint& point, MFloatPoint* out) const;
    double GetDirectionAngle(const MFloatPoint& point) const {
        return GetAngleAt(kShapeHasDirection, point, nullptr);
    }
    double GetNormalAngle(const MFloatPoint& point, MFloatPoint* foot) const {
        return GetAngleAt(kShapeHasNormal, point, foot);
    }
    double GetTangentAngle(const MFloatPoint& point, MFloatPoint* out) const {
        return GetAngleAt(kShapeHasTangent, point, out);
    }

    // The text form: keyword (GetTypeName) written by WriteShapeText, then the class's own lines,
    // each beginning with a TAB. doc is the document being written or read (may be null).
    // The keyword is the type id's (GetShapeKeyword); empty for an id without one, and such a
    // shape is left out of files.
    CString GetTypeName() const;
    virtual void WriteText(CDocument* doc, std::ostream& os) const;
    virtual void ReadText(CDocument* doc, std::istream& is);
    // 0 by default (no kind).
    virtual short GetTypeId() const;
    virtual MCadShape* CreateNew() const;

    const MFloatRect& GetExtent() const { return m_extent; }
    // The extent grown by the line width (redraw areas, visibility tests). Most shapes hold only
    // how far it reaches beyond the extent and grow a copy of the extent when asked, with the same
    // Inflate their Recalc used, so the answer is the rectangle that was set.
    MFloatRect GetDrawExtent() const {
        if (m_drawGrow < 0.0) return StoredDrawExtent();
        // As MFloatRect::Inflate, written here so that the redraw walk makes no call for it.
        MFloatRect r = m_extent;
        r.left -= m_drawGrow;
        r.right += m_drawGrow;
        r.top += m_drawGrow;
        r.bottom -= m_drawGrow;
        return r;
    }
    // Sets a draw extent that is not the extent grown alike on every side; it stays as given
    // whatever later happens to the extent, until the next UpdateDrawExtent.
    void SetDrawExtent(const MFloatRect& rect);
    // The extent and the draw extent of another shape, as that shape holds them.
    void CopyExtentsFrom(const MCadShape& other);

    // Geometric bounds, normalised.
    MFloatRect m_extent;

protected:
    MCadShape(const MCadShape& other);
    MCadShape& operator=(const MCadShape& other);

    // The draw extent becomes the extent (at the time of asking) grown by grow (>= 0) on every side.
    void SetDrawGrow(double grow);
    // The draw extent as it stands, moved by offset (shapes that move their extent themselves).
    void OffsetDrawExtent(const MFloatPoint& offset);
    // The draw extent as it stands, grown once more by by on every side (arrow heads): a second
    // growth rounds apart from one by the sum, so the rectangle is kept as it comes out.
    void GrowDrawExtent(double by);
    // Where a draw extent given to SetDrawExtent is kept. The base keeps it in a table beside the
    // shapes (few shapes need one); classes that always have one keep it in a field of their own.
    virtual MFloatRect StoredDrawExtent() const;
    virtual void StoreDrawExtent(const MFloatRect& rect);

    // Scratch outline owned by this shape, for GetPoints of classes without their own vertex list.
    // Made on the first call (few shapes are ever asked) and kept until the shape goes.
    MFloatPointArray& ScratchPoints() const;
    // Renders the highlight mode into a one-bit image covering the logical rectangle and reports whether
    // any pixel turned black.
    BOOL RenderHitTest(MCadView* view, const CRect& logicalRect);

private:
    void DropStoredDrawExtent();

    // How far the draw extent reaches beyond the extent; negative when the draw extent was set as
    // a rectangle (StoredDrawExtent).
    double m_drawGrow = 0.0;
};

// Black-and-white printing: the program-wide flag (0 or 1) the print dialog sets.
int& PrintBlackWhite();

// While printing with PrintBlackWhite set, every colour except kNoColor and white becomes black;
// otherwise the colour is returned unchanged.
COLORREF MapColorForMono(CDC* dc, COLORREF color);
COLORREF MapTextColorForMono(CDC* dc, COLORREF color);
// Under the same conditions a fill with colours becomes plain black (any colour not white) or plain
// white; otherwise out is a copy of fill.
void MapFillForMono(MFillStyle& out, CDC* dc, const MFillStyle& fill);

// One arrow head in drawing units, in the shape's colour and width; angle points from the tip back
// into the line, size in paper millimetres.
void DrawArrowHead(const MCadShape* shape, MCadView* view, CDC* dc, const MFloatPoint& tip, double angle,
                   int style, double size);
// A horizontal sample line with an arrow head in device pixels, for the arrow-style pickers, in the
// pen and (for the filled heads) the brush the caller selected. A negative length points the head
// to the right end.
void DrawArrowSample(CDC* dc, int style, int x, int y, int length, int headSize);
