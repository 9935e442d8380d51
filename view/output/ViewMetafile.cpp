// The metafile export of the drawing (the document's ".EMF" save) and the metafile picture of the
// clipboard.
#include "view/output/ViewMetafile.h"

#include <cmath>
#include <string>

#include "document/TessarayDoc.h"
#include "model/render/DrawFlags.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "platform/Strings.h"
#include "platform/gdi/MetaFileDC.h"
#include "platform/ui/Print.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {

const std::string kExportDescription("Tessaray\0Drawing\0\0", 18);
const std::string kClipboardDescription("Tessaray\0Shape\0\0", 16);

}  // namespace

MMetafileDrawingScope::MMetafileDrawingScope() {
    SetMetafileDrawing(true);
}
MMetafileDrawingScope::~MMetafileDrawingScope() {
    SetMetafileDrawing(false);
}

MScreenScaleRestorer::~MScreenScaleRestorer() {
    m_view.RecalcScale();
}

std::unique_ptr<CDC> CreateMetafileReference(MTessarayView& view) {
    if (GetOptionRecord().m_metafileRes) {
        auto printer = std::make_unique<CPrinterDC>();
        if (printer->CreatePrinterDC(AfxGetPrinterSettings())) return printer;
    }
    return view.GetClientDC();
}

std::vector<BYTE> RenderShapeMetafile(MTessarayView& view, MCadShape* shape) {
    if (!shape) return {};
    std::unique_ptr<CDC> reference = CreateMetafileReference(view);
    MScreenScaleRestorer restore(view);
    view.SetScale(reference.get(), 1.0);
    CRect r = view.DocToLogicalRect(shape->GetDrawExtent());
    r.NormalizeRect();
    // Millimetres per reference pixel, as the metafile's header measures the reference.
    const double mmX = 25.4 / std::max(1, reference->GetDeviceCaps(LOGPIXELSX));
    const double mmY = 25.4 / std::max(1, reference->GetDeviceCaps(LOGPIXELSY));
    const RECT frame{0, 0, static_cast<LONG>((r.Width() + 1) * mmX * 100 + 0.5),
                     static_cast<LONG>((r.Height() + 1) * mmY * 100 + 0.5)};
    CMetaFileDC dc;
    if (!dc.CreateEnhanced(reference.get(), "", &frame, kClipboardDescription)) return {};
    dc.SetWindowOrg(r.left, r.top);
    {
        MMetafileDrawingScope drawing;
        shape->Draw(&view, &dc);
    }
    std::vector<BYTE> bytes;
    if (!dc.CloseEnhanced(&bytes)) return {};
    return bytes;
}

BOOL MTessarayView::WriteMetafile(const std::string& path) {
    std::unique_ptr<CDC> reference = CreateMetafileReference(*this);
    MScreenScaleRestorer restore(*this);
    SetScale(reference.get(), 1.0);
    const MFloatSize paper = GetPaperInfo() ? GetPaperInfo()->GetSize() : MFloatSize(0.0, 0.0);
    // The frame is the sheet in 0.01 mm; a negative size swaps that edge with 0.
    LONG w = static_cast<LONG>(paper.cx * 100), h = static_cast<LONG>(paper.cy * 100);
    RECT frame{0, 0, w, h};
    if (w < 0) frame.left = w, frame.right = 0;
    if (h < 0) frame.top = h, frame.bottom = 0;
    CMetaFileDC dc;
    if (!dc.CreateEnhanced(reference.get(), path, &frame, kExportDescription)) {
        AfxMessageBox(IDS_CANNOT_OPEN_FILE, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (m_document) {
        MMetafileDrawingScope drawing;
        m_document->Draw(this, &dc);
    }
    const BOOL written = dc.CloseEnhanced();
    if (!written) {
        AfxMessageBox(IDS_CANNOT_OPEN_FILE, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}
