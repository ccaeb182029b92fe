#pragma once

#include <functional>
#include <vector>

#include "model/def_disp_visitor.h"
#include "toolkit/gui/bcl_listview.h"
#include "ui/core/commands.h"
#include "ui/core/focus_order.h"
#include "ui/list_drag.h"

class Data_mgr;
class Define;
class Page_frame;
class User_questions;

// The definition page: the definition list with its rows, popup and row drag, the
// item dialogs it opens, and what follows every change of the definition.
class Definition_page {
public:
    // A key pressed in the page's list that the page leaves to the window.
    using Focus_key = std::function<bool(Focus_place from, const Bcl_key_event& key)>;

    Definition_page(Data_mgr& document, User_questions& questions, Page_frame& frame);
    Definition_page(const Definition_page&) = delete;
    Definition_page& operator=(const Definition_page&) = delete;

    void create(Bcl_wnd& parent, Focus_key focus_key);
    [[nodiscard]] Bcl_listview& list() { return list_; }

    // Refills the list, selecting the row of `select` when given.
    void refresh(Define* select);

    // The commands of the list: the new item goes before the selected row's item.
    void add_item(Def_kind kind);
    void edit_row();
    void delete_row();

    // A row drag ends without a drop: the rows or the focus are about to change.
    void cancel_drag() { drag_.cancel(); }

private:
    void show_rows(std::size_t first, std::size_t count, bool insert);
    void select_item(const Define* item);
    void popup();
    void changed();
    // Dragging a row: it starts on a row that can be deleted, and a drop moves the
    // row's item before the target row's item.
    void start_drag(int row);
    void move_row(int source, int target);

    Data_mgr& document_;
    User_questions& questions_;
    Page_frame& frame_;
    Bcl_listview list_;
    // The list's rows, their texts and what each stands for.
    std::vector<Def_row> rows_;
    List_drag drag_;
};
