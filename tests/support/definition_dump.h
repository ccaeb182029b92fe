#pragma once

#include <string>

#include "model/item_list.h"

class Define;

// A text that names every item of a definition with every field, one line per item
// and bit flag, indented by depth. Two definitions with the same dump have the same
// structure and values. A child whose parent link does not name its container is
// marked "(bad parent)".
[[nodiscard]] std::string dump_definition(Item_span items);
[[nodiscard]] std::string dump_item(Define& item);
