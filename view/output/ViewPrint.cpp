// Printing of the drawing view: one page showing the print area (a rectangle of the sheet as large
// as the printer's printable page times the print factor) scaled to fill the page, with the print
// dialog's black-and-white option, and print preview.
#include <cmath>

#include "document/TessarayDoc.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Print.h"
#include "platform/ui/ScrollBar.h"
#include "view/TessarayView.h"
#include "view/dialogs/PrintBWDialog.h"

namespace {

enum : UINT { ID_FILE_PRINT = 57607, ID_FILE_PRINT_DIRECT = 57608, ID_FILE_PRINT_PREVIEW = 57609 };
constexpr UINT kIdsCommandFailed = 61705;
constexpr const char* kPrintFailed = "印刷できませんでした。";

double EffectiveFactor(double factor) {
    return factor > 0 ? factor : 1.0;
}

}  // namespace

void MTessarayView::RegisterPrintCommands() {
    CCommandMap& map = Commands();
    auto enabled = [](CCmdUI* ui) { ui->Enable(TRUE); };
    map.OnCommand(
        ID_FILE_PRINT, [this] { OnFilePrint(FALSE); }, enabled);
    map.OnCommand(
        ID_FILE_PRINT_DIRECT, [this] { OnFilePrint(TRUE); }, enabled);
    map.OnCommand(
        ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); }, enabled);
}

MFloatRect MTessarayView::GetPrintArea() const {
    MFloatRect r;
    r.left = m_printCentre.x - m_pageWidth * m_printFactor / 2;
    r.right = m_printCentre.x + m_pageWidth * m_printFactor / 2;
    r.top = m_printCentre.y + m_pageHeight * m_printFactor / 2;
    r.bottom = m_printCentre.y - m_pageHeight * m_printFactor / 2;
    return r;
}

void MTessarayView::FollowSheetOrientation() {
    CPrinterSettings& settings = AfxGetPrinterSettings();
    const MPaperInfo* paper = GetPaperInfo();
    if (!settings.orientationChosen && paper) settings.landscape = paper->GetHorizontal() ? TRUE : FALSE;
}

void MTessarayView::OnPrinterChanged() {
    const double width = m_pageWidth;
    const double height = m_pageHeight;
    UpdatePrinterPage(TRUE);
    // Another page (size or orientation) starts again where the printable area starts: a centre
    // kept from the old page would put the new one off the sheet.
    if (m_pageWidth != width || m_pageHeight != height) UpdatePrinterPage(FALSE);
}

void MTessarayView::UpdatePrinterPage(BOOL keepCentre) {
    FollowSheetOrientation();
    CPrinterCaps caps;
    if (GetPrinterCaps(AfxGetPrinterSettings(), &caps)) {
        m_pageWidth = caps.printable.cx * 25.4 / caps.dpiX;
        m_pageHeight = caps.printable.cy * 25.4 / caps.dpiY;
        // The print area starts where the printer's printable area starts on the sheet.
        if (!keepCentre) {
            m_printCentre.x = caps.printingOffset.x * 25.4 / caps.dpiX + m_pageWidth / 2;
            m_printCentre.y = -caps.printingOffset.y * 25.4 / caps.dpiY - m_pageHeight / 2;
        }
    } else {
        m_printCentre = MFloatPoint(0.0, 0.0);
        m_pageWidth = m_pageHeight = 0.0;
    }
    if (m_pageWidth > 0 && m_pageHeight > 0)
        m_printArea = GetPrintArea();
    else
        m_printArea.SetNull();
}

BOOL MTessarayView::OnPreparePrinting(CPrintInfo* info) {
    // The dialog offers the sheet's orientation unless the user chose another one.
    FollowSheetOrientation();
    info->m_pPD =
        std::make_unique<MPrintBWDialog>(FALSE, PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE, nullptr);
    info->SetMaxPage(1);
    return DoPreparePrinting(info);
}

void MTessarayView::OnBeginPrinting(CDC* dc, CPrintInfo*) {
    SetScale(dc, 1.0 / EffectiveFactor(m_printFactor));
}

void MTessarayView::OnPrint(CDC* dc, CPrintInfo*) {
    const double f = EffectiveFactor(m_printFactor);
    const double left = std::floor((m_printCentre.x - m_pageWidth * f / 2) * paperScaleX + 0.5);
    const double top = std::floor((m_printCentre.y + m_pageHeight * f / 2) * paperScaleY + 0.5);
    dc->SetViewportOrg(static_cast<int>(-left), static_cast<int>(-top));
    OnDraw(dc);
}

void MTessarayView::OnEndPrinting(CDC*, CPrintInfo*) {
    RecalcScale();
}

void MTessarayView::OnFilePrint(BOOL direct) {
    CPrintInfo info;
    info.m_bDirect = direct;
    if (OnPreparePrinting(&info) && info.m_pDC) {
        // The page of the printer and orientation chosen in the dialog, about the same centre.
        UpdatePrinterPage(TRUE);
        CDC* dc = info.m_pDC.get();
        const std::string title = m_document ? m_document->GetTitle() : std::string();
        bool printed = false;
        if (dc->StartDoc(title) > 0) {
            OnBeginPrinting(dc, &info);
            try {
                if (dc->StartPage() > 0) {
                    OnPrepareDC(dc, &info);
                    OnPrint(dc, &info);
                    printed = dc->EndPage() > 0;
                }
            } catch (...) {
                dc->AbortDoc();
                OnEndPrinting(dc, &info);
                throw;
            }
            OnEndPrinting(dc, &info);
            printed = dc->EndDoc() > 0 && printed;
        }
        if (!printed) AfxMessageBox(kPrintFailed, MB_OK | MB_ICONEXCLAMATION);
    }
    UpdatePrinterPage(TRUE);
    if (m_document) m_document->UpdateAllViews(nullptr);
}

void MTessarayView::OnFilePrintPreview() {
    // The tab strip's own bars step aside while the preview runs.
    CWnd* bars[3] = {m_horzBar.get(), m_vertBar.get(), m_tabArrows.get()};
    bool shown[3] = {false, false, false};
    for (int i = 0; i < 3; ++i)
        if (bars[i] && bars[i]->IsWindow()) {
            shown[i] = bars[i]->IsWindowVisible() != FALSE;
            bars[i]->ShowWindow(SW_HIDE);
        }
    UpdatePrinterPage(TRUE);
    CPrintInfo info;
    info.m_bPreview = TRUE;
    BOOL started = FALSE;
    try {
        started = RunPrintPreview(
            1,
            [this, &info](CDC& dc, int) {
                OnBeginPrinting(&dc, &info);
                try {
                    OnPrepareDC(&dc, &info);
                    OnPrint(&dc, &info);
                } catch (...) {
                    OnEndPrinting(&dc, &info);
                    throw;
                }
                OnEndPrinting(&dc, &info);
            },
            this);
    } catch (...) {
        started = FALSE;
    }
    for (int i = 0; i < 3; ++i)
        if (bars[i] && shown[i]) bars[i]->ShowWindow(SW_SHOW);
    if (!started) AfxMessageBox(kIdsCommandFailed, MB_OK | MB_ICONEXCLAMATION);
    UpdatePrinterPage(TRUE);
    if (m_document) m_document->UpdateAllViews(nullptr);
}
