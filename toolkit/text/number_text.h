#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The one conversion of numbers to text: values in a radix, fixed-width hexadecimal
// digits, and the "[first]" / "[first - last]" labels of table entries. Everything
// else that shows a number builds on these.
enum class Radix { binary, octal, signed_decimal, unsigned_decimal, hexadecimal };

// Letters of hexadecimal digits: values in the views and the report show upper
// case; the escapes of the command line's texts show lower case.
enum class Hex_case { lower, upper };

// Writes the digits of `value` (after a '-' when negative) at `at` and returns their
// end: at most max_number_chars. A decimal number may use bytes after its end as
// scratch, but none beyond max_decimal_chars from `at`. No allocation and no copy,
// for the hot paths of the report writer, which writes the digits straight into
// its line. Hexadecimal digits are lower case.
constexpr std::size_t max_number_chars = 32;
constexpr std::size_t max_decimal_chars = 11;  // "-2147483648"
char* put_number(char* at, std::uint32_t value, Radix radix);

// The one or two digits of a `value` below 100 at `at`; returns their end. Inline,
// for the small numbers a report writes most (bit flags).
inline char* put_small_decimal(char* at, std::uint32_t value)
{
    const std::uint32_t tens = (value * 103) >> 10;  // value / 10 for every value below 179
    if (tens == 0) {
        *at = static_cast<char>('0' + value);
        return at + 1;
    }
    at[0] = static_cast<char>('0' + tens);
    at[1] = static_cast<char>('0' + (value - tens * 10));
    return at + 2;
}

// The decimal digits of a `value` of at least 100 at `at`; returns their end. May
// use scratch bytes as put_number() does.
char* put_large_decimal(char* at, std::uint32_t value);
// put_number(at, value, Radix::unsigned_decimal), inline for the small values and
// one call for the others: the report writes most of its numbers this way.
inline char* put_unsigned_decimal(char* at, std::uint32_t value)
{
    return value < 100 ? put_small_decimal(at, value) : put_large_decimal(at, value);
}

[[nodiscard]] std::string number_text(std::uint32_t value, Radix radix);

// The value of a hexadecimal digit in either case; -1 for any other character.
[[nodiscard]] constexpr int hex_digit_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Exactly `digits` hexadecimal digits of `value` (its lowest ones, zero-padded),
// written at `at` (returning the end) or appended to `text`.
char* put_hex_digits(char* at, std::uint64_t value, int digits, Hex_case letters = Hex_case::upper);
// The eight digits of a 32-bit value, inline, without a loop: each nibble is
// spread to a byte of its own, and arithmetic on all eight bytes together turns
// each into its digit (adding the gap between '9' and the letters where the
// nibble is 10 or more). With SSE2 (every x86-64 processor) the bytes are split
// and interleaved in a vector register, in a third of the instructions.
inline void put_eight_hex_digits(char* at, std::uint32_t value, Hex_case letters = Hex_case::upper)
{
    const char letter_gap = letters == Hex_case::upper ? 'A' - '9' - 1 : 'a' - '9' - 1;
#if defined(__SSE2__)
    // The value's bytes, the most significant first, and each one's nibbles.
    const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(__builtin_bswap32(value)));
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i high = _mm_and_si128(_mm_srli_epi16(bytes, 4), nibble);
    const __m128i nibbles = _mm_unpacklo_epi8(high, _mm_and_si128(bytes, nibble));
    const __m128i gaps = _mm_and_si128(_mm_cmpgt_epi8(nibbles, _mm_set1_epi8(9)), _mm_set1_epi8(letter_gap));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at), _mm_add_epi8(_mm_add_epi8(nibbles, _mm_set1_epi8('0')), gaps));
#else
    std::uint64_t x = value;
    x = ((x & 0xFFFF0000ull) << 16) | (x & 0x0000FFFFull);
    x = ((x & 0x0000FF000000FF00ull) << 8) | (x & 0x000000FF000000FFull);
    x = ((x & 0x00F000F000F000F0ull) << 4) | (x & 0x000F000F000F000Full);
    // Now byte k holds nibble k, the lowest nibble in the lowest byte.
    const std::uint64_t is_letter = ((x + 0x0606060606060606ull) >> 4) & 0x0101010101010101ull;
    x += 0x3030303030303030ull + is_letter * static_cast<std::uint64_t>(letter_gap);
    // The most significant digit goes first: the highest byte, as a big-endian
    // machine stores it.
    if constexpr (std::endian::native == std::endian::little)
        x = __builtin_bswap64(x);
    __builtin_memcpy(at, &x, sizeof x);
#endif
}
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
