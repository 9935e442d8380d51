// The polyline and polygon (type id 7, keyword "POLYGON"): an ordered vertex list drawn open or,
// with the closed flag, as a polygon that may be filled. Base of every shape whose outline is a
// list of points (circles, arcs, sectors, ellipses, splines, rectangles): they inherit drawing,
// hit testing, snapping, transforms and export. Shapes whose outline follows from a few numbers
// compute it when asked instead of keeping it (see ComputeOutline).
#pragma once

#include <cstdint>
#include <vector>

#include "model/shapes/CadShape.h"
#include "model/shapes/PointEdit.h"

class MPolygonShape : public MCadShape {
    DECLARE_SERIAL(MPolygonShape)
public:
    // Flag bits.
    static constexpr DWORD kClosed = 0x1;
    static constexpr DWORD kVertexSnap = 0x2;

    // Closed with vertex snap (flags 3), width 0, style 0, colour 0, no fill, no arrows, no vertices.
    MPolygonShape();
    // Flags 3 when closed, else 2.
    explicit MPolygonShape(BOOL closed);
    // Presized to count vertices at (0, 0).
    MPolygonShape(int count, BOOL closed);
    ~MPolygonShape() override;

    // colour, width, style, fill, flags, arrows, vertex count (int32), the vertices. Loading replaces
    // the vertex list.
    void Serialize(CArchive& ar) override;
    BOOL IsClosed() const override;
    // The vertex array itself; a computed outline is kept from the first call until the shape
    // changes.
    const MFloatPointArray& GetPoints() const override;
    // The vertices while PointEditFlag is set (a bad index raises the invalid-argument exception),
    // else the eight extent handles.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    void ScaleBy(const MShapeScale& scale) override;
    void Move(const MFloatPoint& offset) override;
    double SnapIntersection(MCadShape* other, MSnapPoint& snap, const MFloatPoint& cursor,
                            const MFloatRect& aperture, double best) override;
    double SnapIntersectionWithSegment(MCadShape* source, MSnapPoint& snap, const MFloatPoint& cursor,
                                       const MFloatRect& aperture, double best, const MFloatPoint& a,
                                       const MFloatPoint& b) override;
    // Each edge (from its later vertex to its earlier one) as the first segment, then the closing
    // edge (first vertex to last) when closed.
    int IntersectSegment(const MFloatPoint& a, const MFloatPoint& b, MFloatPointArray* out,
                         int flags) const override;
    // Only a perpendicular foot on an edge can hit: not the inside, not the nearness of a vertex.
    BOOL HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const override;
    int IntersectCircle(double cx, double cy, double px, double py, double radius,
                        MFloatPointArray* out) const override;
    // Closed polygons: 1 inside, -1 outside (crossing parity of the ray towards +x; each crossing
    // counted once, also where the ray passes through a vertex). Open polylines: 0.
    int GetSide(double x, double y) const override;
    BOOL IsInRect(const MFloatRect& rect) const override;
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // CopyAsPolygon.
    MCadShape* Clone() const override;
    // What storing and loading gives (block placements copy many polygons), made from the numbers.
    MCadShape* Duplicate() const override;
    // At least one vertex differs from the first.
    BOOL IsValid() const override;
    bool HasFiniteValues() const override;
    void Recalc(MCadView* view) override;
    void SetFillStyle(const MFillStyle& fill) override;
    MFillStyle GetFillStyle() const override;
    const MStroke* GetStroke() const override;
    // A closed polygon has no arrows: the record is cleared instead.
    void SetArrows(const MArrowInfo& arrows) override;
    MArrowInfo GetArrows() const override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;
    int GetCapabilities() const override;
    // The direction and the normal.
    double GetAngleAt(int kind, const MFloatPoint& point, MFloatPoint* out) const override;
    // A line TAB colour style width fill flags arrows, then the vertex list.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    // Own operations.
    // The outline and arrow heads with the pens and brush the caller selected.
    virtual void DrawOutline(MCadView* view, CDC* dc, int lineStyle);
    // The outline as one run of cubic Bezier pieces (model/render/BezierOutline.h), for contexts
    // that keep curves; FALSE (the default) when the outline has no such form.
    virtual BOOL GetOutlineCurve(std::vector<MFloatPoint>& run) const;
    virtual BOOL IsClosedFlag() const;
    virtual BOOL IsVertexSnap() const;
    // Enclosed area, never negative.
    virtual double GetArea() const;
    // Nearest perpendicular foot on an edge, else the nearest vertex.
    virtual void GetNearestPoint(MFloatPoint* out, const MFloatPoint& point) const;
    virtual BOOL IsPointEditMode() const;
    // Inserts the midpoint of an edge.
    virtual void InsertVertex(int edgeIndex);
    // Refused (silently) with 2 or fewer vertices.
    virtual void DeleteVertex(int index);

