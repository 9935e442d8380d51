// The profile values the program reads at start, on arbitrary text: line i of the input is the value
// of the i-th entry below (an empty line leaves that entry out). Options, default paper and grid, the
// JW_CAD pens and fonts, the recent files and the window placement must each come out usable (or
// fall back to their defaults), never crash or overflow.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/RecentFileList.h"
#include "app/WindowPlacement.h"
#include "document/PaperSettings.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfReader.h"
#include "interchange/JwcPenSettings.h"
#include "model/settings/OptionRecord.h"
#include "platform/Profile.h"
#include "platform/Strings.h"

namespace {

struct Entry {
    const char* section;
    const char* entry;
};

const Entry kEntries[] = {
    {"OPION", "DRAWLIMIT"},
    {"OPION", "UNDOCOUNT"},
    {"OPION", "FONTNAME"},
    {"OPION", "INTERCEPT"},
    {"OPION", "SHOW"},
    {"OPION", "SNAP"},
    {"OPION", "LAYER"},
    {"OPION", "SAVECOMPRESS"},
    {"OPION", "DRAWSELECTEDSHAPE"},
    {"OPION", "SAVEBACKUPMODE"},
    {"OPION", "BMPHALFTONE"},
    {"OPION", "METAFILERES"},
    {"PAPERSIZE", "NAME"},
    {"PAPERSIZE", "SIZE"},
    {"PAPERSIZE", "WIDTH"},
    {"PAPERSIZE", "HEIGHT"},
    {"PAPERSCALE", "NAME"},
    {"PAPERSCALE", "SCALE"},
    {"PAPERINFO", "HORIZONTAL"},
    {"PAPER", "GRIDWIDTH"},
    {"PAPER", "GRIDHEIGHT"},
    {"JWC", "PENWIDTH1"},
    {"JWC", "PENCOLOR1"},
    {"JWC", "PENWIDTH6"},
    {"JWC", "PENCOLOR6"},
    {"JWC", "FONT"},
    {"DXF", "FONT"},
    {"Recent File List", "File1"},
    {"Recent File List", "File2"},
    {"Recent File List", "File3"},
    {"Recent File List", "File4"},
    {"Settings", "WindowPos"},
    {"PRINT", "BLACKWHITE"},
};

bool Initialise() {
    AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDOK; });
    GetPaperSizeTable();
    GetPaperScaleTable();
    return true;
}

std::unique_ptr<CProfile> ProfileOf(std::string_view text) {
    auto profile = CreateMemoryProfile();
    std::size_t at = 0;
    for (const Entry& e : kEntries) {
        if (at > text.size()) break;
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view value = text.substr(at, end - at);
        if (!value.empty()) profile->WriteProfileString(e.section, e.entry, value);
        at = end + 1;
    }
    return profile;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool initialised = Initialise();
    static MTessarayDoc doc;
    (void)initialised;
    // The settings file gives its values as valid UTF-8, whatever bytes it holds.
    const std::string text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).toStdString();
    std::unique_ptr<CProfile> previous = AfxSetProfile(ProfileOf(text));
    CProfile& profile = AfxGetProfile();

    MOptionRecord options;
    options.LoadOptions(profile);
    LoadDefaultPaper(profile);
    MPaperInfo paper(GetDefaultPaperSize(), GetDefaultPaperScale(), GetDefaultPaper().horizontal,
                     MPaperInfo::kOriginBottomLeft);
    paper.GetScale();
    MJWCPenSettings pens;
    pens.Load(profile);
    for (int pen = 0; pen <= MJWCPenSettings::kPens + 1; ++pen)
        pens.GetWidthMm(pen), pens.GetColor(pen);
    GetJWCFontName(profile);
    MDXFReader reader(doc);

    MRecentFileList recent(4);
    recent.ReadList(profile);
    for (std::size_t i = 0; i < recent.GetSize(); ++i)
        recent.GetMenuText(i);

    if (const auto placement = MWindowPlacement::Parse(profile.GetProfileString("Settings", "WindowPos"))) {
        placement->FitToScreens({CRect(0, 0, 1920, 1080), CRect(-1280, 0, 0, 1024)});
        placement->Format();
    }
    AfxSetProfile(std::move(previous));
    return 0;
}
