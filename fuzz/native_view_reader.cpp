// The native drawing reader with the view's classes too, so that embedded objects ("OLE2") are read
// and their item records parsed (see NativeReaderTarget.h).
#include "fuzz/NativeReaderTarget.h"
#include "view/ClassRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return nativefuzz::Read(data, size, RegisterViewClasses);
}
