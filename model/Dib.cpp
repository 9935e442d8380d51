#include "model/Dib.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <istream>
#include <ostream>

#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/TextReadLosses.h"
#include "platform/Archive.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"

IMPLEMENT_SERIAL(MDib, CObject, 0)

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kHeaderSize = 40;
// Largest width or height taken from a file.
constexpr LONG kMaxDimension = 1 << 16;
// The largest header (version 5) with the largest colour table.
constexpr std::size_t kMaxInfoSize = 124 + 4 * 256;

DWORD ReadLe32(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}
void WriteLe32(BYTE* p, DWORD v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<BYTE>(v >> (8 * i));
}

BITMAPINFOHEADER HeaderAt(const BYTE* p) {
    BITMAPINFOHEADER h;
    std::memcpy(&h, p, sizeof(h));  // little-endian layout on every supported platform
    return h;
}

bool ValidDepth(int bpp) {
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

// Raw pixel value: an index for up to 8 bits, the stored bytes (little-endian) otherwise.
DWORD GetRaw(const BYTE* row, int x, int bpp) {
    switch (bpp) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
        case 8:
            return row[x];
        case 16:
            return row[2 * x] | (row[2 * x + 1] << 8);
        case 24:
            return row[3 * x] | (row[3 * x + 1] << 8) | (DWORD(row[3 * x + 2]) << 16);
        default:
            return ReadLe32(row + 4 * x);
    }
}

void SetRaw(BYTE* row, int x, int bpp, DWORD v) {
    switch (bpp) {
        case 1: {
            const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
            row[x >> 3] = v ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
            break;
        }
        case 4:
            row[x >> 1] =
                (x & 1) ? ((row[x >> 1] & 0xF0) | (v & 0x0F)) : ((row[x >> 1] & 0x0F) | ((v & 0x0F) << 4));
            break;
        case 8:
            row[x] = static_cast<BYTE>(v);
            break;
        case 16:
            row[2 * x] = static_cast<BYTE>(v), row[2 * x + 1] = static_cast<BYTE>(v >> 8);
            break;
        case 24:
            row[3 * x] = static_cast<BYTE>(v), row[3 * x + 1] = static_cast<BYTE>(v >> 8);
            row[3 * x + 2] = static_cast<BYTE>(v >> 16);
            break;
        default:
            WriteLe32(row + 4 * x, v);
            break;
    }
}

// A colour as the value of a pixel with the given masks.
DWORD EncodeMasked(COLORREF c, const DWORD masks[3]) {
    auto channel = [](int value, DWORD mask) -> DWORD {
        if (!mask) return 0;
        int shift = 0;
        while (!((mask >> shift) & 1))
            ++shift;
        const DWORD m = mask >> shift;
        return ((static_cast<DWORD>(value) * m + 127) / 255) << shift;
    };
    return channel(GetRValue(c), masks[0]) | channel(GetGValue(c), masks[1]) |
           channel(GetBValue(c), masks[2]);
}

}  // namespace

MDib::MDib() = default;

MDib::MDib(int width, int height, int bitCount) {
    BITMAPINFOHEADER h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<WORD>(bitCount);
    const int colours = bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
    h.biClrUsed = h.biClrImportant = static_cast<DWORD>(colours);
    m_info.assign(kHeaderSize + 4 * static_cast<std::size_t>(colours), 0);
    std::memcpy(m_info.data(), &h, sizeof(h));
    m_colorCount = colours;
}

MDib::~MDib() = default;

void MDib::Release() {
    m_info.clear();
    m_bits.clear();
    m_colorCount = 0;
    m_palette.reset();
}

int MDib::ColorCountOf(const BITMAPINFOHEADER& h) {
    if (h.biClrUsed) return static_cast<int>(std::min<DWORD>(h.biClrUsed, 256));
    return h.biBitCount == 1 ? 2 : h.biBitCount == 4 ? 16 : h.biBitCount == 8 ? 256 : 0;
}

