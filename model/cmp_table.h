#pragma once

#include "model/component.h"

class Define;

// A table: the contents of a For or While loop, of a definition reference or of a
// block of undefined bytes. Its children are made on expansion by the producing
// item's analyze_range, which gets `from`, `to` and `group` back unchanged (their
// meaning depends on the item kind). Value text "...".
class Cmp_tbl : public Component {
public:
    Cmp_tbl(Define* def, Bcl_str name, Data_node* start, unsigned from, unsigned to, unsigned group);

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] Replay_target replay_target() const override;
    void expand() override;

    [[nodiscard]] Define* def() const { return def_; }
    [[nodiscard]] unsigned from() const { return from_; }
    [[nodiscard]] unsigned to() const { return to_; }
    [[nodiscard]] unsigned group() const { return group_; }
    // The walk bounds its expansion starts from: those in force where it was made,
    // unless its item sets them (a While loop's table is made after its count).
    void set_walk_bounds(const Walk_bounds::State& bounds) { bounds_ = bounds; }

private:
    Define* def_;
    unsigned from_;
    unsigned to_;
    unsigned group_;
    Walk_bounds::State bounds_;
};

// One iteration of a For or While loop; expansion walks that iteration again with
// the loop's analyze_once. Value text "...".
class Cmp_rec : public Component {
public:
    Cmp_rec(Define* def, Bcl_str name, Data_node* start);

    void accept(Cmp_visitor& visitor) override;
    [[nodiscard]] Replay_target replay_target() const override { return {def_, true}; }
    void expand() override;

    [[nodiscard]] Define* def() const { return def_; }

private:
    Define* def_;
    Walk_bounds::State bounds_;
};
