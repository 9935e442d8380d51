// Printing: the application's printer (a system printer through CUPS, or a PDF file, which needs
// no printer at all), its device capabilities as a printer device context reports them, printer
// device contexts, the print and print-setup dialogs built from the program's dialog templates,
// the framework's print information, and print preview.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/DC.h"
#include "platform/ui/Dialog.h"

class QPrinter;

// The printer the application prints on. An empty printer name prints into the PDF file.
struct CPrinterSettings {
    std::string printerName;
    std::string outputFile;
    std::string paperName = "A4";  // one of GetPaperNames()
    BOOL landscape = FALSE;
    // The user chose the orientation in a print dialog; until then the program may set it.
    BOOL orientationChosen = FALSE;
    int copies = 1;
    // Millimetres of the sheet the PDF file leaves unprinted at every edge.
    double pdfMargin = 5.0;
};

// The application's printer: on first use the system's default printer, or PDF without one.
CPrinterSettings& AfxGetPrinterSettings();
// The printers the system offers (empty without CUPS or printers).
std::vector<std::string> GetSystemPrinterNames();
// The paper sizes the dialogs offer ("A3", "A4", "A5", "B4", "B5", "Letter", "Legal"; B sizes of
// the Japanese series).
const std::vector<std::string>& GetPaperNames();

// What a printer device context of the settings reports.
struct CPrinterCaps {
    int dpiX = 0;
    int dpiY = 0;
    CSize printable;        // HORZRES, VERTRES (pixels)
    CPoint printingOffset;  // the printable area's corner on the sheet (pixels; GETPRINTINGOFFSET)
    CSize physical;         // the whole sheet (pixels)
};
// FALSE when the settings name a printer the system does not have.
BOOL GetPrinterCaps(const CPrinterSettings& settings, CPrinterCaps* caps);

// A device context on the settings' printer; drawing starts with StartDoc and ends with EndDoc,
// which writes the PDF file or hands the job to the printer.
class CPrinterDC : public CDC {
public:
    CPrinterDC();
    ~CPrinterDC() override;
    // FALSE when the printer is not available or the PDF file has no name.
    BOOL CreatePrinterDC(const CPrinterSettings& settings);

private:
    std::unique_ptr<QPrinter> m_printer;
};

// Print dialog flags.
enum : DWORD {
    PD_ALLPAGES = 0x0,
    PD_NOSELECTION = 0x4,
    PD_NOPAGENUMS = 0x8,
    PD_PRINTSETUP = 0x40,
    PD_RETURNDC = 0x100,
    PD_ENABLEPRINTTEMPLATE = 0x4000,
    PD_ENABLESETUPTEMPLATE = 0x8000,
    PD_USEDEVMODECOPIESANDCOLLATE = 0x40000,
};

// Controls of the print dialogs.
enum : int {
    kPrintPrinterCombo = 1139,
    kPrintOutputFile = 1152,
    kPrintCopies = 1154,
    kPrintPaperCombo = 1137,
    kPrintPortrait = 1056,
    kPrintLandscape = 1057,
    kPrintCollatePicture = 1086,
};

// The print dialog (or, printSetupOnly, the print-setup dialog) on a dialog template of the
// program. Its first printer entry is "PDF" (the file named in the output edit); the system's
// printers follow. OK copies the choice into the application's printer settings.
class CPrintDialog : public CDialog {
public:
    CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent, UINT printTemplate, UINT setupTemplate);
    BOOL IsSetupOnly() const { return m_setupOnly; }
    DWORD m_flags;
    // The dialog's choice: filled from the application's settings at construction.
    CPrinterSettings m_settings;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    BOOL m_setupOnly;
};

// The framework's print information for one print or preview run.
struct CPrintInfo {
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;
    void SetMaxPage(UINT n) { m_nMaxPage = n; }

    std::unique_ptr<CPrintDialog> m_pPD;
    // The printer context DoPreparePrinting made.
    std::unique_ptr<CPrinterDC> m_pDC;
    BOOL m_bDirect = FALSE;  // print without the dialog
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 1;
    UINT m_nCurPage = 1;
    CRect m_rectDraw;
};

// Runs the print dialog of the information (unless printing directly or previewing) and, when
// confirmed, creates the printer context (m_pDC) on the application's settings. FALSE when
// cancelled or when the printer cannot be opened (the user has been told).
BOOL DoPreparePrinting(CPrintInfo* info);

// Print preview of the application's printer: the preview window asks paint for every page
// (pages from 1 to pageCount) on a printing context. While a DialogRunner is active the pages are
// rendered once without showing the window (recorded as dialog id kPrintPreviewDialogId). FALSE
// when the preview could not start.
inline constexpr unsigned int kPrintPreviewDialogId = 0xE900;
BOOL RunPrintPreview(int pageCount, const std::function<void(CDC& dc, int page)>& paint, CWnd* parent);