std::size_t MDib::InfoSizeOf(const BITMAPINFOHEADER& h) {
    return h.biCompression == BI_BITFIELDS ? 52 : kHeaderSize + 4 * static_cast<std::size_t>(ColorCountOf(h));
}

std::size_t MDib::StrideOf(const BITMAPINFOHEADER& h) {
    const std::uint64_t bits = std::uint64_t(std::max<LONG>(h.biWidth, 0)) * h.biBitCount;
    return static_cast<std::size_t>((bits + 31) / 32 * 4);
}

std::size_t MDib::BitsSizeOf(const BITMAPINFOHEADER& h) {
    if (h.biSizeImage) return h.biSizeImage;
    // A top-down bitmap (negative height) has as many rows as its height's magnitude.
    return StrideOf(h) * static_cast<std::size_t>(std::abs(static_cast<std::int64_t>(h.biHeight)));
}

const BITMAPINFOHEADER* MDib::GetHeader() const {
    return m_info.empty() ? nullptr : reinterpret_cast<const BITMAPINFOHEADER*>(m_info.data());
}

SIZE MDib::GetSize() const {
    const BITMAPINFOHEADER* h = GetHeader();
    return h ? SIZE{h->biWidth, h->biHeight} : SIZE{};
}

DWORD MDib::GetColorEntry(int index) const {
    if (m_info.empty() || index < 0 || index >= m_colorCount) return 0;
    return ReadLe32(m_info.data() + kHeaderSize + 4 * index);
}

void MDib::SetColorEntry(int index, DWORD value) {
    if (m_info.empty() || index < 0 || index >= m_colorCount) return;
    if (GetHeader()->biCompression == BI_BITFIELDS) return;
    WriteLe32(m_info.data() + kHeaderSize + 4 * index, value);
}

bool MDib::Load(const BYTE* info, std::size_t infoBytes, std::vector<BYTE> bits) {
    if (infoBytes < kHeaderSize) return false;
    BITMAPINFOHEADER h = HeaderAt(info);
    // Version 3 headers and the later ones that extend them (V4: 108, V5: 124 bytes); their
    // masks sit at offset 40 in every version, their colour table after the header.
    const DWORD headerSize = h.biSize;
    if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
        return false;
    if (headerSize > infoBytes) return false;
    if (h.biWidth <= 0 || h.biWidth > kMaxDimension || h.biHeight == 0 || h.biHeight < -kMaxDimension ||
        h.biHeight > kMaxDimension)
        return false;
    if (h.biPlanes != 1 || !ValidDepth(h.biBitCount)) return false;
    // Run-length compressed bitmaps are not read: their rows cannot be checked against the size.
    if (h.biCompression != BI_RGB &&
        !(h.biCompression == BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32)))
        return false;
    if (h.biBitCount <= 8 && h.biClrUsed > (1u << h.biBitCount)) return false;
    if (h.biBitCount > 8 && h.biClrUsed > 256) return false;

    const bool bitfields = h.biCompression == BI_BITFIELDS;
    const int colours = bitfields ? 0 : ColorCountOf(h);
    const std::size_t tableOffset = bitfields ? kHeaderSize : headerSize;
    const std::size_t tableBytes = bitfields ? 12 : 4 * static_cast<std::size_t>(colours);
    if (tableOffset + tableBytes > infoBytes) return false;

    const std::size_t needed = StrideOf(h) * static_cast<std::size_t>(std::abs(h.biHeight));
    const std::size_t bitsSize = h.biSizeImage ? h.biSizeImage : needed;
    if (bitsSize < needed || bitsSize > kMaxBitsSize || bitsSize > bits.size()) return false;

    h.biSize = kHeaderSize;
    std::vector<BYTE> newInfo(kHeaderSize + tableBytes);
    bits.resize(bitsSize);
    if (h.biHeight < 0) {
        // Kept bottom-up like every image the program makes.
        const std::size_t stride = StrideOf(h);
        const int rows = -h.biHeight;
        for (int r = 0; r < rows / 2; ++r)
            std::swap_ranges(bits.begin() + r * stride, bits.begin() + (r + 1) * stride,
                             bits.begin() + (rows - 1 - r) * stride);
        h.biHeight = rows;
    }
    std::memcpy(newInfo.data(), &h, sizeof(h));
    std::memcpy(newInfo.data() + kHeaderSize, info + tableOffset, tableBytes);
    m_info.swap(newInfo);
    m_bits.swap(bits);
    m_colorCount = colours;
    CreatePalette();
    return true;
}

