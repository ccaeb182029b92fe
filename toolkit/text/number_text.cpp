#include "toolkit/text/number_text.h"

#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

constexpr std::string_view lower_digits = "0123456789abcdef";
constexpr std::string_view upper_digits = "0123456789ABCDEF";

// Every two-character text of `digits` (a radix of 10 or 16 digits), in order: a
// table lookup writes two digits at once, which is what makes the report's numbers
// cheap.
template <std::size_t Radix_size>
struct Digit_pairs {
    char text[2 * Radix_size * Radix_size];

    constexpr explicit Digit_pairs(std::string_view digits) : text{}
    {
        for (std::size_t i = 0; i < Radix_size * Radix_size; ++i) {
            text[2 * i] = digits[i / Radix_size];
            text[2 * i + 1] = digits[i % Radix_size];
        }
    }
    [[nodiscard]] const char* of(std::size_t pair) const { return text + 2 * pair; }
};
constexpr Digit_pairs<10> decimal_pairs(upper_digits);
constexpr Digit_pairs<16> lower_hex_pairs(lower_digits);
constexpr Digit_pairs<16> upper_hex_pairs(upper_digits);

// The digits of `value` written backwards from `end`; returns where they start. A
// 32-bit value is divided in 32-bit arithmetic, whose division by 100 is a cheaper
// multiplication than a 64-bit one.
template <typename Unsigned>
char* put_decimal(char* end, Unsigned value)
{
    char* p = end;
    while (value >= 100) {
        p -= 2;
        std::memcpy(p, decimal_pairs.of(value % 100), 2);
        value /= 100;
    }
    if (value >= 10) {
        p -= 2;
        std::memcpy(p, decimal_pairs.of(value), 2);
    } else {
        *--p = static_cast<char>('0' + value);
    }
    return p;
}

// How many decimal digits `value` has: the digits of its binary width give the
// count or one more, and one comparison tells which.
template <typename Unsigned>
int decimal_digits(Unsigned value)
{
    static constexpr auto powers_of_ten = [] {
        std::array<Unsigned, std::numeric_limits<Unsigned>::digits10 + 1> powers{};
        Unsigned power = 1;
        for (auto& p : powers) {
            p = power;
            power = static_cast<Unsigned>(power * 10);
        }
        return powers;
    }();
    const auto at_least = static_cast<std::size_t>((std::bit_width(value | 1u) * 1233) >> 12);  // 1233 / 4096 ≈ log10(2)
    return static_cast<int>(at_least) + ((value | 1u) >= powers_of_ten[at_least] ? 1 : 0);
}

// The digits of `value` in a power-of-two radix of `bits` bits per digit, at `at`.
char* put_power_of_two(char* at, std::uint64_t value, int bits)
{
    const int width = std::bit_width(value | 1);
    char* const end = at + (width + bits - 1) / bits;
    const std::uint64_t mask = (1u << bits) - 1;
    for (char* p = end; p != at; value >>= bits)
        *--p = lower_digits[value & mask];
    return end;
}

// The decimal digits of `value` at `at`; returns their end.
template <typename Unsigned>
char* put_decimal_at(char* at, Unsigned value)
{
    // Small numbers (flags, counts) are common: they need no digit count.
    if (value < 100)
        return put_small_decimal(at, static_cast<std::uint32_t>(value));
    char* const end = at + decimal_digits(value);
    put_decimal(end, value);
    return end;
}

// Eight decimal digits of `value` (below 10^8, zero-padded) as the bytes of a word
// in memory order, the first digit in the lowest byte. The value is split in
// halves of four digits, each half in pairs of two, each pair in digits, every
// lane of the word at once: each split is a multiplication by a rounded-up
// reciprocal and a shift, exact for the lane's range (value / 10^4 below 10^8,
// lane / 100 below 10^4, lane / 10 below 100). No lane's product reaches into the
// next. (The word's bytes are in memory order on a little-endian machine only.)
std::uint64_t eight_decimal_digits(std::uint32_t value)
{
    const std::uint64_t high = (std::uint64_t{value} * 109951163) >> 40;  // ⌈2^40 / 10^4⌉
    const std::uint64_t halves = high | (std::uint64_t{value - static_cast<std::uint32_t>(high) * 10000} << 32);
    // 16-bit lanes: first pair, second pair, third pair, fourth pair.
    const std::uint64_t first_of_halves = ((halves * 10486) >> 20) & 0x0000007F0000007Full;  // ⌈2^20 / 100⌉
    const std::uint64_t pairs = ((halves - 100 * first_of_halves) << 16) + first_of_halves;
    // 8-bit lanes: the tens and the ones of each pair.
    const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000Full;  // ⌈2^10 / 10⌉, exact below 179
    return (tens + ((pairs - 10 * tens) << 8)) | 0x3030303030303030ull;
}

