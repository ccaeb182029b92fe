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
[[nodiscard]] Value_choice value_choice(std::int32_t value, const Named_values* values);
// The value of the `entry`-th named value in value order; none when out of range.
[[nodiscard]] std::optional<std::int32_t> named_value_at(const Named_values* values, int entry);

// A value as the hexadecimal change field shows it: upper-case digits, zero-padded
// to two digits per byte of `byte_count`.
[[nodiscard]] std::string hex_field_text(std::uint32_t value, int byte_count);
// A data position as the add and delete dialog shows it: 8 upper-case digits.
[[nodiscard]] std::string position_field_text(std::uint32_t position);
// Hexadecimal and decimal field texts read as unsigned 32-bit values; none when the
// text is empty, holds anything else or does not fit.
[[nodiscard]] std::optional<std::uint32_t> read_hex_field(std::string_view text);
[[nodiscard]] std::optional<std::uint32_t> read_decimal_field(std::string_view text);
