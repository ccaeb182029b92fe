#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/define.h"

// How the integer dialogs list a named value: in decimal, a negative value followed
// by the same bits read as unsigned in parentheses ("-1(4294967295)"; with `wide`,
// of an 8-byte integer, "-1(18446744073709551615)").
[[nodiscard]] std::string named_value_text(std::int64_t value, bool wide = false);

// The table as an integer of up to 4 bytes keys it (`wide`: of 8 bytes, unchanged):
// values from 2^31 to 2^32 - 1 become the negative values of the same 32 bits; none
// when a value lies outside -2^31 ... 2^32 - 1, which such an integer cannot hold.
[[nodiscard]] std::optional<Named_values> values_for_size(const Named_values& values, bool wide);

// The value proposed for a new named value: the smallest, counting up from 0, that
// the table does not hold yet.
[[nodiscard]] std::int32_t proposed_value(const Named_values& values);
