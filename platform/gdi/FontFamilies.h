// The font families text can be drawn in, as the font engine knows them.
#pragma once

#include <string>
#include <vector>

// The Windows faces the engine substitutes ("ＭＳ ゴシック", "ＭＳ 明朝", ...), so that the names
// stored by drawings made on Windows can be chosen again, then the installed families, each once.
// Never a vertical ("@") face nor a family private to the system.
std::vector<std::string> EnumFontFamilies();
