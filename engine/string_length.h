#pragma once

#include <cstdint>

#include "engine/expression.h"
#include "model/def_str.h"
#include "model/walk_tables.h"

// The byte length of a fixed-length string where it starts: its constant, or its
// expression's value, a value ≤ 0 reading nothing; a 64-bit value whole.
[[nodiscard]] std::uint64_t fixed_string_length(const Def_fix_str& item, const Variable_table& variables,
                                                const Expression_place& place);
