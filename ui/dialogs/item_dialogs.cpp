#include "ui/dialogs/item_dialogs.h"

#include "ui/dialogs/dlg_int.h"
#include "ui/dialogs/dlg_items.h"

namespace {

template <typename Dialog>
std::unique_ptr<Define> run_new(Data_mgr& document, Bcl_wnd* owner)
{
    Dialog dialog(document, nullptr);
    if (dialog.run(owner) != 1)
        return nullptr;
    return dialog.take_result();
}

} // namespace

std::unique_ptr<Define> run_new_item_dialog(Data_mgr& document, Def_kind kind, Bcl_wnd* owner)
{
    switch (kind) {
    case Def_kind::integer:
        return run_new<Dlg_int>(document, owner);
    case Def_kind::fix_str:
        return run_new<Dlg_fix_str>(document, owner);
    case Def_kind::flex_str:
        return run_new<Dlg_flex_str>(document, owner);
    case Def_kind::null_str:
        return run_new<Dlg_null_str>(document, owner);
    case Def_kind::if_branch:
        return run_new<Dlg_if>(document, owner);
    case Def_kind::for_loop:
        return run_new<Dlg_for>(document, owner);
    case Def_kind::while_loop:
        return run_new<Dlg_while>(document, owner);
    case Def_kind::set_variable:
        return run_new<Dlg_set_variable>(document, owner);
    case Def_kind::def_set:
        return run_new<Dlg_def_set>(document, owner);
    case Def_kind::def_ref:
        return run_new<Dlg_def_ref>(document, owner);
    case Def_kind::floating:
        return run_new<Dlg_float>(document, owner);
    case Def_kind::byte_block:
        return run_new<Dlg_bytes>(document, owner);
    }
    return nullptr;
}

template <typename Dialog, typename Item>
void Def_edit_visitor::edit(Item& item)
{
    Dialog dialog(document_, &item);
    if (dialog.run(owner_) == 1)
        changed_ = true;
}

void Def_edit_visitor::visit_int(Def_int& item) { edit<Dlg_int>(item); }
void Def_edit_visitor::visit_fix_str(Def_fix_str& item) { edit<Dlg_fix_str>(item); }
void Def_edit_visitor::visit_flex_str(Def_flex_str& item) { edit<Dlg_flex_str>(item); }
void Def_edit_visitor::visit_null_str(Def_null_str& item) { edit<Dlg_null_str>(item); }
void Def_edit_visitor::visit_float(Def_float& item) { edit<Dlg_float>(item); }
void Def_edit_visitor::visit_bytes(Def_bytes& item) { edit<Dlg_bytes>(item); }
void Def_edit_visitor::visit_if(Def_if& item) { edit<Dlg_if>(item); }
void Def_edit_visitor::visit_for(Def_for& item) { edit<Dlg_for>(item); }
void Def_edit_visitor::visit_while(Def_while& item) { edit<Dlg_while>(item); }
void Def_edit_visitor::visit_set_variable(Def_set_variable& item) { edit<Dlg_set_variable>(item); }
void Def_edit_visitor::visit_def_set(Def_def_set& item) { edit<Dlg_def_set>(item); }
void Def_edit_visitor::visit_def_ref(Def_def_ref& item) { edit<Dlg_def_ref>(item); }
