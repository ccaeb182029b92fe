// The expression evaluator: a recursive descent over the text itself with one read
// position shared by all ten precedence levels. Nothing is rejected: what cannot be
// read ends the expression, and a missing operand counts as 0.
#include "engine/expression.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

#include "model/limits.h"

namespace {

enum class Op { none, logical_or, logical_and, bit_or, bit_and, eq, ne, ge, gt, le, lt, shl, shr, add, sub, mul, div, mod };

// The precedence levels, lowest first; the primary sits above the last.
constexpr int lowest_level = 1;
constexpr int primary_level = 10;

// The 20 characters that end a variable name. The test is made byte by byte, as the
// language defines it: a Shift-JIS trail byte equal to one of them ends the name.
bool is_delimiter(char c)
{
    switch (c) {
    case ' ': case '!': case '"': case '%': case '&': case '\'': case '(': case ')': case '*': case '+':
    case '-': case '/': case '<': case '=': case '>': case '[': case ']': case '{': case '|': case '}':
        return true;
    default:
        return false;
    }
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// One operator in two's complement of the width of `Signed`: arithmetic wraps
// (done in unsigned, where wrapping is defined), comparisons are signed, shift
// counts are taken modulo the width and ">>" fills with the sign. Division by zero
// gives 0, like any other meaningless input; the one overflowing quotient, the
// lowest value / -1, wraps back to the lowest value (its remainder is 0).
template <typename Signed>
Signed combine_in(Op op, Signed a, Signed b)
{
    using Unsigned = std::make_unsigned_t<Signed>;
    constexpr Unsigned shift_mask = 8 * sizeof(Signed) - 1;
    const auto ua = static_cast<Unsigned>(a);
    const auto ub = static_cast<Unsigned>(b);
    switch (op) {
    case Op::logical_or: return (a != 0 || b != 0) ? 1 : 0;
    case Op::logical_and: return (a != 0 && b != 0) ? 1 : 0;
    case Op::bit_or: return static_cast<Signed>(ua | ub);
    case Op::bit_and: return static_cast<Signed>(ua & ub);
    case Op::eq: return a == b ? 1 : 0;
    case Op::ne: return a != b ? 1 : 0;
    case Op::ge: return a >= b ? 1 : 0;
    case Op::gt: return a > b ? 1 : 0;
    case Op::le: return a <= b ? 1 : 0;
    case Op::lt: return a < b ? 1 : 0;
    case Op::shl: return static_cast<Signed>(ua << (ub & shift_mask));
    case Op::shr: return a >> (ub & shift_mask);
    case Op::add: return static_cast<Signed>(ua + ub);
    case Op::sub: return static_cast<Signed>(ua - ub);
    case Op::mul: return static_cast<Signed>(ua * ub);
    case Op::div: return b == 0 ? 0 : b == -1 ? static_cast<Signed>(Unsigned{0} - ua) : a / b;
    case Op::mod: return b == 0 || b == -1 ? 0 : a % b;
    case Op::none: break;
    }
    return a;
}

// Comparisons and the logical operators give a truth value, 0 or 1, which is
// always a 32-bit signed value.
bool gives_truth(Op op)
{
    switch (op) {
    case Op::logical_or: case Op::logical_and: case Op::eq: case Op::ne:
    case Op::ge: case Op::gt: case Op::le: case Op::lt:
        return true;
    default:
        return false;
    }
}

Expr_value combine(Op op, Expr_value a, Expr_value b)
{
    if (!a.wide && !b.wide) {
        Expr_value result(combine_in<std::int32_t>(op, a.low(), b.low()));
        result.is_unsigned = !gives_truth(op) && (a.is_unsigned || b.is_unsigned);
        return result;
    }
    const std::int64_t value = combine_in<std::int64_t>(op, a.widened(), b.widened());
    return gives_truth(op) ? Expr_value(static_cast<std::int32_t>(value)) : Expr_value::of_wide(value);
}

class Parser {
public:
    Parser(std::string_view text, const Variable_table& variables, const Expression_place& place)
        : text_(text), variables_(variables), place_(place)
    {
    }

    Expr_value expression() { return binary(lowest_level); }

private:
    [[nodiscard]] bool at_end() const { return pos_ >= text_.size(); }
    [[nodiscard]] std::size_t remaining() const { return text_.size() - pos_; }
    [[nodiscard]] bool pair_is(char first, char second) const
    {
        return remaining() >= 2 && text_[pos_] == first && text_[pos_ + 1] == second;
    }
    // A one-character operator that must not be the first of a doubled pair (`|`
    // not `||`): it needs a following character, and that one must differ.
    [[nodiscard]] bool single_is(char c) const
    {
        return remaining() >= 2 && text_[pos_] == c && text_[pos_ + 1] != c;
    }

    // The operator of `level` starting at the read position, and its length.
    Op match(int level, std::size_t& length) const
    {
        length = 2;
        const char c = text_[pos_];
        switch (level) {
        case 1:
            return pair_is('|', '|') ? Op::logical_or : Op::none;
        case 2:
            return pair_is('&', '&') ? Op::logical_and : Op::none;
        case 3:
            length = 1;
            return single_is('|') ? Op::bit_or : Op::none;
        case 4:
            length = 1;
            return single_is('&') ? Op::bit_and : Op::none;
        case 5:
            if (pair_is('=', '='))
                return Op::eq;
            return pair_is('!', '=') ? Op::ne : Op::none;
        case 6:
            // Checked in this order so that ">=" is never read as ">" then "=".
            if (pair_is('>', '='))
                return Op::ge;
            if (single_is('>')) {
                length = 1;
                return Op::gt;
            }
            if (pair_is('<', '='))
                return Op::le;
            if (single_is('<')) {
                length = 1;
                return Op::lt;
            }
            return Op::none;
        case 7:
            if (pair_is('<', '<'))
                return Op::shl;
            return pair_is('>', '>') ? Op::shr : Op::none;
        case 8:
            length = 1;
            return c == '+' ? Op::add : c == '-' ? Op::sub : Op::none;
        case 9:
            length = 1;
            return c == '*' ? Op::mul : c == '/' ? Op::div : c == '%' ? Op::mod : Op::none;
        default:
            return Op::none;
        }
    }

    // One binary level: an operand of the next level, then as long as an operator of
    // this level follows (spaces between are skipped), another operand, combined
    // left to right.
    Expr_value binary(int level)
    {
        const int next = level + 1;
        Expr_value value = next == primary_level ? primary() : binary(next);
        while (!at_end()) {
            std::size_t length = 0;
            const Op op = match(level, length);
            if (op != Op::none) {
                pos_ += length;
                const Expr_value right = next == primary_level ? primary() : binary(next);
                value = combine(op, value, right);
            } else if (text_[pos_] == ' ') {
                ++pos_;
            } else {
                break;
            }
        }
        return value;
    }

    Expr_value primary()
    {
        while (!at_end() && text_[pos_] == ' ')
            ++pos_;
        if (at_end())
            return 0;
        const char c = text_[pos_];
        if (c == '(')
            return parenthesised();
        if (is_digit(c) || c == '-')
            return number();
        return variable();
    }

    Expr_value parenthesised()
    {
        if (depth_ >= limits::max_expression_depth) {
            skip_parenthesised();
            return 0;
        }
        ++pos_;
        ++depth_;
        const Expr_value value = binary(lowest_level);
        --depth_;
        while (!at_end() && text_[pos_] == ' ')
            ++pos_;
        // Whatever character stands here closes the parenthesis; at the end of the
        // text a missing ")" is accepted.
        if (!at_end())
            ++pos_;
        return value;
    }

    // Steps over a parenthesised part too deep to evaluate, up to and including its
    // matching ")" (or to the end of the text). "(" and ")" are below 0x40 and so
    // never Shift-JIS trail bytes.
    void skip_parenthesised()
    {
        std::size_t open = 0;
        for (; !at_end(); ++pos_) {
            if (text_[pos_] == '(') {
                ++open;
            } else if (text_[pos_] == ')' && --open == 0) {
                ++pos_;
                return;
            }
        }
    }

    // A decimal literal, with an optional leading "-" that belongs to the literal.
    std::int32_t number()
    {
        bool negative = false;
        if (text_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        std::uint32_t value = 0;
        while (!at_end() && is_digit(text_[pos_])) {
            value = value * 10u + static_cast<std::uint32_t>(text_[pos_] - '0');
            ++pos_;
        }
        return static_cast<std::int32_t>(negative ? 0u - value : value);
    }

    // The longest run without delimiters: a built-in name that is on, or a
    // variable, looked up without copying; an empty name (the position stands on a
    // delimiter) is looked up too and does not move.
    Expr_value variable()
    {
        const std::size_t start = pos_;
        while (!at_end() && !is_delimiter(text_[pos_]))
            ++pos_;
        const std::string_view name = text_.substr(start, pos_ - start);
        const Builtin_names builtins = place_.names();
        if (builtins.pos && name == "_pos")
            return Expr_value::of_wide(static_cast<std::int64_t>(place_.offset()));
        if (builtins.rest && name == "_rest") {
            const std::uint64_t offset = place_.offset();
            return Expr_value::of_wide(static_cast<std::int64_t>(offset < place_.size() ? place_.size() - offset : 0));
        }
        return variables_.value(name);
    }

    std::string_view text_;
    const Variable_table& variables_;
    const Expression_place& place_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

} // namespace

Expr_value evaluate_value(std::string_view text, const Variable_table& variables, const Expression_place& place)
{
    return Parser(text, variables, place).expression();
}

std::int32_t evaluate(std::string_view text, const Variable_table& variables, const Expression_place& place)
{
    return evaluate_value(text, variables, place).low();
}

std::int64_t evaluate_count(std::string_view text, const Variable_table& variables, const Expression_place& place)
{
    return evaluate_value(text, variables, place).value;
}

bool evaluate_condition(std::string_view text, const Variable_table& variables, const Expression_place& place)
{
    return evaluate_value(text, variables, place).value != 0;
}
