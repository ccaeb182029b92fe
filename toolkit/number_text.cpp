#include "toolkit/number_text.h"

#include <string_view>

namespace {

constexpr std::string_view lower_digits = "0123456789abcdef";
constexpr std::string_view upper_digits = "0123456789ABCDEF";

// The digits of `value` in `base`, ending just before `end`; returns where they start.
char* put_unsigned(char* end, std::uint64_t value, unsigned base)
{
    char* p = end;
    do {
        *--p = lower_digits[value % base];
        value /= base;
    } while (value != 0);
    return p;
}

// Longest decimal text of a 64-bit value.
constexpr int max_decimal_digits = 20;

void append_decimal(std::string& text, std::uint64_t value)
{
    char digits[max_decimal_digits];
    char* const end = digits + sizeof digits;
    text.append(put_unsigned(end, value, 10), end);
}

} // namespace

char* format_number(char* end, std::uint32_t value, Radix radix)
{
    if (radix == Radix::signed_decimal && static_cast<std::int32_t>(value) < 0) {
        char* p = put_unsigned(end, 0u - value, 10);
        *--p = '-';
        return p;
    }
    const unsigned base = radix == Radix::binary ? 2 : radix == Radix::octal ? 8 : radix == Radix::hexadecimal ? 16 : 10;
    return put_unsigned(end, value, base);
}

std::string number_text(std::uint32_t value, Radix radix)
{
    char buffer[40];
    char* end = buffer + sizeof buffer;
    return std::string(format_number(end, value, radix), end);
}

char* put_hex_digits(char* at, std::uint64_t value, int digits, Hex_case letters)
{
    const std::string_view table = letters == Hex_case::upper ? upper_digits : lower_digits;
    for (int i = digits - 1; i >= 0; --i) {
        at[i] = table[value & 0xF];
        value >>= 4;
    }
    return at + (digits > 0 ? digits : 0);
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
    char digits[max_decimal_digits];
    char* const end = digits + sizeof digits;
    *at++ = '[';
    for (const char* p = put_unsigned(end, index, 10); p != end; ++p)
        *at++ = *p;
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
