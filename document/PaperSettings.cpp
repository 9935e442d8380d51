#include "document/PaperSettings.h"

#include <cmath>

#include "platform/Profile.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "resources/ResourceIds.h"

namespace {

// Far more than the string table holds; only guards against a table without its end mark.
constexpr int kMaxTableEntries = 64;

// The fields of a string-table entry: the texts between "\n" separators, empty ones skipped.
std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) fields.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

bool IsPositive(double v) {
    return std::isfinite(v) && v > 0.0;
}

// A number the profile keeps as text. Text that is no number reads as 0, as atof does.
double ProfileNumber(CProfile& profile, const char* section, const char* entry, const char* defaultText) {
    return AtoF(profile.GetProfileString(section, entry, defaultText));
}

double LoadGridPitch(CProfile& profile, const char* entry) {
    const double v = ProfileNumber(profile, "PAPER", entry, "1000");
    if (!std::isfinite(v)) return 1000.0;
    return v <= 0.0 ? 1.0 : v;
}

int IndexOrMinusOne(int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size ? index : -1;
}

MDefaultPaper StartingDefaults() {
    MDefaultPaper d;
    const auto& sizes = GetPaperSizeTable();
    const auto& scales = GetPaperScaleTable();
    d.sizeIndex = IndexOrMinusOne(AtoI(AfxLoadString(IDS_DEFAULT_PAPER_SIZE)), sizes.size());
    d.scaleIndex = IndexOrMinusOne(AtoI(AfxLoadString(IDS_DEFAULT_PAPER_SCALE)), scales.size());
    d.scale = d.scaleIndex >= 0 ? scales[static_cast<std::size_t>(d.scaleIndex)].m_scale
                                : MPaperScaleInfo().m_scale;
    return d;
}

}  // namespace

BOOL ParsePaperSizeEntry(const std::string& text, MPaperSizeInfo& out) {
    const std::vector<std::string> f = Fields(text);
    if (f.size() < 4) return FALSE;
    const MPaperSizeInfo entry(f[0], f[1], AtoF(f[2]), AtoF(f[3]));
    if (!entry.IsValid()) return FALSE;
    out = entry;
    return TRUE;
}

BOOL ParsePaperScaleEntry(const std::string& text, MPaperScaleInfo& out) {
    const std::vector<std::string> f = Fields(text);
    if (f.size() < 2) return FALSE;
    const MPaperScaleInfo entry(f[0], AtoF(f[1]));
    if (!entry.IsValid()) return FALSE;
    out = entry;
    return TRUE;
}

const std::vector<MPaperSizeInfo>& GetPaperSizeTable() {
    static const std::vector<MPaperSizeInfo> table = [] {
        std::vector<MPaperSizeInfo> t;
        MPaperSizeInfo entry;
        for (int i = 0; i < kMaxTableEntries && ParsePaperSizeEntry(AfxLoadString(IDS_PAPER_A0 + i), entry);
             ++i)
            t.push_back(entry);
        return t;
    }();
    return table;
}

const std::vector<MPaperScaleInfo>& GetPaperScaleTable() {
    static const std::vector<MPaperScaleInfo> table = [] {
        std::vector<MPaperScaleInfo> t;
        MPaperScaleInfo entry;
        for (int i = 0;
             i < kMaxTableEntries && ParsePaperScaleEntry(AfxLoadString(IDS_SCALE_1_200 + i), entry); ++i)
            t.push_back(entry);
        return t;
    }();
    return table;
}

MDefaultPaper& GetDefaultPaper() {
    static auto& slot = *new CProgramSlot<MDefaultPaper>(StartingDefaults);
    return slot.Get();
}

void SetDefaultPaper(const MPaperInfo& paper) {
    MDefaultPaper& d = GetDefaultPaper();
    const auto& sizes = GetPaperSizeTable();
    const auto& scales = GetPaperScaleTable();
    d.sizeIndex = -1;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        if (sizes[i] == paper.GetSizeInfo()) {
            d.sizeIndex = static_cast<int>(i);
            break;
        }
    d.scaleIndex = -1;
    for (std::size_t i = 0; i < scales.size(); ++i)
        if (scales[i] == paper.GetScaleInfo()) {
            d.scaleIndex = static_cast<int>(i);
            break;
        }
    d.scale = paper.GetScale();
    d.horizontal = paper.GetHorizontal();
}

