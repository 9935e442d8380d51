// The JW_CAD readers on arbitrary bytes: a ".jwc" drawing and a ".jwk" parts file must be read or
// refused without a crash, a leak or a read out of bounds. Only the readers run per input, so that
// inputs go through fast.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "interchange/JwcPenSettings.h"
#include "interchange/JwcReader.h"
#include "interchange/JwkReader.h"
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
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MJWCPenSettings pens;

    MTessarayDoc doc;
    MJWCReader reader(doc);
    reader.SetPenSettings(pens);
    reader.ReadBytes(bytes);

    // The same bytes as a parts file: its signature differs only in bytes 9-19.
    std::string parts(bytes);
    if (parts.size() >= 20) parts.replace(0, 20, "jw_cad(c)sym........");
    MJWKReader jwk;
    jwk.SetPenSettings(pens);
    jwk.ReadBytes(parts);
    return 0;
}
