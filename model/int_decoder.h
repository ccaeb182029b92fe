#pragma once

// How the bytes of an integer item become its value, its bit flags and its text.
// The analysis, the components and the text report all decode through these
// functions, so the tree and the report cannot show different values for the same
// bytes.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/byte_order.h"
#include "model/def_int.h"
#include "model/expr_value.h"
#include "toolkit/text/number_text.h"

// The number of bytes an integer item reads: its size, held to 1 ... 8 so that an
// item with a broken size still reads a defined number of bytes.
[[nodiscard]] inline int int_width(const Def_int& item)
{
    return std::clamp(item.size(), 1, 8);
}

// Reads up to `width` (1 ... 8) bytes through `next_byte`, a callable
// `bool(std::uint8_t&)` that gives the next byte or false at the end of the data,
// into an unsigned bit pattern: big-endian, value = value × 256 + byte; little-
// endian, the i-th byte counts 256^i. `got` tells how many bytes there were; a
// missing byte contributes nothing. Integers and length prefixes read alike.
template <typename Next_byte>
std::uint64_t read_int_bits(int width, Byte_order order, Next_byte next_byte, int& got)
{
    std::uint64_t bits = 0;
    for (got = 0; got < width; ++got) {
        std::uint8_t byte;
        if (!next_byte(byte))
            break;
        if (order == Byte_order::little_endian)
            bits |= std::uint64_t{byte} << (8 * got);
        else
            bits = (bits << 8) | byte;
    }
    return bits;
}

// What read_int_bits reads from the `width` (1 ... 8) bytes at `bytes`, all of which
// exist: one pass without a test per byte, for readers that hold the bytes in a
// buffer.
[[nodiscard]] inline std::uint64_t load_int_bits(const std::uint8_t* bytes, int width, Byte_order order)
{
    if (width > 4) {
        std::uint64_t little = 0;
        __builtin_memcpy(&little, bytes, static_cast<std::size_t>(width));
        if constexpr (std::endian::native == std::endian::big)
            little = __builtin_bswap64(little);  // the first byte, stored highest, comes lowest
        if (order == Byte_order::little_endian)
            return little;
        return __builtin_bswap64(little) >> (64 - 8 * width);
    }
    // The bytes as little-endian first (the compiler makes one load of each case);
    // a big-endian value is the same bytes reversed.
    std::uint32_t little = bytes[0];
    switch (width) {
    case 1: break;
    case 2: little |= std::uint32_t{bytes[1]} << 8; break;
    case 3: little |= std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16; break;
    default: little |= std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
    }
    if (order == Byte_order::little_endian)
        return little;
    return __builtin_bswap32(little) >> (32 - 8 * width);
}

// The low `width` (1 ... 8) bytes of `value` in `order`: what read_int_bits reads
// back as the same bits.
[[nodiscard]] std::string int_bytes(std::uint64_t value, int width, Byte_order order);

// `bits` taken as a value of `width` bytes and sign-extended: to 32 bits for
// widths up to 4 (then widened), to 64 bits for wider ones.
[[nodiscard]] inline std::int64_t sign_extend(std::uint64_t bits, int width)
{
    if (width >= 8)
        return static_cast<std::int64_t>(bits);
    const int unused = 64 - 8 * width;
    // Shifting the value's top bit to bit 63 and back copies it over the unused bits.
    return static_cast<std::int64_t>(bits << unused) >> unused;
}

// Whether an integer of `width` bytes is a 64-bit value (the others are 32-bit).
[[nodiscard]] inline bool is_wide_int(int width) { return width > 4; }

// The item's value: the bits sign-extended from the item's width when it is signed.
// A variable bound to the item gets it, and the item's named values are looked up
// by it, however the number is displayed. Up to 4 bytes it is a 32-bit value as it
// always was (a 4-byte unsigned integer from 2^31 on is negative); 8 bytes give the
// 64-bit pattern.
[[nodiscard]] inline std::int64_t int_value(const Def_int& item, std::uint64_t bits)
{
    const int width = int_width(item);
    if (is_wide_int(width))
        return item.is_signed() ? sign_extend(bits, width) : static_cast<std::int64_t>(bits);
    const auto low = static_cast<std::uint32_t>(bits);
    return item.is_signed() ? sign_extend(low, width) : std::int64_t{static_cast<std::int32_t>(low)};
}

// What a variable bound to the item holds: a 64-bit value for 8 bytes, else the
// 32-bit value, marked unsigned when the item is (see engine/expression.h).
[[nodiscard]] inline Expr_value int_binding(const Def_int& item, std::uint64_t bits)
{
    if (is_wide_int(int_width(item)))
        return Expr_value::of_wide(int_value(item, bits));
    if (item.is_signed())
        return Expr_value(static_cast<std::int32_t>(int_value(item, bits)));
    return Expr_value::of_unsigned(static_cast<std::uint32_t>(bits));
}
// What a variable bound to a flag of `owner` holds: the field, unsigned.
[[nodiscard]] inline Expr_value flag_binding(const Def_int& owner, std::uint64_t field)
{
    if (is_wide_int(int_width(owner)))
        return Expr_value::of_wide(static_cast<std::int64_t>(field));
    return Expr_value::of_unsigned(static_cast<std::uint32_t>(field));
}

// How an integer's number is written when no named value matches.
enum class Int_format {
    signed_decimal,    // the value, signed
    unsigned_decimal,  // the bits
    hexadecimal,       // "0x" and 2 digits per byte of the bits, upper case
};
[[nodiscard]] inline Int_format int_format(const Def_int& item)
{
    if (item.display() == Def_int::hexadecimal)
        return Int_format::hexadecimal;
    return item.is_signed() ? Int_format::signed_decimal : Int_format::unsigned_decimal;
}

