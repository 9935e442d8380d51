#include "model/helpers/ArchiveString.h"

#include "platform/Archive.h"
#include "platform/Cp932.h"
#include "platform/Exceptions.h"

namespace {

// The longest prefix of at most maxBytes bytes that ends between two characters.
std::string Utf8Prefix(std::string_view utf8, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < utf8.size()) {
        const std::size_t next = end + Utf8SequenceLength(static_cast<unsigned char>(utf8[end]));
        if (next > maxBytes || next > utf8.size()) break;
        end = next;
    }
    return std::string(utf8.substr(0, end));
}

}  // namespace

void WriteArchiveString(CArchive& ar, const char* text) {
    const char* string = text ? text : "";
    if (!ar.IsUtf8()) {
        // Archives that leave the program hold code page 932, as much as a drawing keeps of a line.
        const std::string bytes = Utf8ToCp932(Cp932Cut(string, 0xFFFF));
        ar << static_cast<WORD>(bytes.size());
        if (!bytes.empty()) ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        return;
    }
    // Copies inside the program keep every character: a line the drawing keeps takes up to four
    // times its code page bytes here, past what the length word holds.
    const std::string bytes = Utf8ArchiveCopy(string);
    if (bytes.size() < 0xFFFF) {
        ar << static_cast<WORD>(bytes.size());
    } else {
        ar << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(bytes.size());
    }
    if (!bytes.empty()) ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

std::string Utf8ArchiveCopy(const std::string& text) {
    return Utf8Prefix(text.c_str(), kMaxUtf8ArchiveString);
}

void ReadArchiveString(CArchive& ar, std::string& out) {
    WORD word = 0;
    ar >> word;
    std::size_t length = word;
    if (word == 0xFFFF && ar.IsUtf8()) {
        DWORD longer = 0;
        ar >> longer;
        if (longer > kMaxUtf8ArchiveString) AfxThrowArchiveException(CArchiveException::genericException);
        length = longer;
    }
    std::string bytes(length, '\0');
    if (length) ar.Read(bytes.data(), static_cast<UINT>(length));
    out = ar.IsUtf8() ? std::move(bytes) : Cp932ToUtf8(bytes);
}
