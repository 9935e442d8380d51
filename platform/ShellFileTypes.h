// The desktop's knowledge of our drawings: a shared-mime-info type for the extension, a .desktop
// entry that opens such files with the program and offers to print them, and the program's icon for
// both, all in the user's data folder ($XDG_DATA_HOME, else ~/.local/share). Registering again
// rewrites nothing that is current; unregistering removes only the files that name our type.
#pragma once

#include <string>

struct ShellFileType {
    std::string typeId;       // "Tessaray.Document": marks the files as ours
    std::string fileName;     // base name of both files, "tessaray"
    std::string appName;      // the entry's name
    std::string description;  // the type's comment
    std::string mimeType;     // "application/x-tessaray-document"
    std::string extension;    // ".qfd"
    std::string magic;        // the first bytes of such a file (empty: none)
    std::string command;      // the program's absolute path
    std::string printAction;  // the entry's action that prints a file with "-p" (empty: none)
    std::string iconSvg;      // the program's icon as SVG text (empty: none)
};

// The folder the desktop reads user data from.
std::string UserDataHome();

// Writes what is missing or out of date and asks the desktop's databases to take it in. Failures
// are not reported: a drawing program without the association still works.
bool RegisterShellFileTypes(const ShellFileType& type);
bool UnregisterShellFileTypes(const ShellFileType& type);

// The texts written, for tests and for the comparison that keeps registration idempotent.
std::string DesktopEntryText(const ShellFileType& type);
std::string MimePackageText(const ShellFileType& type);
// The icon written for the program and for the file type: the SVG marked with the type id.
std::string IconText(const ShellFileType& type);
// Icon names: the program's file name, and the type's MIME name with "-" for "/".
std::string MimeIconName(const ShellFileType& type);
