#include "view/ole/OleItemRecord.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Cp932.h"

namespace {

constexpr BYTE kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr DWORD kEndOfChain = 0xFFFFFFFE;
constexpr DWORD kMaxRegular = 0xFFFFFFFA;
constexpr std::size_t kHeaderDifat = 109;
constexpr std::size_t kEntrySize = 128;
constexpr DWORD kNoStream = 0xFFFFFFFF;
constexpr BYTE kTypeStream = 2;
constexpr BYTE kTypeRoot = 5;
constexpr DWORD kCfBitmap = 2;
constexpr DWORD kCfDib = 8;

DWORD Get32(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}
WORD Get16(const BYTE* p) {
    return WORD(p[0] | p[1] << 8);
}

// A cursor over a stream's bytes; reads past the end fail and stay failed.
class Reader {
public:
    explicit Reader(const std::vector<BYTE>& b) : m_b(b) {}
    bool ok() const { return m_ok; }
    DWORD U32() {
        if (!Need(4)) return 0;
        const DWORD v = Get32(m_b.data() + m_at);
        m_at += 4;
        return v;
    }
    void Skip(std::size_t n) {
        if (Need(n)) m_at += n;
    }
    // A length-prefixed code-page string (the length counts the closing NUL).
    std::string Ansi() {
        const DWORD n = U32();
        if (!m_ok || n == 0) return {};
        if (!Need(n)) return {};
        std::string s(reinterpret_cast<const char*>(m_b.data() + m_at), n);
        m_at += n;
        s = s.substr(0, s.find('\0'));
        return s;
    }
    // A clipboard format: none (0), a standard id, or a registered name (returned in name).
    DWORD Format(std::string* name) {
        const DWORD marker = U32();
        if (!m_ok || marker == 0) return 0;
        if (marker == 0xFFFFFFFF || marker == 0xFFFFFFFE) return U32();
        if (!Need(marker)) return 0;
        if (name) *name = std::string(reinterpret_cast<const char*>(m_b.data() + m_at), marker);
        m_at += marker;
        return 0xC000;
    }
    const BYTE* Here() const { return m_b.data() + m_at; }
    bool Need(std::size_t n) {
        if (!m_ok || n > m_b.size() - m_at) m_ok = false;
        return m_ok;
    }

private:
    const std::vector<BYTE>& m_b;
    std::size_t m_at = 0;
    bool m_ok = true;
};

std::string FromCodePage(const std::string& s) {
    if (s.empty()) return s;
    try {
        return Cp932ToUtf8(s);
    } catch (...) {
        return {};
    }
}

}  // namespace

const BYTE* MCompoundFile::Sector(DWORD index) const {
    if (index > kMaxRegular) return nullptr;
    const std::size_t at = (static_cast<std::size_t>(index) + 1) * m_sectorSize;
    if (at > m_size || m_size - at < m_sectorSize) return nullptr;
    return m_data + at;
}

std::size_t MCompoundFile::SectorCount() const {
    return m_size / m_sectorSize > 0 ? m_size / m_sectorSize - 1 : 0;  // the header takes one
}

template <class Take>
bool MCompoundFile::WalkChain(DWORD start, const std::vector<DWORD>& table, std::size_t units,
                              std::size_t maxSteps, Take take) const {
    // A unit seen twice would loop; one outside the table or the record cannot be read.
    std::vector<bool> seen(std::min(units, table.size()), false);
    DWORD s = start;
    for (std::size_t steps = 0; steps < maxSteps && s != kEndOfChain; ++steps) {
        if (s >= seen.size() || seen[s]) return false;
        seen[s] = true;
        if (!take(s)) return false;
        s = table[s];
    }
    return true;
}

