#pragma once

#include <memory>
#include <utility>

#include "document/process.h"
#include "model/byte_order.h"
#include "model/def_bytes.h"
#include "model/def_container.h"
#include "model/def_def_ref.h"
#include "model/def_float.h"
#include "model/def_if.h"
#include "model/def_int.h"
#include "model/def_set_variable.h"
#include "model/def_str.h"

class Data_mgr;

// The fields an item's dialog edits, per kind: read() takes them from an item,
// write() puts them back through the item's setters, so the item keeps its identity
// (parent, place in its list, the rows that refer to it).
struct Int_fields {
    // A complete free-standing copy: name, sign, size, display, variable, named
    // values and deep copies of the bit flags.
    std::unique_ptr<Def_int> copy;
    [[nodiscard]] static Int_fields read(const Def_int& item) { return {item.clone()}; }
    void write(Def_int& item) const { item.assign(*copy); }
};

// The length as Def_fix_str::length_text() gives it: a constant or an expression.
struct Fix_str_fields {
    Bcl_str name;
    Bcl_str length;
    Text_encoding encoding = Text_encoding::shift_jis;
    [[nodiscard]] static Fix_str_fields read(const Def_fix_str& item)
    {
        return {item.name(), item.length_text(), item.encoding()};
    }
    void write(Def_fix_str& item) const;
};

struct Flex_str_fields {
    Bcl_str name;
    int prefix_size = 1;
    Text_encoding encoding = Text_encoding::shift_jis;
    [[nodiscard]] static Flex_str_fields read(const Def_flex_str& item)
    {
        return {item.name(), item.prefix_size(), item.encoding()};
    }
    void write(Def_flex_str& item) const;
};

struct Float_fields {
    Bcl_str name;
    int size = 4;
    [[nodiscard]] static Float_fields read(const Def_float& item) { return {item.name(), item.size()}; }
    void write(Def_float& item) const;
};

struct Bytes_fields {
    Bcl_str name;
    Bcl_str length;
    [[nodiscard]] static Bytes_fields read(const Def_bytes& item) { return {item.name(), item.length()}; }
    void write(Def_bytes& item) const;
};

struct Null_str_fields {
    Bcl_str name;
    Text_encoding encoding = Text_encoding::shift_jis;
    [[nodiscard]] static Null_str_fields read(const Def_null_str& item) { return {item.name(), item.encoding()}; }
    void write(Def_null_str& item) const
    {
        item.set_name(name);
        item.set_encoding(encoding);
    }
};

struct If_fields {
    Bcl_str condition;
    [[nodiscard]] static If_fields read(const Def_if& item) { return {item.condition()}; }
    void write(Def_if& item) const { item.set_condition(condition); }
};

struct For_fields {
    Bcl_str name;
    Bcl_str count;
    [[nodiscard]] static For_fields read(const Def_for& item) { return {item.name(), item.count()}; }
    void write(Def_for& item) const;
};

struct While_fields {
    Bcl_str name;
    Bcl_str condition;
    [[nodiscard]] static While_fields read(const Def_while& item) { return {item.name(), item.condition()}; }
    void write(Def_while& item) const;
};

struct Set_var_fields {
    Bcl_str variable;
    Bcl_str value;
    [[nodiscard]] static Set_var_fields read(const Def_set_variable& item) { return {item.variable(), item.value()}; }
    void write(Def_set_variable& item) const;
};

struct Def_set_fields {
    Bcl_str name;
    [[nodiscard]] static Def_set_fields read(const Def_def_set& item) { return {item.name()}; }
    void write(Def_def_set& item) const { item.set_name(name); }
};

struct Def_ref_fields {
    Bcl_str name;
    Bcl_str target;
    [[nodiscard]] static Def_ref_fields read(const Def_def_ref& item) { return {item.name(), item.target()}; }
    void write(Def_def_ref& item) const;
};

// An item's fields were changed by its dialog. Keeps the values from before the
// change and reads the values after it from the item, so it must be made after the
// item was changed. The item stays in the tree and is never owned.
template <typename Item, typename Fields>
class Proc_def_edit : public Process {
public:
    Proc_def_edit(Item& item, Fields old_fields)
        : item_(&item), old_(std::move(old_fields)), new_(Fields::read(item)) {}
    void undo() override { old_.write(*item_); }
    void redo() override { new_.write(*item_); }
    [[nodiscard]] Define* item_to_select() const override { return item_; }

    [[nodiscard]] const Fields& old_fields() const { return old_; }
    [[nodiscard]] const Fields& new_fields() const { return new_; }

private:
    Item* item_;
    Fields old_;
    Fields new_;
};