BOOL MDib::Attach(const void* packedDib, std::size_t size) {
    Release();
    const auto* p = static_cast<const BYTE*>(packedDib);
    if (!p || size < kHeaderSize) return FALSE;
    const BITMAPINFOHEADER h = HeaderAt(p);
    const std::size_t infoBytes = h.biCompression == BI_BITFIELDS
                                      ? std::max<std::size_t>(h.biSize, 52)
                                      : std::size_t(h.biSize) + 4 * ColorCountOf(h);
    if (h.biSize < kHeaderSize || h.biSize > 124 || infoBytes > size) return FALSE;
    // No more than the header's bits are copied, and never more than a picture may hold.
    const std::size_t bitsBytes = std::min({size - infoBytes, BitsSizeOf(h), kMaxBitsSize});
    const BYTE* bits = p + infoBytes;
    return Load(p, infoBytes, std::vector<BYTE>(bits, bits + bitsBytes)) ? TRUE : FALSE;
}

BOOL MDib::CreateSection(CDC*) {
    const BITMAPINFOHEADER* h = GetHeader();
    if (!h || !m_bits.empty()) return FALSE;
    if (h->biWidth <= 0 || h->biHeight == 0 || !ValidDepth(h->biBitCount)) return FALSE;
    const std::size_t size = StrideOf(*h) * static_cast<std::size_t>(std::abs(h->biHeight));
    if (size == 0 || size > kMaxBitsSize) return FALSE;
    m_bits.assign(size, 0);
    return TRUE;
}

std::unique_ptr<CBitmap> MDib::CreateDDB(CDC*) const {
    if (m_bits.empty()) return nullptr;
    auto bitmap = std::make_unique<CBitmap>();
    if (!bitmap->CreateFromDib(GetInfo(), m_bits.data())) return nullptr;
    return bitmap;
}

BOOL MDib::CreatePalette() {
    if (m_colorCount <= 0 || m_info.empty()) return FALSE;
    std::vector<COLORREF> entries(m_colorCount);
    for (int i = 0; i < m_colorCount; ++i) {
        const BYTE* q = m_info.data() + kHeaderSize + 4 * i;
        entries[i] = RGB(q[2], q[1], q[0]);
    }
    m_palette = std::make_unique<CPalette>();
    m_palette->CreatePalette(entries);
    return TRUE;
}

void MDib::DeletePalette() {
    m_palette.reset();
}

int MDib::RealizePalette(CDC* dc, BOOL background) {
    if (!m_palette || !dc) return 0;
    dc->SelectPalette(m_palette.get(), background);
    dc->RealizePalette();
    return m_palette->GetEntryCount();
}

BOOL MDib::StretchDraw(CDC* dc, int xSrc, int ySrc, int wSrc, int hSrc, int xDst, int yDst, int wDst,
                       int hDst) {
    if (!dc || m_info.empty()) return FALSE;
    if (m_bits.empty() && !CreateSection(dc)) return FALSE;
    CPalette* old = m_palette ? dc->SelectPalette(m_palette.get(), TRUE) : nullptr;
    const int lines = dc->StretchDIBits(xDst, yDst, wDst, hDst, xSrc, ySrc, wSrc, hSrc, m_bits.data(),
                                        GetInfo(), DIB_RGB_COLORS, SRCCOPY);
    if (m_palette) dc->SelectPalette(old, TRUE);
    return lines > 0 ? TRUE : FALSE;
}

