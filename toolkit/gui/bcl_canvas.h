#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "toolkit/gui/bcl_wnd.h"

class Bcl_canvas;

struct Bcl_size {
    int width = 0;
    int height = 0;
};

// The size of the screen the program's windows open on.
[[nodiscard]] Bcl_size bcl_screen_size();

// A window that the program draws itself, through a canvas, with scroll bars whose
// state the program keeps (ranges and positions in pixels).
class Bcl_view : public Bcl_wnd {
public:
    enum class Axis { horizontal, vertical };
    // What a scroll bar asks for; the program moves the position itself.
    enum class Scroll { line_up, line_down, page_up, page_down, thumb };

    struct Handlers {
        std::function<void(int width, int height)> size;
        std::function<void(Axis, Scroll, int thumb)> scroll;
        std::function<void(const Bcl_click&)> left_up;
        std::function<void(const Bcl_click&)> left_down;
    };

    ~Bcl_view() override;

    // `class_name` names the window for the window system (and tests).
    void create(Bcl_wnd& parent, std::string_view class_name);
    void set_handlers(Handlers handlers);

    // Range max (inclusive, from 0), page size, position and line step of a scroll
    // bar; the wheel moves by three line steps.
    void set_scroll(Axis axis, int maximum, int page, int position, int line_step);
    [[nodiscard]] int scroll_position(Axis axis) const;
    [[nodiscard]] int client_width() const;
    [[nodiscard]] int client_height() const;
    // Paints the canvas attached to this view again.
    void invalidate();
};

// An off-screen image the program draws into; painting the view copies it. The font
// is IPAGothic at 16 pixels (8 x 16 cells); where it is missing, the system's
// monospace font at 16 pixels stands in.
class Bcl_canvas {
public:
    Bcl_canvas();
    ~Bcl_canvas();
    Bcl_canvas(const Bcl_canvas&) = delete;
    Bcl_canvas& operator=(const Bcl_canvas&) = delete;

    // Makes an image of width × height for `view`; without a view, the toolkit's
    // message "ウィンドウハンドルが指定されていません" and false.
    bool attach(Bcl_view* view, int width, int height);
    void set_background(std::uint32_t rgb);
    void clear();
    void set_text_colour(std::uint32_t rgb);
    // Draws UTF-8 text with its top-left corner at (x, y), unclipped, no prefix
    // processing.
    void draw_text(int x, int y, std::string_view utf8);
    void fill_rect(int x, int y, int width, int height, std::uint32_t rgb);
    // Finishes the drawing and copies the image to the view.
    void paint();
    // The colour at a point of the image (for tests).
    [[nodiscard]] std::uint32_t pixel(int x, int y) const;
    // One character cell of the canvas's font: the advance of a single-byte
    // character, and the row pitch (the font's pixel size).
    [[nodiscard]] int cell_width() const;
    [[nodiscard]] int cell_height() const;
    // Makes the cells at most `width` x `height`: a stand-in font with wider cells is
    // made smaller, so that texts placed cell by cell do not run into each other.
    // True when the cells are exactly that size.
    bool fit_cells(int width, int height);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
