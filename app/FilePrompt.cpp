#include "app/FilePrompt.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QStringList>
#include <QTreeView>

#include "app/FileListTexts.h"
#include "platform/Profile.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/Wnd.h"
#include "resources/ResourceIds.h"

namespace {

constexpr const char* kLastOpen = "LASTOPEN";
constexpr const char* kTemplate = "TEMPLATE";
// The extension of the document template: names without one are drawings.
constexpr const char* kDefaultExtension = ".qfd";

FilePromptHandler& Handler() {
    static auto& slot = *new CProgramSlot<FilePromptHandler>;
    return slot.Get();
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The confirmed filter of an open dialog, for the next one of this run.
int g_openFilter = 0;

std::vector<std::string> Filters(bool open) {
    std::vector<std::string> filters{"Tessaray Files (*.qfd)", "DXF Files (*.dxf)", "JW_CAD Files (*.jwc)"};
    filters.emplace_back(open ? "XDF Files (*.xdf)" : "拡張メタファイル (*.emf)");
    filters.push_back(AfxLoadString(IDS_ALL_FILES_FILTER));
    return filters;
}

// The extension a filter gives a name without one: "(*.dxf)" gives ".dxf"; "(*.*)" the drawing's.
std::string FilterExtension(const std::string& filter) {
    const auto star = filter.rfind("(*.");
    const auto close = filter.find(')', star == std::string::npos ? 0 : star);
    if (star == std::string::npos || close == std::string::npos) return kDefaultExtension;
    const std::string ext = filter.substr(star + 2, close - star - 2);
    return ext == ".*" ? kDefaultExtension : ext;
}

std::string WithExtension(const std::string& path, const std::string& filter) {
    const QFileInfo info(Q(path));
    if (!info.suffix().isEmpty()) return path;
    std::string base = path;
    // "foo." has no extension either: the dot goes with the one added.
    while (!base.empty() && base.back() == '.')
        base.pop_back();
    return base + FilterExtension(filter);
}

// Where the dialog starts: the proposed name without its extension, in its own folder when it
// exists, else in the folder of the last file; without a proposal the last file without its
// extension (open) or its folder.
std::string StartName(bool open, const std::string& proposal, const std::string& last) {
    const QString lastPath = Q(last);
    if (!proposal.empty()) {
        const QFileInfo proposed(Q(proposal));
        if (!proposed.exists() && lastPath.isEmpty()) return proposed.completeBaseName().toStdString();
        const QString folder =
            proposed.exists() ? proposed.absolutePath() : QFileInfo(lastPath).absolutePath();
        return (folder + QLatin1Char('/') + proposed.completeBaseName()).toStdString();
    }
    if (lastPath.isEmpty()) return std::string();
    const QFileInfo lastFile(lastPath);
    if (lastFile.exists() && open)
        return (lastFile.absolutePath() + QLatin1Char('/') + lastFile.completeBaseName()).toStdString();
    return lastFile.absolutePath().toStdString();
}

// A name that names no file opens the one the chosen filter's extension completes (the dialog
// proposes names without extension, and a name may hold dots of its own: "plan.v2").
std::string OpenedName(const std::string& path, const std::string& filter) {
    if (QFileInfo::exists(Q(path))) return path;
    for (const std::string& named : {WithExtension(path, filter), path + FilterExtension(filter)})
        if (QFileInfo::exists(Q(named))) return named;
    return path;
}

bool RunToolkitDialog(FileDialogState& state) {
    QStringList filters;
    for (const std::string& f : state.filters) {
        // The toolkit's "*.*" wants a dot in the name: every file is "*".
        QString text = Q(f);
        if (text.endsWith(QStringLiteral("(*.*)"))) text.replace(text.size() - 5, 5, QStringLiteral("(*)"));
        filters << text;
    }
    CWnd* main = AfxGetMainWnd();
    QFileDialog dialog(main ? main->GetWidget() : nullptr, Q(state.title), Q(state.path));
    dialog.setAcceptMode(state.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // A drawing's name comes back as typed, proposed without its extension: the program completes
    // it, and says so when no file has that name.
    const bool completed = state.open && state.completesName;
    dialog.setFileMode(!state.open || state.createPrompt || completed ? QFileDialog::AnyFile
                       : state.multiSelect                            ? QFileDialog::ExistingFiles
                                                                      : QFileDialog::ExistingFile);
    // The program asks about replacing once the name has its extension.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setProxyModel(CreateFileListTexts(&dialog));
    // The Japanese types and dates are wider than the English ones the columns are made for.
    if (auto* list = dialog.findChild<QTreeView*>()) {
        list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < list->header()->count(); ++column)
            list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    dialog.resize(dialog.sizeHint().expandedTo(QSize(800, 480)));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(state.filter));
    CModalLoopScope modal;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    state.path = dialog.selectedFiles().front().toStdString();
    state.paths.clear();
    for (const QString& file : dialog.selectedFiles())
        state.paths.push_back(file.toStdString());
    state.filter = static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())));
    return true;
}

bool RunDialog(FileDialogState& state) {
    const bool confirmed = Handler() ? Handler()(state) : RunToolkitDialog(state);
    const int count = static_cast<int>(state.filters.size());
    if (state.filter < 0 || state.filter >= count) state.filter = 0;
    return confirmed && !state.path.empty();
}

// key: the profile value under "FILEPATH" that holds the last file of this kind of dialog.
bool Prompt(bool open, std::string& path, const char* key, unsigned titleId) {
    CProfile& profile = AfxGetProfile();
    FileDialogState state;
    state.open = open;
    state.title = AfxLoadString(titleId);
    state.filters = Filters(open);
    state.path = StartName(open, path, profile.GetProfileString("FILEPATH", key));
    state.filter = open ? g_openFilter : 0;
    state.completesName = open;
    for (;;) {
        if (!RunDialog(state)) return false;
        if (open) {
            g_openFilter = state.filter;
            path = OpenedName(state.path, state.filters[static_cast<std::size_t>(state.filter)]);
            return true;
        }
        const std::string chosen =
            WithExtension(state.path, state.filters[static_cast<std::size_t>(state.filter)]);
        // No: the dialog again, with the name as it stands.
        if (!AfxConfirmReplace(chosen)) {
            state.path = chosen;
            continue;
        }
        path = chosen;
        profile.WriteProfileString("FILEPATH", key, path);
        return true;
    }
}

}  // namespace

FilePromptHandler SetFilePromptHandler(FilePromptHandler handler) {
    FilePromptHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

bool PromptFileName(bool open, std::string& path) {
    return Prompt(open, path, kLastOpen, open ? IDS_OPEN_TITLE : IDS_SAVE_AS_TITLE);
}

bool PromptTemplateName(std::string& path) {
    return Prompt(true, path, kTemplate, IDS_TEMPLATE_TITLE);
}

bool RunFileDialog(FileDialogState& state) {
    if (!RunDialog(state)) return false;
    if (state.paths.empty()) state.paths.push_back(state.path);
    if (!state.defaultExtension.empty())
        for (std::string& path : state.paths)
            if (QFileInfo(Q(path)).suffix().isEmpty()) path += state.defaultExtension;
    state.path = state.paths.front();
    return true;
}

void RememberOpenedFile(const std::string& path) {
    AfxGetProfile().WriteProfileString("FILEPATH", kLastOpen, path);
}

void RememberTemplate(const std::string& path) {
    AfxGetProfile().WriteProfileString("FILEPATH", kTemplate, path);
}
