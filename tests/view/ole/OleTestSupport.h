// Hand-made embedded-object records for the tests: a small compound file (version 3, every stream
// in the mini stream) with a "\1CompObj" and a "\2OlePres000" stream, behind a few bytes that stand
// for the container's own header; and a Base64 encoder for writing drawing files by hand.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "platform/Cp932.h"
#include "platform/WinTypes.h"

namespace oletest {

inline void Put32(std::vector<BYTE>& v, DWORD x) {
    for (int i = 0; i < 4; ++i)
        v.push_back(BYTE(x >> (8 * i)));
}
inline void Put16(std::vector<BYTE>& v, WORD x) {
    v.push_back(BYTE(x)), v.push_back(BYTE(x >> 8));
}
inline void Set32(std::vector<BYTE>& v, std::size_t at, DWORD x) {
    for (int i = 0; i < 4; ++i)
        v[at + i] = BYTE(x >> (8 * i));
}

struct Stream {
    std::u16string name;
    std::vector<BYTE> data;
};

// A compound file holding the streams (each below 4096 bytes) in its root storage.
inline std::vector<BYTE> MakeCompoundFile(const std::vector<Stream>& streams,
                                          const BYTE clsid[16] = nullptr) {
    constexpr DWORD kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSect = 0xFFFFFFFD, kNone = 0xFFFFFFFF;
    std::vector<BYTE> mini;
    std::vector<DWORD> miniStart;
    for (const Stream& s : streams) {
        miniStart.push_back(static_cast<DWORD>(mini.size() / 64));
        mini.insert(mini.end(), s.data.begin(), s.data.end());
        mini.resize((mini.size() + 63) / 64 * 64);
    }
    const DWORD dataSectors = static_cast<DWORD>((mini.size() + 511) / 512);
    // Sectors: 0 FAT, 1 directory, 2 mini FAT, 3... the mini stream.
    std::vector<BYTE> file(512, 0);
    const BYTE sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(file.data(), sig, 8);
    file[24] = 0x3E, file[26] = 3, file[28] = 0xFE, file[29] = 0xFF, file[30] = 9, file[32] = 6;
    Set32(file, 44, 1);     // FAT sectors
    Set32(file, 48, 1);     // first directory sector
    Set32(file, 56, 4096);  // mini stream cutoff
    Set32(file, 60, 2);     // first mini FAT sector
    Set32(file, 64, 1);     // mini FAT sectors
    Set32(file, 68, kEnd);  // no DIFAT sectors
    for (int i = 0; i < 109; ++i)
        Set32(file, 76 + 4 * i, i == 0 ? 0 : kFree);
    std::vector<BYTE> fat;
    Put32(fat, kFatSect);
    Put32(fat, kEnd);
    Put32(fat, kEnd);
    for (DWORD i = 0; i < dataSectors; ++i)
        Put32(fat, i + 1 < dataSectors ? 3 + i + 1 : kEnd);
    while (fat.size() < 512)
        Put32(fat, kFree);
    std::vector<BYTE> dir;
    auto entry = [&dir](const std::u16string& name, BYTE type, DWORD left, DWORD right, DWORD child,
                        const BYTE* id, DWORD start, DWORD size) {
        const std::size_t at = dir.size();
        dir.resize(at + 128, 0);
        for (std::size_t i = 0; i < name.size(); ++i)
            dir[at + 2 * i] = BYTE(name[i]), dir[at + 2 * i + 1] = BYTE(name[i] >> 8);
        dir[at + 64] = BYTE(2 * (name.size() + 1));
        dir[at + 66] = type;
        dir[at + 67] = 1;
        Set32(dir, at + 68, left), Set32(dir, at + 72, right), Set32(dir, at + 76, child);
        if (id) std::memcpy(dir.data() + at + 80, id, 16);
        Set32(dir, at + 116, start), Set32(dir, at + 120, size);
    };
    entry(u"Root Entry", 5, kNone, kNone, streams.empty() ? kNone : 1, clsid, mini.empty() ? kEnd : 3,
          static_cast<DWORD>(mini.size()));
    for (std::size_t i = 0; i < streams.size(); ++i)
        entry(streams[i].name, 2, kNone, i + 1 < streams.size() ? static_cast<DWORD>(i + 2) : kNone, kNone,
              nullptr, miniStart[i], static_cast<DWORD>(streams[i].data.size()));
    dir.resize((dir.size() + 511) / 512 * 512, 0);
    std::vector<BYTE> miniFat;
    std::size_t s = 0;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const DWORD count = static_cast<DWORD>((streams[i].data.size() + 63) / 64);
        for (DWORD k = 0; k < count; ++k, ++s)
            Put32(miniFat, k + 1 < count ? static_cast<DWORD>(s + 1) : kEnd);
    }
    while (miniFat.size() < 512)
        Put32(miniFat, kFree);
    file.insert(file.end(), fat.begin(), fat.end());
    file.insert(file.end(), dir.begin(), dir.begin() + 512);
    file.insert(file.end(), miniFat.begin(), miniFat.end());
    mini.resize(dataSectors * 512, 0);
    file.insert(file.end(), mini.begin(), mini.end());
    return file;
}

