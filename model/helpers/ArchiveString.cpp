#include "model/helpers/ArchiveString.h"

#include "platform/Archive.h"
#include "platform/Cp932.h"

void WriteArchiveString(CArchive& ar, const char* text) {
    const std::string bytes = Utf8ToCp932(Cp932Cut(text ? text : "", 0xFFFF));
    ar << static_cast<WORD>(bytes.size());
    if (!bytes.empty()) ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

void ReadArchiveString(CArchive& ar, std::string& out) {
    WORD length = 0;
    ar >> length;
    std::string bytes(length, '\0');
    if (length) ar.Read(bytes.data(), length);
    out = Cp932ToUtf8(bytes);
}
