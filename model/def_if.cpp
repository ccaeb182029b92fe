#include "model/def_if.h"

#include "model/def_visitor.h"

void Def_if::accept(Def_visitor& visitor) { visitor.visit_if(*this); }

void Def_if::insert_then_child(std::unique_ptr<Define> item, Define* before)
{
    insert_child(true, std::move(item), before);
}

void Def_if::insert_else_child(std::unique_ptr<Define> item, Define* before)
{
    insert_child(false, std::move(item), before);
}

void Def_if::insert_child(bool then_branch, std::unique_ptr<Define> item, Define* before)
{
    item->set_parent(this);
    (then_branch ? then_children_ : else_children_).insert(std::move(item), before);
}

Removed_item Def_if::remove_child(Define* item)
{
    if (then_children_.contains(item))
        return then_children_.remove(item);
    return else_children_.remove(item);
}
