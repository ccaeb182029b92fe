#include "model/def_disp_visitor.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "model/items.h"
#include "toolkit/text/number_text.h"
#include "toolkit/text/texts.h"

namespace {

Bcl_str decimal(std::int64_t value)
{
    return Bcl_str(std::to_string(value));
}

// A 64-bit value (of an 8-byte integer) in `radix`, signed or unsigned decimal.
std::string wide_number_text(std::int64_t value, Radix radix)
{
    return radix == Radix::signed_decimal ? std::to_string(value) : std::to_string(static_cast<std::uint64_t>(value));
}

void append_entry(Bcl_str& text, std::int64_t value, bool wide, Radix radix, const Bcl_str& meaning)
{
    text += wide ? wide_number_text(value, radix) : number_text(static_cast<std::uint32_t>(value), radix);
    text += ':';
    text += meaning;
    text += "  ";
}

// "bit 4", or "bit 4 - 6" for a flag of more than one bit.
Bcl_str bit_range_text(std::int64_t first, int width)
{
    Bcl_str text("bit ");
    text += decimal(first);
    if (width != 1) {
        text += " - ";
        text += decimal(first + width - 1);
    }
    return text;
}

} // namespace

Bcl_str value_table_text(const Named_values& values, bool signed_order, bool wide)
{
    Bcl_str text;
    if (signed_order) {
        for (const auto& [value, meaning] : values)
            append_entry(text, value, wide, Radix::signed_decimal, meaning);
        return text;
    }
    // The table is ordered as signed numbers: the non-negative values come after the
    // negative ones, and the negative ones, read unsigned, are already ascending.
    const auto first_non_negative = values.lower_bound(0);
    for (auto it = first_non_negative; it != values.end(); ++it)
        append_entry(text, it->first, wide, Radix::unsigned_decimal, it->second);
    for (auto it = values.begin(); it != first_non_negative; ++it)
        append_entry(text, it->first, wide, Radix::unsigned_decimal, it->second);
    return text;
}

Def_disp_visitor::Def_disp_visitor(std::vector<Def_row>& rows, std::int32_t depth, Define* parent, bool branch,
                                   bool heads_only)
    : rows_(rows), depth_(depth), heads_only_(heads_only)
{
    if (parent)
        containers_.emplace(parent, branch);
}

Bcl_str Def_disp_visitor::indented(const Bcl_str& text) const
{
    Bcl_str line(std::string(2 * static_cast<std::size_t>(std::max(depth_, 0)), ' '));
    line += text;
    return line;
}

// The indent of the container whose inner rows are being written.
Bcl_str Def_disp_visitor::outer_indented(const Bcl_str& text) const
{
    Bcl_str line(std::string(2 * static_cast<std::size_t>(std::max(depth_ - 1, 0)), ' '));
    line += text;
    return line;
}

Def_row& Def_disp_visitor::add_row(Define* item)
{
    Def_row& row = rows_.emplace_back();
    row.entry.item = item;
    if (!containers_.empty()) {
        row.entry.parent = containers_.top().first;
        row.entry.branch = containers_.top().second;
    }
    row.entry.depth = depth_;
    return row;
}

void Def_disp_visitor::visit_int(Def_int& item)
{
    Def_row& row = add_row(&item);
    row.columns[col_size] = decimal(item.size());
    if (item.is_signed())
        row.columns[col_sign] = texts::signed_mark();
    row.columns[col_content] = indented(item.name());
    row.columns[col_variable] = item.variable();
    wide_ = item.size() == wide_int_size;
    row.columns[col_remarks] = value_table_text(item.named_values(), item.is_signed(), wide_);
    ++depth_;
    bit_ = 0;
    for (const auto& flag : item.bit_flags())
        flag->accept(*this);
    --depth_;
}

void Def_disp_visitor::visit_bitflag(Def_bitflag& item)
{
    Def_row& row = rows_.emplace_back();
    row.columns[col_size] = bit_range_text(bit_, item.bit_count());
    bit_ += item.bit_count();
    row.columns[col_content] = indented(item.name());
    row.columns[col_variable] = item.variable();
    row.columns[col_remarks] = value_table_text(item.named_values(), false, wide_);
    // A flag row belongs to its integer: no insertion, edit, deletion or drag of its own.
    row.entry = {&item, nullptr, false, depth_, false, false, false};
}

// A string's remark names its encoding unless it is Shift-JIS, the program's own.
void Def_disp_visitor::add_string_row(Def_string& item, Bcl_str size)
{
    Def_row& row = add_row(&item);
    row.columns[col_size] = std::move(size);
    row.columns[col_content] = indented(item.name());
    if (item.encoding() != Text_encoding::shift_jis)
        row.columns[col_remarks] = Bcl_str(encoding_name(item.encoding()));
}

void Def_disp_visitor::visit_fix_str(Def_fix_str& item) { add_string_row(item, item.length_text()); }