// The integer item as a whole; `old_copy` was taken before the dialog changed it.
class Proc_def_edit_int : public Proc_def_edit<Def_int, Int_fields> {
public:
    using Proc_def_edit<Def_int, Int_fields>::Proc_def_edit;
    Proc_def_edit_int(Def_int& item, std::unique_ptr<Def_int> old_copy)
        : Proc_def_edit(item, Int_fields{std::move(old_copy)}) {}
};

class Proc_def_edit_fix_str : public Proc_def_edit<Def_fix_str, Fix_str_fields> {
public:
    using Proc_def_edit<Def_fix_str, Fix_str_fields>::Proc_def_edit;
    Proc_def_edit_fix_str(Def_fix_str& item, Bcl_str old_name, int old_length)
        : Proc_def_edit(item, Fix_str_fields{std::move(old_name), Bcl_str(std::to_string(old_length))}) {}
};

class Proc_def_edit_flex_str : public Proc_def_edit<Def_flex_str, Flex_str_fields> {
public:
    using Proc_def_edit<Def_flex_str, Flex_str_fields>::Proc_def_edit;
    Proc_def_edit_flex_str(Def_flex_str& item, Bcl_str old_name, int old_prefix_size)
        : Proc_def_edit(item, Flex_str_fields{std::move(old_name), old_prefix_size}) {}
};

using Proc_def_edit_float = Proc_def_edit<Def_float, Float_fields>;
using Proc_def_edit_bytes = Proc_def_edit<Def_bytes, Bytes_fields>;

class Proc_def_edit_null_str : public Proc_def_edit<Def_null_str, Null_str_fields> {
public:
    using Proc_def_edit<Def_null_str, Null_str_fields>::Proc_def_edit;
    Proc_def_edit_null_str(Def_null_str& item, Bcl_str old_name)
        : Proc_def_edit(item, Null_str_fields{std::move(old_name)}) {}
};

class Proc_def_edit_if : public Proc_def_edit<Def_if, If_fields> {
public:
    using Proc_def_edit<Def_if, If_fields>::Proc_def_edit;
    Proc_def_edit_if(Def_if& item, Bcl_str old_condition)
        : Proc_def_edit(item, If_fields{std::move(old_condition)}) {}
};

class Proc_def_edit_for : public Proc_def_edit<Def_for, For_fields> {
public:
    using Proc_def_edit<Def_for, For_fields>::Proc_def_edit;
    Proc_def_edit_for(Def_for& item, Bcl_str old_name, Bcl_str old_count)
        : Proc_def_edit(item, For_fields{std::move(old_name), std::move(old_count)}) {}
};

class Proc_def_edit_while : public Proc_def_edit<Def_while, While_fields> {
public:
    using Proc_def_edit<Def_while, While_fields>::Proc_def_edit;
    Proc_def_edit_while(Def_while& item, Bcl_str old_name, Bcl_str old_condition)
        : Proc_def_edit(item, While_fields{std::move(old_name), std::move(old_condition)}) {}
};

class Proc_def_edit_set_var : public Proc_def_edit<Def_set_variable, Set_var_fields> {
public:
    using Proc_def_edit<Def_set_variable, Set_var_fields>::Proc_def_edit;
    Proc_def_edit_set_var(Def_set_variable& item, Bcl_str old_variable, Bcl_str old_value)
        : Proc_def_edit(item, Set_var_fields{std::move(old_variable), std::move(old_value)}) {}
};

class Proc_def_edit_def_set : public Proc_def_edit<Def_def_set, Def_set_fields> {
public:
    using Proc_def_edit<Def_def_set, Def_set_fields>::Proc_def_edit;
    Proc_def_edit_def_set(Def_def_set& item, Bcl_str old_name)
        : Proc_def_edit(item, Def_set_fields{std::move(old_name)}) {}
};

class Proc_def_edit_def_ref : public Proc_def_edit<Def_def_ref, Def_ref_fields> {
public:
    using Proc_def_edit<Def_def_ref, Def_ref_fields>::Proc_def_edit;
    Proc_def_edit_def_ref(Def_def_ref& item, Bcl_str old_name, Bcl_str old_target)
        : Proc_def_edit(item, Def_ref_fields{std::move(old_name), std::move(old_target)}) {}
};

// The settings were changed: title and byte order.
// Selects no item.
class Proc_conf_chg : public Process {
public:
    Proc_conf_chg(Data_mgr& document, Bcl_str old_title, Byte_order old_byte_order, Bcl_str new_title,
                  Byte_order new_byte_order)
        : document_(document), old_title_(std::move(old_title)), old_byte_order_(old_byte_order),
          new_title_(std::move(new_title)), new_byte_order_(new_byte_order) {}
    void undo() override;
    void redo() override;

private:
    Data_mgr& document_;
    Bcl_str old_title_;
    Byte_order old_byte_order_;
    Bcl_str new_title_;
    Byte_order new_byte_order_;
};
