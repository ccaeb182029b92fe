#pragma once

#include "toolkit/progress.h"

// The user's input while a long operation lets the window repaint, sorted by what
// it may do then.
enum class Busy_input {
    stop_key,     // Escape
    stop_button,  // a left click on the status bar's stop button
    close,        // the main window's close box
    view_wheel,   // the wheel over a view's client area or a scroll bar
    scroll_bar,   // a mouse button or move on a scroll bar
    other,        // any other key, click, menu, drop, shortcut or text
};

enum class Busy_verdict { pass, eat, stop };

// What becomes of `input` during `operation`. A stop is always asked for. A find
// leaves what the views show as it is, so they may scroll meanwhile; keys stay
// eaten (they move the caret and selection the find starts from), and the close box
// stops the find rather than being lost. The rest is thrown away.
[[nodiscard]] Busy_verdict busy_verdict(Operation_kind operation, Busy_input input);
