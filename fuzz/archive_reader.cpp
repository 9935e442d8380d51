// The binary archive on arbitrary bytes, read as the clipboard's private data and Duplicate read it:
// one shape object, with every serializable class of the program registered (embedded objects are
// built too). Reading must never crash, hang, leak or read out of bounds. A pack is taken apart as
// a paste takes it, and each shape read is duplicated, which writes and reads it once more.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "document/TessarayDoc.h"
#include "model/shapes/containers/PackShape.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Strings.h"
#include "view/ClassRegistry.h"

namespace {

MTessarayDoc* Initialise() {
    RegisterViewClasses();
    AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDOK; });
    static MTessarayDoc doc;
    return &doc;
}

// The shapes a paste takes, packs taken apart (a pack only wraps its members); the packs too.
void TakeApart(MCadShape* shape, std::vector<std::unique_ptr<MCadShape>>& shapes) {
    if (auto* pack = dynamic_cast<MPackShape*>(shape))
        for (int i = 0; i < pack->GetShapeCount(); ++i)
            TakeApart(pack->GetShapeAt(i), shapes);
    shapes.emplace_back(shape);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MTessarayDoc* doc = Initialise();
    CMemFile file(data, size);
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = doc;
    MCadShape* shape = nullptr;
    try {
        shape = static_cast<MCadShape*>(ar.ReadOwnedObject(RUNTIME_CLASS(MCadShape)));
    } catch (const CException&) {
        return 0;
    }
    if (!shape) return 0;
    std::vector<std::unique_ptr<MCadShape>> shapes;
    TakeApart(shape, shapes);
    for (const auto& s : shapes) {
        if (dynamic_cast<MPackShape*>(s.get())) continue;
        try {
            std::unique_ptr<MCadShape> copy(s->Duplicate());
        } catch (const CException&) {
        }
    }
    return 0;
}
