#include "agreement/report_view.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "document/data_mgr.h"
#include "model/cmp_bytes.h"
#include "model/cmp_float.h"
#include "model/cmp_int.h"
#include "model/cmp_nodef.h"
#include "model/cmp_str.h"
#include "model/cmp_table.h"
#include "model/cmp_visitor.h"
#include "model/items.h"
#include "toolkit/exception.h"
#include "toolkit/text/texts.h"

namespace {

constexpr std::string_view blank = "            ";  // the 12 columns of a line without offset
constexpr std::string_view after_name = "    ";

// Ends the view: the data ran out, or the line limit was reached.
struct Finished {};

// The offset of the component's first byte as 8 upper-case hexadecimal digits.
std::string offset_of(const Component& component)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::uint32_t offset = Data_mgr::instance().position_of(component.start());
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, offset >>= 4)
        text[static_cast<std::size_t>(i)] = digits[offset & 0xF];
    return text;
}

std::string indent(int level) { return std::string(4 * static_cast<std::size_t>(level), ' '); }

// The lines of a text: separated by CR LF, a lone CR or a lone LF; the last line is
// always there, empty after a final line break.
std::vector<std::string_view> text_lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(begin, i - begin));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        begin = i + 1;
    }
    lines.push_back(text.substr(begin));
    return lines;
}

class View_writer final : public Cmp_visitor {
public:
    explicit View_writer(std::size_t max_lines) : max_lines_(max_lines) {}

    Report_view write(Component& root)
    {
        try {
            line(std::string(blank) + root.name().bytes());
            show_children(root, 1, nullptr);
        } catch (const Finished&) {
        }
        return std::move(view_);
    }

    // Below the root a plain component is the data-shortage marker.
    void visit_component(Component&) override { shortage(); }
    void visit_int(Cmp_int& c) override { integer(c); }
    void visit_uint(Cmp_uint& c) override { integer(c); }
    void visit_hex(Cmp_hex& c) override { integer(c); }
    void visit_bitflag(Cmp_bitflag& c) override { line(std::string(blank) + indent(indent_) + named_value(c)); }
    void visit_fix_str(Cmp_fix_str& c) override { string(c); }
    void visit_flex_str(Cmp_flex_str& c) override { string(c); }
    void visit_null_str(Cmp_null_str& c) override { string(c); }
    void visit_nodef(Cmp_nodef& c) override { line(offset_of(c) + std::string(blank) + named_value(c)); }
    void visit_float(Cmp_float& c) override { integer(c); }
    // One line: the report does not list a block's bytes.
    void visit_bytes(Cmp_bytes& c) override
    {
        line(offset_of(c) + std::string(after_name) + indent(indent_) + named_value(c));
    }

    void visit_tbl(Cmp_tbl& c) override
    {
        // A group of a large loop or of the undefined bytes adds no line of its own.
        if (c.def() == group_of_) {
            show_children(c, indent_, c.def());
            return;
        }
        if (dynamic_cast<Def_nodef*>(c.def())) {
            if (!undefined_shown_)
                line(std::string(16, ' ') + texts::undefined().bytes());
            undefined_shown_ = true;
            show_children(c, 0, c.def());
            return;
        }
        line(std::string(blank) + indent(indent_) + c.name().bytes());
        const bool loop = dynamic_cast<Def_for*>(c.def()) || dynamic_cast<Def_while*>(c.def());
        show_children(c, indent_ + 1, loop ? c.def() : nullptr);
    }

    void visit_rec(Cmp_rec& c) override
    {
        line(std::string(blank) + indent(indent_) + c.name().bytes());
        show_children(c, indent_ + 1, nullptr);
    }

private:
    static std::string named_value(Component& c) { return c.name().bytes() + std::string(after_name) + c.value_text().bytes(); }

    void integer(Component& c)
    {
        line(offset_of(c) + std::string(after_name) + indent(indent_) + named_value(c));
        show_children(c, indent_ + 1, nullptr);
    }

