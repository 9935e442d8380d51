// The reader of embedded objects' stored item records on arbitrary bytes: the compound file inside
// a record, its directory and streams, the class name and the cached picture. Every chain, count
// and offset comes from the bytes; reading must stay inside them, end on loops and take time and
// memory in proportion to the record, never more.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Strings.h"
#include "view/ole/CntrItem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool initialised = [] {
        AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDOK; });
        return true;
    }();
    (void)initialised;
    // What a shape shows of its record: the class name and the picture as an image.
    MCntrItem item;
    item.SetRecord(std::vector<BYTE>(data, data + size));
    MCompoundFile file;
    if (file.Open(data, size)) {
        std::vector<BYTE> stream;
        file.ReadRootStream(u"\u0001CompObj", stream);
        file.RootClassId();
    }
    return 0;
}
