// How much of a text a drawing keeps. The native file holds a text line of at most
// kMaxStoredTextBytes bytes of code page 932 when it is read back, so every road that brings a text
// in (readers of other formats, typed text, paste) cuts it there and says so, rather than the saved
// drawing losing the rest on reopening.
#pragma once

#include <cstddef>
#include <string>

#include "model/helpers/TextStream.h"

inline constexpr std::size_t kMaxStoredTextBytes = kMaxTextLine - 1;

// Cuts each line of the UTF-8 text to at most kMaxStoredTextBytes bytes of code page 932, between
// two characters. True when something was cut.
bool CutToStoredText(std::string& text);
