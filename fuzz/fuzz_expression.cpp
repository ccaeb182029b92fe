// The expression evaluator, on any text, with variables of every interesting value
// in the table, outside a walk and with the built-in names on at the data's ends and
// past them. Evaluation must be defined for everything (no crash, no undefined
// arithmetic, no unbounded recursion), repeatable, and must not change variables;
// a text that names no built-in reads the same wherever it stands.
#include <array>
#include <climits>
#include <cstdint>

#include "engine/expression.h"
#include "fuzz/fuzz_support.h"
#include "model/walk_tables.h"

namespace {

Variable_table preset_variables()
{
    Variable_table variables;
    variables.set(Bcl_str("a"), 1);
    variables.set(Bcl_str("b"), -1);
    variables.set(Bcl_str("zero"), 0);
    variables.set(Bcl_str("min"), INT_MIN);
    variables.set(Bcl_str("max"), INT_MAX);
    variables.set(Bcl_str::from_utf8("長さ"), 4);
    // 64-bit values, and a 32-bit one that widens with zeros.
    variables.set(Bcl_str("wmin"), Expr_value::of_wide(INT64_MIN));
    variables.set(Bcl_str("wmax"), Expr_value::of_wide(INT64_MAX));
    variables.set(Bcl_str("w32"), Expr_value::of_wide(std::int64_t{1} << 32));
    variables.set(Bcl_str("u"), Expr_value::of_unsigned(UINT32_MAX));
    return variables;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Variable_table variables = preset_variables();
    const Variable_table before = variables;

    const std::string_view text = fuzz::Input(data, size).rest();
    const bool names_builtin = text.find("_pos") != std::string_view::npos || text.find("_rest") != std::string_view::npos;
    const Expr_value outside = evaluate_value(text, variables, Expression_place());
    // {offset, size}: empty data, the middle, the end, past it, and the largest data.
    constexpr std::array<std::array<std::uint64_t, 2>, 6> places{
        {{0, 0}, {5, 10}, {10, 10}, {12, 10}, {1, UINT32_MAX}, {UINT32_MAX, UINT32_MAX}}};
    for (const auto& [offset, data_size] : places) {
        const Expression_place place(offset, data_size, Builtin_names{true, true});
        const Expr_value value = evaluate_value(text, variables, place);
        fuzz::check(evaluate_value(text, variables, place) == value, "the same text evaluated twice differs");
        fuzz::check(evaluate_condition(text, variables, place) == (value.value != 0),
                    "the condition disagrees with the value");
        fuzz::check(value.wide || value.value == value.low(), "a 32-bit value is not held sign-extended");
        fuzz::check(evaluate_count(text, variables, place) == value.value, "the count disagrees with the value");
        fuzz::check(names_builtin || value == outside, "a text without built-in names depends on the place");
    }
    fuzz::check(variables == before, "evaluating changed a variable");
    return 0;
}
