#include "app/interchange/DxfReadDialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "platform/Strings.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"
#include "view/dialogs/PaperDialog.h"

namespace {

// Escape and the close box count as Cancel. The window stays until the import has seen the flag and
// closes it, so that it never hides while the main window is still disabled.
class ProgressWindow : public QDialog {
public:
    ProgressWindow(QWidget* parent, std::function<void()> cancel)
        : QDialog(parent), m_cancel(std::move(cancel)) {}
    void reject() override { m_cancel(); }

private:
    std::function<void()> m_cancel;
};

}  // namespace

MDXFReadDialog::MDXFReadDialog() {
    CWnd* main = AfxGetMainWnd();
    QWidget* parent = main ? main->GetWidget() : nullptr;
    auto* window = new ProgressWindow(parent, [this] { m_cancelled = TRUE; });
    window->setObjectName(QString::number(IDD_DXF_READ));
    window->setWindowTitle(QStringLiteral("読み込み中"));
    window->setModal(false);
    auto* layout = new QVBoxLayout(window);
    m_text = new QLabel(window);
    m_text->setObjectName(QString::number(IDC_READ_TEXT));
    m_text->setMinimumWidth(200);
    layout->addWidget(m_text);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), window);
    cancel->setObjectName(QString::number(IDC_DXF_READ_CANCEL));
    QObject::connect(cancel, &QPushButton::clicked, window, [this] { m_cancelled = TRUE; });
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    m_window = window;

    if (parent && parent->isEnabled()) {
        parent->setEnabled(false);
        m_disabledParent = parent;
    }
    // A window of its own stays usable while its parent is disabled, when asked explicitly.
    window->setEnabled(true);
    window->show();
    window->repaint();
}

MDXFReadDialog::~MDXFReadDialog() {
    delete m_window.data();
    if (m_disabledParent) m_disabledParent->setEnabled(true);
}

void MDXFReadDialog::SetText(const std::string& text) {
    if (m_window) m_text->setText(QString::fromStdString(text));
}

void MDXFReadDialog::PumpMessages() {
    QApplication::processEvents(QEventLoop::AllEvents);
}

std::string MDXFReadDialog::GetText() const {
    return m_window ? m_text->text().toStdString() : std::string();
}

QWidget* MDXFReadDialog::GetWindow() const {
    return m_window.data();
}

int MDXFImportDialogs::RunPaperDialog(MTessarayDoc&) {
    // The reader has loaded the remembered paper from the document's before asking.
    CWnd* main = AfxGetMainWnd();
    auto* frame = dynamic_cast<CFrameWnd*>(main);
    CWnd* view = frame ? frame->GetActiveView() : nullptr;
    MPaperSetupDialog dialog(view ? view : main);
    return dialog.DoModal();
}

std::unique_ptr<MDXFReadProgress> MDXFImportDialogs::CreateProgress() {
    // Without a person (a print from the command line) no window shows and nobody cancels.
    if (AfxIsUnattended()) return nullptr;
    return std::make_unique<MDXFReadDialog>();
}
