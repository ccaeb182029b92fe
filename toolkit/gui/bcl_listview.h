#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/gui/bcl_wnd.h"

class Bcl_dlg;

// A report-style list: columns with headers, rows of texts, single selection that
// stays visible without the focus.
class Bcl_listview : public Bcl_wnd {
public:
    // Handlers for a row drag: mouse moves and button presses inside the list's
    // client area while the mouse is captured, and `lost` when the list loses the
    // keyboard focus or is hidden meanwhile (a dialog or another window came up,
    // the page changed). The right button press that reaches `right_down` opens no
    // popup: the context handler does not hear of it.
    struct Mouse_handler {
        std::function<void(Bcl_point)> moved;
        std::function<void(Bcl_point)> left_up;
        std::function<void(Bcl_point)> right_down;
        std::function<void()> lost;
    };

    void create(Bcl_wnd& parent, int id);
    // Makes the list control `id` of a dialog's template this list; false when the
    // template has none. Valid while the dialog is open.
    bool attach(Bcl_dlg& dialog, int id);
    // The last column added takes the width the others leave, never less than its
    // own `width`.
    void add_column(std::string_view header, int width);
    [[nodiscard]] int column_count() const;

    // Inserts a row before `row` (at the end when out of range); returns its index.
    int insert_row(int row, const std::vector<std::string>& cells);
    void set_cell(int row, int column, std::string_view utf8);
    [[nodiscard]] std::string cell(int row, int column) const;
    void delete_row(int row);
    void delete_all();
    [[nodiscard]] int row_count() const;

    // The selected row, or -1.
    [[nodiscard]] int selected() const;
    // Selects `row` (-1: none); the selection handler runs as for a click.
    void select(int row);
    void ensure_visible(int row);
    // The row under a point of the client area, or -1.
    [[nodiscard]] int hit_test(Bcl_point point) const;
    // Marks `row` as the drop target of a drag (-1: none).
    void set_drop_highlight(int row);
    [[nodiscard]] int drop_highlight() const { return drop_row_; }
    // The first row shown at the top, and scrolling by pixels.
    [[nodiscard]] int top_row() const;
    // Scrolls so that `row` is the first row shown (as far as the list can scroll).
    void set_top_row(int row);
    void scroll_by(int pixels);
    // The list's client height in pixels.
    [[nodiscard]] int client_height() const;

    void set_selection_handler(std::function<void(int row)> handler);
    // Double-click or Enter on a row.
    void set_activate_handler(std::function<void(int row)> handler);
    // Right click; the point is in client coordinates.
    void set_context_handler(std::function<void(Bcl_point)> handler);
    // The user started dragging the selected row.
    void set_drag_handler(std::function<void(int row)> handler);

    // While captured, every mouse move and button goes to `handler`, wherever the
    // mouse is.
    void capture_mouse(Mouse_handler handler);
    void release_mouse();
    [[nodiscard]] bool mouse_captured() const;

private:
    int drop_row_ = -1;
};
