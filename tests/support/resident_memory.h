// The process's resident memory now, in KiB, from /proc (Linux only).
#pragma once

#include <fstream>
#include <string>

// AddressSanitizer's quarantine and shadow memory would swamp any figure.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool memory_is_measured = false;
#else
inline constexpr bool memory_is_measured = true;
#endif

inline long resident_kib()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}
