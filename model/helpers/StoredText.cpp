#include "model/helpers/StoredText.h"

#include <string_view>

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

bool CutToStoredText(std::string& text) {
    if (text.size() <= kMaxStoredTextBytes) return false;
    std::string kept;
    bool cut = false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == std::string::npos ? text.size() : newline;
        std::size_t keep = end - start;
        if (keep > kMaxStoredTextBytes) {
            keep = kMaxStoredTextBytes;
            while (keep > 0 && IsContinuationByte(text[start + keep]))
                --keep;
            cut = true;
        }
        kept.append(text, start, keep);
        if (newline == std::string::npos) break;
        kept += '\n';
        start = newline + 1;
    }
    if (cut) text = std::move(kept);
    return cut;
}
