#include "model/def_def_ref.h"
#include "model/def_nodef.h"
#include "model/def_set_variable.h"
#include "model/def_visitor.h"

Data_node* Define::analyze_range(Data_node* cur, Component*, Data_node*, unsigned, unsigned, unsigned) { return cur; }
Data_node* Define::analyze_once(Data_node* cur, Component*, Data_node*) { return cur; }
Define* Define::remove_child(Define*) { return nullptr; }

void Def_set_variable::accept(Def_visitor& visitor) { visitor.visit_set_variable(*this); }
void Def_def_ref::accept(Def_visitor& visitor) { visitor.visit_def_ref(*this); }
void Def_nodef::accept(Def_visitor& visitor) { visitor.visit_nodef(*this); }
void Def_nodef::save(Bcl_binaryfile&) const {}
