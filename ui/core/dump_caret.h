#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

// The dump view's byte caret and selection, free of any window: which byte a key
// moves the caret to, what Shift selects and what the status bar says about it.
//
// The caret always stands on a byte of the data. A selection runs from the byte
// where Shift was first held (the anchor) to the caret, both included; without an
// anchor nothing is selected.
struct Dump_caret {
    std::uint32_t caret = 0;
    std::optional<std::uint32_t> anchor;

    [[nodiscard]] std::uint32_t selection_start() const { return anchor ? std::min(*anchor, caret) : caret; }
    // Bytes selected: 0 without an anchor, else at least the caret's byte.
    [[nodiscard]] std::uint32_t selection_length() const;
    [[nodiscard]] bool selected(std::uint32_t offset) const
    {
        return anchor && offset >= selection_start() && offset - selection_start() < selection_length();
    }
    friend bool operator==(const Dump_caret&, const Dump_caret&) = default;
};

// The keys that move the caret (Ctrl+Home and Ctrl+End go to the data's first and
// last byte; Ctrl with the other keys moves as without it).
enum class Caret_key { left, right, up, down, page_up, page_down, home, end };

// Where `key` takes the caret on data of `data_size` bytes shown `bytes_per_line` a
// line, `lines_per_page` lines a page. Up and down keep the column and stop at the
// first and last line (on a shorter last line, at its last byte); Shift keeps or
// sets the anchor, any other move drops it. Empty data has no caret to move: the
// state comes back as it was.
[[nodiscard]] Dump_caret move_caret(const Dump_caret& from, Caret_key key, bool ctrl, bool shift,
                                    std::uint32_t data_size, std::uint32_t bytes_per_line,
                                    std::uint32_t lines_per_page);

// Where a click on the byte at `offset` leaves the caret: on that byte. With Shift
// the selection runs to it from the anchor, or from the caret when nothing was
// selected, as Shift with a key does; a plain click selects no bytes.
[[nodiscard]] Dump_caret click_caret(const Dump_caret& from, std::uint32_t offset, bool shift);

// The caret brought inside data of `data_size` bytes after the data changed.
[[nodiscard]] Dump_caret clamp_caret(const Dump_caret& caret, std::uint32_t data_size);

// The status bar's text for the caret: "位置 0000001A (26)", then "  選択 4 バイト"
// while bytes are selected; empty for empty data. UTF-8.
[[nodiscard]] std::string caret_status_text(std::uint32_t caret, std::uint32_t selection_length,
                                            std::uint32_t data_size);
