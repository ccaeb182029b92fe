#include "model/def_if.h"

#include "model/def_visitor.h"

void Def_if::accept(Def_visitor& visitor) { visitor.visit_if(*this); }

void Def_if::insert_then_child(Define* item, Define* before) { insert_child(true, item, before); }

void Def_if::insert_else_child(Define* item, Define* before) { insert_child(false, item, before); }

void Def_if::insert_child(bool then_branch, Define* item, Define* before)
{
    (then_branch ? then_children_ : else_children_).insert(item, before);
    item->set_parent(this);
}

Define* Def_if::remove_child(Define* item)
{
    if (then_children_.contains(item))
        return then_children_.remove(item);
    return else_children_.remove(item);
}
