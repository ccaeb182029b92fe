// The data page: its controls, the data list's commands (changing a value, adding
// and deleting bytes), its popup and double-click or Enter.
#include "ui/data_page.h"

#include <limits>

#include "model/cmp_editchk_visitor.h"
#include "model/component.h"
#include "model/data_node.h"
#include "toolkit/memory/available_memory.h"
#include "toolkit/exception.h"
#include "toolkit/gui/bcl_menu.h"
#include "ui/core/cmp_edit_visitor.h"
#include "ui/core/commands.h"
#include "ui/dialogs/dlg_datchg.h"
#include "ui/page_frame.h"
#include "ui/menu_items.h"

namespace {

namespace control_id {
constexpr int vertical_split = 2102;
constexpr int horizontal_split = 2103;
constexpr int data_list = 2104;
constexpr int data_tree = 2105;
constexpr int inspector_dock = 2121;
} // namespace control_id

// The change dialogs for the component edit walk, and the in-place change shown in
// the row `row` of the data list, in the dump and in the inspector.
class Dialog_asker final : public Change_asker {
public:
    Dialog_asker(Bcl_wnd& owner, Bcl_listview& list, int row, Dump_wnd& dump, Readings_panel& inspector)
        : owner_(owner), list_(list), row_(row), dump_(dump), inspector_(inspector) {}

    std::optional<std::int64_t> ask_value(std::int64_t current, const Change_limits& limits) override
    {
        if (limits.dialog == Change_dialog::hexadecimal) {
            Dlg_datchg_hex dialog(current, limits.byte_count, limits.named_values);
            return dialog.run(&owner_) == 1 ? std::optional(dialog.value()) : std::nullopt;
        }
        Dlg_datchg_int dialog(current, limits.minimum, limits.maximum, limits.named_values);
        return dialog.run(&owner_) == 1 ? std::optional(dialog.value()) : std::nullopt;
    }

    std::optional<double> ask_number(std::string_view current, int width) override
    {
        Dlg_datchg_float dialog{std::string(current), width};
        return dialog.run(&owner_) == 1 ? std::optional(dialog.value()) : std::nullopt;
    }

    std::optional<std::string> ask_text(std::string_view current, std::uint32_t max_length,
                                        Text_encoding encoding) override
    {
        Dlg_datchg_str dialog{std::string(current), max_length, encoding};
        return dialog.run(&owner_) == 1 ? std::optional(dialog.bytes()) : std::nullopt;
    }

    void show_in_place(Component& component, bool length_changed) override
    {
        list_.set_cell(row_, 1, component.value_utf8());
        if (length_changed)
            dump_.refresh_range();
        dump_.set_highlight(component.start(), component.end());
        // Nothing else moves it: it would go on showing the bytes as they were.
        if (const std::optional<std::uint32_t> offset = inspector_.offset())
            inspector_.show_at(*offset);
    }

private:
    Bcl_wnd& owner_;
    Bcl_listview& list_;
    int row_;
    Dump_wnd& dump_;
    Readings_panel& inspector_;
};

bool editable(Component& component)
{
    Cmp_editchk_visitor check;
    component.accept(check);
    return check.editable();
}

} // namespace

Data_page::Data_page(Data_mgr& document, Page_frame& frame)
    : document_(document), frame_(frame), dump_(document), inspector_(document), find_bar_(document, *this)
{
}

void Data_page::create(Bcl_wnd& parent, int width, int height, const Focus_key& focus_key)
{
    // A dock rather than a third pane: the user may move the inspector to either
    // side, float it or close it.
    constexpr int inspector_width = 420;
    dock_.create(parent, control_id::inspector_dock);
    vertical_split_.create(dock_, control_id::vertical_split);
    horizontal_split_.create(vertical_split_, control_id::horizontal_split);
    dump_.create(vertical_split_);
    vertical_split_.set_panes(horizontal_split_, dump_, height / 2);
    tree_.create(horizontal_split_, control_id::data_tree);
    list_.create(horizontal_split_, control_id::data_list);
    list_.add_column("名称", 200);
    list_.add_column("データ", 200);
    horizontal_split_.set_panes(tree_, list_, (width - inspector_width) * 30 / 100);
    inspector_.create(dock_, [focus_key](const Bcl_key_event& key) { return focus_key(Focus_place::inspector, key); });
    dock_.set_panes(vertical_split_, inspector_.list(), "インスペクタ", inspector_width);
    find_bar_.create(dock_, [focus_key](const Bcl_key_event& key) { return focus_key(Focus_place::find_bar, key); });
    dock_.set_bottom_bar(find_bar_.window());

    tree_.set_selection_handler([this](Bcl_tree_item item) { tree_selection_changed(item); });
    list_.set_selection_handler([this](int row) { row_selected(row); });
    list_.set_context_handler([this](Bcl_point) { popup(); });
    list_.set_activate_handler([this](int row) { row_activated(row); });
    tree_.set_key_handler([focus_key](const Bcl_key_event& key) { return focus_key(Focus_place::data_tree, key); });
    list_.set_key_handler([focus_key](const Bcl_key_event& key) { return focus_key(Focus_place::data_list, key); });
    // The dump view scrolls with its own keys and hands the Tab keys back.
    dump_.set_owner({.select_byte = [this](Data_node* byte) { select_byte(byte); },
                     .focus_key = [focus_key](const Bcl_key_event& key) {
                         return focus_key(Focus_place::dump_view, key);
                     },
                     .caret_moved = [this] {
                         for (const Caret_listener& listener : caret_listeners_)
                             listener(dump_.caret().caret, dump_.caret().selection_length());
                     }});
    add_caret_listener([this](std::uint32_t caret, std::uint32_t) { inspector_.show_at(caret); });
}

