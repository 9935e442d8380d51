// The process's resident memory, for the benchmarks' memory goals (Linux).
#pragma once

#include <fstream>
#include <string>

namespace benchmem {

// Resident set in MB ("VmRSS") or its peak since the last reset ("VmHWM").
inline double StatusMB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) return std::stod(line.substr(prefix.size())) / 1024.0;
    return 0.0;
}

// Makes VmHWM start again from the current resident size (Linux 4.0 and later).
inline void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace benchmem
