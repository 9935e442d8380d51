// A device-independent bitmap: a BITMAPINFOHEADER with its colour table or bit-field masks,
// and the pixel bits (bottom-up rows padded to 4 bytes). It reads and writes BMP files,
// packed DIBs and the three binary blocks of the text files, draws itself through
// StretchDIBits and makes mirrored and rotated copies.
#pragma once

#include <iosfwd>
#include <memory>
#include <vector>

#include "platform/Object.h"
#include "platform/gdi/GdiObjects.h"

class CArchive;
class CDC;

class MDib : public CObject {
    DECLARE_SERIAL(MDib)

public:
    // Messages of the bitmap code (plain literals, unlike the string table).
    static constexpr const char* kInvalidFile = "Invalid bitmap file";
    static constexpr const char* kShortRead = "read error 1";
    static constexpr const char* kReadError = "Read error 1";
    static constexpr const char* kWriteError = "write error";
    // Bitmaps larger than this many bytes of pixels are refused.
    static constexpr std::size_t kMaxBitsSize = 256u * 1024 * 1024;

    MDib();
    // A new header (BI_RGB) with a zeroed colour table of the depth's size; no bits yet.
    MDib(int width, int height, int bitCount);
    ~MDib() override;
    MDib(const MDib&) = delete;
    MDib& operator=(const MDib&) = delete;

    void Release();
    // Takes a copy of a packed DIB (header, colour table or masks, bits). FALSE when it is
    // malformed or shorter than its header says; the image is then empty.
    BOOL Attach(const void* packedDib, std::size_t size);

    BOOL IsEmpty() const { return m_info.empty() ? TRUE : FALSE; }
    // (width, height), or (0, 0) without a header.
    SIZE GetSize() const;
    const BITMAPINFOHEADER* GetHeader() const;
    const BITMAPINFO* GetInfo() const {
        return m_info.empty() ? nullptr : reinterpret_cast<const BITMAPINFO*>(m_info.data());
    }
    int GetInfoSize() const { return static_cast<int>(m_info.size()); }
    const BYTE* GetBits() const { return m_bits.empty() ? nullptr : m_bits.data(); }
    BYTE* GetBits() { return m_bits.empty() ? nullptr : m_bits.data(); }
    int GetBitsSize() const { return static_cast<int>(m_bits.size()); }
    int GetColorCount() const { return m_colorCount; }
    // Colour-table entry as stored (0x00RRGGBB, an RGBQUAD); 0 outside the table.
    DWORD GetColorEntry(int index) const;
    void SetColorEntry(int index, DWORD value);

    // Gives a header without bits zeroed bits of the right size (the pixels of a DIB section).
    BOOL CreateSection(CDC* dc);
    // A bitmap holding the picture, for memory contexts; null without bits.
    std::unique_ptr<CBitmap> CreateDDB(CDC* dc) const;
    BOOL CreatePalette();
    // Drops the palette; CreatePalette builds it again from the colour table.
    void DeletePalette();
    const CPalette* GetPalette() const { return m_palette.get(); }
    int RealizePalette(CDC* dc, BOOL background);
    BOOL StretchDraw(CDC* dc, int xSrc, int ySrc, int wSrc, int hSrc, int xDst, int yDst, int wDst, int hDst);

    void Serialize(CArchive& ar) override;
    // BMP file layout: the 14-byte file header, info and bits. Failures show the message and
    // answer FALSE; a failed read leaves the image empty.
    BOOL ReadBmp(CArchive& ar);
    BOOL WriteBmp(CArchive& ar);
    // Info and bits without the file header (clipboard).
    BOOL WritePackedDib(CArchive& ar);
    // Three binary blocks: file header, info (both never compressed) and bits. A picture that
    // cannot be read leaves the stream good (unless it ended or broke) past its indented lines.
    // While a file's losses are counted (MTextReadLosses), such a failure is counted instead of
    // shown, and a picture beyond the file's budget of pixels is passed over and counted.
    BOOL WriteText(std::ostream& os);
    BOOL ReadText(std::istream& is);

    std::unique_ptr<MDib> Clone() const;
    std::unique_ptr<MDib> CreateMirroredX();
    std::unique_ptr<MDib> CreateMirroredY();
    std::unique_ptr<MDib> CreateRotated(double angle, COLORREF background);

    // Derived sizes of a header.
    static int ColorCountOf(const BITMAPINFOHEADER& h);
    static std::size_t InfoSizeOf(const BITMAPINFOHEADER& h);
    static std::size_t StrideOf(const BITMAPINFOHEADER& h);
    // biSizeImage when not 0, else the padded rows.
    static std::size_t BitsSizeOf(const BITMAPINFOHEADER& h);

private:
    // Builds the image from info bytes as found in a file or packed DIB (any header version)
    // and the bits, which it keeps (without a copy); FALSE when anything is inconsistent. Nothing is
    // kept on failure.
    bool Load(const BYTE* info, std::size_t infoBytes, std::vector<BYTE> bits);
    std::vector<BYTE> FileHeader() const;
    std::unique_ptr<MDib> NewLike(int width, int height) const;

    std::vector<BYTE> m_info;  // header, then colour table or masks
    std::vector<BYTE> m_bits;
    int m_colorCount = 0;
    std::unique_ptr<CPalette> m_palette;
};
