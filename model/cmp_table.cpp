#include "model/cmp_table.h"

#include "model/cmp_visitor.h"
#include "model/def_bytes.h"
#include "model/def_nodef.h"
#include "model/walk_context.h"

namespace {

const Bcl_str& ellipsis()
{
    static const Bcl_str text("...");
    return text;
}

Walk_bounds::State bounds_at(const Data_node* start)
{
    const Walk_context& walk = walk_context();
    return walk.tables().bounds.now(walk.position_of(start));
}

} // namespace

Cmp_tbl::Cmp_tbl(Define* def, Bcl_str name, Data_node* start, unsigned from, unsigned to, unsigned group)
    : Component(std::move(name), ellipsis(), start), def_(def), from_(from), to_(to), group_(group),
      bounds_(bounds_at(start))
{
}

void Cmp_tbl::accept(Cmp_visitor& visitor) { visitor.visit_tbl(*this); }

Replay_target Cmp_tbl::replay_target() const
{
    // The undefined bytes are walked after every item, and a byte block's bytes
    // depend on nothing the walk sets: their replay runs to the byte. A loop's
    // or a reference's own table (group 0) is made by entering the item, a group
    // of a loop's iterations (and a While loop's table, made from its count) by
    // its first iteration.
    if (dynamic_cast<const Def_nodef*>(def_) || dynamic_cast<const Def_bytes*>(def_))
        return {};
    return {def_, group_ != 0};
}

void Cmp_tbl::expand()
{
    expand_after_replay(walk_context().position_of(end()), bounds_,
                        [this] { def_->analyze_range(start(), this, nullptr, from_, to_, group_); });
}

Cmp_rec::Cmp_rec(Define* def, Bcl_str name, Data_node* start)
    : Component(std::move(name), ellipsis(), start), def_(def), bounds_(bounds_at(start))
{
}

void Cmp_rec::accept(Cmp_visitor& visitor) { visitor.visit_rec(*this); }

void Cmp_rec::expand()
{
    expand_after_replay(walk_context().position_of(end()), bounds_,
                        [this] { def_->analyze_once(start(), this, nullptr); });
}
