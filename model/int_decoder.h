#pragma once

// How the bytes of an integer item become its value, its bit flags and its text.
// The analysis, the components and the text report all decode through these
// functions, so the tree and the report cannot show different values for the same
// bytes.

#include <cstdint>
#include <string>

#include "model/def_int.h"

// The number of bytes an integer item reads: its size, held to 1 ... 4 so that an
// item with a broken size still reads a defined number of bytes.
[[nodiscard]] int int_width(const Def_int& item);

// Reads up to `width` (1 ... 4) bytes through `next_byte`, a callable
// `bool(std::uint8_t&)` that gives the next byte or false at the end of the data,
// into an unsigned bit pattern: big-endian, value = value × 256 + byte; little-
// endian, the i-th byte counts 256^i. `got` tells how many bytes there were; a
// missing byte contributes nothing. Integers and length prefixes read alike.
template <typename Next_byte>
std::uint32_t read_int_bits(int width, bool little_endian, Next_byte next_byte, int& got)
{
    std::uint32_t bits = 0;
    for (got = 0; got < width; ++got) {
        std::uint8_t byte;
        if (!next_byte(byte))
            break;
        if (little_endian)
            bits |= std::uint32_t{byte} << (8 * got);
        else
            bits = (bits << 8) | byte;
    }
    return bits;
}

// `bits` taken as a value of `width` bytes and sign-extended to 32 bits.
[[nodiscard]] std::int32_t sign_extend(std::uint32_t bits, int width);

// The item's value: the bits sign-extended from the item's width when it is signed.
// A variable bound to the item gets it, and the item's named values are looked up
// by it, however the number is displayed.
[[nodiscard]] std::int32_t int_value(const Def_int& item, std::uint32_t bits);

// How an integer's number is written when no named value matches.
enum class Int_format {
    signed_decimal,    // the value, signed
    unsigned_decimal,  // the bits
    hexadecimal,       // "0x" and 2 digits per byte of the bits, upper case
};
[[nodiscard]] Int_format int_format(const Def_int& item);

// Appends the value text of `bits` read by `item`: the meaning of the item's value
// in its named values, else the number written in `format`.
void append_int_text(std::string& out, const Def_int& item, Int_format format, std::uint32_t bits);

// The value of the flag that takes `bit_count` bits of `raw` from `shift` upward.
// A flag of 32 bits or more is the whole value; bits beyond bit 31 do not exist and
// read as 0.
[[nodiscard]] std::uint32_t flag_bits_of(std::uint32_t raw, int shift, int bit_count);

// Calls `visit(flag, shift, field)` for each flag of `item` in order: the flags take
// bits from the least significant bit of `raw` upward, whatever the byte order.
template <typename Visit>
void for_each_flag(const Def_int& item, std::uint32_t raw, Visit visit)
{
    int shift = 0;
    for (const auto& flag : item.bit_flags()) {
        visit(*flag, shift, flag_bits_of(raw, shift, flag->bit_count()));
        // Held at 64 so that widths from a broken item cannot overflow it; every bit
        // past bit 31 reads 0 anyway.
        const int width = flag->bit_count() < 0 ? 0 : flag->bit_count();
        shift = width >= 64 - shift ? 64 : shift + width;
    }
}

// Appends the value text of a flag's `field`: its meaning in the flag's named
// values, else the unsigned decimal number.
void append_flag_text(std::string& out, const Def_bitflag& flag, std::uint32_t field);
