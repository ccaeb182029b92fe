#pragma once

#include <cstdint>

// The order of an integer's bytes in the data: a setting of the definition (stored
// in the definition file as 0 or 1). Big-endian puts the most significant byte
// first, little-endian the least significant.
enum class Byte_order : std::uint8_t { big_endian = 0, little_endian = 1 };
