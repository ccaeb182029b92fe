#pragma once

#include <memory>

#include "edit/proc_def.h"
#include "edit/proc_def_edit.h"

class Data_mgr;

// The definition changes as the window makes them, each one recorded as one
// undoable command: make the change, mark the definition modified, create the
// command, push it on the definition history (which drops the redo side). None of
// them analyses the data again; the caller does, then refreshes its views. Each
// takes the document whose definition and history it changes.
namespace definition_edits {

// Whether `item` with everything inside it would stay within the nesting a
// definition file holds (limits::max_definition_depth levels) when put at `place`.
// A null item stands for a new one, which holds nothing yet.
[[nodiscard]] bool nesting_fits(const Def_place& place, const Define* item);

// Puts a new item at `place` (a selected row's parent, branch and item) and records
// the addition. Takes ownership of the item. Returns false and changes nothing
// (the item is destroyed) when it would nest deeper than nesting_fits allows.
// Throws Fault_exception, leaving the document as it was and the item with the
// caller, when the place's parent is not a container.
bool add_item(Data_mgr& document, const Def_place& place, std::unique_ptr<Define> item);

// Takes `item` out of the list of `parent` (for an If, `branch` names the list it
// stands in) and records the deletion; the command owns the item from then on.
// Returns the item that followed it, or null when it was last. Throws
// Fault_exception, changing nothing, when the item does not stand in that
// list.
Define* delete_item(Data_mgr& document, Define* parent, bool branch, Define* item);

// Moves `item` from the list of (`from_parent`, `from_branch`) to `to` and records
// the move. Returns false and changes nothing when `to` lies inside the item itself
// (a container dropped into its own lists would own itself), when `to.before` is
// the item (dropped onto its own row) or when the item with its contents would
// nest deeper at `to` than nesting_fits allows. Throws Fault_exception, changing
// nothing, when the item does not stand in the from-list or the target parent is
// not a container.
bool move_item(Data_mgr& document, Define* item, Define* from_parent, bool from_branch, const Def_place& to);

// Writes `values` into the item and records the edit with the values it had
// before. A confirmed dialog records one command even when nothing changed.
void edit_int(Data_mgr& document, Def_int& item, const Def_int& values);
void edit_item(Data_mgr& document, Def_fix_str& item, const Fix_str_fields& values);
void edit_item(Data_mgr& document, Def_flex_str& item, const Flex_str_fields& values);
void edit_item(Data_mgr& document, Def_null_str& item, const Null_str_fields& values);
void edit_item(Data_mgr& document, Def_float& item, const Float_fields& values);
void edit_item(Data_mgr& document, Def_bytes& item, const Bytes_fields& values);
void edit_item(Data_mgr& document, Def_if& item, const If_fields& values);
void edit_item(Data_mgr& document, Def_for& item, const For_fields& values);
void edit_item(Data_mgr& document, Def_while& item, const While_fields& values);
void edit_item(Data_mgr& document, Def_set_variable& item, const Set_var_fields& values);
void edit_item(Data_mgr& document, Def_def_set& item, const Def_set_fields& values);
void edit_item(Data_mgr& document, Def_def_ref& item, const Def_ref_fields& values);

// Sets the title and the byte order and records the
// change, also when nothing changed.
void change_settings(Data_mgr& document, const Bcl_str& title, Byte_order byte_order);

// True when `place` lies in a list of `item` or of anything below it.
[[nodiscard]] bool place_is_inside(const Def_place& place, const Define* item);

} // namespace definition_edits
