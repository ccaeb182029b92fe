#pragma once

#include <cstdint>
#include <optional>

// How many more bytes this program can expect to allocate and use: the tightest of
//  - its address-space and data-segment limits (RLIMIT_AS, RLIMIT_DATA, as set by
//    ulimit -v and -d) less what it already maps,
//  - the memory the system says is available (MemAvailable) plus free swap,
//  - the memory limit of its control group (cgroup v2 memory.max, at every level)
//    less what the group uses beyond reclaimable file cache.
// Nothing when none of them can be read. An estimate, for refusing work that cannot
// fit before it starts, not a promise.
[[nodiscard]] std::optional<std::uint64_t> available_memory();