bool MCompoundFile::ReadChain(DWORD start, const std::vector<DWORD>& table, std::size_t unit, bool mini,
                              std::uint64_t bytes, std::vector<BYTE>& out) const {
    out.clear();
    // Every unit of a chain is a different unit of the record, so no stream is longer than they are.
    const std::size_t units = mini ? m_miniStream.size() / unit : SectorCount();
    if (bytes > kMaxOleStream || bytes > std::uint64_t(units) * unit) return false;
    out.reserve(static_cast<std::size_t>(bytes));
    const std::size_t steps = static_cast<std::size_t>((bytes + unit - 1) / unit);
    const bool whole = WalkChain(start, table, units, steps, [&](DWORD s) {
        const BYTE* p = mini ? m_miniStream.data() + static_cast<std::size_t>(s) * unit : Sector(s);
        if (!p) return false;
        const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(unit, bytes - out.size()));
        out.insert(out.end(), p, p + take);
        return true;
    });
    if (whole && out.size() == bytes) return true;
    out.clear();
    return false;
}

bool MCompoundFile::Open(const BYTE* data, std::size_t size) {
    m_data = data;
    m_size = size;
    m_fat.clear(), m_miniFat.clear(), m_miniStream.clear(), m_entries.clear();
    m_damaged = false;
    if (!data || size < 512 || std::memcmp(data, kSignature, 8) != 0) return false;
    if (Get16(data + 28) != 0xFFFE) return false;
    const WORD shift = Get16(data + 30), miniShift = Get16(data + 32);
    if ((shift != 9 && shift != 12) || miniShift != 6) return false;
    m_sectorSize = std::size_t(1) << shift;
    m_miniSize = std::size_t(1) << miniShift;
    m_cutoff = Get32(data + 56);
    const std::size_t sectors = size / m_sectorSize;  // an upper bound of every table
    const std::size_t perSector = m_sectorSize / 4;

    // The FAT's sectors: 109 in the header, more in a chain of DIFAT sectors. Entries past the
    // record's sectors name nothing a chain may use, so the table ends there, however many FAT
    // sectors the header lists.
    std::vector<DWORD> fatSectors;
    const DWORD fatCount = Get32(data + 44);
    if (fatCount > sectors) return false;
    const std::size_t needed = std::min<std::size_t>(fatCount, (SectorCount() + perSector - 1) / perSector);
    for (std::size_t i = 0; i < kHeaderDifat && fatSectors.size() < needed; ++i)
        fatSectors.push_back(Get32(data + 76 + 4 * i));
    DWORD difat = Get32(data + 68);
    for (std::size_t steps = 0; fatSectors.size() < needed; ++steps) {
        const BYTE* p = Sector(difat);
        if (!p || steps > sectors) return false;
        for (std::size_t i = 0; i + 1 < perSector && fatSectors.size() < needed; ++i)
            fatSectors.push_back(Get32(p + 4 * i));
        difat = Get32(p + 4 * (perSector - 1));
    }
    for (DWORD fs : fatSectors) {
        const BYTE* p = Sector(fs);
        if (!p) return false;
        for (std::size_t i = 0; i < perSector && m_fat.size() < SectorCount(); ++i)
            m_fat.push_back(Get32(p + 4 * i));
    }

    // The directory. A damaged chain ends it: the entries read so far may still name the object.
    std::vector<BYTE> dir;
    m_damaged = !WalkChain(Get32(data + 48), m_fat, SectorCount(), SectorCount(), [&](DWORD s) {
        const BYTE* p = Sector(s);
        if (!p) return false;
        dir.insert(dir.end(), p, p + m_sectorSize);
        return true;
    });
    for (std::size_t at = 0; at + kEntrySize <= dir.size(); at += kEntrySize) {
        const BYTE* e = dir.data() + at;
        Entry entry;
        const WORD nameBytes = std::min<WORD>(Get16(e + 64), 64);
        for (std::size_t i = 0; i + 1 < nameBytes; i += 2) {
            const char16_t c = static_cast<char16_t>(Get16(e + i));
            if (!c) break;
            entry.name.push_back(c);
        }
        entry.type = e[66];
        entry.left = Get32(e + 68), entry.right = Get32(e + 72), entry.child = Get32(e + 76);
        std::memcpy(entry.clsid, e + 80, 16);
        entry.start = Get32(e + 116);
        entry.size = Get32(e + 120);
        // Version 3 files keep only the low word of the size.
        if (shift == 12) entry.size |= std::uint64_t(Get32(e + 124)) << 32;
        m_entries.push_back(entry);
    }
    if (m_entries.empty() || m_entries[0].type != kTypeRoot) return false;

    // The mini stream (the root's data) and its allocation table; when either is damaged, the
    // streams kept in it cannot be read, but the root's class id still names the object.
    const Entry& root = m_entries[0];
    std::vector<BYTE> miniFatBytes;
    const DWORD miniFatCount = Get32(data + 64);
    if ((root.size > 0 && !ReadChain(root.start, m_fat, m_sectorSize, false, root.size, m_miniStream)) ||
        (miniFatCount && !ReadChain(Get32(data + 60), m_fat, m_sectorSize, false,
                                    std::uint64_t(miniFatCount) * m_sectorSize, miniFatBytes))) {
        m_damaged = true;
        m_miniStream.clear();
        return true;
    }
    for (std::size_t i = 0; i + 4 <= miniFatBytes.size(); i += 4)
        m_miniFat.push_back(Get32(miniFatBytes.data() + i));
    return true;
}

