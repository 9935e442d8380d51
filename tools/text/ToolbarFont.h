// The font and size the text toolbar shows, as the text, label and balloon tools take them for a
// new text: the controls' values when they show a usable one, else the program-wide attributes.
#pragma once

#include <string>

class MDrawTool;

std::string ToolbarFontName(MDrawTool& tool);
// A size in paper millimetres, above 0: the fallback when neither source has one.
double ToolbarFontSize(MDrawTool& tool, double fallback);
