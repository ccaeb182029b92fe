#include "model/def_float.h"

#include "model/def_visitor.h"

void Def_float::accept(Def_visitor& visitor) { visitor.visit_float(*this); }
