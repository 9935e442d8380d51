// The pen settings of the JW_CAD import: a width and a colour for each of the pens 1 to 6, kept in
// the profile section "JWC" and asked of the user before a drawing or parts file is read. The
// dialog that asks lives in the application layer; it installs itself as the prompt here.
#pragma once

#include <string>

#include "platform/WinTypes.h"

class CProfile;

struct MJWCPenSettings {
    static constexpr int kPens = 6;
    static constexpr int kMaxWidth = 100;  // tenths of a millimetre
    static const COLORREF kDefaultColors[kPens];

    // Widths in tenths of a millimetre (0..100) and colours of pens 1..6 (index 0 is pen 1).
    int widths[kPens] = {0, 0, 0, 0, 0, 0};
    COLORREF colors[kPens] = {0xFFFF00, 0x000000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFF0000};

    void SetDefaults();
    // "PENWIDTH1".."PENWIDTH6" and "PENCOLOR1".."PENCOLOR6"; a width outside 0..100 is clamped and
    // a colour above kNoColor falls back to the pen's default.
    void Load(CProfile& profile);
    void Save(CProfile& profile) const;
    // Millimetres of pen 1..6; 0 for any other pen.
    double GetWidthMm(int pen) const;
    COLORREF GetColor(int pen) const;
};

// The font name of imported texts (section "JWC", key "FONT"); the default text face when unset.
std::string GetJWCFontName(CProfile& profile);

// What asks the user for the pen settings (the dialog "JW_CAD読込設定").
class MJWCSettingPrompt {
public:
    virtual ~MJWCSettingPrompt() = default;
    // settings holds the profile's values on entry. TRUE on OK, with the chosen values in settings
    // and stored in the profile; FALSE when the user cancelled.
    virtual BOOL AskPenSettings(MJWCPenSettings& settings) = 0;
};

// The program-wide prompt; null until the application installs one. Returns the previous one.
MJWCSettingPrompt* GetJWCSettingPrompt();
MJWCSettingPrompt* SetJWCSettingPrompt(MJWCSettingPrompt* prompt);

// Loads the settings from the profile and runs the prompt on them. Without a prompt (no window:
// tests, tools) the profile's values are used as they are. FALSE when the user cancelled.
BOOL AskJWCPenSettings(MJWCPenSettings& settings);
