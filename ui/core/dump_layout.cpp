#include "ui/core/dump_layout.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t int32_max = std::numeric_limits<std::int32_t>::max();

// The hexadecimal column runs from the first byte's left edge to the last byte's
// right edge; the character column likewise.
constexpr std::int64_t hex_left = Dump_layout::hex_x(0);
constexpr std::int64_t hex_right = Dump_layout::hex_x(15) + Dump_layout::hex_width - 1;  // 447
constexpr std::int64_t char_left = Dump_layout::char_x(0);
constexpr std::int64_t char_right = Dump_layout::char_x(15) + Dump_layout::char_width - 1;  // 591
constexpr std::int64_t hex_pitch = Dump_layout::hex_x(1) - Dump_layout::hex_x(0);

} // namespace

void Dump_layout::set_data_size(std::uint32_t size)
{
    data_size_ = size;
    const std::int64_t content_pixels = (std::int64_t{data_lines()} + 1) * line_height;
    vertical_unit_ = content_pixels <= int32_max ? 1 : line_height;
}

std::uint32_t Dump_layout::data_lines() const
{
    return static_cast<std::uint32_t>((std::uint64_t{data_size_} + bytes_per_line - 1) / bytes_per_line);
}

std::int32_t Dump_layout::vertical_content() const
{
    return static_cast<std::int32_t>((std::int64_t{data_lines()} + 1) * line_height / vertical_unit_);
}

std::int32_t Dump_layout::vertical_page(int client_height) const
{
    const int page = std::max(client_height, 0) / vertical_unit_;
    // Scrolling by lines, a page is at least one line.
    return vertical_unit_ > 1 && client_height > 0 ? std::max(page, 1) : page;
}

std::int32_t Dump_layout::vertical_maximum(int client_height) const
{
    return std::max(vertical_content() - vertical_page(client_height), 0);
}

std::int32_t Dump_layout::clamp_vertical(std::int64_t position, int client_height) const
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(position, 0, vertical_maximum(client_height)));
}

int Dump_layout::horizontal_maximum(int client_width) { return std::max(content_width - std::max(client_width, 0), 0); }

int Dump_layout::clamp_horizontal(std::int64_t position, int client_width)
{
    return static_cast<int>(std::clamp<std::int64_t>(position, 0, horizontal_maximum(client_width)));
}

std::uint32_t Dump_layout::first_line(std::int32_t v) const
{
    return static_cast<std::uint32_t>(std::max<std::int64_t>(pixels(v), 0) / line_height);
}

std::uint32_t Dump_layout::visible_lines(std::int32_t v, int client_height) const
{
    const std::int64_t first = first_line(v);
    // The last line drawn is the one below the bottom edge's line, as the bottom
    // line may be cut.
    const std::int64_t end = (std::int64_t{std::max(client_height, 0)} + std::max<std::int64_t>(pixels(v), 0) +
                              line_height) / line_height;
    return static_cast<std::uint32_t>(std::max<std::int64_t>(std::min<std::int64_t>(end, data_lines()) - first, 0));
}

std::int64_t Dump_layout::line_y(std::uint32_t line, std::int32_t v) const
{
    return std::int64_t{line} * line_height - pixels(v);
}

std::optional<std::uint32_t> Dump_layout::offset_at(int x, int y, int h, std::int32_t v) const
{
    if (y < 0)
        return std::nullopt;
    const std::int64_t content_x = std::int64_t{x} + h;
    std::int64_t column;
    if (content_x >= hex_left && content_x <= hex_right) {
        if ((content_x - hex_left) % hex_pitch >= hex_width)
            return std::nullopt;  // the gap between two bytes
        column = (content_x - hex_left) / hex_pitch;
    } else if (content_x >= char_left && content_x <= char_right) {
        column = (content_x - char_left) / char_width;
    } else {
        return std::nullopt;
    }
    const std::int64_t line = (std::max<std::int64_t>(pixels(v), 0) + y) / line_height;
    const std::int64_t offset = line * bytes_per_line + column;
    if (offset >= data_size_)
        return std::nullopt;
    return static_cast<std::uint32_t>(offset);
}

std::int32_t Dump_layout::position_to_show(std::uint32_t offset, std::int32_t v, int client_height) const
{
    const std::int64_t top = std::int64_t{offset / bytes_per_line} * line_height;
    const std::int64_t shown = pixels(v);
    if (top >= shown && top < shown + client_height)
        return v;
    return clamp_vertical(top / vertical_unit_, client_height);
}

std::int32_t Dump_layout::position_to_follow(std::uint32_t offset, std::int32_t v, int client_height) const
{
    const std::int64_t top = std::int64_t{offset / bytes_per_line} * line_height;
    const std::int64_t shown = pixels(v);
    std::int64_t wanted = shown;
    if (top < shown || client_height < line_height)
        wanted = top;
    else if (top + line_height > shown + client_height)
        wanted = top + line_height - client_height;
    // In units of lines the position rounds up, so that the line's bottom is shown.
    return clamp_vertical((wanted + vertical_unit_ - 1) / vertical_unit_, client_height);
}

std::uint32_t Dump_layout::lines_per_page(int client_height)
{
    return static_cast<std::uint32_t>(std::max(client_height / line_height, 1));
}
