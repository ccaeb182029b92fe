#include "ui/core/dump_caret.h"

#include <algorithm>

#include "toolkit/text/number_text.h"

std::uint32_t Dump_caret::selection_length() const
{
    if (!anchor)
        return 0;
    return (std::max(*anchor, caret) - selection_start()) + 1;
}

Dump_caret move_caret(const Dump_caret& from, Caret_key key, bool ctrl, bool shift, std::uint32_t data_size,
                      std::uint32_t bytes_per_line, std::uint32_t lines_per_page)
{
    if (data_size == 0 || bytes_per_line == 0)
        return from;
    const std::int64_t last = std::int64_t{data_size} - 1;
    const std::int64_t caret = std::min<std::int64_t>(from.caret, last);
    const std::int64_t per_line = bytes_per_line;
    const std::int64_t line = caret / per_line;
    const std::int64_t column = caret % per_line;
    const std::int64_t page = std::max<std::uint32_t>(lines_per_page, 1);
    // A move by lines keeps the column, within the first and the last line.
    const auto by_lines = [&](std::int64_t lines) {
        const std::int64_t target_line = std::clamp<std::int64_t>(line + lines, 0, last / per_line);
        return std::min(target_line * per_line + column, last);
    };
    std::int64_t target = caret;
    switch (key) {
    case Caret_key::left:
        target = std::max<std::int64_t>(caret - 1, 0);
        break;
    case Caret_key::right:
        target = std::min(caret + 1, last);
        break;
    case Caret_key::up:
        target = by_lines(-1);
        break;
    case Caret_key::down:
        target = by_lines(1);
        break;
    case Caret_key::page_up:
        target = by_lines(-page);
        break;
    case Caret_key::page_down:
        target = by_lines(page);
        break;
    case Caret_key::home:
        target = ctrl ? 0 : line * per_line;
        break;
    case Caret_key::end:
        target = ctrl ? last : std::min(line * per_line + per_line - 1, last);
        break;
    }
    Dump_caret moved;
    moved.caret = static_cast<std::uint32_t>(target);
    if (shift)
        moved.anchor = from.anchor.value_or(static_cast<std::uint32_t>(caret));
    return moved;
}

Dump_caret click_caret(const Dump_caret& from, std::uint32_t offset, bool shift)
{
    Dump_caret clicked{offset, std::nullopt};
    if (shift)
        clicked.anchor = from.anchor.value_or(from.caret);
    return clicked;
}

Dump_caret clamp_caret(const Dump_caret& caret, std::uint32_t data_size)
{
    const std::uint32_t last = data_size == 0 ? 0 : data_size - 1;
    Dump_caret clamped{std::min(caret.caret, last), std::nullopt};
    if (caret.anchor && data_size != 0)
        clamped.anchor = std::min(*caret.anchor, last);
    return clamped;
}

std::string caret_status_text(std::uint32_t caret, std::uint32_t selection_length, std::uint32_t data_size)
{
    if (data_size == 0)
        return {};
    std::string text = "位置 ";
    append_hex_digits(text, caret, 8);
    text += " (" + std::to_string(caret) + ")";
    if (selection_length != 0)
        text += "  選択 " + std::to_string(selection_length) + " バイト";
    return text;
}
