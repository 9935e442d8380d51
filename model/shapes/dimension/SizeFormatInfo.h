// Number formats of dimension texts, the program-wide list of named formats and the four current
// formats (linear, angle, radius, diameter) that dimension shapes and measuring dialogs use.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "platform/WinTypes.h"

class MSizeFormatInfo {
public:
    enum Kind { kUserFormat = 0, kBuiltInFormat = 1, kTemplateFormat = -1 };

    MSizeFormatInfo() = default;
    MSizeFormatInfo(std::string name, std::string prefix, std::string suffix, double step, BOOL comma,
                    BOOL keepZeros, int kind);

    // The prefix (when bPrefix), the value rounded to a multiple of the step with the record's
    // separators and decimals, then the suffix (when bSuffix). Numbers are in the C locale.
    std::string Format(double value, BOOL bPrefix, BOOL bSuffix) const;

    bool operator==(const MSizeFormatInfo&) const = default;

    std::string m_name;        // formats are found by it
    std::string m_prefix;      // "ヘッダ"
    std::string m_suffix;      // "フッタ"
    double m_step = 0.1;       // "丸め": rounding step, also fixes the decimals; 0 counts as 0.000001
    BOOL m_comma = FALSE;      // "," between groups of three integer digits
    BOOL m_keepZeros = FALSE;  // keep trailing zeros of the decimals
    int m_kind = kUserFormat;
};

// The four current formats, in their order in the drawing file.
enum SizeFormatSlot { SIZEFORMAT_LINEAR = 0, SIZEFORMAT_ANGLE, SIZEFORMAT_RADIUS, SIZEFORMAT_DIAMETER };
constexpr int kSizeFormatSlots = 4;

// The current format of a slot (0..3; others raise CInvalidArgException). The records live for the
// whole run, so a reference stays valid; their values change through ResetSizeFormats,
// ReadSizeSettings and SetCurrentSizeFormat. Before the first reset they hold the defaults.
const MSizeFormatInfo& GetCurrentSizeFormat(int slot);
void SetCurrentSizeFormat(int slot, const MSizeFormatInfo& format);

// The format list. Every reader of the list builds it from the string table first when it is empty.
// Entries are handed out as copies, since the list is rebuilt and edited while callers hold them.
void InitSizeFormatList();
int GetSizeFormatCount();
// An index outside the list raises CInvalidArgException.
MSizeFormatInfo GetSizeFormatAt(int index);
// Inserts before index (appends when index is at or past the end; negative counts as 0).
void InsertSizeFormat(int index, const MSizeFormatInfo& format);
// Nothing for an index outside the list.
void RemoveSizeFormat(int index);
// Index of the entry with exactly that name, or -1.
int FindSizeFormatIndex(const std::string& name);
// The entry with that name, or the first entry when none has it.
MSizeFormatInfo FindSizeFormat(const std::string& name);
// The first newline-separated field of string id; that of string 62682 when id has none.
std::string GetDefaultSizeFormatName(UINT id);
// The list entry that the format dialog last selected (0 at start; the dialog alone sets it).
int GetSizeFormatListPosition();
void SetSizeFormatListPosition(int position);

// Rebuilds the list from the string table and sets the four current formats to the entries named by
// strings 62682, 62685, 62687 and 62689. At start-up and for every new drawing.
void ResetSizeFormats();

// The body of the "SIZE" block of a drawing's tool settings: the list, the program-wide dimension
// style (GetDefaultSizeStyle) and the four current formats.
void WriteSizeSettings(std::ostream& os);
// Reads that body. The block is taken whole or not at all: when a line is missing or a number is
// damaged, failbit is set, FALSE is returned and the list, style and current formats keep their
// values. A list count of 0 or less leaves the list empty, so its next use rebuilds the defaults.
BOOL ReadSizeSettings(std::istream& is);