    void string(Component& c)
    {
        const std::vector<std::string_view> lines = text_lines(c.value_text().view());
        const std::string name = c.name().bytes();
        line(offset_of(c) + std::string(after_name) + indent(indent_) + name + std::string(after_name) +
             std::string(lines.front()));
        for (std::size_t i = 1; i < lines.size(); ++i)
            line(indent(indent_) + std::string(name.size(), ' ') + std::string(after_name) + std::string(lines[i]));
    }

    // Expands `c` when it has not been yet, then shows its children at `level`;
    // `group_of` is the loop or undefined item whose groups are shown without a
    // line. A shortage met while expanding ends the view after the children made.
    void show_children(Component& c, int level, const Define* group_of)
    {
        bool short_of_data = false;
        if (c.has_children() && c.child_count() == 0) {
            try {
                c.expand();
            } catch (const Data_shortage&) {
                short_of_data = true;
            }
        }
        const int outer_indent = indent_;
        const Define* outer_group = group_of_;
        for (int i = 0; i < c.child_count(); ++i) {
            indent_ = level;
            group_of_ = group_of;
            c.child(i)->accept(*this);
        }
        indent_ = outer_indent;
        group_of_ = outer_group;
        if (short_of_data)
            shortage();
    }

    [[noreturn]] void shortage()
    {
        line(std::string(blank) + texts::data_shortage().bytes());
        throw Finished{};
    }

    void line(const std::string& text)
    {
        if (lines_ == max_lines_) {
            view_.complete = false;
            throw Finished{};
        }
        ++lines_;
        view_.text += text;
        view_.text += "\r\n";
    }

    std::size_t max_lines_;
    std::size_t lines_ = 0;
    Report_view view_;
    int indent_ = 0;
    const Define* group_of_ = nullptr;
    bool undefined_shown_ = false;
};

std::vector<std::string> crlf_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        lines.push_back(text.substr(begin, end - begin));
    if (begin < text.size())
        lines.push_back(text.substr(begin));
    return lines;
}

bool has_offset_prefix(const std::string& line)
{
    return line.size() >= 12 && std::all_of(line.begin(), line.begin() + 8, [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
           }) && line.compare(8, 4, after_name) == 0;
}

std::string utf8(const std::string& sjis) { return Bcl_str(sjis).to_utf8(); }

} // namespace

Report_view report_view_of_tree(Component& root, std::size_t max_lines) { return View_writer(max_lines).write(root); }

std::string report_tree_difference(const std::string& report, const Report_view& view)
{
    std::vector<std::string> from_report = crlf_lines(report);
    const std::vector<std::string> from_tree = crlf_lines(view.text);
    if (!view.complete && from_report.size() > from_tree.size())
        from_report.resize(from_tree.size());
    if (from_report == from_tree)
        return {};

    const std::string shortage_line = std::string(blank) + texts::data_shortage().bytes();
    const std::size_t common = std::min(from_report.size(), from_tree.size());
    std::size_t first = 0;
    while (first < common && from_report[first] == from_tree[first])
        ++first;
    // The report's line of a string cut short by the end of the data, which the tree
    // does not show, just before both end with the shortage line.
    const bool string_cut_short = view.complete && !from_tree.empty() && from_tree.back() == shortage_line &&
                                  !from_report.empty() && from_report.back() == shortage_line &&
                                  first == from_tree.size() - 1 && first < from_report.size() - 1 &&
                                  has_offset_prefix(from_report[first]) &&
                                  std::none_of(from_report.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                                               from_report.end() - 1, has_offset_prefix);
    if (string_cut_short)
        return {};

    std::string text = "line " + std::to_string(first + 1) + ": report \"";
    text += first < from_report.size() ? utf8(from_report[first]) : "(no line)";
    text += "\", tree \"";
    text += first < from_tree.size() ? utf8(from_tree[first]) : "(no line)";
    text += "\"";
    return text;
}
