// The built-in paper sizes and scales (from the string table) and the remembered default paper
// that new drawings and the paper dialog use, kept in the profile between runs.
#pragma once

#include <vector>

#include "model/PaperInfo.h"

class CProfile;

// The built-in tables, read from the string table on first use.
const std::vector<MPaperSizeInfo>& GetPaperSizeTable();
const std::vector<MPaperScaleInfo>& GetPaperScaleTable();

// Parses one string-table entry: name, size text, width and height separated by "\n". FALSE when
// the text holds no field at all (the end of the table) or when the entry is incomplete or its
// size not positive.
BOOL ParsePaperSizeEntry(const std::string& text, MPaperSizeInfo& out);
// Name and factor separated by "\n"; as above.
BOOL ParsePaperScaleEntry(const std::string& text, MPaperScaleInfo& out);

// The remembered default paper. The paper dialog edits these fields directly.
struct MDefaultPaper {
    int sizeIndex = 3;           // into the size table; -1 when the size is not in the table
    int scaleIndex = 1;          // into the scale table; -1 when the scale is not in the table
    double scale = 0.01;         // the factor, also when it is not in the table
    int horizontal = 1;          // 1 landscape, 0 portrait
    double gridWidth = 1000.0;   // drawing units
    double gridHeight = 1000.0;  // drawing units
};

// The program's remembered default paper; the first use starts it at the table defaults (string
// entries 62675 and 62676).
MDefaultPaper& GetDefaultPaper();

// Remembers the size and scale of a paper by their table indices (first exactly equal entry, else
// -1), its scale factor and its orientation.
void SetDefaultPaper(const MPaperInfo& paper);
// The size entry at the default index; table entry 0 when the size is not in the table.
MPaperSizeInfo GetDefaultPaperSize();
// The scale entry at the default index; when the scale is not in the table, an entry named by the
// factor ("%g") and holding it.
MPaperScaleInfo GetDefaultPaperScale();

// Reads the profile's paper (sections "PAPERSIZE", "PAPERSCALE", "PAPERINFO"), remembers it with
// SetDefaultPaper, then reads the grid ("PAPER"). Damaged values fall back to the defaults.
void LoadDefaultPaper(CProfile& profile);
void LoadDefaultPaper();
// Writes the paper made of the defaults (origin bottom left) and the grid to the profile.
void SaveDefaultPaper(CProfile& profile);
void SaveDefaultPaper();

// Profile readers and writers of the paper records. The numbers are written with "%g".
MPaperSizeInfo ReadPaperSizeProfile(CProfile& profile);
MPaperScaleInfo ReadPaperScaleProfile(CProfile& profile);
MPaperInfo ReadPaperProfile(CProfile& profile);
void WritePaperSizeProfile(CProfile& profile, const MPaperSizeInfo& size);
void WritePaperScaleProfile(CProfile& profile, const MPaperScaleInfo& scale);
void WritePaperProfile(CProfile& profile, const MPaperInfo& paper);
