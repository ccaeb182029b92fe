#pragma once

#include <cstdint>
#include <functional>

#include "toolkit/gui/bcl_canvas.h"
#include "ui/core/dump_caret.h"
#include "ui/core/dump_layout.h"
#include "ui/core/dump_lines.h"

class Data_mgr;
class Data_node;

// What the dump view asks of the window it lives in.
struct Dump_owner {
    // Selects the component that holds the clicked byte.
    std::function<void(Data_node* byte)> select_byte;
    // Tab, Shift+Tab and Ctrl+Tab: true when the key was used.
    std::function<bool(const Bcl_key_event& key)> focus_key;
    // The caret or the selection moved (by a key, a click, set_caret or a change of
    // the data's length).
    std::function<void()> caret_moved;
};

// The dump view in the lower pane of the data page: the whole data, 16 bytes a line,
// as offsets, hexadecimal bytes and the same bytes as characters (two-byte
// Shift-JIS characters whole), with the highlighted range in red. It holds no bytes:
// every redraw reads the lines on screen from the document into a back buffer, and
// painting copies the buffer. A click on a byte asks the owner to select it and puts
// the byte caret there; the arrows, Page Up/Down, Home and End move the caret (the
// view follows it), with Shift selecting bytes, as Shift with a click does.
class Dump_wnd : public Bcl_view {
public:
    explicit Dump_wnd(Data_mgr& document) : document_(document) {}

    // The window of class "DumpWnd" in `parent`, with its scroll bars and back buffer.
    void create(Bcl_wnd& parent);
    void set_owner(Dump_owner owner) { owner_ = std::move(owner); }

    // Takes the data's length after a change of the data (without redrawing).
    void refresh_range();
    [[nodiscard]] std::uint32_t data_length() const { return layout_.data_size(); }

    // Highlights the bytes from `first` up to `end` (null: the end of the data) and
    // redraws; their first line scrolls to the top unless its top is on screen
    // already. With no `first` the highlight goes and the view scrolls to the top.
    void set_highlight(const Data_node* first, const Data_node* end);
    [[nodiscard]] const Dump_highlight& highlight() const { return highlight_; }

    // The byte caret and the selection (see Dump_caret), kept inside the data.
    [[nodiscard]] const Dump_caret& caret() const { return caret_; }
    // Puts the caret on `offset` (clamped to the data), with `selected` bytes from it
    // selected (the anchor on the last of them); its line scrolls to the top unless
    // it is on screen already.
    void set_caret(std::uint32_t offset, std::uint32_t selected = 0);

    // Scroll positions: horizontal in pixels, vertical in the layout's unit.
    [[nodiscard]] int horizontal_position() const { return horizontal_; }
    [[nodiscard]] std::int32_t vertical_position() const { return vertical_; }
    [[nodiscard]] const Dump_layout& layout() const { return layout_; }
    // Moves to the positions (clamped to the ranges) and redraws.
    void scroll_to(std::int64_t horizontal, std::int64_t vertical);

    // Draws the lines on screen into the back buffer and has the window copy it.
    void redraw();
    // Holds the redraws back for its lifetime and draws once at its end when any
    // came: one step of the user (a go to: the highlight of each level opened, then
    // the caret) draws the dump once.
    class Batch {
    public:
        explicit Batch(Dump_wnd& dump) : dump_(dump) { ++dump_.batch_depth_; }
        ~Batch()
        {
            if (--dump_.batch_depth_ == 0 && dump_.redraw_pending_) {
                dump_.redraw_pending_ = false;
                dump_.redraw();
            }
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Dump_wnd& dump_;
    };
    [[nodiscard]] const Bcl_canvas& back_buffer() const { return canvas_; }
    // True when the font has the 8 x 16 cells the geometry is made for (IPAGothic);
    // else a stand-in font, shrunk to fit the cells, draws at the same places.
    [[nodiscard]] bool font_fits() const { return font_fits_; }

private:
    void on_size();
    void on_scroll(Axis axis, Scroll scroll, int thumb);
    bool on_key(const Bcl_key_event& key);
    void on_click(const Bcl_click& click);
    void update_scroll_bars();
    void draw_line(const Dump_line& line, int y);
    void move_caret_to(const Dump_caret& caret, std::int32_t vertical);

    Data_mgr& document_;
    Dump_owner owner_;
    Bcl_canvas canvas_;
    Bcl_size buffer_;
    Dump_layout layout_;
    // Offsets rather than nodes: a node may go with the next change of the data.
    Dump_highlight highlight_;
    Dump_caret caret_;
    int horizontal_ = 0;
    std::int32_t vertical_ = 0;
    bool font_fits_ = true;
    int batch_depth_ = 0;
    bool redraw_pending_ = false;
};
