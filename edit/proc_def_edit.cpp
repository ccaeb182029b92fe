#include "edit/proc_def_edit.h"

#include "document/data_mgr.h"

void Fix_str_fields::write(Def_fix_str& item) const
{
    item.set_name(name);
    item.set_length_text(length);
    item.set_encoding(encoding);
}

void Flex_str_fields::write(Def_flex_str& item) const
{
    item.set_name(name);
    item.set_prefix_size(prefix_size);
    item.set_encoding(encoding);
}

void Float_fields::write(Def_float& item) const
{
    item.set_name(name);
    item.set_size(size);
}

void Bytes_fields::write(Def_bytes& item) const
{
    item.set_name(name);
    item.set_length(length);
}

void For_fields::write(Def_for& item) const
{
    item.set_name(name);
    item.set_count(count);
}

void While_fields::write(Def_while& item) const
{
    item.set_name(name);
    item.set_condition(condition);
}

void Set_var_fields::write(Def_set_variable& item) const
{
    item.set_variable(variable);
    item.set_value(value);
}

void Def_ref_fields::write(Def_def_ref& item) const
{
    item.set_name(name);
    item.set_target(target);
}

// Title first, then byte order; each setter marks the definition modified.
void Proc_conf_chg::undo()
{
    document_.set_title(old_title_);
    document_.set_byte_order(old_byte_order_);
}

void Proc_conf_chg::redo()
{
    document_.set_title(new_title_);
    document_.set_byte_order(new_byte_order_);
}
