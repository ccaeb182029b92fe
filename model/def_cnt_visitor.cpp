#include "model/def_cnt_visitor.h"

#include <vector>

#include "model/def_container.h"
#include "model/def_if.h"
#include "model/def_int.h"
#include "model/item_list.h"

void Def_cnt_visitor::count_list(Item_span list)
{
    // Walk a copy of the references, so that the walk never depends on the list
    // staying as it was while its items are visited.
    const std::vector<Define*> children(list.begin(), list.end());
    for (Define* child : children)
        child->accept(*this);
}

void Def_cnt_visitor::visit_int(Def_int& item) { count_ += 1 + static_cast<std::int32_t>(item.bit_flags().size()); }
void Def_cnt_visitor::visit_bitflag(Def_bitflag&) {}
void Def_cnt_visitor::visit_fix_str(Def_fix_str&) { ++count_; }
void Def_cnt_visitor::visit_float(Def_float&) { ++count_; }
void Def_cnt_visitor::visit_bytes(Def_bytes&) { ++count_; }
void Def_cnt_visitor::visit_flex_str(Def_flex_str&) { ++count_; }
void Def_cnt_visitor::visit_null_str(Def_null_str&) { ++count_; }

void Def_cnt_visitor::visit_if(Def_if& item)
{
    ++count_;  // the branch row
    count_list(item.then_children());
    ++count_;  // "} else {"
    count_list(item.else_children());
    ++count_;  // "}"
}

void Def_cnt_visitor::visit_for(Def_for& item)
{
    ++count_;
    count_list(item.children());
    ++count_;  // the closing row
}

void Def_cnt_visitor::visit_while(Def_while& item)
{
    ++count_;
    count_list(item.children());
    ++count_;
}

void Def_cnt_visitor::visit_set_variable(Def_set_variable&) { ++count_; }

void Def_cnt_visitor::visit_def_set(Def_def_set& item)
{
    ++count_;
    count_list(item.children());
    ++count_;
}

void Def_cnt_visitor::visit_def_ref(Def_def_ref&) { ++count_; }
void Def_cnt_visitor::visit_nodef(Def_nodef&) {}
