#pragma once

#include <optional>

#include "model/cmp_visitor.h"

class Cmp_integer;
class Component;
class Data_node;

// The place search walk: after it is applied to a component, found() tells whether
// the component holds the byte `byte` (and, where a bit is given, the bit `bit` of
// an integer with bit flags).
//
// With `containers` the walk looks for a component to descend into: the root,
// tables, records, and an integer with bit flags when the bit falls inside its
// flags. Without it, for the component to select: strings, undefined bytes, plain
// integers, and bit flags whose bits hold `bit`. No bit never matches a flag and
// leaves every integer a plain value.
class Cmp_place_srch_visitor : public Cmp_visitor {
public:
    Cmp_place_srch_visitor(const Data_node* byte, std::optional<int> bit, bool containers)
        : byte_(byte), bit_(bit), containers_(containers) {}

    void visit_component(Component& component) override;
    void visit_fix_str(Cmp_fix_str& component) override;
    void visit_flex_str(Cmp_flex_str& component) override;
    void visit_null_str(Cmp_null_str& component) override;
    void visit_int(Cmp_int& component) override;
    void visit_uint(Cmp_uint& component) override;
    void visit_hex(Cmp_hex& component) override;
    void visit_bitflag(Cmp_bitflag& component) override;
    void visit_nodef(Cmp_nodef& component) override;
    void visit_tbl(Cmp_tbl& component) override;
    void visit_rec(Cmp_rec& component) override;
    void visit_float(Cmp_float& component) override;
    void visit_bytes(Cmp_bytes& component) override;

    [[nodiscard]] bool found() const { return found_; }

private:
    // True when the byte lies from the component's start up to (not including) its
    // end, or to the end of the data when it has none.
    [[nodiscard]] bool covers(const Component& component) const;
    void search_container(const Component& component);
    void search_leaf(const Component& component);
    void search_integer(const Cmp_integer& component);

    const Data_node* byte_;
    std::optional<int> bit_;
    bool containers_;
    bool found_ = false;
};
