#pragma once

#include <cstddef>
#include <cstring>

// Copies `count` bytes between buffers that do not overlap, like std::memcpy but
// without a library call for the short pieces text lines are made of (names,
// numbers, separators, whole short lines): up to 64 bytes take two overlapping
// fixed-size copies, which the compiler turns into a few loads and stores. Reads
// and writes only the `count` bytes.
inline void copy_small(void* to, const void* from, std::size_t count)
{
    auto* out = static_cast<unsigned char*>(to);
    const auto* in = static_cast<const unsigned char*>(from);
    if (count > 64) {
        std::memcpy(out, in, count);
    } else if (count >= 32) {
        std::memcpy(out, in, 32);
        std::memcpy(out + count - 32, in + count - 32, 32);
    } else if (count >= 16) {
        std::memcpy(out, in, 16);
        std::memcpy(out + count - 16, in + count - 16, 16);
    } else if (count >= 8) {
        std::memcpy(out, in, 8);
        std::memcpy(out + count - 8, in + count - 8, 8);
    } else if (count >= 4) {
        std::memcpy(out, in, 4);
        std::memcpy(out + count - 4, in + count - 4, 4);
    } else if (count > 0) {
        // 1 to 3 bytes: the first, the middle one and the last (some the same).
        out[0] = in[0];
        out[count / 2] = in[count / 2];
        out[count - 1] = in[count - 1];
    }
}
