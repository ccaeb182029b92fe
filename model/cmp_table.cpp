#include "model/cmp_table.h"

#include "model/cmp_visitor.h"
#include "model/define.h"
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
