// Files: an abstract byte file, files on disk (POSIX) and growable memory files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        shareDenyNone = 0x0040,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const std::string& path, UINT flags);
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE on failure, with the cause in *error when given.
    virtual BOOL Open(const std::string& path, UINT flags, class CFileException* error = nullptr);
    virtual void Close();
    // Returns the bytes read; 0 at the end. Throws on an I/O error.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all bytes or throws.
    virtual void Write(const void* buffer, UINT count);
    virtual std::uint64_t Seek(std::int64_t offset, int from);
    virtual std::uint64_t GetPosition() const;
    virtual std::uint64_t GetLength() const;
    virtual void Flush();
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_path; }

protected:
    int m_fd = -1;
    std::string m_path;
};

class CMemFile : public CFile {
public:
    CMemFile() = default;
    // Reads from a copy of the given bytes.
    CMemFile(const void* data, std::size_t size);
    explicit CMemFile(std::vector<BYTE> data) : m_buffer(std::move(data)) {}

    BOOL Open(const std::string&, UINT, class CFileException* = nullptr) override { return FALSE; }
    void Close() override {}
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    std::uint64_t Seek(std::int64_t offset, int from) override;
    std::uint64_t GetPosition() const override { return m_position; }
    std::uint64_t GetLength() const override { return m_buffer.size(); }
    void Flush() override {}

    void SetLength(std::size_t n) { m_buffer.resize(n); }
    const std::vector<BYTE>& Data() const { return m_buffer; }
    // Hands the bytes over and leaves the file empty.
    std::vector<BYTE> Detach();

private:
    std::vector<BYTE> m_buffer;
    std::size_t m_position = 0;
};

// Whole-file helpers for readers that parse from memory. Both throw CFileException.
std::vector<BYTE> ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
