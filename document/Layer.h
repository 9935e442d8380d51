// A layer: a named, owning list of shapes with three flags.
#pragma once

#include <iosfwd>
#include <string>

#include "model/shapes/containers/ShapeArray.h"

class CDocument;

class MLayer : public MShapeArray {
    DECLARE_SERIAL(MLayer)
public:
    enum : int { kVisible = 1, kPrintable = 2, kSelectable = 4, kAllFlags = 7 };

    // An unnamed layer with every flag set.
    MLayer();
    MLayer(const CString& name, BOOL visible, BOOL selectable, BOOL printable);
    ~MLayer() override;

    // Name (archive string), flags (int32), then the shape array's form.
    void Serialize(CArchive& ar) override;
    int Remove(MCadShape* shape) override;

    BOOL IsVisible() const { return (m_flags & kVisible) ? TRUE : FALSE; }
    BOOL IsPrintable() const { return (m_flags & kPrintable) ? TRUE : FALSE; }
    BOOL IsSelectable() const { return (m_flags & kSelectable) ? TRUE : FALSE; }
    void SetVisible(BOOL on) { SetFlag(kVisible, on); }
    void SetPrintable(BOOL on) { SetFlag(kPrintable, on); }
    void SetSelectable(BOOL on) { SetFlag(kSelectable, on); }
    void SetName(const CString& name) { m_name = name; }
    const CString& GetName() const { return m_name; }
    int GetFlags() const { return m_flags; }
    void SetFlags(int flags) { m_flags = flags; }

    // "[LAYER]", TAB name, TAB flags, then the shapes in the shape-list text form.
    void WriteText(CDocument* doc, std::ostream& os) const;
    // Reads what follows a "[LAYER]" line: the name (blanks before it on its line are dropped), the
    // flags, then the shapes, which are appended.
    void ReadText(CDocument* doc, std::istream& is);
    // A copy made through the archive form; the caller owns it. Archive exceptions propagate.
    MLayer* Clone(CDocument* doc) const;

    // The name and flags of a layer are read and written directly by the view and the dialogs.
    CString m_name;
    int m_flags = kAllFlags;

private:
    void SetFlag(int bit, BOOL on) { m_flags = on ? (m_flags | bit) : (m_flags & ~bit); }
};
