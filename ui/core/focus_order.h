#pragma once

// The controls of the main window that take the focus in turn.
enum class Focus_place { definition_list, data_tree, data_list, dump_view, inspector, find_bar, tab_control };

// The data page's panels that may be closed: a closed one is no stop.
struct Shown_panels {
    bool inspector = false;
    bool find_bar = false;
};

// Where Tab (or Shift+Tab when `backward`) moves the focus from `from` while page
// `page` is shown (0 definition, 1 data): only the shown page's controls, its shown
// panels and the tab control take part, in the order of the enum.
[[nodiscard]] Focus_place next_focus(Focus_place from, int page, bool backward, Shown_panels panels);
