#pragma once

#include <functional>
#include <string_view>

#include "toolkit/gui/bcl_wnd.h"

// Tab pages, each one window.
class Bcl_tab : public Bcl_wnd {
public:
    void create(Bcl_wnd& parent, int id);
    // Adds a page showing `page` (which the tab control takes as its child).
    void add_page(std::string_view text, Bcl_wnd& page);
    // Shows page `index` and hides the previous one; the change handler does not run.
    void select(int index);
    [[nodiscard]] int selected() const;
    [[nodiscard]] int page_count() const;
    [[nodiscard]] std::string page_text(int index) const;
    // The user chose another page.
    void set_change_handler(std::function<void(int index)> handler);
};
