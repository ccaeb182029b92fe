#include "toolkit/number_text.h"

char* format_number(char* end, std::uint32_t value, Radix radix)
{
    char* p = end;
    if (radix == Radix::signed_decimal && static_cast<std::int32_t>(value) < 0) {
        p = format_number(end, 0u - value, Radix::unsigned_decimal);
        *--p = '-';
        return p;
    }
    const unsigned base = radix == Radix::binary ? 2 : radix == Radix::octal ? 8 : radix == Radix::hexadecimal ? 16 : 10;
    do {
        *--p = "0123456789abcdef"[value % base];
        value /= base;
    } while (value != 0);
    return p;
}

std::string number_text(std::uint32_t value, Radix radix)
{
    char buffer[40];
    char* end = buffer + sizeof buffer;
    return std::string(format_number(end, value, radix), end);
}

std::string hex_text(std::uint32_t value, int bytes)
{
    std::string text = "0x";
    for (int i = 2 * bytes - 1; i >= 0; --i)
        text += "0123456789ABCDEF"[(value >> (4 * i)) & 0xF];
    return text;
}
