#include "resources/StringTable.h"

#include "resources/ResourceIds.h"
#include "resources/PartsBarIds.h"

#define STR(id, text) {id, text},
const StringTableEntry kStringTable[] = {
#include "resources/strings.inc"
};
#undef STR

const std::size_t kStringTableSize = sizeof kStringTable / sizeof kStringTable[0];
