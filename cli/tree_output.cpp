#include "cli/tree_output.h"

#include <cstdint>
#include <string>
#include <ostream>
#include <vector>

#include "engine/tree_text.h"
#include "model/cmp_float.h"
#include "model/cmp_int.h"
#include "model/cmp_visitor.h"
#include "model/data_node.h"
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
        out << tree_line_text(line.depth, escaped_for_line(line.name.to_utf8()), escaped_for_line(line.component.value_utf8()));
    });
}

namespace {

// The number a JSON script reads for an integer, a bit flag or a float. A float's
// is its value text, which is a JSON number when finite; inf, -inf and nan are
// not, and a float cut short by the end of the data has none: they get null.
class Number_visitor final : public Cmp_visitor {
public:
    // All digits of the integer, however large: a 64-bit value is written exactly,
    // never rounded to a double's 53 bits.
    std::string number;
    std::string float_number;

    void visit_component(Component&) override {}
    void visit_fix_str(Cmp_fix_str&) override {}
    void visit_flex_str(Cmp_flex_str&) override {}
    void visit_null_str(Cmp_null_str&) override {}
    void visit_int(Cmp_int& component) override { number = std::to_string(component.value()); }
    void visit_uint(Cmp_uint& component) override { number = std::to_string(component.value()); }
    void visit_hex(Cmp_hex& component) override
    {
        number = component.def()->is_signed() ? std::to_string(sign_extend(component.value(), component.int_size()))
                                              : std::to_string(component.value());
    }
    void visit_bitflag(Cmp_bitflag& component) override { number = std::to_string(component.flag_value()); }
    void visit_nodef(Cmp_nodef&) override {}
    void visit_tbl(Cmp_tbl&) override {}
    void visit_rec(Cmp_rec&) override {}
    void visit_bytes(Cmp_bytes&) override {}
    void visit_float(Cmp_float& component) override
    {
        const std::string_view text = component.value_text().view();
        if (!text.empty() && !text.ends_with("inf") && text != "nan")
            float_number = text;
    }
};

void write_json_string(std::ostream& out, std::string_view utf8)
{
    std::string text = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20) {
            text += "\\u00";
            append_hex_digits(text, byte, 2, Hex_case::lower);
        } else {
            text += c;
        }
    }
    out << text << '"';
}

} // namespace

void print_tree_json(Component& root, int max_depth, std::ostream& out)
{
    // Lines come in display order with their depth: the objects deeper than or as
    // deep as the next line are closed before it is written. One entry per open
    // object: whether it opened a "children" list, and whether that has an element.
    struct Open {
        bool children;
        bool any_child;
    };
    std::vector<Open> open;
    const auto close_to = [&](std::size_t depth) {
        while (open.size() > depth) {
            out << (open.back().children ? "]}" : "}");
            open.pop_back();
        }
    };
    render_tree(root, max_depth, [&](const Tree_line& line) {
        const auto depth = static_cast<std::size_t>(line.depth);
        close_to(depth);
        if (!open.empty()) {
            if (open.back().any_child)
                out << ',';
            open.back().any_child = true;
        }
        const Component& component = line.component;
        out << "{\"name\":";
        write_json_string(out, line.name.to_utf8());
        if (component.start())
            out << ",\"offset\":" << component.start()->position() << ",\"length\":" << component.size();
        else
            out << ",\"offset\":null,\"length\":null";
        out << ",\"value\":";
        write_json_string(out, line.component.value_utf8());
        Number_visitor number;
        line.component.accept(number);
        out << ",\"number\":";
        if (!number.number.empty())
            out << number.number;
        else if (!number.float_number.empty())
            out << number.float_number;
        else
            out << "null";
        // render_tree expands exactly these.
        const bool children = line.depth < max_depth && component.has_children();
        if (children)
            out << ",\"children\":[";
        open.push_back({children, false});
    });
    close_to(0);
    out << '\n';
}
