// The texts the tools' dialogs take in for shapes (text, label, balloon, dimension text), as a
// drawing keeps them.
#pragma once

#include <string>

class CDataExchange;

// DDX_Text for a text that becomes a shape's. The edit takes any length, so no limit of its own
// cuts a paste without a word; on OK every line longer than a drawing reads back
// (kMaxStoredTextBytes) is cut between two characters and the user is told so. A text that was
// cut comes back with its lines ended by LF alone.
void DDX_StoredText(CDataExchange* pDX, int nIDC, std::string& text);
