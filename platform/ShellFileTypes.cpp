#include "platform/ShellFileTypes.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string XmlEscaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// One argument of an Exec key: quoted, the reserved characters escaped with a backslash, and
// every backslash doubled once more because string values are unescaped first.
std::string ExecArgument(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '`' || c == '$') out += "\\\\";
        if (c == '\\') out += "\\\\\\";
        if (c == '%') out += '%';
        out += c;
    }
    return out + "\"";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Complete or not at all: a half-written entry would confuse the desktop.
bool WriteIfChanged(const fs::path& path, const std::string& text, bool& changed) {
    std::error_code ec;
    if (fs::exists(path, ec) && ReadText(path) == text) return true;
    fs::create_directories(path.parent_path(), ec);
    const fs::path temporary = path.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    changed = true;
    return true;
}

bool RemoveIfOurs(const fs::path& path, const std::string& typeId, bool& changed) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return true;
    if (ReadText(path).find(typeId) == std::string::npos) return true;  // someone else's file
    const bool removed = fs::remove(path, ec);
    changed = changed || removed;
    return removed;
}

// The desktop's cache tools, where installed; their absence is not an error.
void Refresh(const char* tool, const fs::path& folder) {
    const std::string arg = folder.string();
    char* argv[] = {const_cast<char*>(tool), const_cast<char*>(arg.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, tool, nullptr, nullptr, argv, environ) != 0) return;
    int status = 0;
    waitpid(pid, &status, 0);
}

fs::path DesktopPath(const ShellFileType& type) {
    return fs::path(UserDataHome()) / "applications" / (type.fileName + ".desktop");
}
fs::path MimePath(const ShellFileType& type) {
    return fs::path(UserDataHome()) / "mime" / "packages" / (type.fileName + ".xml");
}
fs::path IconFolder(const char* context) {
    return fs::path(UserDataHome()) / "icons" / "hicolor" / "scalable" / context;
}
fs::path AppIconPath(const ShellFileType& type) {
    return IconFolder("apps") / (type.fileName + ".svg");
}
fs::path MimeIconPath(const ShellFileType& type) {
    return IconFolder("mimetypes") / (MimeIconName(type) + ".svg");
}

void RefreshAll() {
    Refresh("update-mime-database", fs::path(UserDataHome()) / "mime");
    Refresh("update-desktop-database", fs::path(UserDataHome()) / "applications");
}

}  // namespace

std::string UserDataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share";
}

std::string DesktopEntryText(const ShellFileType& type) {
    std::ostringstream s;
    s << "[Desktop Entry]\n"
      << "Type=Application\n"
      << "Name=" << type.appName << "\n"
      << "Comment=" << type.description << "\n"
      << "Exec=" << ExecArgument(type.command) << " %f\n";
    if (!type.iconSvg.empty()) s << "Icon=" << type.fileName << "\n";
    s << "MimeType=" << type.mimeType << ";\n"
      << "Categories=Graphics;Engineering;\n"
      << "Terminal=false\n";
    if (!type.printAction.empty()) s << "Actions=Print;\n";
    s << "X-FileTypeId=" << type.typeId << "\n";
    if (!type.printAction.empty())
        s << "\n[Desktop Action Print]\n"
          << "Name=" << type.printAction << "\n"
          << "Exec=" << ExecArgument(type.command) << " -p %f\n";
    return s.str();
}

std::string MimeIconName(const ShellFileType& type) {
    std::string name = type.mimeType;
    for (char& c : name)
        if (c == '/') c = '-';
    return name;
}

std::string IconText(const ShellFileType& type) {
    // The mark goes after the XML declaration, which must stay first.
    const std::string mark = "<!-- " + XmlEscaped(type.typeId) + " -->\n";
    const std::string& svg = type.iconSvg;
    if (svg.rfind("<?xml", 0) == 0) {
        const auto end = svg.find("?>");
        if (end != std::string::npos) {
            const auto line = svg.find('\n', end);
            const auto at = line == std::string::npos ? end + 2 : line + 1;
            return svg.substr(0, at) + (line == std::string::npos ? "\n" : "") + mark + svg.substr(at);
        }
    }
    return mark + svg;
}

std::string MimePackageText(const ShellFileType& type) {
    std::ostringstream s;
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<!-- " << XmlEscaped(type.typeId) << " -->\n"
      << "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
      << "  <mime-type type=\"" << XmlEscaped(type.mimeType) << "\">\n"
      << "    <comment>" << XmlEscaped(type.description) << "</comment>\n";
    if (!type.iconSvg.empty()) s << "    <icon name=\"" << XmlEscaped(MimeIconName(type)) << "\"/>\n";
    if (!type.magic.empty())
        s << "    <magic priority=\"50\">\n"
          << "      <match type=\"string\" offset=\"0\" value=\"" << XmlEscaped(type.magic) << "\"/>\n"
          << "    </magic>\n";
    s << "    <glob pattern=\"*" << XmlEscaped(type.extension) << "\"/>\n"
      << "  </mime-type>\n"
      << "</mime-info>\n";
    return s.str();
}

bool RegisterShellFileTypes(const ShellFileType& type) {
    bool changed = false;
    bool ok = true;
    // The icons first: the type and the entry name them.
    if (!type.iconSvg.empty()) {
        const std::string icon = IconText(type);
        ok = WriteIfChanged(AppIconPath(type), icon, changed) &&
             WriteIfChanged(MimeIconPath(type), icon, changed);
    }
    ok = ok && WriteIfChanged(MimePath(type), MimePackageText(type), changed) &&
         WriteIfChanged(DesktopPath(type), DesktopEntryText(type), changed);
    if (changed) RefreshAll();
    return ok;
}

bool UnregisterShellFileTypes(const ShellFileType& type) {
    bool changed = false;
    const bool ok = RemoveIfOurs(DesktopPath(type), type.typeId, changed) &
                    RemoveIfOurs(MimePath(type), type.typeId, changed) &
                    RemoveIfOurs(AppIconPath(type), type.typeId, changed) &
                    RemoveIfOurs(MimeIconPath(type), type.typeId, changed);
    if (changed) RefreshAll();
    return ok;
}
