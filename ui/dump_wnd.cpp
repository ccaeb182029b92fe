#include "ui/dump_wnd.h"

#include <algorithm>

#include "document/data_mgr.h"

namespace {

constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t black = 0x000000;
constexpr std::uint32_t red = 0xFF0000;
// The selection's background and the caret's outline: apart from the red text of
// the selected component, which stays readable on them.
constexpr std::uint32_t selection_blue = 0xBFD9FF;
constexpr std::uint32_t caret_blue = 0x0050C8;

// An outline one pixel wide just inside the rectangle.
void outline(Bcl_canvas& canvas, int x, int y, int width, int height, std::uint32_t rgb)
{
    canvas.fill_rect(x, y, width, 1, rgb);
    canvas.fill_rect(x, y + height - 1, width, 1, rgb);
    canvas.fill_rect(x, y, 1, height, rgb);
    canvas.fill_rect(x + width - 1, y, 1, height, rgb);
}

std::optional<Caret_key> caret_key(Bcl_key key)
{
    switch (key) {
    case Bcl_key::left:
        return Caret_key::left;
    case Bcl_key::right:
        return Caret_key::right;
    case Bcl_key::up:
        return Caret_key::up;
    case Bcl_key::down:
        return Caret_key::down;
    case Bcl_key::page_up:
        return Caret_key::page_up;
    case Bcl_key::page_down:
        return Caret_key::page_down;
    case Bcl_key::home:
        return Caret_key::home;
    case Bcl_key::end:
        return Caret_key::end;
    default:
        return std::nullopt;
    }
}

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
                  .left_up = [this](const Bcl_click& click) { on_click(click); },
                  .left_down = {}});
    set_key_handler([this](const Bcl_key_event& key) { return on_key(key); });
    update_scroll_bars();
}

void Dump_wnd::refresh_range()
{
    layout_.set_data_size(document_.size());
    // The unit of the vertical position may have changed with the length.
    vertical_ = layout_.clamp_vertical(vertical_, client_height());
    caret_ = clamp_caret(caret_, layout_.data_size());
    update_scroll_bars();
    if (owner_.caret_moved)
        owner_.caret_moved();
}

void Dump_wnd::set_caret(std::uint32_t offset, std::uint32_t selected)
{
    std::optional<std::uint32_t> anchor;
    if (selected > 0)
        anchor = offset + std::min(selected - 1, UINT32_MAX - offset);
    const Dump_caret caret = clamp_caret({offset, anchor}, layout_.data_size());
    move_caret_to(caret, layout_.position_to_show(caret.caret, vertical_, client_height()));
}

void Dump_wnd::move_caret_to(const Dump_caret& caret, std::int32_t vertical)
{
    caret_ = caret;
    scroll_to(horizontal_, vertical);
    if (owner_.caret_moved)
        owner_.caret_moved();
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
    if (batch_depth_ > 0) {
        redraw_pending_ = true;
        return;
    }
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
    const bool has_caret = layout_.data_size() != 0;
    // The selection's background first, the texts on it, the caret's outline last.
    // Selected hexadecimal cells join into one band across the gaps between them.
    constexpr int hex_pitch = Dump_layout::hex_x(1) - Dump_layout::hex_x(0);
    constexpr int hex_margin = (hex_pitch - Dump_layout::hex_width) / 2;
    for (std::uint32_t column = 0; column < line.cells.size(); ++column) {
        if (!caret_.selected(line.offset + column))
            continue;
        canvas_.fill_rect(left + Dump_layout::hex_x(column) - hex_margin, y, hex_pitch, Dump_layout::line_height,
                          selection_blue);
        canvas_.fill_rect(left + Dump_layout::char_x(column), y, Dump_layout::char_width, Dump_layout::line_height,
                          selection_blue);
    }
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
    if (has_caret && caret_.caret - line.offset < line.cells.size() && caret_.caret >= line.offset) {
        const std::uint32_t column = caret_.caret - line.offset;
        outline(canvas_, left + Dump_layout::hex_x(column) - hex_margin, y, hex_pitch, Dump_layout::line_height,
                caret_blue);
        outline(canvas_, left + Dump_layout::char_x(column), y, Dump_layout::char_width, Dump_layout::line_height,
                caret_blue);
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

// The movement keys move the caret and the view follows it; the rules are
// move_caret's.
bool Dump_wnd::on_key(const Bcl_key_event& key)
{
    if (key.key == Bcl_key::tab)
        return owner_.focus_key && owner_.focus_key(key);
    const std::optional<Caret_key> caret = caret_key(key.key);
    if (!caret)
        return false;
    const Dump_caret moved = move_caret(caret_, *caret, key.ctrl, key.shift, layout_.data_size(),
                                        Dump_layout::bytes_per_line, Dump_layout::lines_per_page(client_height()));
    if (moved != caret_)
        move_caret_to(moved, layout_.position_to_follow(moved.caret, vertical_, client_height()));
    return true;
}

// The byte is looked up in the document as it is now: no node is kept from an
// earlier drawing, and while the data is changed or analysed the toolkit lets no
// click through. Shift+click only extends the byte selection: the selected component
// stays.
void Dump_wnd::on_click(const Bcl_click& click)
{
    const std::optional<std::uint32_t> offset = layout_.offset_at(click.at.x, click.at.y, horizontal_, vertical_);
    if (!offset || *offset >= document_.size())
        return;
    caret_ = click_caret(caret_, *offset, click.shift);
    if (owner_.caret_moved)
        owner_.caret_moved();
    redraw();
    if (click.shift)
        return;
    if (Data_node* byte = owner_.select_byte ? document_.node_at(*offset) : nullptr)
        owner_.select_byte(byte);
}