bool Data_page::go_to(std::uint32_t offset, std::uint32_t selected)
{
    Data_node* byte = offset < document_.size() ? document_.node_at(offset) : nullptr;
    if (!byte)
        return false;
    const Dump_wnd::Batch once(dump_);
    show_place({byte, std::nullopt});
    // After the highlight, which may have scrolled to the component's first line.
    dump_.set_caret(offset, selected);
    return true;
}

Component* Data_page::selected_component() const
{
    const int row = list_.selected();
    return row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? rows_[static_cast<std::size_t>(row)] : nullptr;
}

// "追加" always; "編集" for a row whose value can be changed; "削除" for any row.
void Data_page::popup()
{
    Component* component = selected_component();
    Bcl_menu menu(menu_items(menu_name::data_popup));
    menu.enable(cmd::data_edit, component && editable(*component));
    menu.enable(cmd::data_delete, component != nullptr);
    if (const int id = menu.track())
        frame_.run_command(id);
}

// A container row moves the tree selection into it; any other row is changed.
void Data_page::row_activated(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return;
    Component* component = rows_[static_cast<std::size_t>(row)];
    if (!component->has_children()) {
        edit_data();
        return;
    }
    const Bcl_tree_item parent = tree_.selected();
    for (Bcl_tree_item child = tree_.first_child(parent); child; child = tree_.next_sibling(child)) {
        const auto found = tree_components_.find(child);
        if (found != tree_components_.end() && found->second == component) {
            tree_.expand(parent);
            tree_.select(child);
            return;
        }
    }
}

void Data_page::changed(Data_place place)
{
    // The walk before the change is unchanged: the analysis goes on from the last
    // checkpoint before it.
    document_.analyze_changed_data();
    refresh_dump();
    rebuild_tree(place);
}

void Data_page::add_data()
{
    const Component* component = selected_component();
    const std::uint32_t position =
        component && component->start() ? component->start()->position() : document_.size();
    Dlg_datadd dialog(Dlg_datadd::Form::add, position, 1);
    if (dialog.run(&frame_.owner()) != 1)
        return;
    // The data's length is a 32-bit count, and every byte takes memory: an insertion
    // beyond either is refused before anything changes.
    const std::uint64_t count = dialog.size();
    if (count > std::numeric_limits<std::uint32_t>::max() - document_.size())
        throw Data_too_long_exception(document_.data_path());
    const std::optional<std::uint64_t> memory = available_memory();
    if (memory && Data_mgr::bytes_to_load(count) > *memory)
        throw Out_of_memory_exception(document_.data_path());
    Data_node* first = document_.insert_bytes(dialog.position(), dialog.size());
    changed({first, std::nullopt});
    frame_.document_changed();
}

void Data_page::edit_data()
{
    const int row = list_.selected();
    Component* component = selected_component();
    Component* root = document_.root_component();
    if (!component || !root)
        return;
    Dialog_asker asker(frame_.owner(), list_, row, dump_, inspector_);
    Cmp_edit_visitor edit(asker, *root);
    component->accept(edit);
    if (edit.changed())
        changed({edit.place_to_show(), edit.bit_to_show()});
    frame_.document_changed();
}

void Data_page::delete_data()
{
    const Component* component = selected_component();
    if (!component)
        return;
    const std::uint32_t position = component->start() ? component->start()->position() : document_.size();
    Dlg_datadd dialog(Dlg_datadd::Form::remove, position, component->size());
    if (dialog.run(&frame_.owner()) != 1)
        return;
    Data_node* after = document_.delete_bytes(dialog.position(), dialog.size());
    changed({after, std::nullopt});
    frame_.document_changed();
}
