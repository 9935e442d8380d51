// Case and file-name helpers for keywords, extensions and names compared without regard to case.
// Only a-z change: bytes above 0x7F (CP932 and UTF-8 sequences) pass through whatever the locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text with a-z turned into A-Z.
std::string AsciiUpper(std::string_view s);

// The position of the dot that starts the file name's extension, or npos when the file name has
// none (a dot in a folder name does not count).
std::size_t FindExtensionDot(std::string_view path);
// The extension with its dot (".dxf"), or empty.
std::string_view PathExtension(std::string_view path);
// The path without its extension; the whole path when there is none.
std::string_view PathWithoutExtension(std::string_view path);
