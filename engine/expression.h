#pragma once

#include <cstdint>
#include <string_view>

#include "model/data_node.h"
#include "model/walk_context.h"
#include "model/walk_tables.h"

// Where the walk stands when an expression is evaluated: what the built-in names
// (see Builtin_names) read. The walk stands at a byte of the document's data or,
// in the text report, at an offset into the data file. The byte's offset is asked
// for only when the text reads a built-in name that is on.
class Expression_place {
public:
    // Outside any walk: no built-in name is on.
    Expression_place() = default;
    // At `cur` of the document's data of `data_size` bytes (null: its end).
    Expression_place(const Data_node* cur, std::uint32_t data_size, Builtin_names names)
        : node_(cur), offset_(data_size), size_(data_size), names_(names)
    {
    }
    // At `offset` into a file of `size` bytes.
    Expression_place(std::uint64_t offset, std::uint64_t size, Builtin_names names)
        : offset_(offset), size_(size), names_(names)
    {
    }

    [[nodiscard]] Builtin_names names() const { return names_; }
    [[nodiscard]] std::uint64_t offset() const { return node_ ? node_->position() : offset_; }
    [[nodiscard]] std::uint64_t size() const { return size_; }

private:
    const Data_node* node_ = nullptr;
    std::uint64_t offset_ = 0;
    std::uint64_t size_ = 0;
    Builtin_names names_;
};

// The expression language of conditions, loop counts and assignments. Any text is
// accepted: what cannot be read is ignored and a missing operand counts as 0.
// Variables are read from `variables`, which evaluation never changes; the
// built-in names that are on read `place`:
// - "_pos": the offset, a 64-bit value;
// - "_rest": the bytes from the offset to the end (0 there and past it), a 64-bit
//   value, so that "_rest > 0" and "_rest >= n" hold while bytes remain in data of
//   any size.
//
// The arithmetic rule. Values are 32-bit or 64-bit (Expr_value). Literals and
// variables bound from integers of 1, 2 or 4 bytes or from flags of such integers
// are 32-bit; "_pos", "_rest" and variables bound from 8-byte integers or their
// flags are 64-bit, and a variable set by an assignment keeps the width of its value.
// - Two 32-bit operands combine as the language always did: in 32-bit two's
//   complement, comparisons signed, shift counts taken modulo 32, "/" and "%"
//   truncating toward 0. So an expression without 64-bit values evaluates as before.
// - When either operand is 64-bit, both are widened to 64 bits and combine in
//   64-bit two's complement: wrapping modulo 2^64, comparisons signed, shift counts
//   modulo 64, INT64_MIN / -1 giving INT64_MIN. A 32-bit operand widens by its
//   sign, except one read as unsigned (a 4-byte unsigned integer, a flag, or what
//   such a value yields through arithmetic with 32-bit values), which widens with
//   zeros: 0xFFFFFFFF read unsigned is 4294967295, not -1.
// - Division and remainder by 0 give 0 in either width.
// - Comparisons, "&&" and "||" give 0 or 1 as a 32-bit value; the other operators
//   give a 64-bit value when either operand was one.
// A 64-bit value taken as a loop count or a length is used whole (see
// evaluate_count); only the 32-bit reading, evaluate(), keeps its low 32 bits.
[[nodiscard]] Expr_value evaluate_value(std::string_view text, const Variable_table& variables,
                                        const Expression_place& place);
// The low 32 bits of the value: the language's own reading.
[[nodiscard]] std::int32_t evaluate(std::string_view text, const Variable_table& variables,
                                    const Expression_place& place);
// The value as a count or a length: a 32-bit value as the signed number it always
// was, a 64-bit one whole. Not above 0 means none.
[[nodiscard]] std::int64_t evaluate_count(std::string_view text, const Variable_table& variables,
                                          const Expression_place& place);
// True when the value is not 0.
[[nodiscard]] bool evaluate_condition(std::string_view text, const Variable_table& variables,
                                      const Expression_place& place);
