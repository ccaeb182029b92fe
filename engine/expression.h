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
// - "_pos": the offset, as a 4-byte unsigned integer bound to a variable holds it
//   (from 2 GiB on negative, with the same low 32 bits);
// - "_rest": the bytes from the offset to the end (0 there and past it), at most
//   2147483647, so that "_rest > 0" and "_rest >= n" hold while bytes remain.
[[nodiscard]] std::int32_t evaluate(std::string_view text, const Variable_table& variables,
                                    const Expression_place& place);
// True when evaluate(text, variables, place) is not 0.
[[nodiscard]] bool evaluate_condition(std::string_view text, const Variable_table& variables,
                                      const Expression_place& place);
