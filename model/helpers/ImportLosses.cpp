#include "model/helpers/ImportLosses.h"

#include <algorithm>

#include "platform/Strings.h"

void MImportLosses::Note(std::string_view sentence) {
    if (std::find(m_notes.begin(), m_notes.end(), sentence) == m_notes.end()) m_notes.emplace_back(sentence);
}

void MImportLosses::Drop(const std::string& kind, int count) {
    m_dropped[kind] += count;
}

int MImportLosses::GetDropped(const std::string& kind) const {
    const auto it = m_dropped.find(kind);
    return it == m_dropped.end() ? 0 : it->second;
}

std::string MImportLosses::GetText() const {
    std::string text;
    for (const std::string& note : m_notes)
        text += (text.empty() ? "" : "\n\n") + note;
    if (!m_dropped.empty()) {
        text += std::string(text.empty() ? "" : "\n\n") + "次の図形は読み込めませんでした:";
        for (const auto& [kind, count] : m_dropped)
            text += "\n    " + kind + " " + std::to_string(count);
    }
    return text;
}

void MImportLosses::Report(bool partial) const {
    if (IsEmpty()) return;
    AfxMessageBox(GetText(), MB_OK | (partial ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}

void MImportLosses::Clear() {
    m_notes.clear();
    m_dropped.clear();
}
