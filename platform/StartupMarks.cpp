#include "platform/StartupMarks.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>

void AfxStartupMark(const char* name) {
    static const bool wanted = std::getenv("TESSARAY_STARTUP_MARKS") != nullptr;
    if (!wanted) return;
    static std::set<std::string> written;
    if (!written.insert(name).second) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "tessaray-mark %s %.6f\n", name,
                 static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9);
    std::fflush(stderr);
}
