#include "edit/proc_def.h"

#include "document/data_mgr.h"
#include "model/def_add_visitor.h"
#include "toolkit/exception.h"

void put_item_at(Data_mgr& document, const Def_place& place, std::unique_ptr<Define>& item)
{
    if (!place.parent) {
        document.insert_item(std::move(item), place.before);
        return;
    }
    Def_add_visitor add(place.branch, item, place.before);
    place.parent->accept(add);
    if (!add.inserted())
        throw Fault_exception("put_item_at: the parent holds no list");
}

Removed_item take_item_out(Data_mgr& document, Define* parent, Define* item)
{
    return parent ? parent->remove_child(item) : document.remove_item(item);
}

// ---- addition ----

Proc_def_add::Proc_def_add(Data_mgr& document, Define* parent, bool branch, Define* item, Define* before)
    : document_(document), place_{parent, branch, before}, item_(item)
{
}

void Proc_def_add::undo() { owned_ = take_item_out(document_, place_.parent, item_).item; }

// Should the list not take the item, the command still owns it.
void Proc_def_add::redo() { put_item_at(document_, place_, owned_); }

Define* Proc_def_add::item_to_select() const { return out_of_tree() ? place_.before : item_; }

// ---- deletion ----

Proc_def_del::Proc_def_del(Data_mgr& document, Define* parent, bool branch, std::unique_ptr<Define> item,
                           Define* next)
    : document_(document), place_{parent, branch, next}, item_(item.get()), owned_(std::move(item))
{
}

void Proc_def_del::undo() { put_item_at(document_, place_, owned_); }

void Proc_def_del::redo() { owned_ = take_item_out(document_, place_.parent, item_).item; }

Define* Proc_def_del::item_to_select() const { return in_tree() ? item_ : place_.before; }

// ---- move ----

void Proc_def_move::undo()
{
    Removed_item removed = take_item_out(document_, to_.parent, item_);
    put_item_at(document_, from_, removed.item);
}

void Proc_def_move::redo()
{
    Removed_item removed = take_item_out(document_, from_.parent, item_);
    put_item_at(document_, to_, removed.item);
}
