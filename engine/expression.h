#pragma once

#include <cstdint>
#include <string_view>

#include "model/walk_tables.h"

// The expression language of conditions, loop counts and assignments. Any text is
// accepted: what cannot be read is ignored and a missing operand counts as 0.
// Variables are read from `variables`, which evaluation never changes.
[[nodiscard]] std::int32_t evaluate(std::string_view text, const Variable_table& variables);
// True when evaluate(text, variables) is not 0.
[[nodiscard]] bool evaluate_condition(std::string_view text, const Variable_table& variables);
