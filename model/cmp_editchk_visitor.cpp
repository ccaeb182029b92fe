#include "model/cmp_editchk_visitor.h"

#include "model/cmp_str.h"
#include "model/limits.h"

void Cmp_editchk_visitor::visit_component(Component&) {}
// A change writes the whole length, appending what the data lacks: a length from an
// expression is changed only where its bytes are there, not made up of zeros.
void Cmp_editchk_visitor::visit_fix_str(Cmp_fix_str& component)
{
    std::uint32_t there = 0;
    for (const Data_node* node = component.start(); node && there < component.length(); node = node->next())
        ++there;
    editable_ = component.length() <= limits::max_fixed_string_length || there == component.length();
}
void Cmp_editchk_visitor::visit_float(Cmp_float&) { editable_ = true; }
// Its bytes are changed, one at a time.
void Cmp_editchk_visitor::visit_bytes(Cmp_bytes&) {}
void Cmp_editchk_visitor::visit_flex_str(Cmp_flex_str&) { editable_ = true; }
void Cmp_editchk_visitor::visit_null_str(Cmp_null_str&) { editable_ = true; }
void Cmp_editchk_visitor::visit_int(Cmp_int&) { editable_ = true; }
void Cmp_editchk_visitor::visit_uint(Cmp_uint&) { editable_ = true; }
void Cmp_editchk_visitor::visit_hex(Cmp_hex&) { editable_ = true; }
void Cmp_editchk_visitor::visit_bitflag(Cmp_bitflag&) { editable_ = true; }
void Cmp_editchk_visitor::visit_nodef(Cmp_nodef&) { editable_ = true; }
void Cmp_editchk_visitor::visit_tbl(Cmp_tbl&) {}
void Cmp_editchk_visitor::visit_rec(Cmp_rec&) {}
