// The definition page: the definition list, its popup, the item dialogs it opens,
// and dragging rows.
#include <algorithm>
#include <string>
#include <vector>

#include "edit/definition_edits.h"
#include "model/def_cnt_visitor.h"
#include "model/def_int.h"
#include "toolkit/gui/bcl_menu.h"
#include "ui/dialogs/item_dialogs.h"
#include "ui/kestrix.h"
#include "ui/menu_items.h"

namespace {

std::vector<std::string> cells_of(const Def_row& row)
{
    std::vector<std::string> cells;
    for (const Bcl_str& text : row.columns)
        cells.push_back(text.to_utf8());
    return cells;
}

// Adding or moving an item that the definition file could not hold is refused
// at once, not at the next save.
constexpr const char* too_deep_text = "入れ子が256段を超えるので、ここには置けません。";

std::size_t flag_rows_of(Define* item)
{
    const auto* integer = dynamic_cast<const Def_int*>(item);
    return integer ? integer->bit_flags().size() : 0;
}

} // namespace

void Kestrix::refresh_definition_list(Define* select)
{
    // A drag that went on would drop by the old rows' numbers.
    definition_drag_.cancel();
    definition_rows_ = definition_rows(document_.mutable_definition_items());
    definition_list_.delete_all();
    show_definition_rows(0, definition_rows_.size(), true);
    if (select)
        select_definition_item(select);
}

// Writes rows [first, first + count) of the row table into the list, inserting them
// there or overwriting the rows that are there.
void Kestrix::show_definition_rows(std::size_t first, std::size_t count, bool insert)
{
    for (std::size_t row = first; row < first + count; ++row) {
        const std::vector<std::string> cells = cells_of(definition_rows_[row]);
        if (insert) {
            definition_list_.insert_row(static_cast<int>(row), cells);
            continue;
        }
        for (std::size_t column = 0; column < cells.size(); ++column)
            definition_list_.set_cell(static_cast<int>(row), static_cast<int>(column), cells[column]);
    }
}

void Kestrix::select_definition_item(const Define* item)
{
    const auto found = std::find_if(definition_rows_.begin(), definition_rows_.end(),
                                    [item](const Def_row& row) { return row.entry.item == item; });
    if (found == definition_rows_.end())
        return;
    const int row = static_cast<int>(found - definition_rows_.begin());
    definition_list_.select(row);
    definition_list_.ensure_visible(row);
}

// After a change of the definition: the data analysed again with it, the data tree
// rebuilt, title and command states updated, the focus back on the list.
void Kestrix::definition_changed()
{
    document_.analyze();
    rebuild_data_tree({});
    update_title();
    update_command_states();
    definition_list_.set_focus();
}

// The popup opens only on a selected row that takes insertions.
void Kestrix::definition_popup()
{
    const int row = definition_list_.selected();
    if (row < 0 || definition_drag_.active() || !definition_rows_[static_cast<std::size_t>(row)].entry.insertable)
        return;
    const Def_row_entry& entry = definition_rows_[static_cast<std::size_t>(row)].entry;
    Bcl_menu menu(menu_items(menu_name::definition_popup));
    menu.enable(cmd::def_edit, entry.editable);
    menu.enable(cmd::def_delete, entry.deletable);
    if (const int id = menu.track())
        on_command(id);
}

