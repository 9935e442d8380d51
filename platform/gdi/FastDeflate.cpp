#include "platform/gdi/FastDeflate.h"

#include <dlfcn.h>
#include <zlib.h>

#include <atomic>

namespace {

std::atomic<int> g_openScopes{0};

using DeflateInitFn = int (*)(z_streamp, int, const char*, int);

DeflateInitFn ZlibDeflateInit() {
    static const DeflateInitFn fn = reinterpret_cast<DeflateInitFn>(dlsym(RTLD_NEXT, "deflateInit_"));
    return fn;
}

}  // namespace

CFastDeflateScope::CFastDeflateScope() {
    ++g_openScopes;
}
CFastDeflateScope::~CFastDeflateScope() {
    --g_openScopes;
}
bool CFastDeflateScope::IsOpen() {
    return g_openScopes.load() > 0;
}

// Stands in for zlib's own entry for every caller in the process, Qt's libraries included (the
// dynamic linker binds their references to the program's definition), and hands the call on.
extern "C" int deflateInit_(z_streamp stream, int level, const char* version, int streamSize) {
    const DeflateInitFn zlib = ZlibDeflateInit();
    if (!zlib) return Z_VERSION_ERROR;
    if (CFastDeflateScope::IsOpen() && level != Z_NO_COMPRESSION) level = Z_BEST_SPEED;
    return zlib(stream, level, version, streamSize);
}
