#include "edit/proc_def.h"

#include "doc/data_mgr.h"
#include "model/def_add_visitor.h"
#include "toolkit/exception.h"

void put_item_at(Data_mgr& document, const Def_place& place, Define* item)
{
    if (!place.parent) {
        document.insert_item(item, place.before);
        return;
    }
    Def_add_visitor add(place.branch, item, place.before);
    place.parent->accept(add);
    if (!add.inserted())
        throw Fault_exception("put_item_at: the parent holds no list");
}

Define* take_item_out(Data_mgr& document, Define* parent, Define* item)
{
    return parent ? parent->remove_child(item) : document.remove_item(item);
}

// ---- addition ----

Proc_def_add::Proc_def_add(Data_mgr& document, Define* parent, bool branch, Define* item, Define* before)
    : document_(document), place_{parent, branch, before}, item_(item)
{
}

void Proc_def_add::undo()
{
    take_item_out(document_, place_.parent, item_);
    owned_.reset(item_);
}

void Proc_def_add::redo()
{
    // The list takes the item first: should it fail, the command still owns it.
    put_item_at(document_, place_, item_);
    (void)owned_.release();
}

Define* Proc_def_add::item_to_select() const { return out_of_tree() ? place_.before : item_; }

// ---- deletion ----

Proc_def_del::Proc_def_del(Data_mgr& document, Define* parent, bool branch, Define* item, Define* next)
    : document_(document), place_{parent, branch, next}, item_(item), owned_(item)
{
}

void Proc_def_del::undo()
{
    put_item_at(document_, place_, item_);
    (void)owned_.release();
}

void Proc_def_del::redo()
{
    take_item_out(document_, place_.parent, item_);
    owned_.reset(item_);
}

Define* Proc_def_del::item_to_select() const { return in_tree() ? item_ : place_.before; }

// ---- move ----

void Proc_def_move::undo()
{
    take_item_out(document_, to_.parent, item_);
    put_item_at(document_, from_, item_);
}

void Proc_def_move::redo()
{
    take_item_out(document_, from_.parent, item_);
    put_item_at(document_, to_, item_);
}
