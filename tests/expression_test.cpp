#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "analysis_helpers.h"
#include "engine/builtin_names.h"
#include "engine/expression.h"
#include "model/limits.h"
#include "model/walk_tables.h"

namespace {

// The evaluator reads nothing but the table and the place it is given: no document
// is needed. Outside a walk no built-in name is on.
std::int32_t evaluate(std::string_view text, const Variable_table& variables)
{
    return ::evaluate(text, variables, Expression_place());
}
bool evaluate_condition(std::string_view text, const Variable_table& variables)
{
    return ::evaluate_condition(text, variables, Expression_place());
}
std::int32_t evaluate(std::string_view text)
{
    static const Variable_table none;
    return evaluate(text, none);
}

struct Case {
    const char* text;
    std::int32_t expected;
};

class Expression_test : public ::testing::TestWithParam<Case> {};

TEST_P(Expression_test, EvaluatesByTheGrammar)
{
    // Variables the rows may read: x = 10, a1 = 4, a.b = 6.
    Variable_table variables;
    variables.set(Bcl_str("x"), 10);
    variables.set(Bcl_str("a1"), 4);
    variables.set(Bcl_str("a.b"), 6);
    EXPECT_EQ(evaluate(GetParam().text, variables), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Expression_test,
    ::testing::Values(
        // empty and blank texts
        Case{"", 0}, Case{"   ", 0},
        // precedence and associativity
        Case{"1+2*3", 7}, Case{"(1+2)*3", 9}, Case{"2*3%4", 2}, Case{"1<<2+1", 8}, Case{"1|2==2", 1},
        Case{"6&3", 2}, Case{"10-3-2", 5}, Case{"1 == 2 != 1", 1}, Case{"5 == 5 == 1", 1},
        Case{"10 > 3 && 2 > 5 || 1", 1}, Case{"0 || 0", 0}, Case{"2 && 3", 1}, Case{"2 && 0", 0},
        // comparisons, checked >= before >, <= before <
        Case{"3>=3", 1}, Case{"3>3", 0}, Case{"2<=1", 0}, Case{"3<4", 1}, Case{"-1<0", 1}, Case{"3 != 4", 1},
        // division, remainder and shifts
        Case{"-7/2", -3}, Case{"-7%2", -1}, Case{"-1>>1", -1}, Case{"1<<33", 2}, Case{"7 >> 1", 3},
        Case{"5/0", 0}, Case{"5%0", 0}, Case{"5/", 0}, Case{"-2147483648/-1", INT_MIN}, Case{"-2147483648%-1", 0},
        // wrap-around
        Case{"2147483647+1", INT_MIN}, Case{"4294967296", 0}, Case{"65536*65536", 0}, Case{"-2147483648-1", INT_MAX},
        // negative literals and the '-' operator
        Case{"3*-2", -6}, Case{"3--2", 5}, Case{"3 - -2", 5}, Case{"-x", 0}, Case{"-(1)", 0}, Case{"-", 0},
        Case{"--5", -5}, Case{"+5", 5},
        // names
        Case{"a", 0}, Case{"X", 0}, Case{"x-1", 9}, Case{"x -1", 9}, Case{"a1*2", 8}, Case{"a.b", 6},
        Case{"x*x", 100},
        // malformed texts: tails ignored, missing operands and parentheses tolerated
        Case{"(1+2", 3}, Case{"(1+2]", 3}, Case{"(1+2)*3)", 9}, Case{"1 2", 1}, Case{"5 = 5", 5}, Case{"!1", 0},
        Case{"3|", 3}, Case{"3&", 3}, Case{"3>", 3}, Case{"3<", 3}, Case{"5+", 5}, Case{"5 -", 5}, Case{"1 <<", 1},
        Case{"3||", 1}, Case{"1\t+2", 1}, Case{"( 2 )", 2}, Case{"()", 0}));

TEST(Expression, NamesEndAtDelimiterBytesInsideShiftJis)
{
    // "ー" is 81 5B in Shift-JIS: its trail byte is '[', a delimiter, so the name is
    // the lone lead byte and the rest of the text is ignored.
    Variable_table variables;
    variables.set(Bcl_str("\x81"), 7);
    EXPECT_EQ(evaluate(Bcl_str::from_utf8("ー").view(), variables), 7);
    // "ソ" is 83 5C: its trail byte '\' belongs to names.
    variables.set(Bcl_str("\x83\x5C"), 3);
    EXPECT_EQ(evaluate(Bcl_str::from_utf8("ソ+1").view(), variables), 4);
}

TEST(Expression, LookupsNeverAddVariables)
{
    const Variable_table variables;
    EXPECT_EQ(evaluate("missing + 1", variables), 1);
    EXPECT_TRUE(variables.values().empty());
    EXPECT_FALSE(evaluate_condition("", variables));
    EXPECT_TRUE(evaluate_condition("-1", variables));
}

// The table against a map, through enough names that it is searched by halves as
// well as one by one: names of every length up to past the inline comparisons,
// names that are prefixes of others, that differ in one middle byte, or in a byte
// above 0x7F (which sorts after the ASCII ones), and the empty name.
TEST(Variable_table, ReadsWhatWasLastSetAndKeepsNamesSorted)
{
    std::vector<std::string> names{""};
    for (std::size_t length = 1; length <= 24; ++length) {
        std::string name(length, 'v');
        names.push_back(name);
        name[length / 2] = 'w';
        names.push_back(name);
        name[length / 2] = '\x83';
        names.push_back(name);
    }
    std::mt19937 random(7);
    std::map<std::string, std::int32_t> expected;
    Variable_table table;
    for (int step = 0; step < 2000; ++step) {
        const std::string& name = names[random() % names.size()];
        const auto value = static_cast<std::int32_t>(random());
        table.set(Bcl_str(name), value);
        expected[name] = value;
        for (const std::string& each : names) {
            const auto found = expected.find(each);
            ASSERT_EQ(table.get(each), found == expected.end() ? 0 : found->second)
                << "step " << step << ", name of " << each.size() << " bytes";
        }
    }
    ASSERT_EQ(table.values().size(), expected.size());
    auto entry = table.values().begin();
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(entry->first.bytes(), name);
        EXPECT_EQ(entry->second, value);
        ++entry;
    }
    // The same variables set in another order make an equal table.
    Variable_table reversed;
    for (auto each = expected.rbegin(); each != expected.rend(); ++each)
        reversed.set(Bcl_str(each->first), each->second);
    EXPECT_EQ(reversed, table);
}

TEST(Expression, NestingIsBoundedNotFatal)
{
    // Up to the limit the parentheses are evaluated as usual.
    const int limit = limits::max_expression_depth;
    EXPECT_EQ(evaluate(std::string(limit, '(') + "5" + std::string(limit, ')')), 5);
    // One more: the innermost part counts as a missing operand, the rest goes on.
    EXPECT_EQ(evaluate(std::string(limit + 1, '(') + "5" + std::string(limit + 1, ')') + "+1"), 1);
    // A million deep neither overflows the stack nor hangs, closed or not.
    const std::string deep(1000000, '(');
    EXPECT_EQ(evaluate(deep + "1" + std::string(1000000, ')') + "+2"), 2);
    EXPECT_EQ(evaluate(deep), 0);
    EXPECT_EQ(evaluate("7+" + deep + "1"), 7);
}

struct Builtin_case {
    std::uint64_t offset;
    std::uint64_t size;
    const char* text;
    std::int32_t expected;
};

TEST(Expression, BuiltinNamesReadWhereTheWalkStands)
{
    // A variable of each name, read only where the name is off.
    Variable_table variables;
    variables.set(Bcl_str("_pos"), 70);
    variables.set(Bcl_str("_rest"), 80);
    const Builtin_case rows[] = {
        {0, 10, "_pos", 0}, {0, 10, "_rest", 10},                          // the first byte
        {4, 10, "_pos * 100 + _rest", 406}, {4, 10, "_rest > 0", 1},      // the middle
        {10, 10, "_pos", 10}, {10, 10, "_rest", 0}, {10, 10, "_rest > 0", 0},  // the end
        {12, 10, "_rest", 0},                                             // past it
        {0, 0, "_pos + _rest", 0},                                        // no data
        // 4 GiB of data and more: both are 64-bit, so they compare as the numbers they are.
        {3221225472u, 4294967295u, "_pos > 2147483647", 1}, {1, 4294967295u, "_rest >= 4294967294", 1},
        {6442450944u, 8589934592u, "_rest * 3 == _pos", 1},
        // Only the names themselves: longer names are variables.
        {4, 10, "_pos-1", 3}, {4, 10, "_pos2 + x_pos + _rest_", 0}, {4, 10, "_POS", 0}};
    for (const Builtin_case& row : rows) {
        EXPECT_EQ(::evaluate(row.text, variables, Expression_place(row.offset, row.size, {true, true})), row.expected)
            << row.text << " at " << row.offset << " of " << row.size;
    }
    EXPECT_EQ(::evaluate("_pos * 100 + _rest", variables, Expression_place(4, 10, {true, false})), 480);
    EXPECT_EQ(::evaluate("_pos * 100 + _rest", variables, Expression_place(4, 10, {false, true})), 7006);
    EXPECT_EQ(evaluate("_pos * 100 + _rest", variables), 7080);
}

// A name is on where the definition reads it and binds no variable of that name,
// however deep, so that a definition that had its own variable "_pos" reads the same.
TEST(Expression, BuiltinNameIsOffWhereTheDefinitionBindsItsVariable)
{
    using namespace analysis_test;
    struct Row {
        std::function<Define*()> make;
        Builtin_names expected;
    };
    const Row rows[] = {
        {[] { return int_item("n", 1); }, {false, false}},
        {[] { return while_loop("L", "_rest > 0", for_loop("F", "_pos", int_item("v", 1))); }, {true, true}},
        {[] {
             auto* branch = new Def_if(sj("_pos == 0"));
             branch->insert_else_child(std::unique_ptr<Define>(set_var("x", "_rest")), nullptr);
             return branch;
         },
         {true, true}},
        {[] { return for_loop("F", "_pos + _rest", set_var("_pos", "_pos + 1")); }, {false, true}},
        {[] { return for_loop("F", "_pos + _rest", int_item("v", 1, false, Def_int::decimal, "_rest")); }, {true, false}},
        {[] { return def_set("S", set_var("y", "_pos + _rest"), with_flag(int_item("v", 1), "f", 1, "_pos")); },
         {false, true}},
        // A name only bound is not read: nothing to turn on.
        {[] { return set_var("_pos", "1"); }, {false, false}},
    };
    for (const Row& row : rows) {
        Item_list items;
        items.insert(std::unique_ptr<Define>(row.make()), nullptr);
        EXPECT_EQ(builtin_names_of(items.items()), row.expected) << &row - rows;
    }
}

} // namespace

