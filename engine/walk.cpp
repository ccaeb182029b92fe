#include "engine/walk.h"

#include "model/cmp_table.h"

#include "model/limits.h"

namespace walk {

int Nesting::walks_ = 0;
int Nesting::references_ = 0;

bool Nesting::reference_allowed()
{
    return references_ < limits::max_reference_depth && walks_ < limits::max_walk_nesting;
}

Data_node* walk_as_table(Define& item, Data_node* cur, Component* parent, Data_node* stop)
{
    Cmp_tbl* table = nullptr;
    if (parent) {
        table = new Cmp_tbl(&item, item.name(), cur, 0, 0, 0);
        parent->add_child(table);
    }
    Data_node* next = item.analyze_range(cur, nullptr, stop, 0, 0, 0);
    report(next);
    if (table)
        table->set_end(next);
    return next;
}

} // namespace walk
