// Whole-file input and all-or-nothing output for the JW_CAD and XDF formats.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The largest file the importers read into memory.
inline constexpr std::uint64_t kMaxImportFile = 1ull << 30;

// The file's bytes; false when it cannot be opened or read or is larger than kMaxImportFile.
bool ReadImportFile(const std::string& path, std::string& bytes);

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames it over
// the target, so the target is either the old file or the complete new one. 0 on success, else
// the errno of the failing step (the temporary file is removed). Temporary files that killed saves
// left in the folder go first; the safe-save stream's step hook is asked at each step.
int WriteFileAtomically(const std::string& path, std::string_view bytes);
