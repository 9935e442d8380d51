// What the document needs of the interactive tools, which live in a higher layer: the current tool
// is reset before the drawing it points into is deleted, and the tools' settings travel in the
// drawing file's [TOOLS] section. The tools layer implements these (MDrawTool, MDrawToolArray) and
// installs its tool array with SetDocumentToolArray.
#pragma once

#include <iosfwd>
#include <string>

#include "platform/WinTypes.h"

using CString = std::string;

class MDocumentTool {
public:
    virtual ~MDocumentTool() = default;

    // Back to the start state: forgets every shape it holds of the drawing.
    virtual void Reset() = 0;

    // The registry name of the tool ("LINE"), the key of its settings.
    virtual CString GetKey() const = 0;
    // The display name, by which the automatic-layer dialog finds the tool.
    virtual CString GetTitle() const = 0;
    // The tool draws new shapes and may be bound to a layer.
    virtual BOOL IsAutoLayerCapable() const = 0;
    // The layer that receives the tool's new shapes; empty for none.
    virtual CString GetAutoLayerName() const = 0;
    virtual void SetAutoLayerName(const CString& name) = 0;

    // Whether the tool is written to [TOOLS]: by default when it is bound to a layer.
    virtual BOOL HasSettings() const { return IsAutoLayerCapable() && !GetAutoLayerName().empty(); }
    // The tool's own lines (each a TAB, values, "\n"); nothing by default. LoadSettings gets a
    // stream of exactly the value lines that followed the tool's key and layer lines.
    virtual void SaveSettings(std::ostream& os) {}
    virtual void LoadSettings(std::istream& is) {}
};

class MDocumentToolArray {
public:
    virtual ~MDocumentToolArray() = default;

    virtual int GetToolCount() const = 0;
    // Null outside 0 .. count - 1.
    virtual MDocumentTool* GetToolAt(int index) const = 0;

    // The [TOOLS] body: TAB count of all tools, then for every tool with settings its key line, a
    // TAB and its automatic-layer name, and the tool's own lines.
    virtual void SaveSettings(std::ostream& os) const;
    // Reads that body up to the next section line. Each tool reads only its own value lines (those
    // after its key and layer lines that begin with a TAB); a key no tool has is skipped with its
    // lines.
    virtual void LoadSettings(std::istream& is);

    // From the last tool to the first; null when none matches.
    MDocumentTool* FindByTitle(const CString& title) const;
    // The first tool in array order whose key equals key exactly; null when none.
    MDocumentTool* FindByKey(const CString& key) const;
};

// The program-wide tool array; null until the tools layer installs it. Returns the previous one.
MDocumentToolArray* GetDocumentToolArray();
MDocumentToolArray* SetDocumentToolArray(MDocumentToolArray* tools);