    void SetClosed(BOOL closed);
    void SetVertexSnap(BOOL on);
    DWORD GetFlags() const { return m_flags; }
    void AddPoint(const MFloatPoint& p);
    // A bad index raises the invalid-argument exception.
    void SetPoint(int index, const MFloatPoint& p);
    MFloatPoint GetPoint(int index) const;
    int GetPointCount() const;
    // Replace the last vertex; nothing when there is none.
    void SetLastPoint(const MFloatPoint& p);
    void MoveLastPoint(const MFloatPoint& p);
    void RemoveLastPoint();
    // (0, 0) when there is none.
    MFloatPoint GetLastPoint() const;
    // Closed polygons only: inside by the even-odd rule (FALSE on a vertex or an edge).
    BOOL ContainsPoint(const MFloatPoint& p) const;
    BOOL IsPointOnEdge(const MFloatPoint& p) const;
    // Index of the edge whose supporting line is nearest (the closing edge has the last index);
    // -1 for fewer than 2 vertices.
    int GetNearestEdge(const MFloatPoint& p) const;
    // Appends the feet that lie on their edges; returns how many.
    int GetPerpendicularFeet(const MFloatPoint& p, MFloatPointArray* out) const;
    // Positive for a counter-clockwise ring (y up); 0 for fewer than 3 vertices.
    double GetSignedArea() const;
    // A plain polygon with the same flags, vertices, style and extents.
    MPolygonShape* CopyAsPolygon() const;

    MStroke m_stroke;
    MFillStyle m_fill;
    DWORD m_flags = kClosed | kVertexSnap;

private:
    // Of the nearest edge; DBL_MAX when there is none.
    double DirectionAt(const MFloatPoint& point) const;
    double NormalAt(const MFloatPoint& point, MFloatPoint* foot) const;
    // The modes of Render.
    void DrawNormal(MCadView* view, CDC* dc);
    // Closed when the flag is set, except that two vertices are always drawn open.
    void DrawTracking(MCadView* view, CDC* dc);
    void DrawHighlight(MCadView* view, CDC* dc);
    void DrawGrayed(MCadView* view, CDC* dc);
    // A place in the program-wide budget of outlines kept worked out (see KeepOutlineWorkedOut);
    // a copied shape does not hold its original's place.
    class MKeptOutline {
    public:
        MKeptOutline() = default;
        MKeptOutline(const MKeptOutline&) {}
        MKeptOutline& operator=(const MKeptOutline&) { return *this; }
        ~MKeptOutline() { Release(); }
        bool Take();
        void Release();

    private:
        bool m_held = false;
    };

    // Set while the outline is computed on demand: m_points is then empty or a copy of it.
    bool m_outlineComputed = false;
    bool m_keepOutline = false;
    MKeptOutline m_keptOutline;
    // Moves of a computed outline not yet applied to it: the outline is computed from the numbers
    // as they were before them (m_unmovedOrigin), then shifted by each in turn, so that its points
    // round exactly as shifted vertices would.
    std::uint8_t m_pendingMoves = 0;
    static constexpr int kMaxPendingMoves = 2;
    MFloatPoint m_unmovedOrigin;
    MFloatPoint m_pendingShifts[kMaxPendingMoves];

