#pragma once

// Where a splitter's bar stands: the position the user chose and the one shown in a
// window of a given extent (height of a vertical splitter, width of a horizontal one).
class Split_bar {
public:
    static constexpr int thickness = 4;
    static constexpr int near_margin = 10;
    static constexpr int far_margin = 14;

    // The user's position (clamped to the current extent when one is known).
    void set_position(int position);
    // Dragging: the bar follows within the margins, and that becomes the position.
    void drag_to(int position);
    // The window's extent changed: a bar that would leave it is pushed in, keeping the
    // user's position to go back to.
    void set_extent(int extent);

    [[nodiscard]] int position() const { return position_; }
    [[nodiscard]] int shown() const;
    [[nodiscard]] int extent() const { return extent_; }

private:
    [[nodiscard]] int clamp(int position) const;

    int position_ = 0;
    int extent_ = -1;  // unknown until the window is laid out
};
