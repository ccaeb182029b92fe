#include "ui/core/cmp_edit_visitor.h"

#include <vector>

#include "model/cmp_bytes.h"
#include "model/cmp_float.h"
#include "model/cmp_int.h"
#include "model/float_value.h"
#include "model/cmp_nodef.h"
#include "model/cmp_str.h"
#include "model/data_node.h"
#include "ui/core/value_choice.h"

namespace {

// Up to `limit` bytes from `node`, stopping at `end`.
std::string bytes_from(const Data_node* node, const Data_node* end, std::uint64_t limit)
{
    std::string bytes;
    for (; node && node != end && limit > 0; node = node->next(), --limit)
        bytes += static_cast<char>(node->value);
    return bytes;
}

} // namespace

std::string string_bytes(const Cmp_fix_str& component)
{
    std::string bytes = bytes_from(component.start(), component.end(), component.length());
    // The change pads the text with 0 bytes again, so padding need not be shown (from
    // a NUL code unit on: UTF-16 keeps the pairs of its last character).
    const auto unit = static_cast<std::size_t>(code_unit_size(component.def()->encoding()));
    std::size_t first_zero = bytes.find('\0');
    while (first_zero != std::string::npos && first_zero % unit != 0)
        first_zero = bytes.find('\0', first_zero + 1);
    if (first_zero != std::string::npos && bytes.find_first_not_of('\0', first_zero) == std::string::npos)
        bytes.resize(first_zero);
    return bytes;
}

std::string string_bytes(const Cmp_flex_str& component)
{
    const Data_node* node = component.start();
    for (int i = 0; i < prefix_width(*component.def()) && node; ++i)
        node = node->next();
    return bytes_from(node, component.end(), component.length());
}

std::string string_bytes(const Cmp_null_str& component)
{
    return text_bytes(component.start(), UINT64_MAX, component.def()->encoding());
}

void replace_byte_references(Component& root, const Data_node* old_byte, Data_node* new_byte)
{
    // Without recursion: expanded tables can nest deeply.
    std::vector<Component*> pending{&root};
    while (!pending.empty()) {
        Component* component = pending.back();
        pending.pop_back();
        if (component->start() == old_byte)
            component->set_start(new_byte);
        if (component->end() == old_byte)
            component->set_end(new_byte);
        for (int i = 0; i < component->child_count(); ++i)
            pending.push_back(component->child(i));
    }
}

namespace {

// The byte may be one of a block's first bytes, which its value text shows.
void forget_block_texts(Component& root)
{
    std::vector<Component*> pending{&root};
    while (!pending.empty()) {
        Component* component = pending.back();
        pending.pop_back();
        if (auto* block = dynamic_cast<Cmp_bytes*>(component))
            block->bytes_changed();
        for (int i = 0; i < component->child_count(); ++i)
            pending.push_back(component->child(i));
    }
}

} // namespace

template <typename Integer>
void Cmp_edit_visitor::change_integer(Integer& component, std::int64_t current, std::optional<int> bit)
{
    const Change_limits limits = change_limits(component);
    const std::optional<std::int64_t> asked = asker_.ask_value(current, limits);
    if (!asked)
        return;
    // The dialog gives values of a 32-bit range as 32-bit patterns: a flag of up to
    // 32 bits in an 8-byte integer compares by the integer's 64-bit key.
    const bool narrow_range = limits.dialog == Change_dialog::hexadecimal ? limits.byte_count <= 4
                                                                          : limits.maximum <= 0xFFFFFFFFu;
    const auto bits = static_cast<std::uint64_t>(*asked);
    const std::int64_t value = value_key(narrow_range ? static_cast<std::uint32_t>(bits) : bits, component.int_size());
    if (value == current)
        return;
    component.set_value(value);
    changed_ = true;
    place_to_show_ = component.start();
    bit_to_show_ = bit;
}

template <typename String>
void Cmp_edit_visitor::change_string(String& component, std::string_view current)
{
    const std::optional<std::string> text = asker_.ask_text(current, change_limits(component).max_length,
                                                                     component.def()->encoding());
    if (!text || *text == current)
        return;
    Data_node* old_first = component.start();
    component.set_text(Bcl_str(*text));
    if (!component.end()) {
        changed_ = true;
        place_to_show_ = component.start();
        return;
    }
    if (old_first && old_first != component.start())
        replace_byte_references(root_, old_first, component.start());
    asker_.show_in_place(component, true);
}

void Cmp_edit_visitor::visit_component(Component&) {}
void Cmp_edit_visitor::visit_tbl(Cmp_tbl&) {}
void Cmp_edit_visitor::visit_rec(Cmp_rec&) {}

void Cmp_edit_visitor::visit_fix_str(Cmp_fix_str& component) { change_string(component, string_bytes(component)); }
void Cmp_edit_visitor::visit_flex_str(Cmp_flex_str& component) { change_string(component, string_bytes(component)); }
void Cmp_edit_visitor::visit_null_str(Cmp_null_str& component) { change_string(component, string_bytes(component)); }

void Cmp_edit_visitor::visit_int(Cmp_int& component) { change_integer(component, component.value(), std::nullopt); }
void Cmp_edit_visitor::visit_uint(Cmp_uint& component)
{
    change_integer(component, value_key(component.value(), component.int_size()), std::nullopt);
}
void Cmp_edit_visitor::visit_hex(Cmp_hex& component)
{
    change_integer(component, value_key(component.value(), component.int_size()), std::nullopt);
}
void Cmp_edit_visitor::visit_bitflag(Cmp_bitflag& component)
{
    change_integer(component, value_key(component.flag_value(), component.int_size()), component.shift());
}

void Cmp_edit_visitor::visit_float(Cmp_float& component)
{
    const std::string current(component.value_text().view());
    const int width = float_width(*component.def());
    const std::optional<double> value = asker_.ask_number(current, width);
    // Compared as stored: a value that rounds to the bytes there changes nothing.
    if (!value || stored_float_text(*value, width) == current)
        return;
    component.set_value(*value);
    changed_ = true;
    place_to_show_ = component.start();
    bit_to_show_ = std::nullopt;
}

void Cmp_edit_visitor::visit_nodef(Cmp_nodef& component)
{
    if (!component.start())
        return;
    const std::int64_t current = component.start()->value;
    const std::optional<std::int64_t> value = asker_.ask_value(current, change_limits(component));
    if (!value || (*value & 0xFF) == current)
        return;
    Data_node* old_byte = component.start();
    component.set_value(*value);
    replace_byte_references(root_, old_byte, component.start());
    forget_block_texts(root_);
    asker_.show_in_place(component, false);
}