void Def_disp_visitor::visit_float(Def_float& item)
{
    Def_row& row = add_row(&item);
    row.columns[col_size] = decimal(item.size());
    row.columns[col_content] = indented(item.name());
    row.columns[col_remarks] = texts::float_remark();
}

void Def_disp_visitor::visit_bytes(Def_bytes& item)
{
    Def_row& row = add_row(&item);
    row.columns[col_size] = item.length();
    row.columns[col_content] = indented(item.name());
    row.columns[col_remarks] = texts::bytes_remark();
}

void Def_disp_visitor::visit_flex_str(Def_flex_str& item)
{
    add_string_row(item, decimal(item.prefix_size()) + " + " + texts::string_size());
}

void Def_disp_visitor::visit_null_str(Def_null_str& item) { add_string_row(item, texts::string_size()); }

void Def_disp_visitor::visit_children(Item_span children)
{
    // A copy of the references: the walk never depends on the list staying as it is.
    const std::vector<Define*> items(children.begin(), children.end());
    for (Define* child : items)
        child->accept(*this);
}

void Def_disp_visitor::add_closing_row(Define& container, bool branch, Bcl_str text)
{
    Def_row& row = rows_.emplace_back();
    row.columns[col_content] = outer_indented(text);
    row.entry = {nullptr, &container, branch, depth_, true, false, false};
}

void Def_disp_visitor::visit_if(Def_if& item)
{
    add_row(&item).columns[col_content] = indented(Bcl_str("if (") + item.condition() + ") {");
    if (heads_only_)
        return;
    containers_.emplace(&item, true);
    ++depth_;
    visit_children(item.then_children());
    // The "} else {" row closes the then-list: inserting there appends to it.
    add_closing_row(item, true, Bcl_str("} else {"));
    containers_.top().second = false;
    visit_children(item.else_children());
    add_closing_row(item, false, Bcl_str("}"));
    containers_.pop();
    --depth_;
}

void Def_disp_visitor::visit_block(Define& item, Bcl_str head, Item_span children)
{
    add_row(&item).columns[col_content] = indented(head);
    if (heads_only_)
        return;
    containers_.emplace(&item, false);
    ++depth_;
    visit_children(children);
    add_closing_row(item, false, Bcl_str("}"));
    containers_.pop();
    --depth_;
}

void Def_disp_visitor::visit_for(Def_for& item)
{
    visit_block(item, item.name() + " for (" + item.count() + ") {", item.children());
}

void Def_disp_visitor::visit_while(Def_while& item)
{
    visit_block(item, item.name() + " while (" + item.condition() + ") {", item.children());
}

void Def_disp_visitor::visit_set_variable(Def_set_variable& item)
{
    Def_row& row = add_row(&item);
    row.columns[col_content] = indented(Bcl_str("set (") + item.value() + ")");
    row.columns[col_variable] = item.variable();
}

void Def_disp_visitor::visit_def_set(Def_def_set& item)
{
    visit_block(item, texts::definition_set_open() + item.name() + ") {", item.children());
}

void Def_disp_visitor::visit_def_ref(Def_def_ref& item)
{
    Def_row& row = add_row(&item);
    row.columns[col_size] = item.target();
    row.columns[col_content] = indented(item.name());
}

void Def_disp_visitor::visit_nodef(Def_nodef&) {}

std::vector<Def_row> definition_rows(Item_span items)
{
    std::vector<Def_row> rows;
    Def_disp_visitor visitor(rows);
    for (Define* item : items)
        item->accept(visitor);
    rows.emplace_back().entry = {nullptr, nullptr, false, 0, true, false, false};
    return rows;
}

std::vector<Def_row> item_rows(Define& item, const Def_row_entry& place)
{
    std::vector<Def_row> rows;
    Def_disp_visitor visitor(rows, place.depth, place.parent, place.branch);
    item.accept(visitor);
    return rows;
}

std::size_t rewrite_item_rows(std::vector<Def_row>& rows, std::size_t row, std::size_t old_flag_rows)
{
    const Def_row_entry& place = rows.at(row).entry;
    if (!place.item || !place.editable)
        return 0;  // closing, "} else {" and bit-flag rows are never rewritten on their own
    std::vector<Def_row> heads;
    Def_disp_visitor visitor(heads, place.depth, place.parent, place.branch, true);
    place.item->accept(visitor);
    rows[row].columns = std::move(heads.front().columns);
    const auto first_flag = rows.begin() + static_cast<std::ptrdiff_t>(row) + 1;
    const auto old_count = static_cast<std::ptrdiff_t>(std::min(old_flag_rows, rows.size() - row - 1));
    rows.erase(first_flag, first_flag + old_count);
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(row) + 1, std::make_move_iterator(heads.begin() + 1),
                std::make_move_iterator(heads.end()));
    return heads.size() - 1;
}