namespace {

Variable_table wide_and_unsigned()
{
    Variable_table variables;
    variables.set(Bcl_str("w"), Expr_value::of_wide(0x100000000ll));  // 2^32, from 8 bytes
    variables.set(Bcl_str("m"), Expr_value::of_wide(INT64_MIN));
    variables.set(Bcl_str("u"), Expr_value::of_unsigned(0xFFFFFFFFu));  // a 4-byte unsigned 4294967295
    variables.set(Bcl_str("s"), -1);
    return variables;
}

} // namespace

// 32-bit operands keep the 32-bit rule; a 64-bit operand widens the other (by its
// sign, or with zeros when it was read unsigned) and the result is 64-bit.
TEST(Expression, WidensToSixtyFourBitsOnlyWhenAWideValueTakesPart)
{
    const Variable_table variables = wide_and_unsigned();
    const auto value = [&](const char* text) { return ::evaluate_value(text, variables, Expression_place()); };
    // 32-bit alone: wraps as ever, whatever the signedness it remembers.
    EXPECT_EQ(value("u + 1"), Expr_value::of_unsigned(0));
    EXPECT_EQ(value("u == s"), Expr_value(1));
    EXPECT_EQ(value("2147483647 + 1").value, INT32_MIN);
    // Mixed: widened, then 64-bit.
    EXPECT_EQ(value("w + u"), Expr_value::of_wide(0x1FFFFFFFFll));
    EXPECT_EQ(value("w + s"), Expr_value::of_wide(0xFFFFFFFFll));
    EXPECT_EQ(value("w + (u + 0)"), Expr_value::of_wide(0x1FFFFFFFFll));  // unsigned through 32-bit arithmetic
    EXPECT_EQ(value("w * w"), Expr_value::of_wide(0));                    // wraps modulo 2^64
    EXPECT_EQ(value("m - 1"), Expr_value::of_wide(INT64_MAX));
    EXPECT_EQ(value("m / s"), Expr_value::of_wide(INT64_MIN));
    EXPECT_EQ(value("m % s"), Expr_value::of_wide(0));
    EXPECT_EQ(value("w / 0"), Expr_value::of_wide(0));
    EXPECT_EQ(value("w % 0"), Expr_value::of_wide(0));
    EXPECT_EQ(value("1 << 40"), Expr_value(256));                         // 32-bit: count modulo 32
    EXPECT_EQ(value("(w - w + 1) << 40"), Expr_value::of_wide(1ll << 40));
    EXPECT_EQ(value("w >> 32"), Expr_value::of_wide(1));
    EXPECT_EQ(value("m >> 63"), Expr_value::of_wide(-1));
    // Comparisons give a 32-bit truth value; signed in 64 bits.
    EXPECT_EQ(value("w > u"), Expr_value(1));
    EXPECT_EQ(value("m < s"), Expr_value(1));
    EXPECT_EQ(value("w && 0"), Expr_value(0));
    // The 32-bit reading keeps the low bits; a count takes the value whole.
    EXPECT_EQ(::evaluate("w + 5", variables, Expression_place()), 5);
    EXPECT_EQ(::evaluate_count("w + 5", variables, Expression_place()), 0x100000005ll);
    EXPECT_EQ(::evaluate_count("u", variables, Expression_place()), -1);  // as ever
    EXPECT_TRUE(::evaluate_condition("w", variables, Expression_place()));
}
