#pragma once

#include <cstddef>
#include <cstring>

namespace small_copy_detail {

// The first and the last `Size` bytes, which together are all `count` of them
// when Size <= count <= 2 × Size.
template <std::size_t Size>
inline void copy_ends(unsigned char* out, const unsigned char* in, std::size_t count)
{
    std::memcpy(out, in, Size);
    std::memcpy(out + count - Size, in + count - Size, Size);
}

} // namespace small_copy_detail

// Copies `count` bytes between buffers that do not overlap, like std::memcpy but
// without a library call for the short pieces text lines are made of (names,
// numbers, separators, whole short lines): up to 64 bytes take two overlapping
// fixed-size copies, which the compiler turns into a few loads and stores. Reads
// and writes only the `count` bytes.
inline void copy_small(void* to, const void* from, std::size_t count)
{
    using small_copy_detail::copy_ends;
    auto* out = static_cast<unsigned char*>(to);
    const auto* in = static_cast<const unsigned char*>(from);
    if (count > 64) {
        std::memcpy(out, in, count);
    } else if (count >= 32) {
        copy_ends<32>(out, in, count);
    } else if (count >= 16) {
        copy_ends<16>(out, in, count);
    } else if (count >= 8) {
        copy_ends<8>(out, in, count);
    } else if (count >= 4) {
        copy_ends<4>(out, in, count);
    } else if (count > 0) {
        // 1 to 3 bytes: the first, the middle one and the last (some the same).
        out[0] = in[0];
        out[count / 2] = in[count / 2];
        out[count - 1] = in[count - 1];
    }
}
