#pragma once

// Keys and mouse positions as the toolkit hands them to the program, free of the
// window system's types.

// letter_c: with Ctrl, copy.
enum class Bcl_key { other, tab, enter, escape, f1, up, down, left, right, page_up, page_down, home, end, del, backspace, letter_c };

struct Bcl_key_event {
    Bcl_key key = Bcl_key::other;
    bool ctrl = false;
    bool shift = false;
};

// A position in a window's client coordinates, in pixels.
struct Bcl_point {
    int x = 0;
    int y = 0;
};

// A click of the left button: where, and the modifier keys held.
struct Bcl_click {
    Bcl_point at;
    bool ctrl = false;
    bool shift = false;
};

// The cursors the program sets: the arrow, the not-allowed sign, and the drop cursor
// of row drags (cursor resource 2501).
enum class Bcl_cursor { arrow, not_allowed, drop };
