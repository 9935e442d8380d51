// The program's help page: the program's own path with ".htm" (the page the build puts beside the
// program), else the page installed in the data folder (<prefix>/share/tessaray/tessaray.htm).
#pragma once

#include <functional>
#include <string>

// The page to open; empty when neither exists.
std::string FindHelpPage(const std::string& programPath, const std::string& dataFolder);

// Opens a page with the desktop's opener; FALSE when there is none to open it with (no browser).
// Tests replace the opener; the previous one is returned (empty: the desktop's again).
using HelpOpener = std::function<bool(const std::string& page)>;
HelpOpener SetHelpOpener(HelpOpener opener);
bool OpenHelpPage(const std::string& page);

// The Help command: the page found for this program, opened; a missing page is not reported, a
// page nothing could open is, in a message box.
void ShowProgramHelp();
