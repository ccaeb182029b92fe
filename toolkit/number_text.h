#pragma once

#include <cstdint>
#include <string>

// The one conversion of a 32-bit value to text. Hexadecimal digits are lower case;
// callers that show a fixed width upper-case and pad the digits themselves.
enum class Radix { binary, octal, signed_decimal, unsigned_decimal, hexadecimal };

// Writes the digits of `value` ending just before `end` and returns where they
// start: no allocation, for the hot paths of the report writer.
char* format_number(char* end, std::uint32_t value, Radix radix);

[[nodiscard]] std::string number_text(std::uint32_t value, Radix radix);
// "0x" followed by exactly 2 × bytes upper-case hexadecimal digits.
[[nodiscard]] std::string hex_text(std::uint32_t value, int bytes);
