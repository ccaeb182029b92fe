// The definition page: the definition list, its popup, the item dialogs it opens,
// and dragging rows.
#include "ui/definition_page.h"

#include <algorithm>
#include <string>
#include <vector>

#include "document/data_mgr.h"
#include "edit/definition_edits.h"
#include "model/def_cnt_visitor.h"
#include "model/def_int.h"
#include "toolkit/gui/bcl_menu.h"
#include "ui/core/definition_drop.h"
#include "ui/dialogs/item_dialogs.h"
#include "ui/menu_items.h"
#include "ui/page_frame.h"
#include "ui/user_questions.h"

namespace {

constexpr int definition_list_id = 2101;

struct Column {
    const char* header;
    int width;
};

constexpr Column columns[] = {{"サイズ", 80}, {"符号", 50}, {"内容", 350}, {"変数", 100}, {"備考", 100}};

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

Definition_page::Definition_page(Data_mgr& document, User_questions& questions, Page_frame& frame)
    : document_(document), questions_(questions), frame_(frame),
      drag_(
          list_,
          [this](int source, int target) {
              return drop_allowed(rows_, static_cast<std::size_t>(source), static_cast<std::size_t>(target));
          },
          [this](int source, int target) { move_row(source, target); })
{
}

void Definition_page::create(Bcl_wnd& parent, Focus_key focus_key)
{
    list_.create(parent, definition_list_id);
    for (const Column& column : columns)
        list_.add_column(column.header, column.width);
    list_.set_context_handler([this](Bcl_point) { popup(); });
    list_.set_activate_handler([this](int) {
        drag_.cancel();
        edit_row();
    });
    list_.set_drag_handler([this](int row) { start_drag(row); });
    // Escape cancels a row drag; the other keys are the window's.
    list_.set_key_handler([this, focus_key = std::move(focus_key)](const Bcl_key_event& key) {
        if (key.key == Bcl_key::escape && drag_.active()) {
            drag_.cancel();
            frame_.set_status_text(Bcl_str());
            return true;
        }
        return focus_key(Focus_place::definition_list, key);
    });
}

void Definition_page::refresh(Define* select)
{
    // A drag that went on would drop by the old rows' numbers.
    drag_.cancel();
    rows_ = definition_rows(document_.mutable_definition_items());
    list_.delete_all();
    show_rows(0, rows_.size(), true);
    if (select)
        select_item(select);
}

// Writes rows [first, first + count) of the row table into the list, inserting them
// there or overwriting the rows that are there.
void Definition_page::show_rows(std::size_t first, std::size_t count, bool insert)
{
    for (std::size_t row = first; row < first + count; ++row) {
        const std::vector<std::string> cells = cells_of(rows_[row]);
        if (insert) {
            list_.insert_row(static_cast<int>(row), cells);
            continue;
        }
        for (std::size_t column = 0; column < cells.size(); ++column)
            list_.set_cell(static_cast<int>(row), static_cast<int>(column), cells[column]);
    }
}

void Definition_page::select_item(const Define* item)
{
    const auto found =
        std::find_if(rows_.begin(), rows_.end(), [item](const Def_row& row) { return row.entry.item == item; });
    if (found == rows_.end())
        return;
    const int row = static_cast<int>(found - rows_.begin());
    list_.select(row);
    list_.ensure_visible(row);
}

// After a change of the definition: the data analysed again with it, the data tree
// rebuilt, title and command states updated, the focus back on the list.
void Definition_page::changed()
{
    document_.analyze();
    frame_.data_analysed();
    frame_.document_changed();
    list_.set_focus();
}

// The popup opens only on a selected row that takes insertions.
void Definition_page::popup()
{
    const int row = list_.selected();
    if (row < 0 || drag_.active() || !rows_[static_cast<std::size_t>(row)].entry.insertable)
        return;
    const Def_row_entry& entry = rows_[static_cast<std::size_t>(row)].entry;
    Bcl_menu menu(menu_items(menu_name::definition_popup));
    menu.enable(cmd::def_edit, entry.editable);
    menu.enable(cmd::def_delete, entry.deletable);
    if (const int id = menu.track())
        frame_.run_command(id);
}

// The new item goes before the selected row's item, in that row's list; a row
// without an item appends to the list it closes. Without a selection (a command
// from the menu bar) the item goes at the end of the top level.
void Definition_page::add_item(Def_kind kind)
{
    int row = list_.selected();
    if (row < 0)
        row = static_cast<int>(rows_.size()) - 1;
    const Def_row_entry place = rows_[static_cast<std::size_t>(row)].entry;
    if (!place.insertable)
        return;
    const Def_place at{place.parent, place.branch, place.item};
    if (!definition_edits::nesting_fits(at, nullptr)) {
        questions_.show_message(too_deep_text);
        list_.set_focus();
        return;
    }
    std::unique_ptr<Define> item = run_new_item_dialog(document_, kind, &frame_.owner());
    if (!item) {
        list_.set_focus();
        return;
    }
    Define* added = item.get();
    if (!definition_edits::add_item(document_, at, std::move(item)))
        return;
    std::vector<Def_row> rows = item_rows(*added, place);
    const std::size_t count = rows.size();
    rows_.insert(rows_.begin() + row, std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    show_rows(static_cast<std::size_t>(row), count, true);
    list_.select(row);
    list_.ensure_visible(row);
    changed();
}

void Definition_page::edit_row()
{
    const int row = list_.selected();
    if (row < 0 || !rows_[static_cast<std::size_t>(row)].entry.editable)
        return;
    Define* item = rows_[static_cast<std::size_t>(row)].entry.item;
    const std::size_t old_flag_rows = flag_rows_of(item);
    Def_edit_visitor edit(document_, &frame_.owner());
    item->accept(edit);
    if (!edit.changed()) {
        list_.set_focus();
        return;
    }
    const auto first = static_cast<std::size_t>(row);
    const std::size_t flag_rows = rewrite_item_rows(rows_, first, old_flag_rows);
    for (std::size_t i = 0; i < old_flag_rows; ++i)
        list_.delete_row(row + 1);
    show_rows(first, 1, false);
    show_rows(first + 1, flag_rows, true);
    changed();
}

void Definition_page::delete_row()
{
    const int row = list_.selected();
    if (row < 0 || !rows_[static_cast<std::size_t>(row)].entry.deletable)
        return;
    const Def_row_entry entry = rows_[static_cast<std::size_t>(row)].entry;
    Def_cnt_visitor counter;
    entry.item->accept(counter);
    const int count = counter.count();
    definition_edits::delete_item(document_, entry.parent, entry.branch, entry.item);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    for (int i = 0; i < count; ++i)
        list_.delete_row(row);
    list_.select(row);
    changed();
}

// ---- dragging rows ----

void Definition_page::start_drag(int row)
{
    if (row >= 0 && rows_[static_cast<std::size_t>(row)].entry.deletable)
        drag_.start(row);
}

// The drop was allowed (drop_allowed): the item moves before the target row's item,
// or to the end of the list the target row closes.
void Definition_page::move_row(int source, int target)
{
    frame_.set_status_text(Bcl_str());
    const Def_row_entry from = rows_[static_cast<std::size_t>(source)].entry;
    const Def_row_entry to = rows_[static_cast<std::size_t>(target)].entry;
    const Def_place at{to.parent, to.branch, to.item};
    if (!definition_edits::nesting_fits(at, from.item)) {
        questions_.show_message(too_deep_text);
        list_.set_focus();
        return;
    }
    Def_cnt_visitor counter;
    from.item->accept(counter);
    const int old_top = list_.top_row();
    if (!definition_edits::move_item(document_, from.item, from.parent, from.branch, at))
        return;
    // The rows at the top of the view stay there: the moved rows left from above
    // them or arrived above them.
    int top = old_top;
    if (source < old_top)
        top -= counter.count();
    if (target < old_top)
        top += counter.count();
    frame_.set_status_text(Bcl_str::from_utf8("解析しています・・・"));
    document_.analyze();
    frame_.set_status_text(Bcl_str());
    refresh(nullptr);
    list_.set_top_row(std::max(top, 0));
    select_item(from.item);
    frame_.data_analysed();
    frame_.document_changed();
    list_.set_focus();
}
