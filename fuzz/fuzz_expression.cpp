// The expression evaluator, on any text, with variables of every interesting value
// in the table. Evaluation must be defined for everything (no crash, no undefined
// arithmetic, no unbounded recursion), repeatable, and must not change variables.
#include <climits>

#include "doc/data_mgr.h"
#include "engine/expression.h"
#include "fuzz/fuzz_support.h"

namespace {

void preset_variables(Data_mgr& doc)
{
    doc.clear_tables();
    doc.set_variable(Bcl_str("a"), 1);
    doc.set_variable(Bcl_str("b"), -1);
    doc.set_variable(Bcl_str("zero"), 0);
    doc.set_variable(Bcl_str("min"), INT_MIN);
    doc.set_variable(Bcl_str("max"), INT_MAX);
    doc.set_variable(Bcl_str::from_utf8("長さ"), 4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Data_mgr& doc = Data_mgr::instance();
    static const bool preset = (preset_variables(doc), true);
    (void)preset;
    const auto before = doc.variables();

    const std::string_view text = fuzz::Input(data, size).rest();
    const std::int32_t value = evaluate(text);
    fuzz::check(evaluate(text) == value, "the same text evaluated twice differs");
    fuzz::check(evaluate_condition(text) == (value != 0), "the condition disagrees with the value");
    fuzz::check(doc.variables() == before, "evaluating changed a variable");
    return 0;
}
