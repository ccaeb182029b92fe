#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>

// Writes `bytes` pseudo-random bytes from `seed` to `path`, a block at a time, so
// that a benchmark's input costs no more memory than a block.
inline void write_random_file(const std::string& path, std::size_t bytes, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::ofstream out(path, std::ios::binary);
    std::string block(1 << 16, '\0');
    for (std::size_t done = 0; done < bytes; done += block.size()) {
        for (char& c : block)
            c = static_cast<char>(random());
        out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), bytes - done)));
    }
}
