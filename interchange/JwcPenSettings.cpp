#include "interchange/JwcPenSettings.h"

#include <algorithm>

#include "model/shapes/text/TextShapeBase.h"
#include "platform/Profile.h"
#include "platform/ProgramState.h"

namespace {
constexpr const char* kSection = "JWC";
CProgramSlot<MJWCSettingPrompt*>& PromptSlot() {
    static auto& slot = *new CProgramSlot<MJWCSettingPrompt*>;
    return slot;
}

std::string Key(const char* stem, int pen) {
    return stem + std::to_string(pen);
}
}  // namespace

const COLORREF MJWCPenSettings::kDefaultColors[kPens] = {0xFFFF00, 0x000000, 0x00FF00,
                                                         0x00FFFF, 0xFF00FF, 0xFF0000};

void MJWCPenSettings::SetDefaults() {
    for (int i = 0; i < kPens; ++i) {
        widths[i] = 0;
        colors[i] = kDefaultColors[i];
    }
}

void MJWCPenSettings::Load(CProfile& profile) {
    for (int i = 0; i < kPens; ++i) {
        widths[i] = std::clamp(profile.GetProfileInt(kSection, Key("PENWIDTH", i + 1), 0), 0, kMaxWidth);
        const int color =
            profile.GetProfileInt(kSection, Key("PENCOLOR", i + 1), static_cast<int>(kDefaultColors[i]));
        colors[i] = (color < 0 || static_cast<COLORREF>(color) > kNoColor) ? kDefaultColors[i]
                                                                           : static_cast<COLORREF>(color);
    }
}

void MJWCPenSettings::Save(CProfile& profile) const {
    for (int i = 0; i < kPens; ++i) {
        profile.WriteProfileInt(kSection, Key("PENWIDTH", i + 1), widths[i]);
        profile.WriteProfileInt(kSection, Key("PENCOLOR", i + 1), static_cast<int>(colors[i]));
    }
}

double MJWCPenSettings::GetWidthMm(int pen) const {
    return (pen >= 1 && pen <= kPens) ? widths[pen - 1] * 0.1 : 0.0;
}

COLORREF MJWCPenSettings::GetColor(int pen) const {
    return (pen >= 1 && pen <= kPens) ? colors[pen - 1] : 0;
}

std::string GetJWCFontName(CProfile& profile) {
    std::string name = profile.GetProfileString(kSection, "FONT");
    return name.empty() ? GetDefaultTextFace() : name;
}

MJWCSettingPrompt* GetJWCSettingPrompt() {
    return PromptSlot().Get();
}

MJWCSettingPrompt* SetJWCSettingPrompt(MJWCSettingPrompt* prompt) {
    return PromptSlot().Exchange(prompt);
}

BOOL AskJWCPenSettings(MJWCPenSettings& settings) {
    settings.Load(AfxGetProfile());
    MJWCSettingPrompt* prompt = GetJWCSettingPrompt();
    return prompt ? prompt->AskPenSettings(settings) : TRUE;
}
