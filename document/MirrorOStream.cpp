#include "document/MirrorOStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <streambuf>
#include <string_view>
#include <vector>

#include "document/SaveTemporaries.h"
#include "model/helpers/AsciiText.h"
#include "platform/Cp932.h"
#include "platform/ProgramState.h"
#include "platform/TextFile.h"

namespace {

CProgramSlot<MMirrorOStream::StepHook>& StepHookSlot() {
    static auto& slot = *new CProgramSlot<MMirrorOStream::StepHook>;
    return slot;
}

// The longest prefix of text that ends on a whole UTF-8 character.
std::size_t WholeCharacters(const char* text, std::size_t n) {
    for (std::size_t back = 1; back <= 4 && back <= n; ++back) {
        const auto b = static_cast<unsigned char>(text[n - back]);
        if ((b & 0xC0) == 0x80) continue;  // continuation byte: look further back
        return Utf8SequenceLength(b) > back ? n - back : n;
    }
    return n;
}

bool WriteAll(int fd, const char* p, std::size_t n, int& err) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

// Copies everything from in to out; false with err set on a failed read or write.
bool CopyContents(int in, int out, int& err) {
    std::vector<char> chunk(1 << 16);
    for (;;) {
        const ssize_t r = ::read(in, chunk.data(), chunk.size());
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            err = errno;
            return false;
        }
        if (r == 0) return true;
        if (!WriteAll(out, chunk.data(), static_cast<std::size_t>(r), err)) return false;
    }
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

}  // namespace

// Collects the UTF-8 text and writes it, encoded, whenever the buffer fills; a character split by
// the buffer's end waits for its remaining bytes.
class MMirrorOStream::Buffer : public std::streambuf {
public:
    // Without a file there is no put area, so the first write fails the stream.
    explicit Buffer(MMirrorOStream& owner) : m_owner(owner), m_data(kSize) {}

    void Attach(int fd) {
        m_fd = fd;
        setp(m_data.data(), m_data.data() + kSize);
    }
    int Detach() {
        const int fd = m_fd;
        m_fd = -1;
        setp(nullptr, nullptr);
        return fd;
    }
    int Fd() const { return m_fd; }

    // Writes everything still buffered.
    bool FlushAll() { return Drain(true); }

protected:
    int_type overflow(int_type c) override {
        if (!Drain(false)) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain(true) ? 0 : -1; }

private:
    static constexpr std::size_t kSize = 1 << 16;

    bool Drain(bool all) {
        if (m_fd < 0) return false;
        if (!pbase()) return true;
        const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
        const std::size_t cut = all ? n : WholeCharacters(pbase(), n);
        if (cut > 0) {
            const std::string bytes = EncodeTextFile(std::string_view(pbase(), cut), &m_owner.m_replaced);
            if (const int err = m_owner.RunHook(kStepWrite)) {
                m_owner.Fail(err);
                return false;
            }
            int err = 0;
            if (!WriteAll(m_fd, bytes.data(), bytes.size(), err)) {
                m_owner.Fail(err);
                return false;
            }
        }
        const std::size_t rest = n - cut;
        if (rest > 0) std::memmove(m_data.data(), pbase() + cut, rest);
        setp(m_data.data(), m_data.data() + kSize);
        pbump(static_cast<int>(rest));
        return true;
    }

    MMirrorOStream& m_owner;
    std::vector<char> m_data;
    int m_fd = -1;
};

MMirrorOStream::MMirrorOStream() : std::ostream(nullptr), m_buffer(std::make_unique<Buffer>(*this)) {
    rdbuf(m_buffer.get());
    imbue(FastNumberLocale());
    precision(15);
}

MMirrorOStream::~MMirrorOStream() {
    Close();
    rdbuf(nullptr);
}

MMirrorOStream::StepHook MMirrorOStream::SetStepHook(StepHook hook) {
    return StepHookSlot().Exchange(hook);
}

int MMirrorOStream::RunHook(Step step) {
    const StepHook hook = StepHookSlot().Get();
    return hook ? hook(step) : 0;
}

void MMirrorOStream::Fail(int err) {
    if (m_error == 0) m_error = err ? err : EIO;
    setstate(std::ios::badbit);
}

bool MMirrorOStream::IsOpen() const {
    return m_buffer->Fd() >= 0;
}

std::string MMirrorOStream::BackupPathOf(const std::string& target) {
    return std::string(PathWithoutExtension(target)) + ".XBK";
}

