// The program-wide user options, kept in the profile section "OPION". Readers take the fields
// directly at the moment of use; nothing is notified of a change.
#pragma once

#include <string>

#include "platform/WinTypes.h"

class CProfile;

class MOptionRecord {
public:
    // Display flags of m_show, as the view's commands toggle them.
    enum : WORD { kShowGrid = 1, kShowOrigin = 2, kShowPrintArea = 4 };
    // Ranges the option dialog allows; loading keeps values inside them.
    static constexpr int kMaxUndoCount = 1000;
    static constexpr int kMaxDrawLimit = 1000;

    MOptionRecord();

    // Reads section "OPION" with the load defaults and corrects values out of range.
    void LoadOptions(CProfile& profile);
    void LoadOptions();
    // Writes every field back to section "OPION".
    void SaveOptions(CProfile& profile) const;
    void SaveOptions() const;

    bool operator==(const MOptionRecord&) const = default;

    int m_drawLimit;          // DRAWLIMIT: shapes still drawn while dragging
    int m_undoCount;          // UNDOCOUNT: capacity of the undo and redo rings
    std::string m_fontName;   // FONTNAME: initial font of the text tools
    int m_intercept;          // INTERCEPT: the tools' pick-mode word
    WORD m_show;              // SHOW: display flags
    WORD m_snap;              // SNAP: enabled snap kinds (model/SnapPoint.h)
    WORD m_layer;             // LAYER: display mode of the other layers
    int m_saveCompress;       // SAVECOMPRESS: deflate binary blocks in text files
    int m_drawSelectedShape;  // DRAWSELECTEDSHAPE: 0 plain, 1 marked, 2 marked with a wide pass
    int m_saveBackupMode;     // SAVEBACKUPMODE: 0 normal, 1 keep a backup, 2 safe save
    int m_bmpHalftone;        // BMPHALFTONE: stretch bitmaps with interpolation
    int m_metafileRes;        // METAFILERES: metafiles at printer resolution
};

// The one option record of the program.
MOptionRecord& GetOptionRecord();
