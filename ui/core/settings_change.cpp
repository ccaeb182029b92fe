#include "ui/core/settings_change.h"

#include <memory>

#include "document/data_mgr.h"
#include "edit/proc_def_edit.h"

void change_settings(Data_mgr& document, Bcl_str title, Byte_order byte_order)
{
    Bcl_str old_title = document.title();
    const Byte_order old_byte_order = document.byte_order();
    document.set_title(title);
    document.set_byte_order(byte_order);
    document.push_definition_command(
        std::make_unique<Proc_conf_chg>(document, std::move(old_title), old_byte_order, std::move(title), byte_order));
}