// The new item goes before the selected row's item, in that row's list; a row
// without an item appends to the list it closes. Without a selection (a command
// from the menu bar) the item goes at the end of the top level.
void Kestrix::add_definition_item(Def_kind kind)
{
    int row = definition_list_.selected();
    if (row < 0)
        row = static_cast<int>(definition_rows_.size()) - 1;
    const Def_row_entry place = definition_rows_[static_cast<std::size_t>(row)].entry;
    if (!place.insertable)
        return;
    const Def_place at{place.parent, place.branch, place.item};
    if (!definition_edits::nesting_fits(at, nullptr)) {
        show_message(too_deep_text);
        definition_list_.set_focus();
        return;
    }
    std::unique_ptr<Define> item = run_new_item_dialog(document_, kind, this);
    if (!item) {
        definition_list_.set_focus();
        return;
    }
    Define* added = item.get();
    if (!definition_edits::add_item(document_, at, std::move(item)))
        return;
    std::vector<Def_row> rows = item_rows(*added, place);
    const std::size_t count = rows.size();
    definition_rows_.insert(definition_rows_.begin() + row, std::make_move_iterator(rows.begin()),
                            std::make_move_iterator(rows.end()));
    show_definition_rows(static_cast<std::size_t>(row), count, true);
    definition_list_.select(row);
    definition_list_.ensure_visible(row);
    definition_changed();
}

void Kestrix::edit_definition_row()
{
    const int row = definition_list_.selected();
    if (row < 0 || !definition_rows_[static_cast<std::size_t>(row)].entry.editable)
        return;
    Define* item = definition_rows_[static_cast<std::size_t>(row)].entry.item;
    const std::size_t old_flag_rows = flag_rows_of(item);
    Def_edit_visitor edit(document_, this);
    item->accept(edit);
    if (!edit.changed()) {
        definition_list_.set_focus();
        return;
    }
    const auto first = static_cast<std::size_t>(row);
    const std::size_t flag_rows = rewrite_item_rows(definition_rows_, first, old_flag_rows);
    for (std::size_t i = 0; i < old_flag_rows; ++i)
        definition_list_.delete_row(row + 1);
    show_definition_rows(first, 1, false);
    show_definition_rows(first + 1, flag_rows, true);
    definition_changed();
}

void Kestrix::delete_definition_row()
{
    const int row = definition_list_.selected();
    if (row < 0 || !definition_rows_[static_cast<std::size_t>(row)].entry.deletable)
        return;
    const Def_row_entry entry = definition_rows_[static_cast<std::size_t>(row)].entry;
    Def_cnt_visitor counter;
    entry.item->accept(counter);
    const int count = counter.count();
    definition_edits::delete_item(document_, entry.parent, entry.branch, entry.item);
    definition_rows_.erase(definition_rows_.begin() + row, definition_rows_.begin() + row + count);
    for (int i = 0; i < count; ++i)
        definition_list_.delete_row(row);
    definition_list_.select(row);
    definition_changed();
}

// ---- dragging rows ----

void Kestrix::start_drag(int row)
{
    if (row >= 0 && definition_rows_[static_cast<std::size_t>(row)].entry.deletable)
        definition_drag_.start(row);
}

// The drop was allowed (drop_allowed): the item moves before the target row's item,
// or to the end of the list the target row closes.
void Kestrix::move_definition_row(int source, int target)
{
    status_.set_text(Bcl_str());
    const Def_row_entry from = definition_rows_[static_cast<std::size_t>(source)].entry;
    const Def_row_entry to = definition_rows_[static_cast<std::size_t>(target)].entry;
    const Def_place at{to.parent, to.branch, to.item};
    if (!definition_edits::nesting_fits(at, from.item)) {
        show_message(too_deep_text);
        definition_list_.set_focus();
        return;
    }
    Def_cnt_visitor counter;
    from.item->accept(counter);
    const int old_top = definition_list_.top_row();
    if (!definition_edits::move_item(document_, from.item, from.parent, from.branch, at))
        return;
    // The rows at the top of the view stay there: the moved rows left from above
    // them or arrived above them.
    int top = old_top;
    if (source < old_top)
        top -= counter.count();
    if (target < old_top)
        top += counter.count();
    status_.set_text(Bcl_str::from_utf8("解析しています・・・"));
    document_.analyze();
    status_.set_text(Bcl_str());
    refresh_definition_list(nullptr);
    definition_list_.set_top_row(std::max(top, 0));
    select_definition_item(from.item);
    rebuild_data_tree({});
    update_title();
    update_command_states();
    definition_list_.set_focus();
}
