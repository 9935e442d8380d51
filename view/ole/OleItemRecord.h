// What the program can show of an embedded object's stored item record: the object's class name
// and its cached presentation. No object server runs here, so the record itself is kept byte for
// byte and only read: the compound file (structured storage) inside it is located by its
// signature, its "\1CompObj" stream gives the user type or program id, and its "\2OlePres000"
// stream the cached picture and extent. Every offset, count and chain is checked before use; a
// record that holds nothing readable gives an empty result.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

struct MOleItemPresentation {
    // UTF-8; the user type ("Microsoft Excel ワークシート"), else the program id, else the class id.
    std::string className;
    // The clipboard format of the cached picture (0: none found).
    DWORD format = 0;
    // The cached picture's extent in 0.01 mm (0 when unknown).
    LONG width = 0;
    LONG height = 0;
    // A packed device-independent bitmap when the cached picture is one.
    std::vector<BYTE> dib;
};

// The reading is bounded: streams larger than this are not taken.
inline constexpr std::size_t kMaxOleStream = 64u * 1024 * 1024;

MOleItemPresentation ReadOleItemPresentation(const BYTE* record, std::size_t size);

// A read-only view of a compound file held in memory.
class MCompoundFile {
public:
    // FALSE when the bytes are not a usable compound file.
    bool Open(const BYTE* data, std::size_t size);
    // A stream directly inside the root storage, by its exact name.
    bool ReadRootStream(const std::u16string& name, std::vector<BYTE>& out) const;
    // The root storage's class id as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (empty when zero).
    std::string RootClassId() const;

    // The directory entries read (the root first); damaged chains leave fewer.
    std::size_t GetEntryCount() const { return m_entries.size(); }
    // A chain of the directory, the mini stream or its table was cut, looped or pointed outside the
    // record; what could be read stays available.
    bool IsDamaged() const { return m_damaged; }

private:
    struct Entry {
        std::u16string name;
        BYTE type = 0;
        DWORD left = 0, right = 0, child = 0;
        BYTE clsid[16] = {};
        DWORD start = 0;
        std::uint64_t size = 0;
    };
    // Follows a chain through table from start for at most maxSteps units, handing each to take;
    // false when it is damaged: a unit outside the table or the units the record holds, a unit seen
    // twice (a loop), or take refusing it.
    template <class Take>
    bool WalkChain(DWORD start, const std::vector<DWORD>& table, std::size_t units, std::size_t maxSteps,
                   Take take) const;
    // Exactly bytes bytes of a stream; false (and out empty) when its chain is damaged or shorter.
    bool ReadChain(DWORD start, const std::vector<DWORD>& table, std::size_t unit, bool mini,
                   std::uint64_t bytes, std::vector<BYTE>& out) const;
    const BYTE* Sector(DWORD index) const;
    // Sectors after the header.
    std::size_t SectorCount() const;

    const BYTE* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_sectorSize = 512;
    std::size_t m_miniSize = 64;
    DWORD m_cutoff = 4096;
    std::vector<DWORD> m_fat;
    std::vector<DWORD> m_miniFat;
    std::vector<BYTE> m_miniStream;
    std::vector<Entry> m_entries;
    bool m_damaged = false;
};
