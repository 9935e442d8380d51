#include "model/helpers/StoredText.h"

#include "platform/Cp932.h"

bool CutToStoredText(std::string& text) {
    // No line's code page form is longer than its UTF-8 form.
    if (text.size() <= kMaxStoredTextBytes) return false;
    std::string kept;
    bool cut = false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == std::string::npos ? text.size() : newline;
        const std::string_view line(text.data() + start, end - start);
        if (line.size() > kMaxStoredTextBytes && Cp932Length(line) > kMaxStoredTextBytes) {
            kept += Cp932Cut(line, kMaxStoredTextBytes);
            cut = true;
        } else {
            kept += line;
        }
        if (newline == std::string::npos) break;
        kept += '\n';
        start = newline + 1;
    }
    if (cut) text = std::move(kept);
    return cut;
}
