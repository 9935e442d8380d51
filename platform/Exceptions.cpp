#include "platform/Exceptions.h"

#include <cerrno>

namespace {
const char* const kArchiveCauses[] = {"none",       "generic error", "read-only archive", "unexpected end of data",
                                      "write-only archive", "bad object index", "unknown or wrong class",
                                      "unsupported schema"};
const char* const kFileCauses[] = {"none",          "generic error",       "file not found",  "bad path",
                                   "too many open files", "access denied", "invalid file",    "cannot remove directory",
                                   "directory full", "bad seek",           "hardware I/O error", "sharing violation",
                                   "lock violation", "disk full",          "unexpected end of file"};
}  // namespace

const char* CArchiveException::what() const noexcept {
    return m_cause >= 0 && m_cause <= badSchema ? kArchiveCauses[m_cause] : "archive error";
}

std::string CArchiveException::GetErrorMessage() const {
    std::string s = what();
    if (!m_strFileName.empty()) s += ": " + m_strFileName;
    return s;
}

const char* CFileException::what() const noexcept {
    return m_cause >= 0 && m_cause <= endOfFile ? kFileCauses[m_cause] : "file error";
}

std::string CFileException::GetErrorMessage() const {
    std::string s = what();
    if (!m_strFileName.empty()) s += ": " + m_strFileName;
    return s;
}

int CFileException::CauseFromErrno(int err) {
    switch (err) {
        case 0: return none;
        case ENOENT: return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL: return badPath;
        case EMFILE:
        case ENFILE: return tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return accessDenied;
        case ENOSPC:
        case EDQUOT: return diskFull;
        case EIO: return hardIO;
        case ESPIPE: return badSeek;
        case ETXTBSY:
        case EBUSY: return sharingViolation;
        default: return genericException;
    }
}

void AfxThrowArchiveException(int cause, const std::string& fileName) { throw CArchiveException(cause, fileName); }
void AfxThrowFileException(int cause, int osError, const std::string& fileName) {
    throw CFileException(cause, osError, fileName);
}
void AfxThrowMemoryException() { throw CMemoryException(); }
void AfxThrowInvalidArgException() { throw CInvalidArgException(); }
void AfxThrowNotSupportedException() { throw CNotSupportedException(); }
void AfxThrowUserException() { throw CUserException(); }