// The meaning of `key` in `table`, or nullptr when it has none. Most items have no
// named values: that case costs no call.
[[nodiscard]] const Bcl_str* find_meaning(const Named_values& table, std::int64_t key);
[[nodiscard]] inline const Bcl_str* meaning_of(const Named_values& table, std::int64_t key)
{
    return table.empty() ? nullptr : find_meaning(table, key);
}

// Room for the number an integer or flag shows when no named value matches: at
// most "-9223372036854775808" or "18446744073709551615", or "0x" and 16 digits.
struct Number_room {
    char text[24];
};
static_assert(sizeof(Number_room::text) >= max_decimal_chars, "a decimal number's scratch bytes fit");

// The value text of `bits` read by `item`: the meaning of the item's value in its
// named values, else the number written in `format` into `room`. Allocates
// nothing: the report writes one per integer of a large file.
[[nodiscard]] std::string_view int_text(const Def_int& item, Int_format format, std::uint64_t bits, Number_room& room);
// The two halves of that text, for a writer that puts the number straight where it
// goes: the meaning (nullptr when there is none), and the number written at `at`
// (at most sizeof Number_room::text characters; returns its end).
[[nodiscard]] inline const Bcl_str* int_meaning(const Def_int& item, std::uint64_t bits)
{
    return meaning_of(item.named_values(), int_value(item, bits));
}
// (Inline: the report's integers are mostly unsigned decimal, which is then one
// call at most.)
char* put_int_hex_number(char* at, const Def_int& item, std::uint64_t bits);
char* put_wide_decimal(char* at, const Def_int& item, Int_format format, std::uint64_t bits);
inline char* put_int_number(char* at, const Def_int& item, Int_format format, std::uint64_t bits)
{
    if (is_wide_int(int_width(item)) && format != Int_format::hexadecimal)
        return put_wide_decimal(at, item, format, bits);
    switch (format) {
    case Int_format::signed_decimal:
        return put_number(at, static_cast<std::uint32_t>(int_value(item, bits)), Radix::signed_decimal);
    case Int_format::unsigned_decimal:
        return put_unsigned_decimal(at, static_cast<std::uint32_t>(bits));
    case Int_format::hexadecimal:
        break;
    }
    return put_int_hex_number(at, item, bits);
}
// The same text appended to `out`.
void append_int_text(std::string& out, const Def_int& item, Int_format format, std::uint64_t bits);

// The value of the flag that takes `bit_count` bits of `raw` from `shift` upward.
// Bits beyond the integer's width do not exist and read as 0 (`raw` holds none),
// and so do bits beyond bit 63.
[[nodiscard]] inline std::uint64_t flag_bits_of(std::uint64_t raw, int shift, int bit_count)
{
    if (shift < 0 || shift >= 64 || bit_count <= 0)
        return 0;
    const std::uint64_t mask = bit_count >= 64 ? ~0ull : (1ull << bit_count) - 1;
    return (raw >> shift) & mask;
}

// Walks the flags of an integer whose bits are `raw`: the flags take bits from the
// least significant bit upward in list order, whatever the byte order.
//
//     Flag_fields fields(raw);
//     for (const auto& flag : item.bit_flags()) {
//         use(fields.shift(), fields.of(*flag));
//         fields.pass(*flag);
//     }
//
// A plain loop rather than a callback: this runs for every integer of a large file.
class Flag_fields {
public:
    explicit Flag_fields(std::uint64_t raw) : raw_(raw) {}

    // The lowest bit of the flag the walk stands at.
    [[nodiscard]] int shift() const { return shift_; }
    // The field of `flag`, the flag the walk stands at.
    [[nodiscard]] std::uint64_t of(const Def_bitflag& flag) const { return flag_bits_of(raw_, shift_, flag.bit_count()); }
    // Moves past `flag`'s bits. Held at 64 so that widths from a broken item cannot
    // overflow it; every bit past bit 63 reads 0 anyway.
    void pass(const Def_bitflag& flag)
    {
        const int width = flag.bit_count() < 0 ? 0 : flag.bit_count();
        shift_ = width >= 64 - shift_ ? 64 : shift_ + width;
    }

private:
    std::uint64_t raw_;
    int shift_ = 0;
};

// The value text of a flag's `field`: its meaning in the flag's named values, else
// the unsigned decimal number written into `room`.
// `wide`: the flag of an 8-byte integer, whose named values are keyed by 64-bit
// values; the others' by 32-bit ones, as ever.
[[nodiscard]] std::string_view flag_text(const Def_bitflag& flag, std::uint64_t field, bool wide, Number_room& room);
// Its halves, as for integers: the meaning or nullptr, and the number at `at`.
[[nodiscard]] inline const Bcl_str* flag_meaning(const Def_bitflag& flag, std::uint64_t field, bool wide)
{
    const std::int64_t key = wide ? static_cast<std::int64_t>(field) : std::int64_t{static_cast<std::int32_t>(field)};
    return meaning_of(flag.named_values(), key);
}
char* put_wide_unsigned(char* at, std::uint64_t value);
inline char* put_flag_number(char* at, std::uint64_t field)
{
    return field > 0xFFFFFFFFull ? put_wide_unsigned(at, field) : put_unsigned_decimal(at, static_cast<std::uint32_t>(field));
}
// The same text appended to `out`.
void append_flag_text(std::string& out, const Def_bitflag& flag, std::uint64_t field, bool wide);
