#include "engine/walk.h"

#include "model/cmp_table.h"

namespace walk {

Data_node* walk_as_table(Define& item, Data_node* cur, Component* parent, Data_node* stop)
{
    Cmp_tbl* table = nullptr;
    if (parent) {
        table = parent->add_child(std::make_unique<Cmp_tbl>(&item, item.name(), cur, 0, 0, 0));
    }
    Data_node* next = item.analyze_range(cur, nullptr, stop, 0, 0, 0);
    step_progress(next);
    if (table)
        table->set_end(next);
    return next;
}

} // namespace walk
