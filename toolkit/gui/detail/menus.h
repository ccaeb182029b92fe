#pragma once

#include <QAction>
#include <QMenu>

#include <functional>
#include <vector>

#include "toolkit/gui/bcl_menu.h"

// Menus from the program's descriptions. Every command action carries its id.
namespace menus {

// Fills `menu` with `items`; `chosen` runs with the id of a triggered command.
void fill(QMenu& menu, const std::vector<Bcl_menu_item>& items, const std::function<void(int)>& chosen);
[[nodiscard]] int id_of(const QAction* action);
// Every command action below `widget` with `id`.
[[nodiscard]] std::vector<QAction*> actions_with_id(const QWidget& widget, int id);

} // namespace menus
