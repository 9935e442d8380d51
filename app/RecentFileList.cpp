#include "app/RecentFileList.h"

#include <filesystem>

#include "platform/Profile.h"

namespace {

constexpr const char* kSection = "Recent File List";

std::string EntryName(std::size_t index) {
    return "File" + std::to_string(index + 1);
}

// Links and "." or ".." do not make another file; a missing file keeps its absolute form.
std::filesystem::path Canonical(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(path, ec);
    if (!ec) return p;
    p = std::filesystem::absolute(path, ec);
    return ec ? std::filesystem::path(path).lexically_normal() : p.lexically_normal();
}

// Characters, not bytes: the names are UTF-8.
std::size_t Chars(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

MRecentFileList::MRecentFileList(std::size_t size) : m_size(size) {}

std::size_t MRecentFileList::Find(const std::string& path) const {
    const std::filesystem::path wanted = Canonical(path);
    for (std::size_t i = 0; i < m_paths.size(); ++i)
        if (m_paths[i] == path || Canonical(m_paths[i]) == wanted) return i;
    return m_paths.size();
}

void MRecentFileList::Add(const std::string& path) {
    if (path.empty() || m_size == 0) return;
    const std::size_t old = Find(path);
    if (old < m_paths.size()) m_paths.erase(m_paths.begin() + static_cast<std::ptrdiff_t>(old));
    m_paths.insert(m_paths.begin(), path);
    if (m_paths.size() > m_size) m_paths.resize(m_size);
}

bool MRecentFileList::Remove(const std::string& path) {
    const std::size_t i = Find(path);
    if (i >= m_paths.size()) return false;
    m_paths.erase(m_paths.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

void MRecentFileList::ReadList(CProfile& profile) {
    m_paths.clear();
    for (std::size_t i = 0; i < m_size; ++i) {
        const std::string path = profile.GetProfileString(kSection, EntryName(i));
        if (path.empty() || Find(path) < m_paths.size()) continue;
        m_paths.push_back(path);
    }
}

void MRecentFileList::WriteList(CProfile& profile) const {
    for (std::size_t i = 0; i < m_size; ++i) {
        if (i < m_paths.size())
            profile.WriteProfileString(kSection, EntryName(i), m_paths[i]);
        else if (profile.HasEntry(kSection, EntryName(i)))
            profile.DeleteEntry(kSection, EntryName(i));
    }
}

std::string MRecentFileList::GetMenuText(std::size_t index) const {
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : GetDisplayName(m_paths[index])) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

std::string MRecentFileList::GetDisplayName(const std::string& path, std::size_t maxLength) {
    const std::filesystem::path p(path);
    const std::string name = p.filename().string();
    if (name.empty()) return path;
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    if (!ec && p.has_parent_path() && Canonical(p.parent_path().string()) == Canonical(cwd.string()))
        return name;
    if (Chars(path) <= maxLength) return path;

    std::vector<std::string> folders;
    for (const auto& part : p.relative_path().parent_path())
        folders.push_back(part.string());
    const std::string root = p.root_path().string();
    // As many of the innermost folders as fit, the outermost always left out; taken from the inside
    // out, so that a path of thousands of folders costs no more than its length.
    std::size_t length = Chars(root) + 3 + 1 + Chars(name);
    if (folders.empty() || length > maxLength) return name;
    std::size_t keep = 0;
    while (keep + 1 < folders.size()) {
        const std::size_t more = 1 + Chars(folders[folders.size() - 1 - keep]);
        if (length + more > maxLength) break;
        length += more;
        ++keep;
    }
    std::string shortened = root + "...";
    for (std::size_t i = folders.size() - keep; i < folders.size(); ++i)
        shortened += "/" + folders[i];
    return shortened + "/" + name;
}
