// The XDF reader on arbitrary text: reading must never crash, hang, leak or index past its tables,
// whatever the file holds. Only the reader runs per input, so that inputs go through fast.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "interchange/XdfReader.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"

namespace {

bool Initialise() {
    // Dimensions measure their texts, which needs the fonts of a (headless) GUI application.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "fuzz_xdf_reader";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    RegisterDocumentClasses();
    AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDOK; });
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool initialised = Initialise();
    (void)initialised;
    const std::string text = DecodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size));
    MTessarayDoc doc;
    MXDFReader reader(doc);
    reader.ReadText(text, "fuzz.xdf");
    return 0;
}
