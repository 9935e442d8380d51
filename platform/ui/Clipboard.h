// The clipboard, in the class library's data-source and data-object terms. Formats are the
// standard ids of Windows and ids registered by name; each travels under a MIME type of its own:
// a packed DIB as "image/bmp" (a BMP file), an enhanced metafile as "image/emf", a bitmap as an
// image (PNG and the other types the system offers), and a registered format as
// "application/x-" followed by its name in lower case with blanks turned into hyphens.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

class CBitmap;

enum : UINT { CF_BITMAP = 2, CF_DIB = 8, CF_ENHMETAFILE = 14 };

// The id of a format registered by name: the same name gives the same id for the whole run
// (from 0xC000 up); 0 for an empty name.
UINT RegisterClipboardFormat(const std::string& name);
// The MIME type a format travels under; empty for an unknown id.
std::string ClipboardFormatMimeType(UINT format);

// Data offered to the clipboard: one rendering per format, all put there together.
class COleDataSource {
public:
    COleDataSource();
    ~COleDataSource();
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // The bytes of a format: a registered format's archive, CF_DIB a packed DIB, CF_ENHMETAFILE
    // a metafile's bytes.
    void CacheGlobalData(UINT format, std::vector<BYTE> data);
    // The picture of a bitmap (CF_BITMAP).
    void CacheBitmap(const CBitmap& bitmap);
    BOOL HasFormat(UINT format) const;
    // Hands everything to the system clipboard, replacing what it held; the source is empty
    // afterwards.
    void SetClipboard();

private:
    struct Data;
    std::unique_ptr<Data> m_data;
};

// What the clipboard holds, read when attached.
class COleDataObject {
public:
    COleDataObject();
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Takes what the clipboard holds now. FALSE when it holds nothing.
    BOOL AttachClipboard();
    void Release();
    // Any format at all.
    BOOL HasAnyFormat() const;
    // CF_DIB and CF_BITMAP are available for every picture the system can read (PNG, BMP, JPEG ...).
    BOOL IsDataAvailable(UINT format) const;
    // The bytes of a format; CF_DIB gives a packed DIB (the BMP file's, or the picture converted
    // to 32 bits per pixel with its resolution). FALSE when the format is not there or its data
    // cannot be read.
    BOOL GetData(UINT format, std::vector<BYTE>& out) const;

private:
    struct Data;
    std::unique_ptr<Data> m_data;
};

// Whether the clipboard offers the format (CF_DIB and CF_BITMAP: any picture). Cheap enough for
// update handlers: the formats are read once per clipboard change.
BOOL IsClipboardFormatAvailable(UINT format);

// Puts a picture file's bytes (PNG, BMP ...) on the clipboard as an image, as another program
// would; for tests and drag and drop. FALSE when the bytes are no picture.
BOOL SetClipboardImageFile(const std::vector<BYTE>& fileBytes);
// Puts plain text on the clipboard (UTF-8).
void SetClipboardText(const std::string& text);
// Empties the clipboard.
void EmptyClipboard();