    // ComputeOutline with the pending moves applied.
    int GenerateOutline(MFloatPoint* out) const;
    // The box of the computed outline from its extremes alone; false where it takes the whole.
    bool ComputedOutlineBox(MFloatRect& box) const;

public:
    // The kept vertices; read them through GetPoints or MVertexList, since a computed outline
    // leaves this empty (or holds the copy GetPoints made of it).
    mutable MFloatPointArray m_points;
    MArrowInfo m_arrows;

    // The most vertices a computed outline has.
    static constexpr int kMaxComputedPoints = 50;

    // The vertices as this class's own code reads them: the kept array, or the computed outline
    // in the list's own buffer (no heap). Valid while the shape does not change.
    class MVertexList {
    public:
        explicit MVertexList(const MPolygonShape& shape);
        MVertexList(const MVertexList&) = delete;
        MVertexList& operator=(const MVertexList&) = delete;

        const MFloatPoint* GetData() const { return m_data; }
        int GetSize() const { return m_size; }
        bool IsEmpty() const { return m_size == 0; }
        const MFloatPoint& operator[](int i) const { return m_data[i]; }
        // A bad index raises the invalid-argument exception.
        const MFloatPoint& GetAt(int i) const;
        const MFloatPoint* begin() const { return m_data; }
        const MFloatPoint* end() const { return m_data + m_size; }

    private:
        const MFloatPoint* m_data = nullptr;
        int m_size = 0;
        union Buffer {
            Buffer() {}
            MFloatPoint points[kMaxComputedPoints];
        } m_buffer;
    };
    // First / last edge of non-zero length, as (i, i + 1); -1 when there is none.
    static int FirstDrawnEdge(const MVertexList& v);
    static int LastDrawnEdge(const MVertexList& v);

protected:
    // Shapes whose outline follows from a few numbers write it to out (room for
    // kMaxComputedPoints; null asks only for the count) and return the count, starting from
    // OutlineOrigin. Only asked while ComputeOutlineOnDemand is in force; the default never is.
    virtual int ComputeOutline(MFloatPoint* out) const;
    // The points of ComputeOutline, in its order and computed alike, among which lie the least and
    // the greatest x and y of the outline under any monotonic change of each coordinate; 0 (the
    // default) where the shape cannot tell them without the whole outline.
    virtual int ComputeOutlineExtremes(MFloatPoint* out) const;
    // From now on the outline is computed when asked; the kept vertices are dropped.
    void ComputeOutlineOnDemand();
    // For outlines dear to compute (sines and cosines): drawing keeps the worked-out outline as the
    // GetPoints copy until the shape changes, so that later paints and printing do not work it out
    // again; within a budget that bounds the memory of a huge drawing.
    void KeepOutlineWorkedOut() { m_keepOutline = true; }
    // Keeps the computed outline as vertices, before something edits them.
    void KeepVertices();
    // A move of a shape whose outline is computed from origin (the point its Move shifts, still
    // unmoved): the outline stays computed for up to kMaxPendingMoves moves, else the vertices
    // are kept and shifted as the polygon's Move does.
    void MoveOutline(const MFloatPoint& origin, const MFloatPoint& offset);
    // The origin ComputeOutline must start from: current, or its value before the pending moves.
    const MFloatPoint& OutlineOrigin(const MFloatPoint& current) const {
        return m_pendingMoves ? m_unmovedOrigin : current;
    }
    BOOL IsOutlineComputed() const { return m_outlineComputed; }
    bool HasPendingMoves() const { return m_pendingMoves != 0; }

    // The edge from vertex i to the next (the closing edge for the last index of a closed ring).
    int GetEdgeCount(const MVertexList& v) const;
    static void GetEdge(const MVertexList& v, int index, MFloatPoint* a, MFloatPoint* b);
};