MPaperSizeInfo GetDefaultPaperSize() {
    const MDefaultPaper& d = GetDefaultPaper();
    const auto& sizes = GetPaperSizeTable();
    if (sizes.empty()) return MPaperSizeInfo();
    const int index = IndexOrMinusOne(d.sizeIndex, sizes.size());
    return sizes[index >= 0 ? static_cast<std::size_t>(index) : 0];
}

MPaperScaleInfo GetDefaultPaperScale() {
    const MDefaultPaper& d = GetDefaultPaper();
    const auto& scales = GetPaperScaleTable();
    const int index = IndexOrMinusOne(d.scaleIndex, scales.size());
    if (index >= 0) return scales[static_cast<std::size_t>(index)];
    // The dialog and the profile keep the factor positive; a damaged one falls back to the default.
    if (!IsPositive(d.scale)) return MPaperScaleInfo();
    return MPaperScaleInfo(FormatG(d.scale), d.scale);
}

MPaperSizeInfo ReadPaperSizeProfile(CProfile& profile) {
    MPaperSizeInfo size(profile.GetProfileString("PAPERSIZE", "NAME", "A4"),
                        profile.GetProfileString("PAPERSIZE", "SIZE", "297mm×210mm"),
                        ProfileNumber(profile, "PAPERSIZE", "WIDTH", "297"),
                        ProfileNumber(profile, "PAPERSIZE", "HEIGHT", "210"));
    return size.IsValid() ? size : MPaperSizeInfo();
}

MPaperScaleInfo ReadPaperScaleProfile(CProfile& profile) {
    MPaperScaleInfo scale(profile.GetProfileString("PAPERSCALE", "NAME", "1 : 100"),
                          ProfileNumber(profile, "PAPERSCALE", "SCALE", "0.01"));
    return scale.IsValid() ? scale : MPaperScaleInfo();
}

MPaperInfo ReadPaperProfile(CProfile& profile) {
    return MPaperInfo(ReadPaperSizeProfile(profile), ReadPaperScaleProfile(profile),
                      profile.GetProfileInt("PAPERINFO", "HORIZONTAL", 1), MPaperInfo::kOriginBottomLeft);
}

void WritePaperSizeProfile(CProfile& profile, const MPaperSizeInfo& size) {
    profile.WriteProfileString("PAPERSIZE", "NAME", size.m_name);
    profile.WriteProfileString("PAPERSIZE", "SIZE", size.m_sizeText);
    profile.WriteProfileString("PAPERSIZE", "WIDTH", FormatG(size.m_width));
    profile.WriteProfileString("PAPERSIZE", "HEIGHT", FormatG(size.m_height));
}

void WritePaperScaleProfile(CProfile& profile, const MPaperScaleInfo& scale) {
    profile.WriteProfileString("PAPERSCALE", "NAME", scale.m_name);
    profile.WriteProfileString("PAPERSCALE", "SCALE", FormatG(scale.m_scale));
}

void WritePaperProfile(CProfile& profile, const MPaperInfo& paper) {
    WritePaperSizeProfile(profile, paper.GetSizeInfo());
    WritePaperScaleProfile(profile, paper.GetScaleInfo());
    profile.WriteProfileInt("PAPERINFO", "HORIZONTAL", paper.GetHorizontal());
}

void LoadDefaultPaper(CProfile& profile) {
    SetDefaultPaper(ReadPaperProfile(profile));
    MDefaultPaper& d = GetDefaultPaper();
    d.gridWidth = LoadGridPitch(profile, "GRIDWIDTH");
    d.gridHeight = LoadGridPitch(profile, "GRIDHEIGHT");
}

void LoadDefaultPaper() {
    LoadDefaultPaper(AfxGetProfile());
}

void SaveDefaultPaper(CProfile& profile) {
    const MDefaultPaper& d = GetDefaultPaper();
    WritePaperProfile(profile, MPaperInfo(GetDefaultPaperSize(), GetDefaultPaperScale(), d.horizontal,
                                          MPaperInfo::kOriginBottomLeft));
    profile.WriteProfileString("PAPER", "GRIDHEIGHT", FormatG(d.gridHeight));
    profile.WriteProfileString("PAPER", "GRIDWIDTH", FormatG(d.gridWidth));
}

void SaveDefaultPaper() {
    SaveDefaultPaper(AfxGetProfile());
}
