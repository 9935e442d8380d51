#include "model/shapes/dimension/SizeFormatInfo.h"

#include <algorithm>
#include <array>
#include <vector>

#include "model/helpers/FormatNumber.h"
#include "model/shapes/dimension/SizeStyle.h"
#include "model/shapes/dimension/SizeTextLines.h"
#include "platform/Exceptions.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "resources/ResourceIds.h"

using namespace size_text;

namespace {
constexpr UINT kDefaultFormatStrings[kSizeFormatSlots] = {IDS_SIZE_FORMAT_STANDARD, IDS_SIZE_FORMAT_DEGREES,
                                                          IDS_SIZE_FORMAT_RADIUS, IDS_SIZE_FORMAT_DIAMETER};

struct SizeFormatState {
    std::vector<MSizeFormatInfo> list;
    std::array<MSizeFormatInfo, kSizeFormatSlots> current;
    bool currentSet = false;
    int listPosition = 0;
};

// Built from the string table on first use after a reset.
SizeFormatState& State() {
    static auto& slot = *new CProgramSlot<SizeFormatState>;
    return slot.Get();
}

std::vector<MSizeFormatInfo>& List() {
    SizeFormatState& s = State();
    if (s.list.empty()) InitSizeFormatList();
    return s.list;
}

void EnsureCurrent() {
    if (!State().currentSet) ResetSizeFormats();
}

void CheckSlot(int slot) {
    if (slot < 0 || slot >= kSizeFormatSlots) AfxThrowInvalidArgException();
}

// Fields separated by newlines; empty fields are kept so the field positions never shift.
std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    if (text.empty()) return fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        fields.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return fields;
}

// The first field of a string-table entry; empty when the entry is missing or holds no field.
std::string FirstField(UINT id) {
    const std::vector<std::string> fields = SplitFields(AfxLoadString(id));
    return fields.empty() ? std::string() : fields[0];
}

void WriteFormat(std::ostream& os, const MSizeFormatInfo& f) {
    WriteValueLine(os, f.m_name);
    WriteValueLine(os, f.m_prefix);
    WriteValueLine(os, f.m_suffix);
    os << '\t' << DoubleText(f.m_step) << ' ' << IntText(f.m_comma) << ' ' << IntText(f.m_keepZeros) << ' '
       << IntText(f.m_kind) << '\n';
}

bool ReadFormat(std::istream& is, MSizeFormatInfo& f) {
    std::vector<std::string> t;
    const bool ok = ReadValueLine(is, f.m_name) && ReadValueLine(is, f.m_prefix) &&
                    ReadValueLine(is, f.m_suffix) && ReadTokenLine(is, t) && t.size() >= 4 &&
                    ParseFiniteDouble(t[0], f.m_step) && f.m_step >= 0.0 && ParseInt(t[1], f.m_comma) &&
                    ParseInt(t[2], f.m_keepZeros) && ParseInt(t[3], f.m_kind);
    // An unknown kind would make an entry neither editable nor protected.
    if (f.m_kind != MSizeFormatInfo::kBuiltInFormat && f.m_kind != MSizeFormatInfo::kTemplateFormat)
        f.m_kind = MSizeFormatInfo::kUserFormat;
    return ok;
}

MSizeFormatInfo TemplateFormat() {
    return MSizeFormatInfo(AfxLoadString(IDS_SIZE_FORMAT_NEW_NAME), "", "", 0.1, FALSE, FALSE,
                           MSizeFormatInfo::kTemplateFormat);
}
}  // namespace

MSizeFormatInfo::MSizeFormatInfo(std::string name, std::string prefix, std::string suffix, double step,
                                 BOOL comma, BOOL keepZeros, int kind)
    : m_name(std::move(name)),
      m_prefix(std::move(prefix)),
      m_suffix(std::move(suffix)),
      m_step(step),
      m_comma(comma),
      m_keepZeros(keepZeros),
      m_kind(kind) {}

std::string MSizeFormatInfo::Format(double value, BOOL bPrefix, BOOL bSuffix) const {
    std::string text;
    if (bPrefix) text += m_prefix;
    text += FormatNumber(value, m_step, m_comma, m_keepZeros);
    if (bSuffix) text += m_suffix;
    return text;
}

