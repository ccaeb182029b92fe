#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The one conversion of numbers to text: values in a radix, fixed-width hexadecimal
// digits, and the "[first]" / "[first - last]" labels of table entries. Everything
// else that shows a number builds on these.
enum class Radix { binary, octal, signed_decimal, unsigned_decimal, hexadecimal };

// Letters of hexadecimal digits: values in the views and the report show upper
// case; the escapes of the command line's texts show lower case.
enum class Hex_case { lower, upper };

// Writes the digits of `value` (after a '-' when negative) at `at` and returns their
// end: at most max_number_chars. No allocation and no copy, for the hot paths of
// the report writer, which writes the digits straight into its line. Hexadecimal
// digits are lower case.
constexpr std::size_t max_number_chars = 32;
char* put_number(char* at, std::uint32_t value, Radix radix);

[[nodiscard]] std::string number_text(std::uint32_t value, Radix radix);

// Exactly `digits` hexadecimal digits of `value` (its lowest ones, zero-padded),
// written at `at` (returning the end) or appended to `text`.
char* put_hex_digits(char* at, std::uint64_t value, int digits, Hex_case letters = Hex_case::upper);
void append_hex_digits(std::string& text, std::uint64_t value, int digits, Hex_case letters = Hex_case::upper);

// "0x" followed by exactly 2 × bytes upper-case hexadecimal digits.
[[nodiscard]] std::string hex_text(std::uint32_t value, int bytes);
void append_hex_text(std::string& text, std::uint32_t value, int bytes);

// "[" index "]", the label of one entry of a table: written at `at` (returning the
// end, at most 22 characters) or as a string.
constexpr std::size_t max_index_label_chars = 22;
char* put_index_label(char* at, std::uint64_t index);
[[nodiscard]] std::string index_label(std::uint64_t index);
// "[" first " - " last "]", the label of a group of entries.
[[nodiscard]] std::string range_label(std::uint64_t first, std::uint64_t last);
