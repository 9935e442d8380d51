// The list of the files last opened or saved, newest first, kept in the profile under
// "Recent File List" ("File1", "File2", ...). The same file (by its canonical path) is listed once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CProfile;

class MRecentFileList {
public:
    explicit MRecentFileList(std::size_t size = 4);

    std::size_t GetMaxSize() const { return m_size; }
    std::size_t GetSize() const { return m_paths.size(); }
    bool IsEmpty() const { return m_paths.empty(); }
    const std::string& operator[](std::size_t index) const { return m_paths[index]; }
    const std::vector<std::string>& Paths() const { return m_paths; }

    // Puts the path at the top, dropping its older entry and, when the list is full, the oldest.
    void Add(const std::string& path);
    // Removes the entry naming the same file; false when there is none.
    bool Remove(const std::string& path);

    // Replaces the list with the profile's entries (empty and repeated entries are skipped).
    void ReadList(CProfile& profile);
    // Writes every entry and removes the keys of the unused places.
    void WriteList(CProfile& profile) const;

    // The menu text of entry `index`: "&1 " and the shortened path, "&" doubled in the path.
    std::string GetMenuText(std::size_t index) const;
    // The path as a menu shows it: the file name alone for a file in the current folder, else
    // the path with folders after the root replaced by "..." until it fits maxLength characters
    // (the file name is always whole).
    static std::string GetDisplayName(const std::string& path, std::size_t maxLength = 30);

private:
    std::size_t Find(const std::string& path) const;

    std::size_t m_size;
    std::vector<std::string> m_paths;
};
