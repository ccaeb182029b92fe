#include "cli/tree_output.h"

#include <ostream>

#include "engine/tree_text.h"
#include "toolkit/text/number_text.h"

std::string escaped_for_line(std::string_view utf8)
{
    std::string text;
    text.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            text += "\\\\";
        } else if (c == '\t') {
            text += "\\t";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\r') {
            text += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            text += "\\x";
            append_hex_digits(text, byte, 2, Hex_case::lower);
        } else {
            text += c;
        }
    }
    return text;
}

void print_tree(Component& root, int max_depth, std::ostream& out)
{
    render_tree(root, max_depth, [&out](const Tree_line& line) {
        out << tree_line_text(line.depth, escaped_for_line(line.name.to_utf8()), escaped_for_line(line.value.to_utf8()));
    });
}
