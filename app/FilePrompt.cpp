#include "app/FilePrompt.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "platform/Profile.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/Wnd.h"
#include "resources/ResourceIds.h"

namespace {

FilePromptHandler& Handler() {
    static auto& slot = *new CProgramSlot<FilePromptHandler>;
    return slot.Get();
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The confirmed filter of an open dialog, for the next one of this run.
QString g_openFilter;

}  // namespace

FilePromptHandler SetFilePromptHandler(FilePromptHandler handler) {
    FilePromptHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

namespace {

// key: the profile value under "FILEPATH" that holds the last file of this kind of dialog.
bool Prompt(bool open, std::string& path, const char* key, unsigned titleId) {
    QStringList filters{QStringLiteral("Tessaray Files (*.qfd)"), QStringLiteral("DXF Files (*.dxf)"),
                        QStringLiteral("JW_CAD Files (*.jwc)")};
    if (open)
        filters << QStringLiteral("XDF Files (*.xdf)");
    else
        filters << QStringLiteral("拡張メタファイル (*.emf)");
    filters << Q(AfxLoadString(IDS_ALL_FILES_FILTER)) + QStringLiteral(" (*)");

    CProfile& profile = AfxGetProfile();
    const QString last = Q(profile.GetProfileString("FILEPATH", key));
    QString start;
    if (!path.empty()) {
        // The proposed name without its extension, in the folder of the last file when it has none.
        const QFileInfo proposed(Q(path));
        const QString folder = proposed.exists() ? proposed.absolutePath() : QFileInfo(last).absolutePath();
        start = last.isEmpty() && !proposed.exists()
                    ? proposed.completeBaseName()
                    : folder + QLatin1Char('/') + proposed.completeBaseName();
    } else if (!last.isEmpty()) {
        start = QFileInfo(last).exists() && open ? last : QFileInfo(last).absolutePath();
    }

    CWnd* main = AfxGetMainWnd();
    QWidget* parent = main ? main->GetWidget() : nullptr;
    CModalLoopScope modal;
    QString chosenFilter = open ? g_openFilter : filters.front();
    const QString title = Q(AfxLoadString(titleId));
    const QString filterText = filters.join(QStringLiteral(";;"));
    QString chosen = open ? QFileDialog::getOpenFileName(parent, title, start, filterText, &chosenFilter)
                          : QFileDialog::getSaveFileName(parent, title, start, filterText, &chosenFilter);
    if (chosen.isEmpty()) return false;
    if (open) {
        g_openFilter = chosenFilter;
    } else if (QFileInfo(chosen).suffix().isEmpty()) {
        // A name without extension takes the chosen filter's ("*.dxf" gives ".dxf").
        const int star = chosenFilter.indexOf(QStringLiteral("(*."));
        const int close = chosenFilter.indexOf(QLatin1Char(')'), star);
        if (star >= 0 && close > star + 3) chosen += chosenFilter.mid(star + 2, close - star - 2);
    }
    path = chosen.toStdString();
    profile.WriteProfileString("FILEPATH", key, path);
    return true;
}

}  // namespace

bool PromptFileName(bool open, std::string& path) {
    if (Handler()) return Handler()(open, path);
    return Prompt(open, path, "LASTOPEN", open ? IDS_OPEN_TITLE : IDS_SAVE_AS_TITLE);
}

bool PromptTemplateName(std::string& path) {
    if (Handler()) return Handler()(true, path);
    return Prompt(true, path, "TEMPLATE", IDS_TEMPLATE_TITLE);
}
