#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the inspector shows: the bytes at one offset read as each common type, in
// both byte orders side by side. Texts are UTF-8; a value whose bytes run past the
// end of the data (or that cannot be read from them) is empty.

// The most bytes any row reads: the caller hands at most these, fewer at the end
// of the data.
constexpr std::size_t inspector_bytes = 8;

struct Byte_reading {
    std::string label;
    std::string little;  // read little-endian
    std::string big;     // read big-endian
};

// The rows for `bytes` (the data from the offset on, at most inspector_bytes):
// 8/16/32/64-bit signed and unsigned integers, 32- and 64-bit IEEE floats ("NaN",
// "+∞", "−∞"), one Shift-JIS character (as the dump shows it), one UTF-8 character,
// one UTF-16 character (with its code point, "U+XXXX" alone for a control
// character, "不正" for bytes that are no character), a 32-bit signed Unix time
// in UTC ("YYYY-MM-DD hh:mm:ss") and an MS-DOS date and time (time in the low
// word, date in the high word, as FAT stores them; an invalid date or time is left
// out). Readings that have no byte order (8 bits, Shift-JIS, UTF-8) show the same
// text in both columns; the DOS date, which FAT stores little-endian only, has the
// big-endian column empty.
[[nodiscard]] std::vector<Byte_reading> byte_readings(std::span<const std::uint8_t> bytes);
