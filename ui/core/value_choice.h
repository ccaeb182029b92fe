#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/define.h"

// How the value change dialogs open: the direct value or a named one.
struct Value_choice {
    bool named = false;          // "定義値" checked, its list enabled
    int entry = -1;              // the list entry selected (value order), -1: none
    bool named_allowed = false;  // "定義値" can be chosen at all
};

// A value that is one of `values` opens on its entry; any other opens as a direct
// value with the first entry selected; with no named values (or none given) the
// named choice is disabled.
[[nodiscard]] Value_choice value_choice(std::int64_t value, const Named_values* values);
// The value of the `entry`-th named value in value order; none when out of range.
[[nodiscard]] std::optional<std::int64_t> named_value_at(const Named_values* values, int entry);

// A value as the hexadecimal change field shows it: upper-case digits, zero-padded
// to two digits per byte of `byte_count`.
[[nodiscard]] std::string hex_field_text(std::uint64_t value, int byte_count);
// A data position as the add and delete dialog shows it: 8 upper-case digits.
[[nodiscard]] std::string position_field_text(std::uint32_t position);
// Hexadecimal and decimal field texts read as unsigned 32-bit values; none when the
// text is empty, holds anything else or does not fit.
[[nodiscard]] std::optional<std::uint32_t> read_hex_field(std::string_view text);
[[nodiscard]] std::optional<std::uint32_t> read_decimal_field(std::string_view text);

// The values that the change fields hold, or none: OK is enabled only while there is
// one, so that an empty or partial text ("", "-") never passes for the old value.
// A decimal text is a whole number from `minimum` (compared as signed) to `maximum`
// (as unsigned); a hexadecimal text fits in `byte_count` bytes. Values come back as
// the named values key them: within a 32-bit range (`maximum` below 2^32, up to 4
// bytes) as the 32-bit pattern sign-extended, so 4294967295 is -1; within a 64-bit
// range as the 64-bit pattern.
[[nodiscard]] std::optional<std::int64_t> decimal_field_value(std::string_view text, std::int64_t minimum,
                                                              std::uint64_t maximum);
[[nodiscard]] std::optional<std::uint64_t> hex_field_value(std::string_view text, int byte_count);
// The pattern `bits` of a value of `byte_count` bytes as the named values key it.
[[nodiscard]] std::int64_t value_key(std::uint64_t bits, int byte_count);
// The add and delete dialog's OK: a position, and a size that is not zero.
[[nodiscard]] bool byte_range_confirmable(std::string_view position, std::string_view size);

// What the go-to field holds for data of `data_size` bytes, read as the command
// line's `at` reads an offset (parse_offset).
enum class Offset_field { empty, unreadable, past_end, inside };
[[nodiscard]] Offset_field offset_field_state(std::string_view text, std::uint32_t data_size);
