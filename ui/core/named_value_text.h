#pragma once

#include <cstdint>
#include <string>

#include "model/define.h"

// How the integer dialogs list a named value: in decimal, a negative value followed
// by the same bits read as unsigned in parentheses ("-1(4294967295)"; with `wide`,
// of an 8-byte integer, "-1(18446744073709551615)").
[[nodiscard]] std::string named_value_text(std::int64_t value, bool wide = false);

// The value proposed for a new named value: the smallest, counting up from 0, that
// the table does not hold yet.
[[nodiscard]] std::int32_t proposed_value(const Named_values& values);
