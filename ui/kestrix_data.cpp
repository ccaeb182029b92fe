// The data list's commands: changing a value, adding and deleting bytes, its popup
// and double-click or Enter.
#include <limits>

#include "model/cmp_editchk_visitor.h"
#include "model/component.h"
#include "model/data_node.h"
#include "toolkit/memory/available_memory.h"
#include "toolkit/exception.h"
#include "toolkit/gui/bcl_menu.h"
#include "ui/core/cmp_edit_visitor.h"
#include "ui/dialogs/dlg_datchg.h"
#include "ui/kestrix.h"
#include "ui/menu_items.h"

namespace {

// The change dialogs for the component edit walk, and the in-place change shown in
// the row `row` of the data list and in the dump.
class Dialog_asker final : public Change_asker {
public:
    Dialog_asker(Bcl_wnd& owner, Bcl_listview& list, int row, Dump_wnd& dump)
        : owner_(owner), list_(list), row_(row), dump_(dump) {}

    std::optional<std::int32_t> ask_value(std::int32_t current, const Change_limits& limits) override
    {
        if (limits.dialog == Change_dialog::hexadecimal) {
            Dlg_datchg_hex dialog(current, limits.byte_count, limits.named_values);
            return dialog.run(&owner_) == 1 ? std::optional(dialog.value()) : std::nullopt;
        }
        Dlg_datchg_int dialog(current, limits.minimum, limits.maximum, limits.named_values);
        return dialog.run(&owner_) == 1 ? std::optional(dialog.value()) : std::nullopt;
    }

    std::optional<std::string> ask_text(std::string_view current, std::uint32_t max_length) override
    {
        Dlg_datchg_str dialog{std::string(current), max_length};
        return dialog.run(&owner_) == 1 ? std::optional(dialog.bytes()) : std::nullopt;
    }

    void show_in_place(Component& component, bool length_changed) override
    {
        list_.set_cell(row_, 1, component.value_text().to_utf8());
        if (length_changed)
            dump_.refresh_range();
        dump_.set_highlight(component.start(), component.end());
    }

private:
    Bcl_wnd& owner_;
    Bcl_listview& list_;
    int row_;
    Dump_wnd& dump_;
};

bool editable(Component& component)
{
    Cmp_editchk_visitor check;
    component.accept(check);
    return check.editable();
}

} // namespace

Component* Kestrix::selected_data_component() const
{
    const int row = data_list_.selected();
    return row >= 0 && static_cast<std::size_t>(row) < data_rows_.size() ? data_rows_[static_cast<std::size_t>(row)]
                                                                           : nullptr;
}

// "追加" always; "編集" for a row whose value can be changed; "削除" for any row.
void Kestrix::data_popup()
{
    Component* component = selected_data_component();
    Bcl_menu menu(menu_items(menu_name::data_popup));
    menu.enable(cmd::data_edit, component && editable(*component));
    menu.enable(cmd::data_delete, component != nullptr);
    if (const int id = menu.track())
        on_command(id);
}

// A container row moves the tree selection into it; any other row is changed.
void Kestrix::data_row_activated(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= data_rows_.size())
        return;
    Component* component = data_rows_[static_cast<std::size_t>(row)];
    if (!component->has_children()) {
        edit_data();
        return;
    }
    const Bcl_tree_item parent = data_tree_.selected();
    for (Bcl_tree_item child = data_tree_.first_child(parent); child; child = data_tree_.next_sibling(child)) {
        const auto found = tree_components_.find(child);
        if (found != tree_components_.end() && found->second == component) {
            data_tree_.expand(parent);
            data_tree_.select(child);
            return;
        }
    }
}

void Kestrix::data_changed(Data_place place)
{
    // The walk before the change is unchanged: the analysis goes on from the last
    // checkpoint before it.
    document_.analyze_changed_data();
    refresh_dump();
    rebuild_data_tree(place);
}

void Kestrix::add_data()
{
    const Component* component = selected_data_component();
    const std::uint32_t position =
        component && component->start() ? component->start()->position : document_.size();
    Dlg_datadd dialog(Dlg_datadd::Form::add, position, 1);
    if (dialog.run(this) != 1)
        return;
    // The data's length is a 32-bit count, and every byte takes a node: an insertion
    // beyond either is refused before anything changes.
    const std::uint64_t count = dialog.size();
    const std::optional<std::uint64_t> memory = available_memory();
    if (count > std::numeric_limits<std::uint32_t>::max() - document_.size() ||
        (memory && Data_mgr::bytes_to_load(count) > *memory))
        throw Out_of_memory_exception(document_.data_path());
    Data_node* first = document_.insert_bytes(dialog.position(), dialog.size());
    data_changed({first, std::nullopt});
    update_title();
    update_command_states();
}

void Kestrix::edit_data()
{
    const int row = data_list_.selected();
    Component* component = selected_data_component();
    Component* root = document_.root_component();
    if (!component || !root)
        return;
    Dialog_asker asker(*this, data_list_, row, dump_);
    Cmp_edit_visitor edit(asker, *root);
    component->accept(edit);
    if (edit.changed())
        data_changed({edit.place_to_show(), edit.bit_to_show()});
    update_title();
    update_command_states();
}

void Kestrix::delete_data()
{
    const Component* component = selected_data_component();
    if (!component)
        return;
    const std::uint32_t position = component->start() ? component->start()->position : document_.size();
    Dlg_datadd dialog(Dlg_datadd::Form::remove, position, component->size());
    if (dialog.run(this) != 1)
        return;
    Data_node* after = document_.delete_bytes(dialog.position(), dialog.size());
    data_changed({after, std::nullopt});
    update_title();
    update_command_states();
}
