#include "model/cmp_place_srch_visitor.h"

#include "model/data_node.h"
#include "model/cmp_bytes.h"
#include "model/cmp_float.h"
#include "model/cmp_int.h"
#include "model/cmp_nodef.h"
#include "model/cmp_str.h"
#include "model/cmp_table.h"

// Positions are kept current for every byte of the data, so comparing them answers
// in one step what walking from the start to the end would.
bool Cmp_place_srch_visitor::covers(const Component& component) const
{
    const Data_node* start = component.start();
    const Data_node* end = component.end();
    if (!byte_ || !start)
        return false;
    return start->position() <= byte_->position() && (!end || byte_->position() < end->position());
}

void Cmp_place_srch_visitor::search_container(const Component& component)
{
    if (containers_)
        found_ = covers(component);
}

void Cmp_place_srch_visitor::search_leaf(const Component& component)
{
    if (!containers_)
        found_ = covers(component);
}

void Cmp_place_srch_visitor::search_integer(const Cmp_integer& component)
{
    // With a bit inside its flags, an integer is searched as the container of the
    // flag that holds the bit.
    const bool holds_flag_bit = component.has_flags() && bit_ && *bit_ >= 0 && *bit_ < component.flag_bits();
    if (containers_ == holds_flag_bit)
        found_ = covers(component);
}

void Cmp_place_srch_visitor::visit_component(Component& component) { search_container(component); }
void Cmp_place_srch_visitor::visit_fix_str(Cmp_fix_str& component) { search_leaf(component); }
void Cmp_place_srch_visitor::visit_float(Cmp_float& component) { search_leaf(component); }
void Cmp_place_srch_visitor::visit_flex_str(Cmp_flex_str& component) { search_leaf(component); }
void Cmp_place_srch_visitor::visit_null_str(Cmp_null_str& component) { search_leaf(component); }
void Cmp_place_srch_visitor::visit_int(Cmp_int& component) { search_integer(component); }
void Cmp_place_srch_visitor::visit_uint(Cmp_uint& component) { search_integer(component); }
void Cmp_place_srch_visitor::visit_hex(Cmp_hex& component) { search_integer(component); }

void Cmp_place_srch_visitor::visit_bitflag(Cmp_bitflag& component)
{
    const std::int64_t first = component.shift();
    if (!containers_ && bit_ && *bit_ >= first && *bit_ < first + component.bit_count())
        found_ = covers(component);
}

void Cmp_place_srch_visitor::visit_nodef(Cmp_nodef& component) { search_leaf(component); }
void Cmp_place_srch_visitor::visit_tbl(Cmp_tbl& component) { search_container(component); }
void Cmp_place_srch_visitor::visit_rec(Cmp_rec& component) { search_container(component); }
void Cmp_place_srch_visitor::visit_bytes(Cmp_bytes& component) { search_container(component); }
