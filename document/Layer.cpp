#include "document/Layer.h"

#include <istream>
#include <ostream>

#include "model/helpers/TextStream.h"
#include "platform/Archive.h"
#include "platform/File.h"

IMPLEMENT_SERIAL(MLayer, MShapeArray, 1)

MLayer::MLayer() : MShapeArray(TRUE) {}

MLayer::MLayer(const CString& name, BOOL visible, BOOL selectable, BOOL printable)
    : MShapeArray(TRUE),
      m_name(name),
      m_flags((visible ? kVisible : 0) | (printable ? kPrintable : 0) | (selectable ? kSelectable : 0)) {}

MLayer::~MLayer() = default;

void MLayer::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_name << static_cast<std::int32_t>(m_flags);
    } else {
        std::int32_t flags = 0;
        ar >> m_name >> flags;
        m_flags = flags;
    }
    try {
        MShapeArray::Serialize(ar);
    } catch (...) {
        SetOwner(TRUE);
        throw;
    }
    // A layer owns its shapes whatever the stored flag says.
    SetOwner(TRUE);
}

int MLayer::Remove(MCadShape* shape) {
    return MShapeArray::Remove(shape);
}

void MLayer::WriteText(CDocument* doc, std::ostream& os) const {
    os << "[LAYER]\n\t" << m_name << "\n\t" << m_flags << '\n';
    MShapeArray::WriteText(doc, os);
}

void MLayer::ReadText(CDocument* doc, std::istream& is) {
    // Only blanks and TABs before the name: an empty name must not make the next line the name.
    while (is.peek() == '\t' || is.peek() == ' ')
        is.get();
    ReadTextString(is, m_name, FALSE);
    int flags = 0;
    is >> flags;
    if (!is.fail()) {
        m_flags = flags;
    } else if (!is.bad() && !is.eof()) {
        // Damaged flags keep the default; the shapes that follow are still read.
        is.clear();
    }
    SkipTextLine(is);
    if (is.fail()) return;
    MShapeArray::ReadText(doc, is);
}

MLayer* MLayer::Clone(CDocument* doc) const {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store | CArchive::utf8);
        ar.m_pDocument = doc;
        ar << static_cast<const CObject*>(this);
        ar.Close();
    }
    CMemFile in(file.Detach());
    CArchive ar(&in, CArchive::load | CArchive::utf8);
    ar.m_pDocument = doc;
    CObject* copy = ar.ReadOwnedObject(RUNTIME_CLASS(MLayer));
    return static_cast<MLayer*>(copy);
}
