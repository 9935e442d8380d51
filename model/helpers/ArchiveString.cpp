#include "model/helpers/ArchiveString.h"

#include "platform/Archive.h"
#include "platform/Cp932.h"

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
    // Copies inside the program keep every character; archives that leave it hold code page 932.
    const std::string bytes =
        ar.IsUtf8() ? Utf8Prefix(string, 0xFFFF) : Utf8ToCp932(Cp932Cut(string, 0xFFFF));
    ar << static_cast<WORD>(bytes.size());
    if (!bytes.empty()) ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

std::string Utf8ArchiveCopy(const std::string& text) {
    return Utf8Prefix(text.c_str(), 0xFFFF);
}

void ReadArchiveString(CArchive& ar, std::string& out) {
    WORD length = 0;
    ar >> length;
    std::string bytes(length, '\0');
    if (length) ar.Read(bytes.data(), length);
    out = ar.IsUtf8() ? std::move(bytes) : Cp932ToUtf8(bytes);
}
