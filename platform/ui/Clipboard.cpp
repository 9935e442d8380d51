#include "platform/ui/Clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <map>
#include <mutex>

#include "platform/gdi/QtGdi.h"

namespace {

constexpr UINT kFirstRegistered = 0xC000;
constexpr const char* kDibMime = "image/bmp";
constexpr const char* kEmfMime = "image/emf";
constexpr std::size_t kBmpFileHeader = 14;

std::vector<std::string>& RegisteredNames() {
    static std::vector<std::string> names;
    return names;
}

std::mutex& RegistryLock() {
    static std::mutex lock;
    return lock;
}

QByteArray Bytes(const std::vector<BYTE>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

void Put32(std::vector<BYTE>& v, std::size_t at, DWORD x) {
    for (int i = 0; i < 4; ++i)
        v[at + i] = BYTE(x >> (8 * i));
}

// A BMP file of a packed DIB: the 14-byte file header in front.
QByteArray BmpFileOf(const std::vector<BYTE>& dib) {
    std::vector<BYTE> file(kBmpFileHeader, 0);
    file[0] = 'B', file[1] = 'M';
    Put32(file, 2, static_cast<DWORD>(kBmpFileHeader + dib.size()));
    // The bits follow the header and its colour table or masks.
    DWORD offset = static_cast<DWORD>(kBmpFileHeader);
    if (dib.size() >= 40) {
        const DWORD headerSize =
            DWORD(dib[0]) | DWORD(dib[1]) << 8 | DWORD(dib[2]) << 16 | DWORD(dib[3]) << 24;
        const WORD bits = WORD(dib[14] | dib[15] << 8);
        const DWORD compression =
            DWORD(dib[16]) | DWORD(dib[17]) << 8 | DWORD(dib[18]) << 16 | DWORD(dib[19]) << 24;
        const DWORD used = DWORD(dib[32]) | DWORD(dib[33]) << 8 | DWORD(dib[34]) << 16 | DWORD(dib[35]) << 24;
        DWORD colours = bits <= 8 ? (used ? used : (1u << bits)) : 0;
        DWORD masks = (compression == 3 && headerSize == 40) ? 12 : 0;
        offset += headerSize + 4 * colours + masks;
    }
    Put32(file, 10, offset);
    file.insert(file.end(), dib.begin(), dib.end());
    return Bytes(file);
}

// A picture as a packed DIB: 32 bits per pixel, bottom-up, with the picture's resolution.
std::vector<BYTE> PackedDibOf(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    std::vector<BYTE> dib(40 + 4 * static_cast<std::size_t>(w) * h, 0);
    Put32(dib, 0, 40);
    Put32(dib, 4, static_cast<DWORD>(w));
    Put32(dib, 8, static_cast<DWORD>(h));
    dib[12] = 1;
    dib[14] = 32;
    Put32(dib, 20, static_cast<DWORD>(4 * w * h));
    Put32(dib, 24, static_cast<DWORD>(std::max(0, image.dotsPerMeterX())));
    Put32(dib, 28, static_cast<DWORD>(std::max(0, image.dotsPerMeterY())));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(h - 1 - y));
        BYTE* out = dib.data() + 40 + 4 * static_cast<std::size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            out[4 * x] = BYTE(qBlue(row[x]));
            out[4 * x + 1] = BYTE(qGreen(row[x]));
            out[4 * x + 2] = BYTE(qRed(row[x]));
        }
    }
    return dib;
}

QClipboard* Clipboard() {
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

// The formats of the clipboard as last read; read again after every change of the clipboard.
struct FormatCache {
    bool valid = false;
    bool connected = false;
    QStringList formats;
    bool image = false;
};

FormatCache& Cache() {
    static FormatCache cache;
    return cache;
}

}  // namespace

UINT RegisterClipboardFormat(const std::string& name) {
    if (name.empty()) return 0;
    std::lock_guard<std::mutex> guard(RegistryLock());
    std::vector<std::string>& names = RegisteredNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return kFirstRegistered + static_cast<UINT>(i);
    names.push_back(name);
    return kFirstRegistered + static_cast<UINT>(names.size() - 1);
}

std::string ClipboardFormatMimeType(UINT format) {
    switch (format) {
        case CF_DIB:
            return kDibMime;
        case CF_ENHMETAFILE:
            return kEmfMime;
        case CF_BITMAP:
            return "image/png";
        default:
            break;
    }
    std::lock_guard<std::mutex> guard(RegistryLock());
    const std::vector<std::string>& names = RegisteredNames();
    if (format < kFirstRegistered || format - kFirstRegistered >= names.size()) return {};
    std::string mime = "application/x-";
    for (char c : names[format - kFirstRegistered])
        mime += c == ' ' ? '-' : static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return mime;
}

// ----- data source ------------------------------------------------------------------------------

struct COleDataSource::Data {
    std::map<UINT, std::vector<BYTE>> bytes;
    QImage bitmap;
};

COleDataSource::COleDataSource() : m_data(std::make_unique<Data>()) {}
COleDataSource::~COleDataSource() = default;

void COleDataSource::CacheGlobalData(UINT format, std::vector<BYTE> data) {
    m_data->bytes[format] = std::move(data);
}