bool MCompoundFile::ReadRootStream(const std::u16string& name, std::vector<BYTE>& out) const {
    if (m_entries.empty()) return false;
    // The root's children form a tree through their left and right siblings.
    std::vector<DWORD> pending{m_entries[0].child};
    std::vector<bool> seen(m_entries.size(), false);
    while (!pending.empty()) {
        const DWORD i = pending.back();
        pending.pop_back();
        if (i == kNoStream || i >= m_entries.size() || seen[i]) continue;
        seen[i] = true;
        const Entry& e = m_entries[i];
        pending.push_back(e.left);
        pending.push_back(e.right);
        if (e.type != kTypeStream || e.name != name) continue;
        if (e.size < m_cutoff) return ReadChain(e.start, m_miniFat, m_miniSize, true, e.size, out);
        return ReadChain(e.start, m_fat, m_sectorSize, false, e.size, out);
    }
    return false;
}

std::string MCompoundFile::RootClassId() const {
    if (m_entries.empty()) return {};
    const BYTE* c = m_entries[0].clsid;
    if (std::all_of(c, c + 16, [](BYTE b) { return b == 0; })) return {};
    char text[40];
    std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", Get32(c),
                  Get16(c + 4), Get16(c + 6), c[8], c[9], c[10], c[11], c[12], c[13], c[14], c[15]);
    return text;
}

MOleItemPresentation ReadOleItemPresentation(const BYTE* record, std::size_t size) {
    MOleItemPresentation result;
    if (!record || size < 8) return result;
    // The storage sits somewhere inside the container's record: find it by its signature.
    const BYTE* found = std::search(record, record + size, kSignature, kSignature + 8);
    if (found == record + size) return result;
    MCompoundFile file;
    if (!file.Open(found, size - static_cast<std::size_t>(found - record))) return result;

    std::vector<BYTE> compObj;
    if (file.ReadRootStream(u"\u0001CompObj", compObj)) {
        Reader r(compObj);
        r.Skip(28);
        const std::string userType = r.Ansi();
        std::string formatName;
        r.Format(&formatName);
        const std::string progId = r.ok() ? r.Ansi() : std::string();
        result.className = FromCodePage(!userType.empty() ? userType : progId);
    }
    if (result.className.empty()) result.className = file.RootClassId();

    std::vector<BYTE> pres;
    if (file.ReadRootStream(u"\u0002OlePres000", pres)) {
        Reader r(pres);
        const DWORD format = r.Format(nullptr);
        const DWORD targetSize = r.U32();
        if (targetSize >= 4) r.Skip(targetSize - 4);
        r.Skip(16);  // aspect, lindex, advise flags, reserved
        const LONG width = static_cast<LONG>(r.U32());
        const LONG height = static_cast<LONG>(r.U32());
        const DWORD bytes = r.U32();
        if (r.ok()) {
            result.format = format;
            result.width = width;
            result.height = height;
            if ((format == kCfDib || format == kCfBitmap) && r.Need(bytes))
                result.dib.assign(r.Here(), r.Here() + bytes);
        }
    }
    return result;
}
