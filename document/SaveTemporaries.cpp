#include "document/SaveTemporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <ctime>
#include <vector>

#include "document/MirrorOStream.h"

namespace {

// Set while the program starts: temporary files changed before it belong to no save of this process.
const std::time_t g_processStart = std::time(nullptr);
constexpr std::time_t kStaleAge = 10 * 60;

constexpr std::string_view kMarker = ".tessaray-";
constexpr std::string_view kRandom = "XXXXXX";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::string_view kRandomCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The target's file name as it begins its temporaries' names, cut so that they fit NAME_MAX.
std::string_view TemporaryStem(std::string_view target) {
    const auto slash = target.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? target : target.substr(slash + 1);
    const std::size_t room = NAME_MAX - kMarker.size() - kRandom.size() - kSuffix.size();
    if (name.size() <= room) return name;
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;  // name[cut] continues a character: the cut goes before its first byte
    return name.substr(0, cut);
}

bool IsStale(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) return false;
    return st.st_mtime < g_processStart && st.st_mtime <= std::time(nullptr) - kStaleAge;
}

}  // namespace

std::string FolderOfPath(std::string_view path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string_view::npos) return ".";
    if (slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

int MakeSaveTemporary(const std::string& target, std::string& path) {
    std::string name = FolderOfPath(target) + "/";
    name.append(TemporaryStem(target)).append(kMarker).append(kRandom).append(kSuffix);
    std::vector<char> buf(name.begin(), name.end());
    buf.push_back('\0');
    const int fd = ::mkstemps(buf.data(), static_cast<int>(kSuffix.size()));
    if (fd >= 0) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        path = buf.data();
    }
    return fd;
}

bool IsSaveTemporaryOf(const std::string& target, std::string_view name) {
    const std::string_view stem = TemporaryStem(target);
    if (name.size() != stem.size() + kMarker.size() + kRandom.size() + kSuffix.size()) return false;
    if (name.substr(0, stem.size()) != stem) return false;
    name.remove_prefix(stem.size());
    if (name.substr(0, kMarker.size()) != kMarker) return false;
    name.remove_prefix(kMarker.size());
    return name.substr(0, kRandom.size()).find_first_not_of(kRandomCharacters) == std::string_view::npos &&
           name.substr(kRandom.size()) == kSuffix;
}

int RemoveStaleSaveTemporaries(const std::string& target) {
    const std::string folder = FolderOfPath(target);
    const std::string backup = MMirrorOStream::BackupPathOf(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!IsSaveTemporaryOf(target, name) && !IsSaveTemporaryOf(backup, name)) continue;
        const std::string path = folder + "/" + std::string(name);
        if (IsStale(path) && ::unlink(path.c_str()) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}
