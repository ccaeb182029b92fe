#include "ui/core/dump_lines.h"

#include <algorithm>

#include "document/data_mgr.h"
#include "toolkit/text/bcl_str.h"
#include "toolkit/text/number_text.h"
#include "toolkit/text/utf32.h"

namespace {

// The length of the UTF-8 character that `lead` starts.
std::size_t utf8_length(unsigned char lead) { return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

} // namespace

std::string single_byte_text(std::uint8_t byte)
{
    if (byte >= 0x20 && byte <= 0x7E)
        return std::string(1, static_cast<char>(byte));
    if (byte >= 0xA1 && byte <= 0xDF) {
        // Half-width katakana U+FF61 ... U+FF9F: one cell wide, like the other single bytes.
        const char32_t katakana = 0xFF61 + (byte - 0xA1);
        return utf8_from_utf32(std::u32string_view(&katakana, 1));
    }
    return ".";
}

std::string double_byte_text(std::uint8_t lead, std::uint8_t trail)
{
    const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
    std::string text = Bcl_str(pair).to_utf8();
    // A pair Shift-JIS has no character for converts to a replacement mark and more.
    if (text.empty() || text.size() != utf8_length(static_cast<unsigned char>(text[0])) || text == "\xEF\xBF\xBD")
        return ".";
    // The user-defined characters (lead bytes 0xF0 ... 0xF9) convert to the private
    // use area, which no font draws: they show as no character either.
    const std::u32string character = utf32_from_utf8(text);
    if (character.size() == 1 && character[0] >= 0xE000 && character[0] <= 0xF8FF)
        return ".";
    return text;
}

std::vector<Dump_line> dump_lines(const Data_mgr& doc, std::uint32_t first_line, std::uint32_t count,
                                  const Dump_highlight& highlight)
{
    std::vector<Dump_line> lines;
    const std::uint64_t size = doc.size();
    const std::uint64_t first = std::uint64_t{first_line} * 16;
    if (first >= size || count == 0)
        return lines;
    const std::uint64_t stop = std::min(size, first + std::uint64_t{count} * 16);

    // From the skip entry at or before the first byte, follow the Shift-JIS state up
    // to it: a lead byte that is not itself a second byte makes the next byte one.
    const Skip_entry entry = doc.skip_entry(static_cast<std::uint32_t>(first));
    Data_node* node = entry.node;
    bool second_byte = entry.in_double_byte;
    for (; node->position() < first; node = node->next())
        second_byte = !second_byte && is_sjis_lead(node->value);

    lines.reserve(static_cast<std::size_t>((stop - first + 15) / 16));
    for (std::uint64_t offset = first; offset < stop; ++offset, node = node->next()) {
        const auto column = static_cast<std::uint32_t>(offset % 16);
        if (column == 0) {
            Dump_line& line = lines.emplace_back();
            line.offset = static_cast<std::uint32_t>(offset);
            append_hex_digits(line.offset_text, line.offset, 8);
        }
        Dump_line& line = lines.back();
        line.separator = line.separator || column == 8;
        Dump_cell& cell = line.cells.emplace_back();
        append_hex_digits(cell.hex, node->value, 2);
        cell.red = highlight.on && highlight.start <= offset && offset < highlight.end;
        if (second_byte) {
            second_byte = false;  // drawn with its first byte
        } else if (!is_sjis_lead(node->value)) {
            cell.character = single_byte_text(node->value);
        } else if (const Data_node* next = node->next()) {
            cell.character = double_byte_text(node->value, next->value);
            cell.wide = true;
            second_byte = true;
        } else {
            cell.character.assign(1, '.');  // a lead byte with nothing after it
        }
    }
    return lines;
}
