#include "model/def_str.h"

#include "model/def_visitor.h"

void Def_fix_str::accept(Def_visitor& visitor) { visitor.visit_fix_str(*this); }
void Def_flex_str::accept(Def_visitor& visitor) { visitor.visit_flex_str(*this); }
void Def_null_str::accept(Def_visitor& visitor) { visitor.visit_null_str(*this); }
