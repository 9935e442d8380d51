// A scope in which zlib streams started anywhere in the process deflate at the fastest level.
// Qt's PDF writer deflates every page at the default level, and for a large drawing that costs
// more than drawing the page; the fastest level makes the file about a quarter larger and the
// print take about 60% of the time. Scopes nest; the level is changed only while one is open.
#pragma once

class CFastDeflateScope {
public:
    CFastDeflateScope();
    ~CFastDeflateScope();
    CFastDeflateScope(const CFastDeflateScope&) = delete;
    CFastDeflateScope& operator=(const CFastDeflateScope&) = delete;

    static bool IsOpen();
};
