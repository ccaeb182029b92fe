#include "model/int_decoder.h"

#include <charconv>
#include <string_view>

#include "toolkit/text/number_text.h"

const Bcl_str* find_meaning(const Named_values& table, std::int64_t key)
{
    const auto found = table.find(key);
    return found == table.end() ? nullptr : &found->second;
}

std::string int_bytes(std::uint64_t value, int width, Byte_order order)
{
    std::string bytes(static_cast<std::size_t>(width), '\0');
    for (int i = 0; i < width; ++i) {
        const int shift = order == Byte_order::little_endian ? 8 * i : 8 * (width - 1 - i);
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> shift);
    }
    return bytes;
}

namespace {

std::string_view text_in(Number_room& room, const char* end)
{
    return {room.text, static_cast<std::size_t>(end - room.text)};
}

} // namespace

char* put_int_hex_number(char* at, const Def_int& item, std::uint64_t bits)
{
    at[0] = '0';
    at[1] = 'x';
    if (int_width(item) == 4) {
        put_eight_hex_digits(at + 2, static_cast<std::uint32_t>(bits));
        return at + 10;
    }
    return put_hex_digits(at + 2, bits, 2 * int_width(item));
}

char* put_wide_unsigned(char* at, std::uint64_t value)
{
    return std::to_chars(at, at + sizeof(Number_room::text), value).ptr;
}

char* put_wide_decimal(char* at, const Def_int& item, Int_format format, std::uint64_t bits)
{
    if (format == Int_format::signed_decimal)
        return std::to_chars(at, at + sizeof(Number_room::text), int_value(item, bits)).ptr;
    return put_wide_unsigned(at, bits);
}

std::string_view int_text(const Def_int& item, Int_format format, std::uint64_t bits, Number_room& room)
{
    if (const Bcl_str* meaning = int_meaning(item, bits))
        return meaning->view();
    return text_in(room, put_int_number(room.text, item, format, bits));
}

void append_int_text(std::string& out, const Def_int& item, Int_format format, std::uint64_t bits)
{
    Number_room room;
    out += int_text(item, format, bits, room);
}

std::string_view flag_text(const Def_bitflag& flag, std::uint64_t field, bool wide, Number_room& room)
{
    if (const Bcl_str* meaning = flag_meaning(flag, field, wide))
        return meaning->view();
    return text_in(room, put_flag_number(room.text, field));
}

void append_flag_text(std::string& out, const Def_bitflag& flag, std::uint64_t field, bool wide)
{
    Number_room room;
    out += flag_text(flag, field, wide, room);
}
