#pragma once

#include <cstddef>
#include <vector>

#include "model/def_disp_visitor.h"

// Whether the item of row `source` (with all its rows) may be dragged onto row
// `target` of the definition list, to be put before that row's item (or at the end
// of the list the row closes): the source row can be dragged, the target row
// accepts insertions, the drop would move the item at all (not onto itself, nor
// onto the row just below its own block), and the item would not go into itself
// or into one of its own descendants.
[[nodiscard]] bool drop_allowed(const std::vector<Def_row>& rows, std::size_t source, std::size_t target);
