#include "ui/dialogs/dlg_items.h"

#include "ui/core/help_topics.h"
#include "ui/dialogs/item_fields.h"

// ---- fixed-length string ----

Dlg_fix_str::Dlg_fix_str(Data_mgr& document, Def_fix_str* item)
    : Dlg_item("IDD_FIX_STR", help_topic::fix_str, document, item)
{
}

void Dlg_fix_str::attach_fields()
{
    attach_bcl_text(*this, name_, 500);
    attach_bcl_text(*this, length_, 501);
    length_.set_change_handler([this] { fields_changed(); });
    encoding_.attach(*this, 502);
    fill_encoding_list(encoding_);
    ok_.attach(*this, 1);
}

void Dlg_fix_str::show_fields(const Fix_str_fields& fields)
{
    show_bcl_text(name_, fields.name);
    show_bcl_text(length_, fields.length);
    show_encoding(encoding_, fields.encoding);
}

Fix_str_fields Dlg_fix_str::read_fields(const Fix_str_fields& shown) const
{
    return {bcl_text_of(name_, shown.name), bcl_text_of(length_, shown.length), encoding_of(encoding_)};
}

std::unique_ptr<Def_fix_str> Dlg_fix_str::blank() const { return std::make_unique<Def_fix_str>(Bcl_str(), 1); }

void Dlg_fix_str::fields_changed() { ok_.enable(fixed_length_takes(bcl_text_of(length_, Bcl_str()))); }

// ---- length-prefixed string ----

Dlg_flex_str::Dlg_flex_str(Data_mgr& document, Def_flex_str* item)
    : Dlg_item("IDD_FLEX_STR", help_topic::flex_str, document, item)
{
}

void Dlg_flex_str::attach_fields()
{
    attach_bcl_text(*this, name_, 600);
    prefix_size_.attach(*this, 601);
    fill_size_list(prefix_size_);
    encoding_.attach(*this, 602);
    fill_encoding_list(encoding_);
}

void Dlg_flex_str::show_fields(const Flex_str_fields& fields)
{
    show_bcl_text(name_, fields.name);
    show_size(prefix_size_, fields.prefix_size);
    show_encoding(encoding_, fields.encoding);
}

Flex_str_fields Dlg_flex_str::read_fields(const Flex_str_fields& shown) const
{
    return {bcl_text_of(name_, shown.name), size_of(prefix_size_), encoding_of(encoding_)};
}

std::unique_ptr<Def_flex_str> Dlg_flex_str::blank() const { return std::make_unique<Def_flex_str>(Bcl_str(), 1); }

// ---- float ----

Dlg_float::Dlg_float(Data_mgr& document, Def_float* item) : Dlg_item("IDD_FLOAT", help_topic::floating, document, item) {}

void Dlg_float::attach_fields()
{
    attach_bcl_text(*this, name_, 2100);
    size_.attach(*this, 2101);
}

void Dlg_float::show_fields(const Float_fields& fields)
{
    show_bcl_text(name_, fields.name);
    size_.select(fields.size == 8 ? 1 : 0);
}

Float_fields Dlg_float::read_fields(const Float_fields& shown) const
{
    return {bcl_text_of(name_, shown.name), size_.selected() == 1 ? 8 : 4};
}

std::unique_ptr<Def_float> Dlg_float::blank() const { return std::make_unique<Def_float>(Bcl_str(), 4); }

// ---- byte block ----

Dlg_bytes::Dlg_bytes(Data_mgr& document, Def_bytes* item)
    : Dlg_item("IDD_BYTES", help_topic::byte_block, document, item)
{
}

void Dlg_bytes::attach_fields()
{
    attach_bcl_text(*this, name_, 2120);
    attach_bcl_text(*this, length_, 2121);
}

void Dlg_bytes::show_fields(const Bytes_fields& fields)
{
    show_bcl_text(name_, fields.name);
    show_bcl_text(length_, fields.length);
}

Bytes_fields Dlg_bytes::read_fields(const Bytes_fields& shown) const
{
    return {bcl_text_of(name_, shown.name), bcl_text_of(length_, shown.length)};
}

std::unique_ptr<Def_bytes> Dlg_bytes::blank() const { return std::make_unique<Def_bytes>(Bcl_str(), Bcl_str()); }

// ---- NUL-terminated string ----

Dlg_null_str::Dlg_null_str(Data_mgr& document, Def_null_str* item)
    : Dlg_item("IDD_NULL_STR", help_topic::null_str, document, item)
{
}

void Dlg_null_str::attach_fields()
{
    attach_bcl_text(*this, name_, 700);
    encoding_.attach(*this, 701);
    fill_encoding_list(encoding_);
}

void Dlg_null_str::show_fields(const Null_str_fields& fields)
{
    show_bcl_text(name_, fields.name);
    show_encoding(encoding_, fields.encoding);
}

Null_str_fields Dlg_null_str::read_fields(const Null_str_fields& shown) const
{
    return {bcl_text_of(name_, shown.name), encoding_of(encoding_)};
}

