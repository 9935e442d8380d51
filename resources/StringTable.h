// The program's string table: texts by id, exactly as the user sees them.
#pragma once

#include <cstddef>

struct StringTableEntry {
    unsigned int id;
    const char* text;
};

// Sorted by id.
extern const StringTableEntry kStringTable[];
extern const std::size_t kStringTableSize;
