#include "model/def_container.h"

#include "model/def_visitor.h"

Define* Def_container::remove_child(Define* item) { return children_.remove(item); }

void Def_container::insert_child(Define* item, Define* before)
{
    children_.insert(item, before);
    item->set_parent(this);
}

void Def_for::accept(Def_visitor& visitor) { visitor.visit_for(*this); }
void Def_while::accept(Def_visitor& visitor) { visitor.visit_while(*this); }
void Def_def_set::accept(Def_visitor& visitor) { visitor.visit_def_set(*this); }
