#include "ui/dump_wnd.h"

#include <algorithm>

#include "document/data_mgr.h"

namespace {

constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t black = 0x000000;
constexpr std::uint32_t red = 0xFF0000;

} // namespace

void Dump_wnd::create(Bcl_wnd& parent)
{
    Bcl_view::create(parent, "DumpWnd");
    canvas_.set_background(white);
    // The back buffer covers the whole screen, so that no size of the window needs a
    // new one (a window larger than the screen gets a larger buffer).
    const Bcl_size screen = bcl_screen_size();
    buffer_ = {std::max(screen.width, 1), std::max(screen.height, 1)};
    canvas_.attach(this, buffer_.width, buffer_.height);
    // IPAGothic at 16 pixels has the 8 x 16 cells the columns are placed for; a
    // stand-in font is made small enough for its characters to stay in their cells.
    font_fits_ = canvas_.fit_cells(Dump_layout::char_width, Dump_layout::line_height);
    set_handlers({.size = [this](int, int) { on_size(); },
                  .scroll = [this](Axis axis, Scroll scroll, int thumb) { on_scroll(axis, scroll, thumb); },
                  .left_up = [this](Bcl_point at) { on_click(at); },
                  .left_down = {}});
    set_key_handler([this](const Bcl_key_event& key) { return on_key(key); });
    update_scroll_bars();
}

void Dump_wnd::refresh_range()
{
    layout_.set_data_size(document_.size());
    // The unit of the vertical position may have changed with the length.
    vertical_ = layout_.clamp_vertical(vertical_, client_height());
    update_scroll_bars();
}

void Dump_wnd::set_highlight(const Data_node* first, const Data_node* end)
{
    if (!first) {
        highlight_ = {};
        scroll_to(horizontal_, 0);
        return;
    }
    highlight_ = {true, document_.position_of(first), document_.position_of(end)};
    scroll_to(horizontal_, layout_.position_to_show(highlight_.start, vertical_, client_height()));
}

void Dump_wnd::scroll_to(std::int64_t horizontal, std::int64_t vertical)
{
    horizontal_ = Dump_layout::clamp_horizontal(horizontal, client_width());
    vertical_ = layout_.clamp_vertical(vertical, client_height());
    update_scroll_bars();
    redraw();
}

void Dump_wnd::redraw()
{
    canvas_.clear();
    const std::uint32_t first = layout_.first_line(vertical_);
    const std::vector<Dump_line> lines =
        dump_lines(document_, first, layout_.visible_lines(vertical_, client_height()), highlight_);
    for (std::size_t i = 0; i < lines.size(); ++i)
        draw_line(lines[i], static_cast<int>(layout_.line_y(first + static_cast<std::uint32_t>(i), vertical_)));
    canvas_.paint();
}

void Dump_wnd::draw_line(const Dump_line& line, int y)
{
    const int left = -horizontal_;
    canvas_.set_text_colour(black);
    canvas_.draw_text(left + Dump_layout::offset_x, y, line.offset_text);
    if (line.separator)
        canvas_.draw_text(left + Dump_layout::separator_x, y, "-");
    for (std::uint32_t column = 0; column < line.cells.size(); ++column) {
        const Dump_cell& cell = line.cells[column];
        canvas_.set_text_colour(cell.red ? red : black);
        canvas_.draw_text(left + Dump_layout::hex_x(column), y, cell.hex);
        // A two-byte character is drawn whole from its first byte's cell; the second
        // byte's cell stays empty.
        if (!cell.character.empty())
            canvas_.draw_text(left + Dump_layout::char_x(column), y, cell.character);
    }
}

void Dump_wnd::update_scroll_bars()
{
    set_scroll(Axis::horizontal, Dump_layout::content_width - 1, client_width(), horizontal_,
               Dump_layout::horizontal_line_step);
    set_scroll(Axis::vertical, layout_.vertical_content() - 1, layout_.vertical_page(client_height()), vertical_,
               layout_.vertical_line_step());
}

void Dump_wnd::on_size()
{
    if (client_width() > buffer_.width || client_height() > buffer_.height) {
        buffer_ = {std::max(client_width(), buffer_.width), std::max(client_height(), buffer_.height)};
        canvas_.attach(this, buffer_.width, buffer_.height);
    }
    // A larger page pulls the positions back from the end.
    scroll_to(horizontal_, vertical_);
}

void Dump_wnd::on_scroll(Axis axis, Scroll scroll, int thumb)
{
    const bool vertical = axis == Axis::vertical;
    const std::int64_t position = vertical ? vertical_ : horizontal_;
    const std::int64_t line = vertical ? layout_.vertical_line_step() : Dump_layout::horizontal_line_step;
    const std::int64_t page = vertical ? layout_.vertical_page(client_height()) : client_width();
    std::int64_t step = 0;
    if (scroll == Scroll::line_up || scroll == Scroll::line_down)
        step = scroll == Scroll::line_up ? -line : line;
    else if (scroll == Scroll::page_up || scroll == Scroll::page_down)
        step = scroll == Scroll::page_up ? -page : page;
    const std::int64_t target = scroll == Scroll::thumb ? thumb : position + step;
    const std::int64_t horizontal = vertical ? horizontal_ : target;
    const std::int64_t vertical_target = vertical ? target : vertical_;
    // When the content fits (or the end is reached) the scroll does nothing.
    if (Dump_layout::clamp_horizontal(horizontal, client_width()) == horizontal_ &&
        layout_.clamp_vertical(vertical_target, client_height()) == vertical_)
        return;
    scroll_to(horizontal, vertical_target);
}

bool Dump_wnd::on_key(const Bcl_key_event& key)
{
    struct Key_scroll {
        Bcl_key key;
        Axis axis;
        Scroll scroll;
    };
    static constexpr Key_scroll key_scrolls[] = {
        {Bcl_key::page_up, Axis::vertical, Scroll::page_up},  {Bcl_key::page_down, Axis::vertical, Scroll::page_down},
        {Bcl_key::up, Axis::vertical, Scroll::line_up},        {Bcl_key::down, Axis::vertical, Scroll::line_down},
        {Bcl_key::left, Axis::horizontal, Scroll::line_up},    {Bcl_key::right, Axis::horizontal, Scroll::line_down},
    };
    if (key.key == Bcl_key::tab)
        return owner_.focus_key && owner_.focus_key(key);
    for (const Key_scroll& entry : key_scrolls) {
        if (entry.key == key.key) {
            on_scroll(entry.axis, entry.scroll, 0);
            return true;
        }
    }
    return false;
}

// The byte is looked up in the document as it is now: no node is kept from an
// earlier drawing, and while the data is changed or analysed the toolkit lets no
// click through.
void Dump_wnd::on_click(Bcl_point at)
{
    if (!owner_.select_byte)
        return;
    const std::optional<std::uint32_t> offset = layout_.offset_at(at.x, at.y, horizontal_, vertical_);
    if (!offset || *offset >= document_.size())
        return;
    if (Data_node* byte = document_.node_at(*offset))
        owner_.select_byte(byte);
}
