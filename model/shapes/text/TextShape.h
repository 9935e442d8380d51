// The one-line text (type id 17, keyword "TEXT"): a string measured in its font and drawn with its
// box's top-left cell corner at the rotated text origin.
#pragma once

#include <cstdint>
#include <functional>

#include "model/shapes/text/TextShapeBase.h"

class MTextShape : public MTextShapeBase {
    DECLARE_SERIAL(MTextShape)
public:
    MTextShape();
    ~MTextShape() override;

    // The base fields, then the string.
    void Serialize(CArchive& ar) override;
    // 0 the rotated origin; 1, 2, 3 the origin plus (w, 0), (w, h), (0, h), rotated.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    // Moves the whole text by the handle's displacement; a text is never resized by a handle.
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    // Scale and ScaleXY also scale the text size (by the factors' magnitudes: a text is never
    // mirrored, and its height stays positive); ScaleAll and ScaleAllXY move it only.
    void ScaleBy(const MShapeScale& scale) override;
    // The four box corners as end points.
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    int GetCapabilities() const override;
    // Two lines (numbers and frame; font name), then the string as a multi-line string.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;
    // At a font height of 100 so that the box does not depend on the zoom.
    void MeasureText(MCadView* view) override;

    virtual void SetString(const CString& text);
    virtual CString GetString() const;
    // What storing and loading gives (block placements copy many texts), made from the fields;
    // the measure goes with the string and font it was taken from.
    MCadShape* Duplicate() const override;

protected:
    // Cell height and width of the drawing font in logical pixels for the view.
    virtual void GetScreenFontSize(MCadView* view, int* width, int* height) const;
    // Runs body with the text's screen font and the colour selected, restoring both after;
    // nothing when the text is too small to show.
    void InScreenFont(MCadView* view, CDC* dc, COLORREF colour, const std::function<void()>& body);
    // The text of DrawTracking, into the memory context that already holds the font and colours.
    virtual void DrawTrackingText(MCadView* view, CDC* dc);
    // The stored fields of other, as loading them would set them, and its measure.
    void CopyFieldsFrom(const MTextShape& other);

    CString m_string;

private:
    // The modes of Render.
    void DrawNormal(MCadView* view, CDC* dc);
    // The text inverted through a memory bitmap, then the box outline with the current pen.
    void DrawTracking(MCadView* view, CDC* dc);
    void DrawHighlight(MCadView* view, CDC* dc);
    void DrawGrayed(MCadView* view, CDC* dc);
    // The extent of the text in the shape's font at a cell height of 100.
    SIZE MeasureString(const CString& text) const;
    // A digest of the fields the measure depends on.
    std::uint64_t MeasureKey() const;
    // The string's extent at a cell height of 100 and a digest of the string and font it was taken
    // from: the font engine is slow, and a drawing is recalculated far more often than edited.
    std::uint64_t m_measuredKey = 0;
    SIZE m_measured{};
};
