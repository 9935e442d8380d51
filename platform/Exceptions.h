// The class library's exception kinds, thrown by value and caught as const references.
#pragma once

#include <exception>
#include <string>

class CException : public std::exception {
public:
    const char* what() const noexcept override { return "CException"; }
    // Text for the user; empty when the catcher should use its own message.
    virtual std::string GetErrorMessage() const { return {}; }
};

class CArchiveException : public CException {
public:
    enum Cause { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = genericException, std::string fileName = {})
        : m_cause(cause), m_strFileName(std::move(fileName)) {}
    const char* what() const noexcept override;
    std::string GetErrorMessage() const override;

    int m_cause;
    std::string m_strFileName;
};

class CFileException : public CException {
public:
    enum Cause {
        none, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied, invalidFile,
        removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation, lockViolation, diskFull, endOfFile
    };
    explicit CFileException(int cause = genericException, int osError = 0, std::string fileName = {})
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {}
    const char* what() const noexcept override;
    std::string GetErrorMessage() const override;
    // Maps an errno value to the nearest cause.
    static int CauseFromErrno(int err);

    int m_cause;
    int m_lOsError;
    std::string m_strFileName;
};

class CMemoryException : public CException {
public:
    const char* what() const noexcept override { return "CMemoryException"; }
};

class CInvalidArgException : public CException {
public:
    const char* what() const noexcept override { return "CInvalidArgException"; }
};

class CNotSupportedException : public CException {
public:
    const char* what() const noexcept override { return "CNotSupportedException"; }
};

// Thrown after the user has already been told (or chose to stop); catchers stay silent.
class CUserException : public CException {
public:
    const char* what() const noexcept override { return "CUserException"; }
};

[[noreturn]] void AfxThrowArchiveException(int cause, const std::string& fileName = {});
[[noreturn]] void AfxThrowFileException(int cause, int osError = 0, const std::string& fileName = {});
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowUserException();