std::vector<BYTE> MDib::FileHeader() const {
    std::vector<BYTE> fh(kFileHeaderSize, 0);
    fh[0] = 'B', fh[1] = 'M';
    const std::size_t bitsSize = m_info.empty() ? 0 : std::max(m_bits.size(), BitsSizeOf(*GetHeader()));
    WriteLe32(fh.data() + 2, static_cast<DWORD>(kFileHeaderSize + m_info.size() + bitsSize));
    WriteLe32(fh.data() + 10, static_cast<DWORD>(kFileHeaderSize + m_info.size()));
    return fh;
}

void MDib::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.Flush();
        WriteBmp(ar);
    } else {
        ReadBmp(ar);
    }
}

BOOL MDib::ReadBmp(CArchive& ar) {
    Release();
    try {
        if (ar.BytesRemaining() < kFileHeaderSize) {
            AfxMessageBox(kShortRead);
            return FALSE;
        }
        BYTE fh[kFileHeaderSize];
        ar.Read(fh, kFileHeaderSize);
        if (fh[0] != 'B' || fh[1] != 'M') {
            AfxMessageBox(kInvalidFile);
            return FALSE;
        }
        const DWORD offBits = ReadLe32(fh + 10);
        if (offBits == kFileHeaderSize) return TRUE;  // an empty image
        // Offsets and sizes from the file are checked against what the file still holds
        // before anything is allocated.
        const std::uint64_t remaining = ar.BytesRemaining();
        if (offBits < kFileHeaderSize + kHeaderSize || offBits - kFileHeaderSize > remaining) {
            AfxMessageBox(kInvalidFile);
            return FALSE;
        }
        std::vector<BYTE> info(offBits - kFileHeaderSize);
        ar.Read(info.data(), static_cast<UINT>(info.size()));
        const BITMAPINFOHEADER h = HeaderAt(info.data());
        const std::uint64_t needed = std::uint64_t(StrideOf(h)) * std::abs(std::int64_t(h.biHeight));
        const std::uint64_t bitsSize = h.biSizeImage ? h.biSizeImage : needed;
        if (bitsSize == 0 || bitsSize > kMaxBitsSize || bitsSize > ar.BytesRemaining()) {
            AfxMessageBox(kInvalidFile);
            return FALSE;
        }
        std::vector<BYTE> bits(static_cast<std::size_t>(bitsSize));
        ar.Read(bits.data(), static_cast<UINT>(bits.size()));
        if (!Load(info.data(), info.size(), std::move(bits))) {
            Release();
            AfxMessageBox(kInvalidFile);
            return FALSE;
        }
        return TRUE;
    } catch (const CArchiveException&) {
        Release();
        AfxMessageBox(kReadError);
        return FALSE;
    }
}

BOOL MDib::WriteBmp(CArchive& ar) {
    try {
        const std::vector<BYTE> fh = FileHeader();
        ar.Write(fh.data(), static_cast<UINT>(fh.size()));
        if (!m_info.empty()) {
            ar.Write(m_info.data(), static_cast<UINT>(m_info.size()));
            // A header whose bits were never made still writes rows of the right size.
            std::vector<BYTE> zeros;
            const std::size_t size = std::max(m_bits.size(), BitsSizeOf(*GetHeader()));
            const BYTE* data = m_bits.data();
            if (m_bits.size() < size) {
                zeros.assign(size, 0);
                std::copy(m_bits.begin(), m_bits.end(), zeros.begin());
                data = zeros.data();
            }
            if (size) ar.Write(data, static_cast<UINT>(size));
        }
        return TRUE;
    } catch (const CArchiveException&) {
        AfxMessageBox(kWriteError);
        return FALSE;
    }
}

BOOL MDib::WritePackedDib(CArchive& ar) {
    if (m_info.empty()) return FALSE;
    try {
        ar.Write(m_info.data(), static_cast<UINT>(m_info.size()));
        if (!m_bits.empty()) ar.Write(m_bits.data(), static_cast<UINT>(m_bits.size()));
        return TRUE;
    } catch (const CArchiveException&) {
        AfxMessageBox(kWriteError);
        return FALSE;
    }
}

