#include "model/def_def_ref.h"

#include "model/def_visitor.h"

void Def_def_ref::accept(Def_visitor& visitor) { visitor.visit_def_ref(*this); }
