#pragma once

#include <string_view>
#include <vector>

#include "toolkit/gui/bcl_menu.h"
#include "toolkit/gui/bcl_sdi.h"

// The program's menus and accelerators (from the command table) as the toolkit
// builds them.
[[nodiscard]] std::vector<Bcl_menu_item> menu_items(std::string_view resource_name);
[[nodiscard]] std::vector<Bcl_accelerator> accelerator_items();
