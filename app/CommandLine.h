// The command line: the class library's shell commands (new, open, print, print to, unregister)
// with their arguments, and the program's own "Unregister" flag.
#pragma once

#include <string>
#include <vector>

#include "platform/WinTypes.h"

class MCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister };

    // One parameter, without its switch character when flag is TRUE. "Unregister" exactly sets the
    // program's flag; everything else is the framework's: "p", "pt", "dde" and "Unregister" or
    // "UnregServer" in any case choose the shell command; other flags are ignored; the first plain
    // parameter names the file, the next ones the printer, driver and port of "pt". The last
    // parameter turns a new drawing with a file into opening it.
    void ParseParam(const std::string& param, BOOL flag, BOOL last);
    // Every argument after the program's name. "-" begins a flag; "/" only when the rest is a
    // switch word ("/p", "/Unregister"), so absolute paths name files.
    void ParseCommandLine(const std::vector<std::string>& args);
    static bool IsSwitch(const std::string& arg);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    // The program's "Unregister" flag.
    int m_unregister = 0;
};