std::unique_ptr<Def_null_str> Dlg_null_str::blank() const { return std::make_unique<Def_null_str>(Bcl_str()); }

// ---- If ----

Dlg_if::Dlg_if(Data_mgr& document, Def_if* item) : Dlg_item("IDD_IF", help_topic::if_branch, document, item) {}

void Dlg_if::attach_fields() { attach_bcl_text(*this, condition_, 1000); }
void Dlg_if::show_fields(const If_fields& fields) { show_bcl_text(condition_, fields.condition); }
If_fields Dlg_if::read_fields(const If_fields& shown) const { return {bcl_text_of(condition_, shown.condition)}; }
std::unique_ptr<Def_if> Dlg_if::blank() const { return std::make_unique<Def_if>(Bcl_str()); }

// ---- For ----

Dlg_for::Dlg_for(Data_mgr& document, Def_for* item) : Dlg_item("IDD_FOR", help_topic::for_loop, document, item) {}

void Dlg_for::attach_fields()
{
    attach_bcl_text(*this, name_, 801);
    attach_bcl_text(*this, count_, 800);
}

void Dlg_for::show_fields(const For_fields& fields)
{
    show_bcl_text(name_, fields.name);
    show_bcl_text(count_, fields.count);
}

For_fields Dlg_for::read_fields(const For_fields& shown) const
{
    return {bcl_text_of(name_, shown.name), bcl_text_of(count_, shown.count)};
}

std::unique_ptr<Def_for> Dlg_for::blank() const { return std::make_unique<Def_for>(Bcl_str(), Bcl_str()); }

// ---- While ----

Dlg_while::Dlg_while(Data_mgr& document, Def_while* item)
    : Dlg_item("IDD_WHILE", help_topic::while_loop, document, item)
{
}

void Dlg_while::attach_fields()
{
    attach_bcl_text(*this, name_, 900);
    attach_bcl_text(*this, condition_, 901);
}

void Dlg_while::show_fields(const While_fields& fields)
{
    show_bcl_text(name_, fields.name);
    show_bcl_text(condition_, fields.condition);
}

While_fields Dlg_while::read_fields(const While_fields& shown) const
{
    return {bcl_text_of(name_, shown.name), bcl_text_of(condition_, shown.condition)};
}

std::unique_ptr<Def_while> Dlg_while::blank() const { return std::make_unique<Def_while>(Bcl_str(), Bcl_str()); }

// ---- set variable ----

Dlg_set_variable::Dlg_set_variable(Data_mgr& document, Def_set_variable* item)
    : Dlg_item("IDD_SET_VARIABLE", help_topic::set_variable, document, item)
{
}

void Dlg_set_variable::attach_fields()
{
    attach_bcl_text(*this, variable_, 1100);
    attach_bcl_text(*this, value_, 1101);
}

void Dlg_set_variable::show_fields(const Set_var_fields& fields)
{
    show_bcl_text(variable_, fields.variable);
    show_bcl_text(value_, fields.value);
}

Set_var_fields Dlg_set_variable::read_fields(const Set_var_fields& shown) const
{
    return {bcl_text_of(variable_, shown.variable), bcl_text_of(value_, shown.value)};
}

std::unique_ptr<Def_set_variable> Dlg_set_variable::blank() const
{
    return std::make_unique<Def_set_variable>(Bcl_str(), Bcl_str());
}

// ---- definition set ----

Dlg_def_set::Dlg_def_set(Data_mgr& document, Def_def_set* item)
    : Dlg_item("IDD_DEF_SET", help_topic::def_set, document, item)
{
}

void Dlg_def_set::attach_fields() { attach_bcl_text(*this, name_, 1300); }
void Dlg_def_set::show_fields(const Def_set_fields& fields) { show_bcl_text(name_, fields.name); }

Def_set_fields Dlg_def_set::read_fields(const Def_set_fields& shown) const
{
    return {bcl_text_of(name_, shown.name)};
}

std::unique_ptr<Def_def_set> Dlg_def_set::blank() const { return std::make_unique<Def_def_set>(Bcl_str()); }

// ---- definition reference ----

Dlg_def_ref::Dlg_def_ref(Data_mgr& document, Def_def_ref* item)
    : Dlg_item("IDD_DEF_REF", help_topic::def_ref, document, item)
{
}

void Dlg_def_ref::attach_fields()
{
    attach_bcl_text(*this, name_, 1400);
    attach_bcl_text(*this, target_, 1401);
}

void Dlg_def_ref::show_fields(const Def_ref_fields& fields)
{
    show_bcl_text(name_, fields.name);
    show_bcl_text(target_, fields.target);
}

Def_ref_fields Dlg_def_ref::read_fields(const Def_ref_fields& shown) const
{
    return {bcl_text_of(name_, shown.name), bcl_text_of(target_, shown.target)};
}

std::unique_ptr<Def_def_ref> Dlg_def_ref::blank() const { return std::make_unique<Def_def_ref>(Bcl_str(), Bcl_str()); }
