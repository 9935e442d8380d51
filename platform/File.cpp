#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Exceptions.h"

CFile::CFile(const std::string& path, UINT flags) {
    CFileException error;
    if (!Open(path, flags, &error)) throw error;
}

CFile::~CFile() {
    if (m_fd >= 0) ::close(m_fd);
}

BOOL CFile::Open(const std::string& path, UINT flags, CFileException* error) {
    Close();
    int oflags = O_CLOEXEC;
    if (flags & modeReadWrite)
        oflags |= O_RDWR;
    else if (flags & modeWrite)
        oflags |= O_WRONLY;
    else
        oflags |= O_RDONLY;
    if (flags & modeCreate) {
        oflags |= O_CREAT;
        if (!(flags & modeNoTruncate)) oflags |= O_TRUNC;
    }
    m_fd = ::open(path.c_str(), oflags, 0666);
    m_path = path;
    if (m_fd < 0) {
        if (error) *error = CFileException(CFileException::CauseFromErrno(errno), errno, path);
        return FALSE;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        if (error) *error = CFileException(CFileException::accessDenied, EISDIR, path);
        return FALSE;
    }
    return TRUE;
}

void CFile::Close() {
    if (m_fd < 0) return;
    const int rc = ::close(m_fd);
    m_fd = -1;
    if (rc != 0) AfxThrowFileException(CFileException::CauseFromErrno(errno), errno, m_path);
}

UINT CFile::Read(void* buffer, UINT count) {
    auto* p = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, p + done, count - done);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            AfxThrowFileException(CFileException::CauseFromErrno(errno), errno, m_path);
        }
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count) {
    const auto* p = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            AfxThrowFileException(CFileException::CauseFromErrno(errno), errno, m_path);
        }
        done += static_cast<UINT>(n);
    }
}

std::uint64_t CFile::Seek(std::int64_t offset, int from) {
    const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    const off_t pos = ::lseek(m_fd, offset, whence);
    if (pos < 0) AfxThrowFileException(CFileException::badSeek, errno, m_path);
    return static_cast<std::uint64_t>(pos);
}

std::uint64_t CFile::GetPosition() const {
    const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    return pos < 0 ? 0 : static_cast<std::uint64_t>(pos);
}

std::uint64_t CFile::GetLength() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

void CFile::Flush() {
    if (m_fd >= 0 && ::fsync(m_fd) != 0 && errno != EINVAL)
        AfxThrowFileException(CFileException::CauseFromErrno(errno), errno, m_path);
}

CMemFile::CMemFile(const void* data, std::size_t size)
    : m_buffer(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size) {}

UINT CMemFile::Read(void* buffer, UINT count) {
    const std::size_t left = m_position < m_buffer.size() ? m_buffer.size() - m_position : 0;
    const auto n = static_cast<UINT>(std::min<std::size_t>(count, left));
    if (n) std::memcpy(buffer, m_buffer.data() + m_position, n);
    m_position += n;
    return n;
}

void CMemFile::Write(const void* buffer, UINT count) {
    if (m_position + count > m_buffer.size()) m_buffer.resize(m_position + count);
    if (count) std::memcpy(m_buffer.data() + m_position, buffer, count);
    m_position += count;
}

std::uint64_t CMemFile::Seek(std::int64_t offset, int from) {
    const std::int64_t base = from == begin     ? 0
                              : from == current ? static_cast<std::int64_t>(m_position)
                                                : static_cast<std::int64_t>(m_buffer.size());
    const std::int64_t pos = base + offset;
    if (pos < 0) AfxThrowFileException(CFileException::badSeek);
    m_position = static_cast<std::size_t>(pos);
    return m_position;
}

std::vector<BYTE> CMemFile::Detach() {
    std::vector<BYTE> out;
    out.swap(m_buffer);
    m_position = 0;
    return out;
}

std::vector<BYTE> ReadWholeFile(const std::string& path) {
    CFile file(path, CFile::modeRead);
    // One allocation of the file's size: growing the buffer copies a large file over and over.
    // A file that is longer than it said (or says nothing, like a pipe) is read on in steps.
    std::vector<BYTE> data(static_cast<std::size_t>(file.GetLength()));
    std::size_t used = 0;
    while (used < data.size()) {
        const std::size_t want = std::min<std::size_t>(data.size() - used, 1u << 30);
        const UINT n = file.Read(data.data() + used, static_cast<UINT>(want));
        if (n == 0) break;
        used += n;
    }
    data.resize(used);
    BYTE chunk[65536];
    for (;;) {
        const UINT n = file.Read(chunk, sizeof chunk);
        if (n == 0) break;
        data.insert(data.end(), chunk, chunk + n);
    }
    return data;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
