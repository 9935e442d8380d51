// A text's font name, shared by every text that names the same font: a drawing names few fonts,
// and a copy per text cost a heap block each. The names are kept for the whole run and never
// change, so a name is one pointer and two names are equal when their pointers are.
#pragma once

#include <string>
#include <string_view>

class MTextFontName {
public:
    // The empty name (the default face).
    MTextFontName();
    explicit MTextFontName(std::string_view name);

    const std::string& Name() const { return m_entry->name; }
    bool IsEmpty() const { return m_entry->name.empty(); }
    // The face as the font's face field takes it: blanks trimmed, the default face for an empty
    // name, cut at a character boundary to fit 31 bytes; "@" and 30 bytes for vertical writing.
    const std::string& Face(bool vertical) const { return vertical ? m_entry->verticalFace : m_entry->face; }

    bool operator==(const MTextFontName& other) const { return m_entry == other.m_entry; }
    bool operator!=(const MTextFontName& other) const { return m_entry != other.m_entry; }

    struct Entry {
        std::string name;
        std::string face;
        std::string verticalFace;
    };

private:
    const Entry* m_entry;
};
