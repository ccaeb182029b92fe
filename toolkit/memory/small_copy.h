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

// Whether the first and the last `Size` bytes agree, which together are all
// `count` of them when Size <= count <= 2 × Size. A comparison of a constant size
// for equality compiles to a word load and compare each.
template <std::size_t Size>
inline bool same_ends(const unsigned char* a, const unsigned char* b, std::size_t count)
{
    return std::memcmp(a, b, Size) == 0 && std::memcmp(a + count - Size, b + count - Size, Size) == 0;
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
    // Short pieces (names, numbers) are the most common: they are told apart first.
    if (count >= 16) {
        if (count > 64)
            std::memcpy(out, in, count);
        else if (count >= 32)
            copy_ends<32>(out, in, count);
        else
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

// Whether the `count` bytes at `a` and at `b` are the same, like std::memcmp(...) == 0
// but without a library call for short names: up to 16 bytes take two overlapping
// fixed-size comparisons. Reads only the `count` bytes.
inline bool same_small(const void* a, const void* b, std::size_t count)
{
    using small_copy_detail::same_ends;
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    if (count > 16)
        return std::memcmp(x, y, count) == 0;
    if (count >= 8)
        return same_ends<8>(x, y, count);
    if (count >= 4)
        return same_ends<4>(x, y, count);
    if (count == 0)
        return true;
    return x[0] == y[0] && x[count / 2] == y[count / 2] && x[count - 1] == y[count - 1];
}
