#pragma once

#include "model/item_list.h"
#include "model/walk_context.h"

// The built-in names that the definition `items` (with everything nested in them)
// reads and does not bind a variable of: the names its walks turn on.
[[nodiscard]] Builtin_names builtin_names_of(Item_span items);
