// What an import could not keep, told in one message when it ends: the notes in the order they were
// first made, then the kinds of records left out with their counts.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kTextsCutNote = "長すぎる文字列は途中までを読み込みました。";

class MImportLosses {
public:
    // A sentence, told once however often it is noted.
    void Note(std::string_view sentence);
    // count records of the kind were left out.
    void Drop(const std::string& kind, int count = 1);
    bool IsEmpty() const { return m_notes.empty() && m_dropped.empty(); }
    int GetDropped(const std::string& kind) const;
    std::string GetText() const;
    // Shows the text when anything was lost; partial marks a drawing that stops short of its file.
    void Report(bool partial) const;
    void Clear();

private:
    std::vector<std::string> m_notes;
    std::map<std::string, int> m_dropped;
};
