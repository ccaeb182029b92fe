#include "model/def_container.h"

#include "model/def_visitor.h"

Removed_item Def_container::remove_child(Define* item) { return children_.remove(item); }

void Def_container::insert_child(std::unique_ptr<Define> item, Define* before)
{
    item->set_parent(this);
    children_.insert(std::move(item), before);
}

void Def_for::accept(Def_visitor& visitor) { visitor.visit_for(*this); }
void Def_while::accept(Def_visitor& visitor) { visitor.visit_while(*this); }
void Def_def_set::accept(Def_visitor& visitor) { visitor.visit_def_set(*this); }
