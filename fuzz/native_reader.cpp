// The native drawing reader with the document's classes (see NativeReaderTarget.h).
#include "document/ClassRegistry.h"
#include "fuzz/NativeReaderTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return nativefuzz::Read(data, size, RegisterDocumentClasses);
}