// The decimal digits of a 32-bit `value` of at least 100 at `at`; returns their end.
// Writes up to 10 bytes at `at`, past the end when the digits are fewer.
char* put_decimal_32(char* at, std::uint32_t value)
{
    constexpr std::uint32_t hundred_million = 100000000;
    if (value >= hundred_million) {
        // Ten or nine digits: the first one or two, then eight.
        const std::uint32_t first = value / hundred_million;
        at = put_decimal_at(at, first);
        const std::uint64_t rest = eight_decimal_digits(value - first * hundred_million);
        std::memcpy(at, &rest, 8);
        return at + 8;
    }
    // Up to eight digits: the zeros that pad them to eight are dropped from the front.
    const std::uint64_t digits = eight_decimal_digits(value);
    const int padding = std::countr_zero(digits ^ 0x3030303030303030ull) / 8;
    const std::uint64_t shown = digits >> (8 * padding);
    std::memcpy(at, &shown, 8);
    return at + 8 - padding;
}

// Longest decimal text of a 64-bit value.
constexpr int max_decimal_digits = 20;

void append_decimal(std::string& text, std::uint64_t value)
{
    char digits[max_decimal_digits];
    char* const end = digits + sizeof digits;
    text.append(put_decimal(end, value), end);
}

} // namespace

char* put_number(char* at, std::uint32_t value, Radix radix)
{
    switch (radix) {
    case Radix::binary: return put_power_of_two(at, value, 1);
    case Radix::octal: return put_power_of_two(at, value, 3);
    case Radix::hexadecimal: return put_power_of_two(at, value, 4);
    case Radix::signed_decimal:
        if (static_cast<std::int32_t>(value) < 0) {
            *at++ = '-';
            value = 0u - value;
        }
        break;
    case Radix::unsigned_decimal: break;
    }
    return put_unsigned_decimal(at, value);
}

char* put_large_decimal(char* at, std::uint32_t value)
{
    if constexpr (std::endian::native == std::endian::little)
        return put_decimal_32(at, value);
    else
        return put_decimal_at(at, value);
}

std::string number_text(std::uint32_t value, Radix radix)
{
    char buffer[max_number_chars];
    return std::string(buffer, put_number(buffer, value, radix));
}

char* put_hex_digits(char* at, std::uint64_t value, int digits, Hex_case letters)
{
    if (digits <= 0)
        return at;
    int i = digits;
    for (; i >= 8; i -= 8, value >>= 32)
        put_eight_hex_digits(at + i - 8, static_cast<std::uint32_t>(value), letters);
    const auto& pairs = letters == Hex_case::upper ? upper_hex_pairs : lower_hex_pairs;
    for (; i >= 2; i -= 2, value >>= 8)
        std::memcpy(at + i - 2, pairs.of(value & 0xFF), 2);
    if (i == 1)
        at[0] = pairs.of(value & 0xF)[1];
    return at + digits;
}

void append_hex_digits(std::string& text, std::uint64_t value, int digits, Hex_case letters)
{
    if (digits <= 0)
        return;
    const std::size_t start = text.size();
    text.resize(start + static_cast<std::size_t>(digits));
    put_hex_digits(text.data() + start, value, digits, letters);
}

std::string hex_text(std::uint32_t value, int bytes)
{
    std::string text;
    append_hex_text(text, value, bytes);
    return text;
}

void append_hex_text(std::string& text, std::uint32_t value, int bytes)
{
    text += "0x";
    append_hex_digits(text, value, 2 * bytes);
}

char* put_index_label(char* at, std::uint64_t index)
{
    *at++ = '[';
    if (index <= 0xFFFFFFFF)
        at = put_unsigned_decimal(at, static_cast<std::uint32_t>(index));
    else
        at = put_decimal_at(at, index);
    *at++ = ']';
    return at;
}

// (Built by appending: "[" + std::string trips a false GCC 12 warning.)
std::string index_label(std::uint64_t index)
{
    std::string text(1, '[');
    append_decimal(text, index);
    text += ']';
    return text;
}

std::string range_label(std::uint64_t first, std::uint64_t last)
{
    std::string text(1, '[');
    append_decimal(text, first);
    text += " - ";
    append_decimal(text, last);
    text += ']';
    return text;
}