BOOL MDib::WriteText(std::ostream& os) {
    const std::vector<BYTE> fh = FileHeader();
    WriteBinaryBlock(os, fh.data(), static_cast<int>(fh.size()), FALSE);
    WriteBinaryBlock(os, m_info.data(), static_cast<int>(m_info.size()), FALSE);
    std::vector<BYTE> bits = m_bits;
    if (!m_info.empty()) bits.resize(std::max(m_bits.size(), BitsSizeOf(*GetHeader())), 0);
    WriteBinaryBlock(os, bits.data(), static_cast<int>(bits.size()), TRUE);
    return os.good() ? TRUE : FALSE;
}

BOOL MDib::ReadText(std::istream& is) {
    Release();
    // While a file is read, its reader tells every picture it could not take in one message.
    MTextReadLosses* losses = MTextReadLosses::Current();
    // A picture that cannot be used costs no more than itself: what is left of its lines is passed
    // over, so that the record after it reads from its start.
    const auto passOver = [&is] {
        if (is.fail() && !is.bad() && !is.eof()) is.clear();
        SkipIndentedLines(is);
        return FALSE;
    };
    const auto fail = [this, losses, &passOver] {
        Release();
        if (losses)
            losses->PictureDamaged();
        else
            AfxMessageBox(kInvalidFile);
        return passOver();
    };
    const std::vector<BYTE> fh = ReadBinaryBlockBytes(is, kFileHeaderSize);
    if (!is || fh.size() != kFileHeaderSize || fh[0] != 'B' || fh[1] != 'M') return fail();
    const DWORD offBits = ReadLe32(fh.data() + 10);
    const std::vector<BYTE> info = ReadBinaryBlockBytes(is, kMaxInfoSize);
    if (!is) return fail();
    if (offBits == kFileHeaderSize) {
        // An empty image: both other blocks are empty.
        const std::vector<BYTE> bits = ReadBinaryBlockBytes(is, 0);
        return is && info.empty() && bits.empty() ? TRUE : fail();
    }
    if (info.empty() || offBits < kFileHeaderSize + kHeaderSize || info.size() != offBits - kFileHeaderSize)
        return fail();
    const BITMAPINFOHEADER h = HeaderAt(info.data());
    const std::uint64_t needed = std::uint64_t(StrideOf(h)) * std::abs(std::int64_t(h.biHeight));
    const std::uint64_t bitsSize = h.biSizeImage ? h.biSizeImage : needed;
    if (bitsSize > kMaxBitsSize) return fail();
    if (losses) {
        // Past the file's budget the bits are not even decoded. A picture that turns out damaged
        // keeps its share too: decoding it took the time and memory all the same.
        if (!losses->PictureFits(bitsSize)) {
            losses->LeavePictureOut();
            return passOver();
        }
        losses->TakePicture(bitsSize);
    }
    // The bytes read become the image's own: a large picture is never held twice.
    std::vector<BYTE> bits = ReadBinaryBlockBytes(is, bitsSize);
    if (!is || bits.size() != bitsSize) return fail();
    if (!Load(info.data(), info.size(), std::move(bits))) return fail();
    return TRUE;
}

std::unique_ptr<MDib> MDib::Clone() const {
    auto copy = std::make_unique<MDib>();
    copy->m_info = m_info;
    copy->m_bits = m_bits;
    copy->m_colorCount = m_colorCount;
    copy->CreatePalette();
    return copy;
}

std::unique_ptr<MDib> MDib::NewLike(int width, int height) const {
    // Same header (depth, masks, resolution) and colour table, new dimensions, bits all 0xFF.
    auto dib = std::make_unique<MDib>();
    dib->m_info = m_info;
    BITMAPINFOHEADER h = *GetHeader();
    h.biWidth = width;
    h.biHeight = height;
    h.biSizeImage = 0;
    std::memcpy(dib->m_info.data(), &h, sizeof(h));
    dib->m_colorCount = m_colorCount;
    const std::size_t size = StrideOf(h) * static_cast<std::size_t>(height);
    if (size > kMaxBitsSize) return nullptr;
    dib->m_bits.assign(size, 0xFF);
    dib->CreatePalette();
    return dib;
}

