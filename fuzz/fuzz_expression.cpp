// The expression evaluator, on any text, with variables of every interesting value
// in the table. Evaluation must be defined for everything (no crash, no undefined
// arithmetic, no unbounded recursion), repeatable, and must not change variables.
#include <climits>

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
    return variables;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Variable_table variables = preset_variables();
    const Variable_table before = variables;

    const std::string_view text = fuzz::Input(data, size).rest();
    const std::int32_t value = evaluate(text, variables);
    fuzz::check(evaluate(text, variables) == value, "the same text evaluated twice differs");
    fuzz::check(evaluate_condition(text, variables) == (value != 0), "the condition disagrees with the value");
    fuzz::check(variables == before, "evaluating changed a variable");
    return 0;
}
