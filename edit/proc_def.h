#pragma once

#include <memory>

#include "document/process.h"
#include "model/define.h"

class Data_mgr;

// A place in the definition: the list of `parent` (the document's top-level list
// when null; for an If, its then-list when `branch` is true, else its else-list) and
// the item in front of which an item stands there (null: at the end).
struct Def_place {
    Define* parent = nullptr;
    bool branch = false;
    Define* before = nullptr;
};

// Moves `item` to `place`: into the parent's list through the add walk, or into the
// top-level list of `document`. Throws Fault_exception, leaving `item` holding the
// item, when the parent is not a container.
void put_item_at(Data_mgr& document, const Def_place& place, std::unique_ptr<Define>& item);
// Takes `item` out of the list of `parent` (the document's top-level list when
// null) without destroying it and hands it over with the item that followed it.
[[nodiscard]] Removed_item take_item_out(Data_mgr& document, Define* parent, Define* item);

// An item was added. Owns the item while the addition is undone (out of the tree).
class Proc_def_add : public Process {
public:
    // The place where the item was put, and the item (already in the tree).
    Proc_def_add(Data_mgr& document, Define* parent, bool branch, Define* item, Define* before);
    void undo() override;
    void redo() override;
    // Undone: the item the addition stood in front of (null at the end); else the item.
    [[nodiscard]] Define* item_to_select() const override;

    [[nodiscard]] bool out_of_tree() const { return owned_ != nullptr; }
    [[nodiscard]] Define* item() const { return item_; }

private:
    Data_mgr& document_;
    Def_place place_;
    Define* item_;
    std::unique_ptr<Define> owned_;  // holds item_ exactly while it is out of the tree
};

// An item was deleted. Owns the item while the deletion is done (out of the tree).
class Proc_def_del : public Process {
public:
    // The item's old place, `next` being what the removal returned, and the item
    // (already out of the tree).
    Proc_def_del(Data_mgr& document, Define* parent, bool branch, std::unique_ptr<Define> item, Define* next);
    void undo() override;
    void redo() override;
    // Undone: the item; else the item that followed it (null when it was last).
    [[nodiscard]] Define* item_to_select() const override;

    [[nodiscard]] bool in_tree() const { return owned_ == nullptr; }
    [[nodiscard]] Define* item() const { return item_; }

private:
    Data_mgr& document_;
    Def_place place_;
    Define* item_;
    std::unique_ptr<Define> owned_;  // holds item_ exactly while it is out of the tree
};

// An item was moved from one place to another (drag and drop). Owns nothing.
class Proc_def_move : public Process {
public:
    // `from`: the old parent and branch with the item that followed it (what the
    // removal returned); `to`: the place it was put at.
    Proc_def_move(Data_mgr& document, Define* item, const Def_place& from, const Def_place& to)
        : document_(document), item_(item), from_(from), to_(to) {}
    void undo() override;
    void redo() override;
    [[nodiscard]] Define* item_to_select() const override { return item_; }

private:
    Data_mgr& document_;
    Define* item_;
    Def_place from_;
    Def_place to_;
};
