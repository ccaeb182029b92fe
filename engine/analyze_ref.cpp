// Definition sets and references to them.
#include "engine/walk.h"
#include "model/cmp_table.h"
#include "model/def_container.h"
#include "model/def_def_ref.h"
#include "model/walk_bounds.h"

Data_node* Def_def_set::analyze(Data_node* cur, Component*, Data_node*)
{
    walk_context().tables().definition_sets.add(name(), this);
    return cur;
}

Data_node* Def_def_ref::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    // An unknown set, or a reference the walk may not follow (see Walk_bounds),
    // makes no component and consumes nothing.
    walk::check_entry(*this, false, cur, stop);
    Walk_context& walk = walk_context();
    if (!walk.tables().bounds.reference_allowed(walk.position_of(cur)) ||
        !walk.tables().definition_sets.find(target().view()))
        return cur;
    return walk::walk_as_table(*this, cur, parent, stop);
}

Data_node* Def_def_ref::analyze_range(Data_node* cur, Component* parent, Data_node* stop, unsigned, unsigned, unsigned)
{
    // Looked up again: when a table is expanded the replay has registered the set by
    // then; if it has not (the definition changed), the table stays empty.
    Walk_context& walk = walk_context();
    Def_def_set* set = walk.tables().definition_sets.find(target().view());
    if (!set || !walk.tables().bounds.reference_allowed(walk.position_of(cur)))
        return cur;
    const Walk_bounds::Level level(walk.tables().bounds, true);
    for (Define* item : set->children())
        cur = item->analyze(cur, parent, stop);
    walk::step_progress(cur);
    return cur;
}
