#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>

namespace {

// The switch words, written after "/" or "-".
constexpr const char* kSwitchWords[] = {"Unregister", "p",         "pt",       "dde",        "Embedding",
                                        "Automation", "RegServer", "Register", "UnregServer"};

bool EqualsNoCase(const std::string& a, const char* b) {
    const std::string other(b);
    return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool MCommandLineInfo::IsSwitch(const std::string& arg) {
    if (arg.size() < 2) return false;
    if (arg[0] == '-') return true;
    // "/" also begins every absolute path: only the switch words themselves are switches.
    if (arg[0] != '/') return false;
    const std::string word = arg.substr(1);
    return std::any_of(std::begin(kSwitchWords), std::end(kSwitchWords),
                       [&](const char* known) { return EqualsNoCase(word, known); });
}

void MCommandLineInfo::ParseCommandLine(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool flag = IsSwitch(a);
        ParseParam(flag ? a.substr(1) : a, flag ? TRUE : FALSE, i + 1 == args.size() ? TRUE : FALSE);
    }
}

void MCommandLineInfo::ParseParam(const std::string& param, BOOL flag, BOOL last) {
    if (flag && param == "Unregister") {
        m_unregister = 1;
    } else if (flag) {
        if (EqualsNoCase(param, "pt"))
            m_nShellCommand = FilePrintTo;
        else if (EqualsNoCase(param, "p"))
            m_nShellCommand = FilePrint;
        else if (EqualsNoCase(param, "dde"))
            m_nShellCommand = FileDDE;
        else if (EqualsNoCase(param, "Unregister") || EqualsNoCase(param, "UnregServer"))
            m_nShellCommand = AppUnregister;
    } else if (m_strFileName.empty()) {
        m_strFileName = param;
    } else if (m_nShellCommand == FilePrintTo && m_strPrinterName.empty()) {
        m_strPrinterName = param;
    } else if (m_nShellCommand == FilePrintTo && m_strDriverName.empty()) {
        m_strDriverName = param;
    } else if (m_nShellCommand == FilePrintTo && m_strPortName.empty()) {
        m_strPortName = param;
    }
    if (last && m_nShellCommand == FileNew && !m_strFileName.empty()) m_nShellCommand = FileOpen;
}
