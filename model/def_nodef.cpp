#include "model/def_nodef.h"

#include "model/def_visitor.h"

void Def_nodef::accept(Def_visitor& visitor) { visitor.visit_nodef(*this); }
