#include "platform/ui/Print.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <algorithm>

#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/WinApp.h"

namespace {

constexpr const char* kPdfEntry = "PDF";
constexpr const char* kNoOutputFile = "PDFの出力ﾌｧｲﾙ名を入力してください。";
constexpr const char* kPrinterUnavailable = "ﾌﾟﾘﾝﾀを使用できません。";

QPageSize PageSizeOf(const std::string& name) {
    static const std::pair<const char*, QPageSize::PageSizeId> sizes[] = {
        {"A3", QPageSize::A3},       {"A4", QPageSize::A4},    {"A5", QPageSize::A5},
        {"B4", QPageSize::JisB4},    {"B5", QPageSize::JisB5}, {"Letter", QPageSize::Letter},
        {"Legal", QPageSize::Legal},
    };
    for (const auto& [n, id] : sizes)
        if (name == n) return QPageSize(id);
    return QPageSize(QPageSize::A4);
}

// The printer as the settings describe it; FALSE when the named printer does not exist.
bool Apply(QPrinter& printer, const CPrinterSettings& s) {
    if (s.printerName.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(s.outputFile));
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(s.printerName));
        if (info.isNull()) return false;
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(info.printerName());
    }
    printer.setPageSize(PageSizeOf(s.paperName));
    printer.setPageOrientation(s.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (s.printerName.empty()) {
        const double m = std::max(0.0, s.pdfMargin);
        printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
    }
    printer.setCopyCount(std::max(1, s.copies));
    return true;
}

}  // namespace

CPrinterSettings& AfxGetPrinterSettings() {
    static auto& slot = *new CProgramSlot<CPrinterSettings>([] {
        CPrinterSettings s;
        const QPrinterInfo def = QPrinterInfo::defaultPrinter();
        if (!def.isNull()) s.printerName = def.printerName().toStdString();
        return s;
    });
    return slot.Get();
}

std::vector<std::string> GetSystemPrinterNames() {
    std::vector<std::string> names;
    for (const QString& n : QPrinterInfo::availablePrinterNames())
        names.push_back(n.toStdString());
    return names;
}

const std::vector<std::string>& GetPaperNames() {
    static const std::vector<std::string> names = {"A3", "A4", "A5", "B4", "B5", "Letter", "Legal"};
    return names;
}

BOOL GetPrinterCaps(const CPrinterSettings& settings, CPrinterCaps* caps) {
    if (!caps) return FALSE;
    QPrinter printer(QPrinter::HighResolution);
    if (!Apply(printer, settings)) return FALSE;
    const int dpi = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect paint = layout.paintRectPixels(dpi);
    const QRect full = layout.fullRectPixels(dpi);
    caps->dpiX = caps->dpiY = dpi;
    caps->printable = CSize(paint.width(), paint.height());
    caps->printingOffset = CPoint(paint.left() - full.left(), paint.top() - full.top());
    caps->physical = CSize(full.width(), full.height());
    return dpi > 0 && paint.width() > 0 && paint.height() > 0;
}

CPrinterDC::CPrinterDC() = default;

CPrinterDC::~CPrinterDC() {
    // The back end draws on the printer: it goes first.
    DeleteDC();
}

BOOL CPrinterDC::CreatePrinterDC(const CPrinterSettings& settings) {
    DeleteDC();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!Apply(*printer, settings)) return FALSE;
    if (settings.printerName.empty() && settings.outputFile.empty()) return FALSE;
    if (!AttachPrinter(*this, printer.get())) return FALSE;
    m_printer = std::move(printer);
    return TRUE;
}

// ----- dialogs ----------------------------------------------------------------------------------

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent, UINT printTemplate,
                           UINT setupTemplate)
    : CDialog(printSetupOnly ? setupTemplate : printTemplate, parent),
      m_flags(flags | (printSetupOnly ? PD_PRINTSETUP : 0)),
      m_settings(AfxGetPrinterSettings()),
      m_setupOnly(printSetupOnly) {}

BOOL CPrintDialog::OnInitDialog() {
    if (auto* printers = GetDlgItemAs<CComboBox>(IDC_PRINT_PRINTER)) {
        printers->ResetContent();
        printers->AddString(kPdfEntry);
        for (const std::string& name : GetSystemPrinterNames())
            printers->AddString(name);
        const int at =
            m_settings.printerName.empty() ? 0 : printers->FindStringExact(0, m_settings.printerName);
        printers->SetCurSel(at < 0 ? 0 : at);
    }
    if (GetDlgItem(IDC_PRINT_OUTPUT_FILE)) SetDlgItemText(IDC_PRINT_OUTPUT_FILE, m_settings.outputFile);
    if (GetDlgItem(IDC_PRINT_COPIES)) SetDlgItemInt(IDC_PRINT_COPIES, m_settings.copies);
    if (auto* papers = GetDlgItemAs<CComboBox>(IDC_PRINT_PAPER)) {
        papers->ResetContent();
        for (const std::string& name : GetPaperNames())
            papers->AddString(name);
        const int at = papers->FindStringExact(-1, m_settings.paperName);
        papers->SetCurSel(at < 0 ? 1 : at);
    }
    if (GetDlgItem(IDC_PRINT_PORTRAIT)) CheckDlgButton(IDC_PRINT_PORTRAIT, m_settings.landscape ? 0 : 1);
    if (GetDlgItem(IDC_PRINT_LANDSCAPE)) CheckDlgButton(IDC_PRINT_LANDSCAPE, m_settings.landscape ? 1 : 0);
    return CDialog::OnInitDialog();
}

