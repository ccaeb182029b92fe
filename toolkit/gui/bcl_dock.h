#pragma once

#include <functional>
#include <string_view>

#include "toolkit/gui/bcl_wnd.h"

// A main area with a panel docked beside it: the user can move the panel to the
// other side, let it float as a window of its own or close it (the program shows it
// again through show_panel).
class Bcl_dock : public Bcl_wnd {
public:
    void create(Bcl_wnd& parent, int id);
    // Puts `main` in the middle and `panel` (which the dock takes as children) in
    // a panel titled `title`, `width` pixels wide, on the right.
    void set_panes(Bcl_wnd& main, Bcl_wnd& panel, std::string_view title, int width);
    // Puts `bar` under the main area, across its width, at its own height (after
    // set_panes).
    void set_bottom_bar(Bcl_wnd& bar);
    void show_panel(bool visible);
    // Told whenever the panel is shown or closed, by the program or by the user (its
    // close button, also while it floats); after set_panes.
    void set_panel_handler(std::function<void(bool shown)> handler);
    // The panel is not closed (it may still be off screen with the page).
    [[nodiscard]] bool panel_shown() const;
};
