#include "app/HelpPage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>
#include <filesystem>

#include "platform/Strings.h"
#include "resources/ResourceIds.h"

namespace {

namespace fs = std::filesystem;

HelpOpener& Opener() {
    static HelpOpener opener;
    return opener;
}

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace

std::string FindHelpPage(const std::string& programPath, const std::string& dataFolder) {
    // Only the program's file name loses its extension: a dot in a folder name is no extension.
    fs::path beside(programPath);
    beside.replace_extension(".htm");
    if (!programPath.empty() && IsFile(beside)) return beside.string();
    const fs::path installed = fs::path(dataFolder) / "tessaray.htm";
    if (!dataFolder.empty() && IsFile(installed)) return installed.string();
    return std::string();
}

HelpOpener SetHelpOpener(HelpOpener opener) {
    HelpOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}

bool OpenHelpPage(const std::string& page) {
    if (Opener()) return Opener()(page);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page)));
}

void ShowProgramHelp() {
    const std::string page =
        FindHelpPage(QCoreApplication::applicationFilePath().toStdString(), TESSARAY_DATA_DIR);
    if (page.empty() || OpenHelpPage(page)) return;
    // Without a browser the command would otherwise do nothing at all.
    AfxMessageBox(AfxLoadString(IDS_CANNOT_OPEN_FILE) + "\n" + page, MB_OK | MB_ICONEXCLAMATION);
}
