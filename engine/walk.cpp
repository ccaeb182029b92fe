#include "engine/walk.h"

#include "model/limits.h"

namespace walk {

int Nesting::walks_ = 0;
int Nesting::references_ = 0;

bool Nesting::reference_allowed()
{
    return references_ < limits::max_reference_depth && walks_ < limits::max_walk_nesting;
}

} // namespace walk
