// One item of the parts library: a shape (usually a group) with its name, a 32 × 32 icon and the
// paper scale at which it was registered. Its stored form is the part record of the parts file
// (CadPartsList.h); it has no archive form of its own.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "document/IncomingShapes.h"
#include "platform/Object.h"
#include "platform/WinTypes.h"

class MCadShape;
class MCadView;
class MDib;

using CString = std::string;

class MCadParts : public CObject {
    DECLARE_SERIAL(MCadParts)
public:
    static constexpr int kIconSize = 32;

    // Empty name, keep-size 1, no shape, no icon.
    MCadParts();
    // Takes ownership of the shape and builds the icon for the view at once.
    MCadParts(MCadView* view, const CString& name, MCadShape* shape, int keepSize, double registeredScale);
    ~MCadParts() override;
    MCadParts(const MCadParts&) = delete;
    MCadParts& operator=(const MCadParts&) = delete;

    // A placed copy of the shape for the view's drawing (the caller owns it): the same shape when
    // keepSize is set, otherwise scaled about its centre by registeredScale / the view's paper
    // scale so that its size on paper stays, unless that would make a value infinite. Null without
    // a shape. view may be null (no paper).
    MCadShape* Instantiate(MCadView* view) const;
    // Replaces the icon by a rendering of the placed shape: black on white, centred, at zoom 1
    // or reduced until its larger side is about 31 pixels. The view's zoom is restored.
    void BuildIcon(MCadView* view);

    // The part record after its "[PARTS]" line: TAB name; TAB keepSize registeredScale (the
    // stream's precision); the shape's text form; "ICON" and the icon's three binary blocks.
    void WritePartText(std::ostream& os) const;
    // Reads that record. TRUE only when the part ends up with a shape and an icon (an icon that
    // is missing or unreadable is built from the shape for the active view, when there is one).
    // A shape with a value that is not finite, as read or as measured, is left out (no part) and
    // counted in incoming.
    BOOL ReadPartText(std::istream& is, MIncomingShapes& incoming);

    MCadShape* GetShape() const { return m_shape.get(); }
    // Takes ownership; the previous shape is deleted.
    void SetShape(MCadShape* shape);
    MDib* GetIcon() const { return m_icon.get(); }
    void SetIcon(std::unique_ptr<MDib> icon);

    CString m_name;
    int m_keepSize = 1;
    double m_registeredScale = 1.0;

private:
    std::unique_ptr<MCadShape> m_shape;
    std::unique_ptr<MDib> m_icon;
};

// A full, independent copy: name, flags, scale, a copy of the shape and of the icon.
MCadParts* CloneParts(const MCadParts& part);

// Where a part that comes without a usable icon gets the view to draw it: the application installs
// a function answering the main window's active view (or null). Returns the previous one.
using MPartsViewProvider = MCadView* (*)();
MPartsViewProvider SetPartsViewProvider(MPartsViewProvider provider);
MCadView* GetPartsIconView();

// Registers MCadParts with the class registry (after the document's classes).
void RegisterPartsClasses();