BOOL MMirrorOStream::Open(const std::string& path, int mode) {
    if (IsOpen()) Close();
    clear();
    precision(15);
    m_error = 0;
    m_mode = mode;
    m_temp.clear();
    m_target = path;

    // Saving through a symbolic link replaces the file it points to, not the link.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            m_target = real;
            std::free(real);
        }
    }
    m_targetExisted = ::stat(m_target.c_str(), &st) == 0;
    if (m_targetExisted && S_ISDIR(st.st_mode)) {
        Fail(EISDIR);
        return FALSE;
    }
    if (const int err = RunHook(kStepOpen)) {
        Fail(err);
        return FALSE;
    }
    RemoveStaleSaveTemporaries(m_target);

    int fd = -1;
    if (mode == kBackup || mode == kSafe) {
        // A drawing the user may not write stays as it is, although its folder would allow the rename.
        if (m_targetExisted && ::access(m_target.c_str(), W_OK) != 0) {
            Fail(errno);
            return FALSE;
        }
        fd = MakeSaveTemporary(m_target, m_temp);
        if (fd < 0) {
            Fail(errno);
            return FALSE;
        }
        // mkstemp makes the file private; the saved drawing keeps the permissions it had.
        const mode_t perms = m_targetExisted ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
        ::fchmod(fd, perms);
    } else {
        fd = ::open(m_target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0) {
            Fail(errno);
            return FALSE;
        }
    }
    m_buffer->Attach(fd);
    return TRUE;
}

void MMirrorOStream::Discard() {
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

BOOL MMirrorOStream::MakeBackup(const std::string& target) {
    const std::string backup = BackupPathOf(target);
    if (backup == target) return TRUE;  // a target named *.XBK is its own backup
    if (const int err = RunHook(kStepBackup)) {
        Fail(err);
        return FALSE;
    }
    // The backup is a copy of its own, moved over the old backup in one step: the target never
    // leaves its place, and the two never share one file (as a hard link would until the rename).
    std::string staged;
    int err = 0;
    const int in = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        Fail(errno);
        return FALSE;
    }
    const int out = MakeSaveTemporary(backup, staged);
    if (out < 0) {
        err = errno;
        ::close(in);
        Fail(err);
        return FALSE;
    }
    // Taken before the copy reads the target, which may change its access time.
    struct stat st {};
    const bool known = ::fstat(in, &st) == 0;
    if (known) ::fchmod(out, st.st_mode & 07777);
    bool ok = CopyContents(in, out, err);
    // The backup is the old file as it was, times and all.
    const timespec times[2] = {st.st_atim, st.st_mtim};
    if (ok && known && ::futimens(out, times) != 0) ok = false, err = errno;
    if (ok && ::fsync(out) != 0) ok = false, err = errno;
    ::close(in);
    if (::close(out) != 0 && ok) ok = false, err = errno;
    if (!ok) {
        ::unlink(staged.c_str());
        Fail(err);
        return FALSE;
    }
    if (::rename(staged.c_str(), backup.c_str()) != 0) {
        err = errno;
        ::unlink(staged.c_str());
        Fail(err);
        return FALSE;
    }
    return TRUE;
}

BOOL MMirrorOStream::Close() {
    if (!IsOpen()) return fail() ? FALSE : TRUE;

    if (!fail()) m_buffer->FlushAll();
    if (!fail() && !m_temp.empty()) {
        // The new file reaches the disk before it replaces the old one.
        if (const int err = RunHook(kStepSyncFile))
            Fail(err);
        else if (::fsync(m_buffer->Fd()) != 0)
            Fail(errno);
    }
    const int fd = m_buffer->Detach();
    if (::close(fd) != 0 && !fail()) Fail(errno);

    if (fail()) {
        Discard();
        return FALSE;
    }
    if (m_temp.empty()) return TRUE;

    struct stat st {};
    if (m_mode == kBackup && ::stat(m_target.c_str(), &st) == 0 && !MakeBackup(m_target)) {
        Discard();
        return FALSE;
    }
    if (const int err = RunHook(kStepRename)) {
        Fail(err);
        Discard();
        return FALSE;
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        Fail(errno);
        Discard();
        return FALSE;
    }
    m_temp.clear();

    // Makes the rename itself durable. The new file is in place whatever happens here.
    if (RunHook(kStepSyncFolder) == 0) {
        const int dir = ::open(FolderOfPath(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    return TRUE;
}
