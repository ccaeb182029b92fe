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

// The meaning of `key` in `table`, or nullptr when the table has none.
const Bcl_str* meaning_of(const Named_values& table, std::int32_t key)
{
    if (table.empty())
        return nullptr;
    const auto found = table.find(key);
    return found == table.end() ? nullptr : &found->second;
}

std::string_view number_in(Number_room& room, std::uint32_t value, Radix radix)
{
    char* const end = room.text + sizeof room.text;
    const char* const start = format_number(end, value, radix);
    return {start, static_cast<std::size_t>(end - start)};
}

std::string_view hex_number_in(Number_room& room, std::uint32_t bits, int width)
{
    room.text[0] = '0';
    room.text[1] = 'x';
    const char* const end = put_hex_digits(room.text + 2, bits, 2 * width);
    return {room.text, static_cast<std::size_t>(end - room.text)};
}

} // namespace

std::string_view int_text(const Def_int& item, Int_format format, std::uint32_t bits, Number_room& room)
{
    const std::int32_t value = int_value(item, bits);
    if (const Bcl_str* meaning = meaning_of(item.named_values(), value))
        return meaning->view();
    switch (format) {
    case Int_format::signed_decimal:
        return number_in(room, static_cast<std::uint32_t>(value), Radix::signed_decimal);
    case Int_format::unsigned_decimal:
        return number_in(room, bits, Radix::unsigned_decimal);
    case Int_format::hexadecimal:
        break;
    }
    return hex_number_in(room, bits, int_width(item));
}

void append_int_text(std::string& out, const Def_int& item, Int_format format, std::uint32_t bits)
{
    Number_room room;
    out += int_text(item, format, bits, room);
}

std::string_view flag_text(const Def_bitflag& flag, std::uint32_t field, Number_room& room)
{
    if (const Bcl_str* meaning = meaning_of(flag.named_values(), static_cast<std::int32_t>(field)))
        return meaning->view();
    return number_in(room, field, Radix::unsigned_decimal);
}

void append_flag_text(std::string& out, const Def_bitflag& flag, std::uint32_t field)
{
    Number_room room;
    out += flag_text(flag, field, room);
}
