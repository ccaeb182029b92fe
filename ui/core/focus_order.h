#pragma once

// The controls of the main window that take the focus in turn.
enum class Focus_place { definition_list, data_tree, data_list, dump_view, tab_control };

// Where Tab (or Shift+Tab when `backward`) moves the focus from `from` while page
// `page` is shown (0 definition, 1 data): only the shown page's controls and the tab
// control take part.
[[nodiscard]] Focus_place next_focus(Focus_place from, int page, bool backward);
