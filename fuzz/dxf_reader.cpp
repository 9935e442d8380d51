// The DXF reader on arbitrary bytes: reading must never crash, hang, leak or read out of bounds,
// whatever the file holds. Every shape read is copied through its archive form as well, which
// walks all that the reader put into it. (Exporting would measure texts with the platform's fonts,
// which need a GUI application object that a fuzz target does not have.)
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfReader.h"
#include "platform/Strings.h"

namespace {

bool Initialise() {
    RegisterDocumentClasses();
    AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDOK; });
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool initialised = Initialise();
    (void)initialised;

    MTessarayDoc doc;
    MDXFReader reader(doc);
    // Blocks placing blocks could otherwise ask for more memory than the fuzzer allows.
    reader.SetExpansionLimit(1u << 16);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!reader.ReadBytes(bytes)) return 0;
    const MDocShapeArray* layers = doc.GetLayers();
    for (int i = 0; i < layers->GetLayerCount(); ++i) {
        const MLayer* layer = layers->GetLayer(i);
        for (int k = 0; k < layer->GetSize(); ++k)
            std::unique_ptr<MCadShape> copy(layer->GetAt(k)->Duplicate());
    }
    return 0;
}
