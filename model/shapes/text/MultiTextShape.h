// The multi-line text (type id 18, keyword "MULTITEXT"): lines separated by line feeds, laid out
// inside a box the user draws, aligned in it horizontally and vertically and optionally wrapped at
// its width. The box is placed, rotated and framed as a one-line text's.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/shapes/text/TextShape.h"

class MMultiTextShape : public MTextShape {
    DECLARE_SERIAL(MMultiTextShape)
public:
    // Layout flags: bits 0-1 horizontal alignment of each line, bits 2-3 vertical alignment of the
    // block, and wrapping.
    static constexpr int kLayoutWrap = 0x10;

    MMultiTextShape();
    ~MMultiTextShape() override;

    // The text's fields, then the box size again (the one that counts) and the layout flags.
    void Serialize(CArchive& ar) override;
    // The corners and edge middles of the box, rotated: 0 (right, top), 1 (right, bottom),
    // 2 (left, bottom), 3 (left, top), 4 (right, middle), 5 (centre, bottom), 6 (left, middle),
    // 7 (centre, top).
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    // Resizes the box in its own frame; a handle dragged across the opposite side changes its
    // index so that it keeps following the cursor. rect, when given, is the work rectangle.
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    // Also scales the box.
    void ScaleBy(const MShapeScale& scale) override;
    // The rotated box as the extent; the box keeps the size the user gave it.
    void Recalc(MCadView* view) override;
    // As the one-line text, with the layout flags after the text colour.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;
    // Sizes the box to the lines (at least 24 x 16 pixels of the view). Without a view a
    // widget-free 96-dpi view at paper scale 1 measures, so the box is always in drawing units.
    void MeasureText(MCadView* view) override;
    // The alignment is the layout flags' alignment bits (for the selection's alignment commands).
    MTextPresence GetTextStyle(MTextStyle* style) const override;

    // Bits 0-1 = value & 3.
    void SetHorzAlign(int value);
    // Bits 2-3 = value & 0xC (0, 4 or 8).
    void SetVertAlign(int value);
    void SetWrap(BOOL wrap);
    BOOL IsWrap() const;
    int GetLayoutFlags() const { return m_layoutFlags; }
    void SetLayoutFlags(int flags) { m_layoutFlags = flags; }

    // The unrotated box from the text origin, normalised.
    MFloatRect GetBoxRect() const;
    // The string with every line wider than maxExtent pixels broken into chunks that fit, as
    // measured with dc's font. A chunk holds at least one whole character and never ends inside
    // a double-byte character.
    static std::string WrapString(CDC* dc, const std::string& text, int maxExtent);
    // The lines of a string split at line feeds; an empty last line (a final line feed, or the
    // empty string) is not a line.
    static std::vector<std::string> SplitLines(const std::string& text);
    // What storing and loading gives (block placements copy many texts), made from the fields.
    MCadShape* Duplicate() const override;

protected:
    // The modes of Render.
    void DrawNormal(MCadView* view, CDC* dc);
    // An empty text is hit anywhere in its box.
    void DrawHighlight(MCadView* view, CDC* dc);
    void DrawGrayed(MCadView* view, CDC* dc);
    void GetScreenFontSize(MCadView* view, int* width, int* height) const override;
    void DrawTrackingText(MCadView* view, CDC* dc) override;
    // The layout of the lines into dc, whose font is selected: aligned, clipped to the box.
    void DrawLines(MCadView* view, CDC* dc);

public:
    // The lines as they are exported, with their anchors and the alignment a one-line text needs
    // to stand at its anchor as the drawn line does.
    struct ExportLine {
        std::string text;
        MFloatPoint anchor;
    };
    std::vector<ExportLine> GetExportLines(double paperScale, int* alignment) const;
    // A one-line text in this text's font and colours, standing at anchor.
    std::unique_ptr<MTextShape> MakeLineText(const std::string& text, int alignment,
                                             const MFloatPoint& anchor) const;

protected:
    int m_layoutFlags = 0;
};
