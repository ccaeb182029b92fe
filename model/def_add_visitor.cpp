#include "model/def_add_visitor.h"

#include "model/def_container.h"
#include "model/def_if.h"

void Def_add_visitor::visit_int(Def_int&) {}
void Def_add_visitor::visit_bitflag(Def_bitflag&) {}
void Def_add_visitor::visit_fix_str(Def_fix_str&) {}
void Def_add_visitor::visit_float(Def_float&) {}
void Def_add_visitor::visit_bytes(Def_bytes&) {}
void Def_add_visitor::visit_flex_str(Def_flex_str&) {}
void Def_add_visitor::visit_null_str(Def_null_str&) {}

void Def_add_visitor::visit_if(Def_if& item)
{
    item.insert_child(branch_, std::move(item_), before_);
    inserted_ = true;
}

void Def_add_visitor::visit_for(Def_for& item)
{
    item.insert_child(std::move(item_), before_);
    inserted_ = true;
}

void Def_add_visitor::visit_while(Def_while& item)
{
    item.insert_child(std::move(item_), before_);
    inserted_ = true;
}

void Def_add_visitor::visit_set_variable(Def_set_variable&) {}

void Def_add_visitor::visit_def_set(Def_def_set& item)
{
    item.insert_child(std::move(item_), before_);
    inserted_ = true;
}

void Def_add_visitor::visit_def_ref(Def_def_ref&) {}
void Def_add_visitor::visit_nodef(Def_nodef&) {}
