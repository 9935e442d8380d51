#include "interchange/JwcFileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "document/MirrorOStream.h"
#include "document/SaveTemporaries.h"
#include "platform/Exceptions.h"
#include "platform/File.h"

bool ReadImportFile(const std::string& path, std::string& bytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (static_cast<std::uint64_t>(st.st_size) > kMaxImportFile) return false;
    try {
        const std::vector<BYTE> data = ReadWholeFile(path);
        if (data.size() > kMaxImportFile) return false;
        bytes.assign(reinterpret_cast<const char*>(data.data()), data.size());
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

namespace {
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}
}  // namespace

int WriteFileAtomically(const std::string& path, std::string_view bytes) {
    if (const int error = MMirrorOStream::RunHook(MMirrorOStream::kStepOpen)) return error;
    RemoveStaleSaveTemporaries(path);
    std::string temp;
    const int fd = MakeSaveTemporary(path, temp);
    if (fd < 0) return errno ? errno : EIO;
    int error = MMirrorOStream::RunHook(MMirrorOStream::kStepWrite);
    if (!error) error = WriteAll(fd, bytes);
    if (!error) error = MMirrorOStream::RunHook(MMirrorOStream::kStepSyncFile);
    if (!error && ::fsync(fd) != 0) error = errno;
    // mkstemps creates the file private to the user; give it the usual permissions.
    if (!error) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0 && !error) error = errno;
    if (!error) error = MMirrorOStream::RunHook(MMirrorOStream::kStepRename);
    if (!error && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error) ::unlink(temp.c_str());
    return error;
}
