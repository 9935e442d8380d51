#include "model/settings/OptionRecord.h"

#include "platform/Profile.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"

namespace {

constexpr const char* kSection = "OPION";

// A switch stored as an int: anything but 0 is on.
int AsSwitch(int value) {
    return value != 0 ? 1 : 0;
}

}  // namespace

MOptionRecord::MOptionRecord()
    : m_drawLimit(100),
      m_undoCount(4),
      m_fontName("ＭＳ ゴシック"),
      m_intercept(1),
      m_show(7),
      m_snap(31),
      m_layer(12),
      m_saveCompress(1),
      m_drawSelectedShape(1),
      m_saveBackupMode(2),
      m_bmpHalftone(0),
      m_metafileRes(0) {}

void MOptionRecord::LoadOptions(CProfile& profile) {
    m_drawLimit = profile.GetProfileInt(kSection, "DRAWLIMIT", 100);
    if (m_drawLimit <= 0) m_drawLimit = 100;
    if (m_drawLimit > kMaxDrawLimit) m_drawLimit = kMaxDrawLimit;

    // The undo rings are allocated at this capacity, so a damaged value must not reach them.
    m_undoCount = profile.GetProfileInt(kSection, "UNDOCOUNT", 8);
    if (m_undoCount <= 0) m_undoCount = 8;
    if (m_undoCount > kMaxUndoCount) m_undoCount = kMaxUndoCount;

    m_fontName = profile.GetProfileString(kSection, "FONTNAME", "");
    if (m_fontName.empty()) m_fontName = AfxLoadString(IDS_DEFAULT_FONT);

    // Only the inside and crossing bits are a user's choice: 0 would make rubber bands pick
    // nothing, and 0x80 (a tool's fixed mode) would leave the crossing command disabled for good.
    m_intercept = profile.GetProfileInt(kSection, "INTERCEPT", 1) & 0x3;
    if (m_intercept == 0) m_intercept = 1;
    m_show = static_cast<WORD>(profile.GetProfileInt(kSection, "SHOW", 7));
    m_snap = static_cast<WORD>(profile.GetProfileInt(kSection, "SNAP", 31));
    m_layer = static_cast<WORD>(profile.GetProfileInt(kSection, "LAYER", 12));
    m_saveCompress = AsSwitch(profile.GetProfileInt(kSection, "SAVECOMPRESS", 1));

    m_drawSelectedShape = profile.GetProfileInt(kSection, "DRAWSELECTEDSHAPE", 1);
    if (m_drawSelectedShape < 0 || m_drawSelectedShape > 2) m_drawSelectedShape = 1;
    // An unknown save mode falls back to the safe one rather than to plain overwriting.
    m_saveBackupMode = profile.GetProfileInt(kSection, "SAVEBACKUPMODE", 2);
    if (m_saveBackupMode < 0 || m_saveBackupMode > 2) m_saveBackupMode = 2;

    m_bmpHalftone = AsSwitch(profile.GetProfileInt(kSection, "BMPHALFTONE", 0));
    m_metafileRes = AsSwitch(profile.GetProfileInt(kSection, "METAFILERES", 0));
}

void MOptionRecord::LoadOptions() {
    LoadOptions(AfxGetProfile());
}

void MOptionRecord::SaveOptions(CProfile& profile) const {
    profile.WriteProfileInt(kSection, "DRAWLIMIT", m_drawLimit);
    profile.WriteProfileInt(kSection, "UNDOCOUNT", m_undoCount);
    profile.WriteProfileString(kSection, "FONTNAME", m_fontName);
    profile.WriteProfileInt(kSection, "INTERCEPT", m_intercept);
    profile.WriteProfileInt(kSection, "SHOW", m_show);
    profile.WriteProfileInt(kSection, "SNAP", m_snap);
    profile.WriteProfileInt(kSection, "LAYER", m_layer);
    profile.WriteProfileInt(kSection, "SAVECOMPRESS", m_saveCompress);
    profile.WriteProfileInt(kSection, "DRAWSELECTEDSHAPE", m_drawSelectedShape);
    profile.WriteProfileInt(kSection, "SAVEBACKUPMODE", m_saveBackupMode);
    profile.WriteProfileInt(kSection, "BMPHALFTONE", m_bmpHalftone);
    profile.WriteProfileInt(kSection, "METAFILERES", m_metafileRes);
}

void MOptionRecord::SaveOptions() const {
    SaveOptions(AfxGetProfile());
}

MOptionRecord& GetOptionRecord() {
    static auto& slot = *new CProgramSlot<MOptionRecord>;
    return slot.Get();
}
