#pragma once

#include <cstdint>
#include <string_view>

// The expression language of conditions, loop counts and assignments. Any text is
// accepted: what cannot be read is ignored and a missing operand counts as 0.
// Variables are read from the document's variable table.
[[nodiscard]] std::int32_t evaluate(std::string_view text);
// True when evaluate(text) is not 0.
[[nodiscard]] bool evaluate_condition(std::string_view text);
