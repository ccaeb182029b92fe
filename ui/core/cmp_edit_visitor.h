#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/cmp_visitor.h"
#include "toolkit/text/text_encoding.h"
#include "ui/core/change_limits.h"

class Component;
class Data_node;

// What the component edit walk asks of the window: the change dialogs, and showing a
// change made in place (the changed component's row text and its bytes in the dump).
class Change_asker {
public:
    virtual ~Change_asker() = default;
    // The value dialog of `limits` (decimal or hexadecimal) opened on `current`; the
    // new value, or none when cancelled.
    virtual std::optional<std::int64_t> ask_value(std::int64_t current, const Change_limits& limits) = 0;
    // The number dialog of a float of `width` bytes opened on its value text; the
    // new value, or none when cancelled.
    virtual std::optional<double> ask_number(std::string_view current, int width) = 0;
    // The string dialog opened on the string's bytes, text in `encoding`; the new
    // bytes, or none.
    virtual std::optional<std::string> ask_text(std::string_view current, std::uint32_t max_length,
                                                Text_encoding encoding) = 0;
    // `component` was changed without a new analysis; `length_changed` when the
    // data's length may differ.
    virtual void show_in_place(Component& component, bool length_changed) = 0;
};

// The component edit walk: opens the change dialog of the component's kind and, on
// confirmation, changes the data (recorded for undo by the document).
//
// Integers, floats and bit flags report `changed`, the place to show (their first byte) and,
// for a flag, the bit to show; the caller then analyses again. A string that runs to
// the end of the data does the same. Any other string, and an undefined byte, is
// changed in place: every component of the tree under `root` that started or ended
// at the replaced first byte is given the new first byte, so that nothing refers to
// a byte that is no longer in the data, and the asker shows the change; `changed`
// stays false.
//
// A value or text confirmed as it was changes nothing.
class Cmp_edit_visitor : public Cmp_visitor {
public:
    Cmp_edit_visitor(Change_asker& asker, Component& root) : asker_(asker), root_(root) {}

    void visit_component(Component& component) override;
    void visit_fix_str(Cmp_fix_str& component) override;
    void visit_flex_str(Cmp_flex_str& component) override;
    void visit_null_str(Cmp_null_str& component) override;
    void visit_int(Cmp_int& component) override;
    void visit_uint(Cmp_uint& component) override;
    void visit_hex(Cmp_hex& component) override;
    void visit_bitflag(Cmp_bitflag& component) override;
    void visit_nodef(Cmp_nodef& component) override;
    void visit_tbl(Cmp_tbl& component) override;
    void visit_rec(Cmp_rec& component) override;
    void visit_float(Cmp_float& component) override;
    // Its bytes are changed one at a time, as undefined bytes.
    void visit_bytes(Cmp_bytes&) override {}

    [[nodiscard]] bool changed() const { return changed_; }
    [[nodiscard]] Data_node* place_to_show() const { return place_to_show_; }
    // The first bit of the changed flag; none for a whole value or a string.
    [[nodiscard]] std::optional<int> bit_to_show() const { return bit_to_show_; }

private:
    template <typename Integer>
    void change_integer(Integer& component, std::int64_t current, std::optional<int> bit);
    template <typename String>
    void change_string(String& component, std::string_view current);

    Change_asker& asker_;
    Component& root_;
    bool changed_ = false;
    Data_node* place_to_show_ = nullptr;
    std::optional<int> bit_to_show_;
};

// Gives every component under `root` (itself included) that starts or ends at
// `old_byte` the byte `new_byte` instead.
void replace_byte_references(Component& root, const Data_node* old_byte, Data_node* new_byte);

// The bytes of a string component as its change dialog shows them: a fixed-length
// string up to its first 0 byte when only 0 bytes follow, else all its bytes; a
// length-prefixed string its bytes after the prefix; a NUL-terminated string its
// bytes before the terminator.
[[nodiscard]] std::string string_bytes(const Cmp_fix_str& component);
[[nodiscard]] std::string string_bytes(const Cmp_flex_str& component);
[[nodiscard]] std::string string_bytes(const Cmp_null_str& component);
