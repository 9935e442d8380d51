// The parts library in memory: the parts of one parts file (MCadPartsList) and the loaded lists,
// one per tab of the parts bar (MCadPartsListList), with the parts file format.
//
// The parts file (".qfp", code page 932 text):
//   $$TessarayPart$$            (string 62724)
//   2                           (version)
//   [NAME] / TAB list name
//   [SIZE] / TAB number of parts (informational: parts are counted as they are read)
//   per part: [PARTS] and the part record of MCadParts::WritePartText
//   [EOF]
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "model/helpers/ObArray.h"
#include "platform/WinTypes.h"

class MCadParts;
class MCadShape;
class MCadView;

using CString = std::string;

inline constexpr int kPartsFileVersion = 2;

class MCadPartsList : public MObArray {
public:
    MCadPartsList();
    explicit MCadPartsList(const CString& name);
    ~MCadPartsList() override;

    // Appends (the list owns the part) and sets modified; the index.
    int Add(MCadParts* part);
    // Takes the entry out without deleting it and sets modified; nothing outside the list.
    void RemoveAt(int index);
    // Null outside 0 .. count-1.
    MCadParts* GetAt(int index) const;
    // Deletes every part.
    void RemoveAll();
    // The part at the current index, or null.
    MCadParts* GetCurrent() const;
    // That part placed for the view (the caller owns it), or null.
    MCadShape* GetCurrent(MCadView* view) const;
    void SetName(const CString& name);
    const CString& GetName() const { return m_name; }

    // The whole list as a parts file. The caller sets the stream's precision (15) and checks its
    // state afterwards.
    void WritePartsFile(std::ostream& os) const;
    // Replaces the contents by the file's. A header that is not string 62724 (an unreadable file
    // has an empty one) or a version above 2 is refused: the message (62726 or 62725, naming the
    // path) and a CArchiveException (badIndex). Clears modified.
    void LoadPartsFile(std::istream& is);
    // The section loop after the header and version lines.
    void ReadPartsFile(std::istream& is);

    CString m_name;
    CString m_path;
    int m_current = 0;
    int m_modified = 0;
    // Characters the file on disk holds as '?' because code page 932 lacks them (the last write).
    std::size_t m_replacedInFile = 0;
};

class MCadPartsListList : public MObArray {
public:
    MCadPartsListList();
    ~MCadPartsListList() override;

    // Null outside 0 .. count-1.
    MCadPartsList* GetAt(int index) const;
    // The list at the current index, or null.
    MCadPartsList* GetCurrent() const;
    // The first list whose path is exactly path, or -1.
    int FindPath(const CString& path) const;

    int m_current = 0;
};

// File helpers for the frame's commands. Writes the list to its path through the safe-save stream
// (replace without backup, precision 15); FALSE after showing the file error when that failed.
// Characters that code page 932 lacks are written as '?', and told when the file had fewer.
BOOL SavePartsListFile(MCadPartsList& list);
// Reads the file at path into the list (path stored first). The refusals of LoadPartsFile propagate
// as CArchiveException; a file that cannot be read is refused like a wrong header.
void LoadPartsListFile(MCadPartsList& list, const CString& path);
