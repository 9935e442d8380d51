// The attribute commands every tool answers (line style, width and colour, face colour, the text
// toggles and alignments, the frame's controls) and the palette entries their menus check. They
// act through the tool's ApplyAttributeChange and GetAttribute, so a tool that edits a selection
// overrides those two and keeps these.
#pragma once

class MDrawTool;

// Into the tool's command map; the tool's constructor calls it once.
void RegisterAttributeCommands(MDrawTool& tool);
// The palette command (200-215) of the tool's line colour, -1 when none matches.
int LineColorCommand(MDrawTool& tool);
// The palette command (300-315) of the face colour: no fill is the palette's no-colour entry, a
// plain fill its colour, a gradation none; -1 when none matches.
int FaceColorCommand(MDrawTool& tool);
