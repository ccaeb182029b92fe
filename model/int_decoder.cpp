#include "model/int_decoder.h"

#include <string_view>

#include "toolkit/number_text.h"

Int_format int_format(const Def_int& item)
{
    if (item.display() == Def_int::hexadecimal)
        return Int_format::hexadecimal;
    return item.is_signed() ? Int_format::signed_decimal : Int_format::unsigned_decimal;
}

std::string int_bytes(std::uint32_t value, int width, Byte_order order)
{
    std::string bytes(static_cast<std::size_t>(width), '\0');
    for (int i = 0; i < width; ++i) {
        const int shift = order == Byte_order::little_endian ? 8 * i : 8 * (width - 1 - i);
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> shift);
    }
    return bytes;
}

namespace {

// Appends the meaning of `key` in `table`; false when the table has none.
bool append_meaning(std::string& out, const Named_values& table, std::int32_t key)
{
    if (table.empty())
        return false;
    const auto found = table.find(key);
    if (found == table.end())
        return false;
    out += found->second.view();
    return true;
}

void append_number(std::string& out, std::uint32_t value, Radix radix)
{
    char digits[16];
    char* const end = digits + sizeof digits;
    out.append(format_number(end, value, radix), end);
}

} // namespace

void append_int_text(std::string& out, const Def_int& item, Int_format format, std::uint32_t bits)
{
    const int width = int_width(item);
    const std::int32_t value = int_value(item, bits);
    if (append_meaning(out, item.named_values(), value))
        return;
    switch (format) {
    case Int_format::signed_decimal:
        append_number(out, static_cast<std::uint32_t>(value), Radix::signed_decimal);
        break;
    case Int_format::unsigned_decimal:
        append_number(out, bits, Radix::unsigned_decimal);
        break;
    case Int_format::hexadecimal:
        append_hex_text(out, bits, width);
        break;
    }
}

void append_flag_text(std::string& out, const Def_bitflag& flag, std::uint32_t field)
{
    if (!append_meaning(out, flag.named_values(), static_cast<std::int32_t>(field)))
        append_number(out, field, Radix::unsigned_decimal);
}
