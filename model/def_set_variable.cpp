#include "model/def_set_variable.h"

#include "model/def_visitor.h"

void Def_set_variable::accept(Def_visitor& visitor) { visitor.visit_set_variable(*this); }
