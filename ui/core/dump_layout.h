#pragma once

#include <cstdint>
#include <optional>

// The dump view's geometry, free of any window: where each column is drawn, which
// lines are on screen for a scroll position, the vertical scroll range, which byte
// a click hits and where the view scrolls to show a byte. Painting only asks it.
//
// Content coordinates are pixels: 16 bytes a line, each line 16 pixels high, so the
// line of offset L has its top at L rounded down to 16. The vertical scroll
// position counts pixels as long as the content height fits the window system's
// 32-bit signed scroll range, that is for data below 2 GiB; beyond that it counts
// lines (one unit = 16 pixels), so that every byte of a file of up to 4 GiB stays
// reachable. Every function takes and gives positions in the current unit.
class Dump_layout {
public:
    static constexpr int line_height = 16;
    static constexpr std::uint32_t bytes_per_line = 16;
    static constexpr int offset_x = 0;
    static constexpr int offset_width = 64;
    static constexpr int hex_width = 16;
    static constexpr int separator_x = 256;
    static constexpr std::uint32_t separator_column = 8;
    static constexpr int char_width = 8;          // a two-byte character takes two cells
    static constexpr int content_width = 600;     // the horizontal range is 0 ... 599
    static constexpr int horizontal_line_step = 16;

    [[nodiscard]] static constexpr int hex_x(std::uint32_t column) { return 72 + 24 * static_cast<int>(column); }
    [[nodiscard]] static constexpr int char_x(std::uint32_t column) { return 464 + 8 * static_cast<int>(column); }

    explicit Dump_layout(std::uint32_t data_size = 0) { set_data_size(data_size); }

    // Takes the data length the scroll range is computed for.
    void set_data_size(std::uint32_t size);
    [[nodiscard]] std::uint32_t data_size() const { return data_size_; }
    // Lines that hold data (0 for no data).
    [[nodiscard]] std::uint32_t data_lines() const;

    // ---- vertical scrolling ----
    // Pixels per scroll unit: 1, or 16 for data of 2 GiB and more.
    [[nodiscard]] int vertical_unit() const { return vertical_unit_; }
    // The content height in units: one line more than the data needs (one line for
    // no data).
    [[nodiscard]] std::int32_t vertical_content() const;
    [[nodiscard]] std::int32_t vertical_page(int client_height) const;
    [[nodiscard]] std::int32_t vertical_line_step() const { return line_height / vertical_unit_; }
    // The largest position: 0 when the content fits in the page.
    [[nodiscard]] std::int32_t vertical_maximum(int client_height) const;
    [[nodiscard]] std::int32_t clamp_vertical(std::int64_t position, int client_height) const;

    // ---- horizontal scrolling (always pixels) ----
    [[nodiscard]] static int horizontal_maximum(int client_width);
    [[nodiscard]] static int clamp_horizontal(std::int64_t position, int client_width);

    // ---- the lines on screen at vertical position `v` ----
    [[nodiscard]] std::uint32_t first_line(std::int32_t v) const;
    // How many lines holding data are drawn from first_line(v), for a client area
    // `client_height` pixels high (the partly visible line at the bottom included).
    [[nodiscard]] std::uint32_t visible_lines(std::int32_t v, int client_height) const;
    // The top of `line` in client coordinates.
    [[nodiscard]] std::int64_t line_y(std::uint32_t line, std::int32_t v) const;

    // The offset of the byte under the client point (x, y) at scroll positions h and
    // v; nothing on the offset column, between two hexadecimal bytes, between the
    // columns, right of x = 591 or past the data.
    [[nodiscard]] std::optional<std::uint32_t> offset_at(int x, int y, int h, std::int32_t v) const;

    // Where the view scrolls to show the byte at `offset`: the position unchanged
    // when the top of the byte's line is already on screen, else the position that
    // makes that line the top line (clamped to the range).
    [[nodiscard]] std::int32_t position_to_show(std::uint32_t offset, std::int32_t v, int client_height) const;

    // Where the view scrolls to follow a caret moved to `offset`: by as little as
    // brings the byte's whole line on screen (its top first when the page is lower
    // than a line), the position unchanged when it is on screen already.
    [[nodiscard]] std::int32_t position_to_follow(std::uint32_t offset, std::int32_t v, int client_height) const;
    // Whole lines in a page of `client_height` pixels, at least one.
    [[nodiscard]] static std::uint32_t lines_per_page(int client_height);

private:
    [[nodiscard]] std::int64_t pixels(std::int32_t v) const { return std::int64_t{v} * vertical_unit_; }

    std::uint32_t data_size_ = 0;
    int vertical_unit_ = 1;
};
