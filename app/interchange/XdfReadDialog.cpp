#include "app/interchange/XdfReadDialog.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/Strings.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/Wnd.h"
#include "resources/ResourceIds.h"

MXDFReadDialog::MXDFReadDialog() = default;

MXDFReadDialog::~MXDFReadDialog() {
    Close();
}

void MXDFReadDialog::BeginWait() {
    if (!m_wait) m_wait = std::make_unique<CWaitCursor>();
}

void MXDFReadDialog::EndWait() {
    m_wait.reset();
}

void MXDFReadDialog::Open(const std::string& path) {
    Close();
    // Without a person (a print from the command line) no window shows.
    if (AfxIsUnattended()) return;
    CWnd* main = AfxGetMainWnd();
    auto* window = new QDialog(main ? main->GetWidget() : nullptr);
    window->setWindowTitle(QStringLiteral("XDF Reading"));
    window->setModal(false);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(new QLabel(QStringLiteral("読み込み中"), window));
    m_path = new QLabel(QString::fromStdString(path), window);
    m_path->setObjectName(QString::number(IDC_READ_TEXT));
    layout->addWidget(m_path);
    m_bar = new QProgressBar(window);
    m_bar->setObjectName(QString::number(IDC_READ_PROGRESS_BAR));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setMinimumWidth(300);
    layout->addWidget(m_bar);
    m_window = window;
    m_window->show();
    Repaint();
}

void MXDFReadDialog::SetRange(int upper) {
    if (!m_bar) return;
    m_bar->setRange(0, upper > 0 ? upper : 1);
    Repaint();
}

void MXDFReadDialog::SetPos(int position) {
    if (!m_bar || m_bar->value() == position) return;
    m_bar->setValue(std::min(position, m_bar->maximum()));
    Repaint();
}

void MXDFReadDialog::Close() {
    delete m_window;
    m_window = nullptr;
    m_bar = nullptr;
    m_path = nullptr;
}

int MXDFReadDialog::GetRange() const {
    return m_bar ? m_bar->maximum() : 0;
}

int MXDFReadDialog::GetPos() const {
    return m_bar ? m_bar->value() : 0;
}

std::string MXDFReadDialog::GetPathText() const {
    return m_path ? m_path->text().toStdString() : std::string();
}

void MXDFReadDialog::Repaint() {
    if (m_window && m_window->isVisible()) m_window->repaint();
}
