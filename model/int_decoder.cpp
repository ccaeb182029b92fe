#include "model/int_decoder.h"

#include <algorithm>
#include <string_view>

#include "toolkit/number_text.h"

int int_width(const Def_int& item) { return std::clamp(item.size(), 1, 4); }

std::int32_t sign_extend(std::uint32_t bits, int width)
{
    if (width >= 4)
        return static_cast<std::int32_t>(bits);
    const int unused = 32 - 8 * width;
    // Shifting the value's top bit to bit 31 and back copies it over the unused bits.
    return static_cast<std::int32_t>(bits << unused) >> unused;
}

std::int32_t int_value(const Def_int& item, std::uint32_t bits)
{
    return item.is_signed() ? sign_extend(bits, int_width(item)) : static_cast<std::int32_t>(bits);
}

Int_format int_format(const Def_int& item)
{
    if (item.display() == Def_int::hexadecimal)
        return Int_format::hexadecimal;
    return item.is_signed() ? Int_format::signed_decimal : Int_format::unsigned_decimal;
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
        out += "0x";
        for (int i = 2 * width - 1; i >= 0; --i)
            out += "0123456789ABCDEF"[(bits >> (4 * i)) & 0xF];
        break;
    }
}

std::uint32_t flag_bits_of(std::uint32_t raw, int shift, int bit_count)
{
    if (shift < 0 || shift >= 32 || bit_count <= 0)
        return 0;
    const std::uint64_t mask = bit_count >= 32 ? 0xFFFFFFFFull : (1ull << bit_count) - 1;
    return static_cast<std::uint32_t>((std::uint64_t{raw} >> shift) & mask);
}

void append_flag_text(std::string& out, const Def_bitflag& flag, std::uint32_t field)
{
    if (!append_meaning(out, flag.named_values(), static_cast<std::int32_t>(field)))
        append_number(out, field, Radix::unsigned_decimal);
}
