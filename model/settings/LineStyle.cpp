#include "model/settings/LineStyle.h"

#include <cmath>
#include <initializer_list>

#include "platform/Exceptions.h"

MLineStyle::MLineStyle(std::string name, std::string picture)
    : m_name(std::move(name)), m_picture(std::move(picture)) {}

double MLineStyle::GetPatternLength() const {
    double length = 0.0;
    for (int i = 0; i < m_dashes.GetSize(); ++i)
        length += std::fabs(m_dashes[i]);
    return length;
}

bool MLineStyle::IsContinuous() const {
    return m_dashes.GetSize() == 0 || (m_dashes.GetSize() == 1 && m_dashes[0] == 0.0);
}

namespace {

struct StyleRow {
    const char* name;
    const char* picture;
    std::initializer_list<double> dashes;
};

const StyleRow kStyleRows[] = {
    {"CONTINUOUS", "----------", {0}},
    {"DASHED1", "--  --  --  --  --  --  --  --  ", {1.25, -1.25}},
    {"DASHED2", "----    ----    ----    ----    ", {2.5, -2.5}},
    {"DASHED3", "------  ------  ------  ------  ", {3.75, -1.25}},
    {"CENTER1", "----- - ----- - ----- - ----- - ", {3.75, -1.25, 1.25, -1.25}},
    {"CENTER2", "----------  --  ----------  --  ", {6.25, -2.5, 2.5, -2.5}},
    {"PHANTOM1", "--- - - --- - - --- - - --- - - ", {3.25, -1.25, 1.25, -1.25, 1.25, -1.25}},
    {"PHANTOM2", "--------  -  -  --------  -  -  ", {8, -2.5, 1.25, -2.5, 1.25, -2.5}},
    {"DOT", "-   -   -   -   -   -   -   -   ", {0.625, -1.875}},
};

}  // namespace

MLineStyleTable::MLineStyleTable() {
    m_styles.reserve(std::size(kStyleRows));
    for (const StyleRow& row : kStyleRows) {
        MLineStyle style(row.name, row.picture);
        for (double d : row.dashes)
            style.m_dashes.Add(d);
        m_styles.push_back(style);
    }
}

const MLineStyle& MLineStyleTable::GetAt(int index) const {
    if (index < 0 || index >= GetSize()) AfxThrowInvalidArgException();
    return m_styles[static_cast<std::size_t>(index)];
}

const MLineStyle* MLineStyleTable::Find(int lineStyleWord) const {
    const int index = IndexOf(lineStyleWord);
    return index < GetSize() ? &m_styles[static_cast<std::size_t>(index)] : nullptr;
}

const std::string& MLineStyleTable::GetName(int lineStyleWord) const {
    return GetAt(IndexOf(lineStyleWord)).m_name;
}

const MLineStyleTable& GetLineStyleTable() {
    static const MLineStyleTable table;
    return table;
}

void InitLineStyles() {
    GetLineStyleTable();
}
