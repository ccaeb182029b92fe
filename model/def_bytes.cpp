#include "model/def_bytes.h"

#include "model/def_visitor.h"

void Def_bytes::accept(Def_visitor& visitor) { visitor.visit_bytes(*this); }