const MSizeFormatInfo& GetCurrentSizeFormat(int slot) {
    CheckSlot(slot);
    EnsureCurrent();
    return State().current[static_cast<std::size_t>(slot)];
}

void SetCurrentSizeFormat(int slot, const MSizeFormatInfo& format) {
    CheckSlot(slot);
    EnsureCurrent();
    State().current[static_cast<std::size_t>(slot)] = format;
}

void InitSizeFormatList() {
    std::vector<MSizeFormatInfo> list;
    for (UINT id = IDS_SIZE_FORMAT_STANDARD; id < IDS_SIZE_FORMATS_END; ++id) {
        std::vector<std::string> f = SplitFields(AfxLoadString(id));
        if (f.empty() || f[0].empty()) break;
        f.resize(6);
        list.emplace_back(f[0], f[1], f[2], AtoF(f[3]), AtoI(f[4]), AtoI(f[5]),
                          MSizeFormatInfo::kBuiltInFormat);
    }
    list.push_back(TemplateFormat());
    State().list = std::move(list);
}

int GetSizeFormatCount() {
    return static_cast<int>(List().size());
}

MSizeFormatInfo GetSizeFormatAt(int index) {
    std::vector<MSizeFormatInfo>& list = List();
    if (index < 0 || index >= static_cast<int>(list.size())) AfxThrowInvalidArgException();
    return list[static_cast<std::size_t>(index)];
}

void InsertSizeFormat(int index, const MSizeFormatInfo& format) {
    std::vector<MSizeFormatInfo>& list = List();
    const std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), format);
}

void RemoveSizeFormat(int index) {
    std::vector<MSizeFormatInfo>& list = List();
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    list.erase(list.begin() + index);
}

int FindSizeFormatIndex(const std::string& name) {
    const std::vector<MSizeFormatInfo>& list = List();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].m_name == name) return static_cast<int>(i);
    return -1;
}

MSizeFormatInfo FindSizeFormat(const std::string& name) {
    const int index = FindSizeFormatIndex(name);
    return List()[index < 0 ? 0 : static_cast<std::size_t>(index)];
}

std::string GetDefaultSizeFormatName(UINT id) {
    std::string name = FirstField(id);
    return name.empty() ? FirstField(IDS_SIZE_FORMAT_STANDARD) : name;
}

int GetSizeFormatListPosition() {
    return State().listPosition;
}

void SetSizeFormatListPosition(int position) {
    State().listPosition = position;
}

void ResetSizeFormats() {
    InitSizeFormatList();
    SizeFormatState& s = State();
    for (int i = 0; i < kSizeFormatSlots; ++i)
        s.current[static_cast<std::size_t>(i)] =
            FindSizeFormat(GetDefaultSizeFormatName(kDefaultFormatStrings[i]));
    s.currentSet = true;
}

void WriteSizeSettings(std::ostream& os) {
    const std::vector<MSizeFormatInfo>& list = List();
    EnsureCurrent();
    os << '\t' << IntText(static_cast<int>(list.size())) << '\n';
    for (const MSizeFormatInfo& f : list)
        WriteFormat(os, f);
    GetDefaultSizeStyle().WriteText(os);
    for (const MSizeFormatInfo& f : State().current)
        WriteFormat(os, f);
}

BOOL ReadSizeSettings(std::istream& is) {
    std::vector<std::string> t;
    int count = 0;
    bool ok = ReadTokenLine(is, t) && !t.empty() && ParseInt(t[0], count);
    std::vector<MSizeFormatInfo> list;
    for (int i = 0; ok && i < count; ++i) {
        MSizeFormatInfo f;
        ok = ReadFormat(is, f);
        if (ok) list.push_back(std::move(f));
    }
    MSizeStyle style;
    ok = ok && style.ReadText(is);
    std::array<MSizeFormatInfo, kSizeFormatSlots> current;
    for (MSizeFormatInfo& f : current)
        ok = ok && ReadFormat(is, f);
    if (!ok) {
        is.setstate(std::ios::failbit);
        return FALSE;
    }
    // New formats go in before the template, so a list must end with one.
    if (!list.empty() && list.back().m_kind != MSizeFormatInfo::kTemplateFormat)
        list.push_back(TemplateFormat());
    SizeFormatState& s = State();
    s.list = std::move(list);
    s.current = std::move(current);
    s.currentSet = true;
    GetDefaultSizeStyle() = style;
    return TRUE;
}
