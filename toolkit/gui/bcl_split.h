#pragma once

#include "toolkit/gui/bcl_wnd.h"

// A window split into two panes by a bar of 4 pixels that the user drags. The bar
// stays at least 10 pixels from the near edge and 14 from the far one; when the
// window shrinks past it, it is pushed in and goes back to where it was once the
// window is large enough again.
class Bcl_split : public Bcl_wnd {
public:
    void create(Bcl_wnd& parent, int id);
    // Puts the two windows in (which the splitter takes as its children) and the bar
    // at `position` pixels from the near edge.
    void set_panes(Bcl_wnd& first, Bcl_wnd& second, int position);
    // The bar as the user left it (it may be pushed in while the window is small).
    [[nodiscard]] int position() const;
    // The bar as shown.
    [[nodiscard]] int shown_position() const;

protected:
    explicit Bcl_split(bool vertical) : vertical_(vertical) {}

private:
    bool vertical_;
};

// First pane on top, second below.
class Bcl_vsplit : public Bcl_split {
public:
    Bcl_vsplit() : Bcl_split(true) {}
};

// First pane on the left, second on the right.
class Bcl_hsplit : public Bcl_split {
public:
    Bcl_hsplit() : Bcl_split(false) {}
};
