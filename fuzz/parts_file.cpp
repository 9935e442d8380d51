// The parts file reader on arbitrary text: a list is read or refused without a crash, hang or leak,
// and what was read is written again.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/ClassRegistry.h"
#include "document/parts/CadParts.h"
#include "document/parts/CadPartsList.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"

namespace {

bool Initialise() {
    // The reader measures the texts of each part, which needs the fonts.
    static int argc = 1;
    static char name[] = "fuzz_parts_file";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    RegisterDocumentClasses();
    RegisterPartsClasses();
    AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDOK; });
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool initialised = Initialise();
    (void)initialised;
    MCadPartsList list;
    list.m_path = "fuzz.qfp";
    try {
        TextInput is(DecodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size)));
        list.LoadPartsFile(is);
    } catch (const CArchiveException&) {
        return 0;
    }
    TextOutput os;
    os.precision(15);
    list.WritePartsFile(os);
    return 0;
}