std::unique_ptr<MDib> MDib::CreateMirroredX() {
    CreatePalette();
    const BITMAPINFOHEADER* h = GetHeader();
    if (!h) return nullptr;
    if (m_bits.empty()) CreateSection(nullptr);
    auto dib = NewLike(h->biWidth, h->biHeight);
    if (!dib) return nullptr;
    const std::size_t stride = StrideOf(*h);
    const int w = h->biWidth, bpp = h->biBitCount;
    for (int r = 0; r < h->biHeight; ++r) {
        const BYTE* src = m_bits.data() + r * stride;
        BYTE* dst = dib->m_bits.data() + r * stride;
        for (int x = 0; x < w; ++x)
            SetRaw(dst, w - 1 - x, bpp, GetRaw(src, x, bpp));
    }
    return dib;
}

std::unique_ptr<MDib> MDib::CreateMirroredY() {
    CreatePalette();
    const BITMAPINFOHEADER* h = GetHeader();
    if (!h) return nullptr;
    if (m_bits.empty()) CreateSection(nullptr);
    auto dib = NewLike(h->biWidth, h->biHeight);
    if (!dib) return nullptr;
    const std::size_t stride = StrideOf(*h);
    for (int r = 0; r < h->biHeight; ++r)
        std::memcpy(dib->m_bits.data() + (h->biHeight - 1 - r) * stride, m_bits.data() + r * stride, stride);
    return dib;
}

std::unique_ptr<MDib> MDib::CreateRotated(double angle, COLORREF background) {
    CreatePalette();
    const BITMAPINFOHEADER* h = GetHeader();
    if (!h || !std::isfinite(angle)) return nullptr;
    // Many turns at once rather than one by one: a far-off angle must not loop for ever.
    angle = NormalizeAngle(angle);
    if (angle == 0.0) return Clone();
    if (m_bits.empty()) CreateSection(nullptr);
    const double W = h->biWidth, H = h->biHeight;
    const double c = std::cos(angle), s = std::sin(angle);
    const int nw = std::max(1, static_cast<int>(std::fabs(W * c) + std::fabs(H * s)));
    const int nh = std::max(1, static_cast<int>(std::fabs(W * s) + std::fabs(H * c)));
    auto dib = NewLike(nw, nh);
    if (!dib) return nullptr;
    const int bpp = h->biBitCount;
    DWORD fill;
    if (bpp <= 8) {
        fill = m_palette ? m_palette->GetNearestPaletteIndex(background & 0xFFFFFF) : 0;
    } else if (bpp == 24 || (bpp == 32 && h->biCompression != BI_BITFIELDS)) {
        fill = GetBValue(background) | (GetGValue(background) << 8) | (DWORD(GetRValue(background)) << 16);
    } else {
        DWORD masks[3] = {0x7C00, 0x03E0, 0x001F};
        if (h->biCompression == BI_BITFIELDS)
            for (int i = 0; i < 3; ++i)
                masks[i] = ReadLe32(m_info.data() + kHeaderSize + 4 * i);
        fill = EncodeMasked(background, masks);
    }
    const std::size_t srcStride = StrideOf(*h), dstStride = StrideOf(*dib->GetHeader());
    // Rows are bottom-up, so row numbers count upwards like drawing coordinates.
    for (int j = 0; j < nh; ++j) {
        BYTE* dst = dib->m_bits.data() + j * dstStride;
        const double v = j + 0.5 - nh / 2.0;
        for (int i = 0; i < nw; ++i) {
            const double u = i + 0.5 - nw / 2.0;
            const int sx = static_cast<int>(std::floor(u * c + v * s + W / 2));
            const int sy = static_cast<int>(std::floor(-u * s + v * c + H / 2));
            const bool inside = sx >= 0 && sx < h->biWidth && sy >= 0 && sy < h->biHeight;
            SetRaw(dst, i, bpp, inside ? GetRaw(m_bits.data() + sy * srcStride, sx, bpp) : fill);
        }
    }
    return dib;
}
