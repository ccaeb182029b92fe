#pragma once

// Rectangles in screen pixels.
struct Bcl_rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The top-left corner of a dialog of `width` × `height` as it opens: centred on
// `owner` (pass the work area itself when there is no owner), then moved inside
// `area`; a dialog wider or taller than the area sits at its left or top edge.
[[nodiscard]] Bcl_rect dialog_place(const Bcl_rect& owner, int width, int height, const Bcl_rect& area);

[[nodiscard]] bool rect_contains(const Bcl_rect& rect, int x, int y);

// The stop button drawn at the right end of the status bar's operation bar while an
// operation runs (in the bar's own pixels, `text_width` the width of its text): the
// text with room around it, never more than half the bar; the progress takes the
// rest.
[[nodiscard]] Bcl_rect stop_button_place(int bar_width, int bar_height, int text_width);
