#include "toolkit/text/cell_text.h"

namespace {

// U+23CE RETURN SYMBOL: the list's font (IPAGothic) has it, the usual arrows it
// does not.
constexpr std::string_view line_break_mark = "\xE2\x8F\x8E";

} // namespace

std::string one_line_cell_text(std::string_view utf8)
{
    if (utf8.find_first_of("\r\n") == std::string_view::npos)
        return std::string(utf8);
    std::string text;
    text.reserve(utf8.size() + 8);
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        const char c = utf8[at];
        if (c != '\r' && c != '\n') {
            text += c;
            continue;
        }
        text += line_break_mark;
        if (c == '\r' && at + 1 < utf8.size() && utf8[at + 1] == '\n')
            ++at;
    }
    return text;
}
