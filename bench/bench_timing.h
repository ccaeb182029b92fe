#pragma once

// What every benchmark program measures with: wall time and peak memory.
#include <sys/resource.h>

#include <chrono>

namespace bench {

inline double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The wall time `work` takes, in seconds.
template <typename Work>
double timed(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return seconds_since(start);
}

// The process's peak resident memory so far, in KiB.
inline long peak_kib()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace bench
