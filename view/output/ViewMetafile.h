// Metafiles of the drawing view: the reference context they are measured against, and the
// picture of one shape (a pack of the selection) for the clipboard.
#pragma once

#include <memory>
#include <vector>

#include "platform/WinTypes.h"

class CDC;
class MCadShape;
class MTessarayView;

// The application's printer when the option METAFILERES asks for it and a printer context can be
// made; otherwise the view's client context.
std::unique_ptr<CDC> CreateMetafileReference(MTessarayView& view);

// The shape at zoom 1 on the reference as an enhanced metafile (frame: its draw extent plus one
// pixel, in 0.01 mm; description "Tessaray" "Shape"). The view's screen scale is restored.
std::vector<BYTE> RenderShapeMetafile(MTessarayView& view, MCadShape* shape);

// Sets the program-wide metafile-drawing flag for its lifetime.
class MMetafileDrawingScope {
public:
    MMetafileDrawingScope();
    ~MMetafileDrawingScope();
    MMetafileDrawingScope(const MMetafileDrawingScope&) = delete;
    MMetafileDrawingScope& operator=(const MMetafileDrawingScope&) = delete;
};

// Restores the view's screen scale (client context, current zoom) when it goes.
class MScreenScaleRestorer {
public:
    explicit MScreenScaleRestorer(MTessarayView& view) : m_view(view) {}
    ~MScreenScaleRestorer();
    MScreenScaleRestorer(const MScreenScaleRestorer&) = delete;
    MScreenScaleRestorer& operator=(const MScreenScaleRestorer&) = delete;

private:
    MTessarayView& m_view;
};
