// Definition sets and references to them.
#include "engine/walk.h"
#include "model/cmp_table.h"
#include "model/def_container.h"
#include "model/def_def_ref.h"
#include "model/walk_bounds.h"

Data_node* Def_def_set::analyze(Data_node* cur, Component*, Data_node*)
{
    walk::document().register_definition_set(name(), this);
    return cur;
}

Data_node* Def_def_ref::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    // An unknown set, or a reference the walk may not follow (see Walk_bounds),
    // makes no component and consumes nothing.
    if (!Walk_bounds::reference_allowed(walk::document().position_of(cur)) ||
        !walk::document().find_definition_set(target().view()))
        return cur;
    return walk::walk_as_table(*this, cur, parent, stop);
}

Data_node* Def_def_ref::analyze_range(Data_node* cur, Component* parent, Data_node* stop, unsigned, unsigned, unsigned)
{
    // Looked up again: when a table is expanded the replay has registered the set by
    // then; if it has not (the definition changed), the table stays empty.
    Def_def_set* set = walk::document().find_definition_set(target().view());
    if (!set || !Walk_bounds::reference_allowed(walk::document().position_of(cur)))
        return cur;
    const Walk_bounds::Level level(true);
    for (Define* item : set->children())
        cur = item->analyze(cur, parent, stop);
    walk::report(cur);
    return cur;
}