void CPrintDialog::OnOK() {
    CPrinterSettings chosen = m_settings;
    if (auto* printers = GetDlgItemAs<CComboBox>(IDC_PRINT_PRINTER)) {
        const int at = printers->GetCurSel();
        chosen.printerName = at > 0 ? printers->GetLBText(at) : std::string();
    }
    if (GetDlgItem(IDC_PRINT_OUTPUT_FILE)) chosen.outputFile = GetDlgItemText(IDC_PRINT_OUTPUT_FILE);
    if (GetDlgItem(IDC_PRINT_COPIES)) {
        BOOL ok = FALSE;
        const int copies = GetDlgItemInt(IDC_PRINT_COPIES, &ok, FALSE);
        chosen.copies = ok ? std::clamp(copies, 1, 999) : 1;
    }
    if (auto* papers = GetDlgItemAs<CComboBox>(IDC_PRINT_PAPER)) {
        const int at = papers->GetCurSel();
        if (at >= 0) chosen.paperName = papers->GetLBText(at);
    }
    if (GetDlgItem(IDC_PRINT_LANDSCAPE)) chosen.landscape = IsDlgButtonChecked(IDC_PRINT_LANDSCAPE) ? TRUE : FALSE;
    if (chosen.landscape != m_settings.landscape) chosen.orientationChosen = TRUE;
    // Printing into a PDF file needs its name, and replaces a file of that name only when the user
    // says so, as every save asks; the dialog stays open for another name.
    if (!m_setupOnly && chosen.printerName.empty()) {
        const bool named = !chosen.outputFile.empty();
        if (!named) AfxMessageBox(kNoOutputFile, MB_OK | MB_ICONEXCLAMATION);
        if (!named || !AfxConfirmReplace(chosen.outputFile)) {
            if (CWnd* edit = GetDlgItem(IDC_PRINT_OUTPUT_FILE)) GotoDlgCtrl(edit);
            return;
        }
    }
    CDialog::OnOK();
    if (IsRunning()) return;
    m_settings = chosen;
    AfxGetPrinterSettings() = chosen;
}

// ----- print information and preview -------------------------------------------------------------

CPrintInfo::CPrintInfo() = default;
CPrintInfo::~CPrintInfo() = default;

BOOL DoPreparePrinting(CPrintInfo* info) {
    if (!info) return FALSE;
    if (!info->m_bDirect && !info->m_bPreview) {
        if (!info->m_pPD) return FALSE;
        if (info->m_pPD->DoModal() != IDOK) return FALSE;
    }
    auto printer = std::make_unique<CPrinterDC>();
    if (!printer->CreatePrinterDC(AfxGetPrinterSettings())) {
        AfxMessageBox(kPrinterUnavailable, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    info->m_pDC = std::move(printer);
    return TRUE;
}

BOOL RunPrintPreview(int pageCount, const std::function<void(CDC& dc, int page)>& paint, CWnd* parent) {
    QPrinter printer(QPrinter::HighResolution);
    CPrinterSettings settings = AfxGetPrinterSettings();
    if (!Apply(printer, settings)) {
        settings.printerName.clear();
        Apply(printer, settings);
    }
    QPrintPreviewDialog dialog(&printer, parent ? parent->GetWidget() : nullptr);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* target) {
        AfxTryCall([&] {
            CDC dc;
            if (!AttachPrinter(dc, target) || dc.StartDoc("") <= 0) return;
            for (int page = 1; page <= std::max(1, pageCount); ++page) {
                if (dc.StartPage() <= 0) break;
                paint(dc, page);
                dc.EndPage();
            }
            dc.EndDoc();
        });
    });
    if (DialogRunner* runner = DialogRunner::Active()) {
        // Tests: the pages are rendered once, nothing is shown.
        if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) widget->updatePreview();
        runner->RecordDialog({kPrintPreviewDialogId, IDCANCEL, false, false});
        return TRUE;
    }
    const CModalLoopScope modal;
    dialog.exec();
    return TRUE;
}