inline std::vector<BYTE> CompObj(const std::string& userTypeUtf8, const std::string& progId) {
    std::vector<BYTE> v;
    Put32(v, 0xFFFE0001);
    Put32(v, 0x00000A03);
    Put32(v, 0xFFFFFFFF);
    for (int i = 0; i < 16; ++i)
        v.push_back(0);
    const std::string user = Utf8ToCp932(userTypeUtf8);
    Put32(v, static_cast<DWORD>(user.size() + 1));
    v.insert(v.end(), user.begin(), user.end());
    v.push_back(0);
    Put32(v, 0);  // no clipboard format
    Put32(v, static_cast<DWORD>(progId.size() + 1));
    v.insert(v.end(), progId.begin(), progId.end());
    v.push_back(0);
    return v;
}

// A presentation stream of a DIB: 2 x 2 pixels, 24 bits, bottom row blue and white, top row red
// and green; extent in 0.01 mm.
inline std::vector<BYTE> DibPresentation(LONG width, LONG height) {
    std::vector<BYTE> dib;
    Put32(dib, 40);
    Put32(dib, 2);
    Put32(dib, 2);
    Put16(dib, 1);
    Put16(dib, 24);
    for (int i = 0; i < 6; ++i)
        Put32(dib, 0);
    const BYTE rows[16] = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    dib.insert(dib.end(), rows, rows + 16);
    std::vector<BYTE> v;
    Put32(v, 0xFFFFFFFF);
    Put32(v, 8);  // CF_DIB
    Put32(v, 4);  // no target device
    Put32(v, 1);  // content aspect
    Put32(v, 0xFFFFFFFF);
    Put32(v, 2);
    Put32(v, 0);
    Put32(v, static_cast<DWORD>(width));
    Put32(v, static_cast<DWORD>(height));
    Put32(v, static_cast<DWORD>(dib.size()));
    v.insert(v.end(), dib.begin(), dib.end());
    return v;
}

// An item record: a made-up container header, then the compound file, then a trailer.
inline std::vector<BYTE> ItemRecord(bool withPicture, LONG width = 5000, LONG height = 2500) {
    std::vector<Stream> streams;
    streams.push_back({u"\u0001CompObj", CompObj("Microsoft Excel ワークシート", "Excel.Sheet.8")});
    if (withPicture) streams.push_back({u"\u0002OlePres000", DibPresentation(width, height)});
    std::vector<BYTE> record = {0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00};
    const std::vector<BYTE> cfb = MakeCompoundFile(streams);
    Put32(record, static_cast<DWORD>(cfb.size()));
    record.insert(record.end(), cfb.begin(), cfb.end());
    const BYTE trailer[6] = {0xAA, 0x55, 0x00, 0xFF, 0x7E, 0x0D};
    record.insert(record.end(), trailer, trailer + 6);
    return record;
}

inline std::string Base64(const BYTE* p, std::size_t n) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < n; i += 3) {
        const DWORD v =
            DWORD(p[i]) << 16 | (i + 1 < n ? DWORD(p[i + 1]) << 8 : 0) | (i + 2 < n ? p[i + 2] : 0);
        out += digits[(v >> 18) & 63];
        out += digits[(v >> 12) & 63];
        out += i + 1 < n ? digits[(v >> 6) & 63] : '=';
        out += i + 2 < n ? digits[v & 63] : '=';
    }
    return out;
}

// The uncompressed binary block of the text files: header line, then 54 bytes a line.
inline std::string BlockText(const std::vector<BYTE>& bytes) {
    std::string s = "\t" + std::to_string(bytes.size()) + " BASE64 0\n";
    for (std::size_t at = 0; at < bytes.size(); at += 54)
        s += "\t" + Base64(bytes.data() + at, std::min<std::size_t>(54, bytes.size() - at)) + "\n";
    return s;
}

}  // namespace oletest