void COleDataSource::CacheBitmap(const CBitmap& bitmap) {
    if (const auto surface = bitmap.GetSurface()) m_data->bitmap = surface->image.copy();
}

BOOL COleDataSource::HasFormat(UINT format) const {
    if (format == CF_BITMAP) return !m_data->bitmap.isNull();
    return m_data->bytes.count(format) ? TRUE : FALSE;
}

void COleDataSource::SetClipboard() {
    auto* mime = new QMimeData;
    for (const auto& [format, bytes] : m_data->bytes) {
        if (format == CF_DIB) {
            mime->setData(kDibMime, BmpFileOf(bytes));
            continue;
        }
        const std::string type = ClipboardFormatMimeType(format);
        if (!type.empty()) mime->setData(QString::fromStdString(type), Bytes(bytes));
    }
    if (!m_data->bitmap.isNull()) mime->setImageData(m_data->bitmap);
    if (QClipboard* clipboard = Clipboard())
        clipboard->setMimeData(mime);
    else
        delete mime;
    m_data = std::make_unique<Data>();
}

// ----- data object ------------------------------------------------------------------------------

struct COleDataObject::Data {
    QStringList formats;
    bool image = false;
};

COleDataObject::COleDataObject() : m_data(std::make_unique<Data>()) {}
COleDataObject::~COleDataObject() = default;

BOOL COleDataObject::AttachClipboard() {
    Release();
    QClipboard* clipboard = Clipboard();
    const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
    if (!mime) return FALSE;
    m_data->formats = mime->formats();
    m_data->image = mime->hasImage();
    return m_data->formats.isEmpty() ? FALSE : TRUE;
}

void COleDataObject::Release() {
    m_data = std::make_unique<Data>();
}

BOOL COleDataObject::HasAnyFormat() const {
    return m_data->formats.isEmpty() ? FALSE : TRUE;
}

BOOL COleDataObject::IsDataAvailable(UINT format) const {
    if (format == CF_DIB || format == CF_BITMAP)
        return m_data->image || m_data->formats.contains(kDibMime) ? TRUE : FALSE;
    const std::string type = ClipboardFormatMimeType(format);
    return !type.empty() && m_data->formats.contains(QString::fromStdString(type)) ? TRUE : FALSE;
}

BOOL COleDataObject::GetData(UINT format, std::vector<BYTE>& out) const {
    out.clear();
    if (!IsDataAvailable(format)) return FALSE;
    QClipboard* clipboard = Clipboard();
    const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
    if (!mime) return FALSE;
    if (format == CF_DIB || format == CF_BITMAP) {
        // A BMP file keeps its own depth and palette; any other picture is converted.
        const QByteArray bmp = mime->data(kDibMime);
        if (bmp.size() > static_cast<qsizetype>(kBmpFileHeader) && bmp.startsWith("BM")) {
            out.assign(reinterpret_cast<const BYTE*>(bmp.constData()) + kBmpFileHeader,
                       reinterpret_cast<const BYTE*>(bmp.constData()) + bmp.size());
            return TRUE;
        }
        QImage image = qvariant_cast<QImage>(mime->imageData());
        if (image.isNull() && !bmp.isEmpty()) image.loadFromData(bmp);
        if (image.isNull()) return FALSE;
        out = PackedDibOf(image);
        return TRUE;
    }
    const QByteArray data = mime->data(QString::fromStdString(ClipboardFormatMimeType(format)));
    out.assign(reinterpret_cast<const BYTE*>(data.constData()),
               reinterpret_cast<const BYTE*>(data.constData()) + data.size());
    return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    QClipboard* clipboard = Clipboard();
    if (!clipboard) return FALSE;
    FormatCache& cache = Cache();
    if (!cache.connected) {
        QObject::connect(clipboard, &QClipboard::dataChanged, [] { Cache().valid = false; });
        cache.connected = true;
    }
    if (!cache.valid) {
        const QMimeData* mime = clipboard->mimeData();
        cache.formats = mime ? mime->formats() : QStringList();
        cache.image = mime && mime->hasImage();
        cache.valid = true;
    }
    if (format == CF_DIB || format == CF_BITMAP)
        return cache.image || cache.formats.contains(kDibMime) ? TRUE : FALSE;
    const std::string type = ClipboardFormatMimeType(format);
    return !type.empty() && cache.formats.contains(QString::fromStdString(type)) ? TRUE : FALSE;
}

BOOL SetClipboardImageFile(const std::vector<BYTE>& fileBytes) {
    QImage image;
    if (!image.loadFromData(Bytes(fileBytes))) return FALSE;
    auto* mime = new QMimeData;
    mime->setImageData(image);
    if (QClipboard* clipboard = Clipboard()) {
        clipboard->setMimeData(mime);
        return TRUE;
    }
    delete mime;
    return FALSE;
}

void SetClipboardText(const std::string& text) {
    if (QClipboard* clipboard = Clipboard()) clipboard->setText(QString::fromStdString(text));
}

void EmptyClipboard() {
    if (QClipboard* clipboard = Clipboard()) clipboard->clear();
}
