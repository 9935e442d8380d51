// The program-wide table of line styles. A line-style word indexes it with its low 7 bits; bit
// 0x80 marks an auxiliary line. The table is built once and never changes afterwards.
#pragma once

#include <string>
#include <vector>

#include "model/geometry/FloatPointArray.h"

class MLineStyle {
public:
    MLineStyle() = default;
    MLineStyle(std::string name, std::string picture);

    // Sum of the absolute dash and gap lengths in millimetres; 0 for the continuous style.
    double GetPatternLength() const;
    // The continuous style: its dash list holds a single 0 (an empty list draws as continuous too).
    bool IsContinuous() const;

    // Millimetres on paper: a positive value is a dash, a negative one a gap.
    MDoubleArray m_dashes;
    // Also the style's DXF line-type name.
    std::string m_name;
    // Text picture of the pattern (the DXF line-type description).
    std::string m_picture;
};

class MLineStyleTable {
public:
    // Index of an entry from a line-style word.
    static constexpr int IndexOf(int lineStyleWord) { return lineStyleWord & 0x7F; }

    int GetSize() const { return static_cast<int>(m_styles.size()); }
    // Raises CInvalidArgException for an index outside the table.
    const MLineStyle& GetAt(int index) const;
    // The entry of a line-style word (low 7 bits), or null when it lies outside the table.
    const MLineStyle* Find(int lineStyleWord) const;
    // The name of the entry of a line-style word; raises CInvalidArgException outside the table.
    const std::string& GetName(int lineStyleWord) const;

private:
    friend const MLineStyleTable& GetLineStyleTable();
    MLineStyleTable();
    std::vector<MLineStyle> m_styles;
};

// The table of the program, built with its nine styles on first use.
const MLineStyleTable& GetLineStyleTable();
// Builds the table at start-up (later calls do nothing).
void InitLineStyles();
