#include "edit/definition_edits.h"

#include "document/data_mgr.h"
#include "model/limits.h"
#include "toolkit/exception.h"

namespace definition_edits {

namespace {

void record(Data_mgr& document, std::unique_ptr<Process> command)
{
    document.mark_definition_modified();
    document.push_definition_command(std::move(command));
}

// The list a place names: the top-level list, a branch of an If, or the list of
// a loop or definition set; null for any other parent.
const Item_list* list_of(const Data_mgr& document, const Define* parent, bool branch)
{
    if (!parent)
        return &document.definition_items();
    if (const auto* choice = dynamic_cast<const Def_if*>(parent))
        return &choice->children(branch);
    if (const auto* container = dynamic_cast<const Def_container*>(parent))
        return &container->children();
    return nullptr;
}

void require_list(const Data_mgr& document, const Def_place& place)
{
    if (!list_of(document, place.parent, place.branch))
        throw Fault_exception("the place's parent holds no list of items");
}

// An item that is not where the caller says would stay in the tree while a command
// owned it, and be destroyed twice.
void require_in_list(const Data_mgr& document, Define* parent, bool branch, const Define* item)
{
    const Item_list* list = list_of(document, parent, branch);
    if (!list || !list->contains(item))
        throw Fault_exception("the item does not stand in the given list");
}

// One dialog edit: read the old values, write the new ones, record both.
template <typename Command, typename Item, typename Fields>
void edit_with(Data_mgr& document, Item& item, const Fields& values)
{
    Fields old_values = Fields::read(item);
    values.write(item);
    record(document, std::make_unique<Command>(item, std::move(old_values)));
}

// Whether `item` and everything below it fit in `levels` levels, the item's own
// being the first. The recursion stops at the limit, however deep the item goes.
bool fits_in_levels(const Define& item, int levels)
{
    if (levels < 1)
        return false;
    const auto fits = [levels](const Item_list& list) {
        for (const Define* child : list)
            if (!fits_in_levels(*child, levels - 1))
                return false;
        return true;
    };
    if (const auto* choice = dynamic_cast<const Def_if*>(&item))
        return fits(choice->children(true)) && fits(choice->children(false));
    if (const auto* container = dynamic_cast<const Def_container*>(&item))
        return fits(container->children());
    return true;
}

} // namespace

bool nesting_fits(const Def_place& place, const Define* item)
{
    // Top-level items are level 1: the levels left are the limit less the
    // containers around the place.
    int levels = limits::max_definition_depth;
    for (const Define* container = place.parent; container && levels > 0; container = container->parent())
        --levels;
    return item ? fits_in_levels(*item, levels) : levels >= 1;
}

bool place_is_inside(const Def_place& place, const Define* item)
{
    for (const Define* container = place.parent; container; container = container->parent())
        if (container == item)
            return true;
    return false;
}

bool add_item(Data_mgr& document, const Def_place& place, std::unique_ptr<Define> item)
{
    require_list(document, place);
    if (!nesting_fits(place, item.get()))
        return false;
    Define* added = item.get();
    put_item_at(document, place, item);
    record(document, std::make_unique<Proc_def_add>(document, place.parent, place.branch, added, place.before));
    return true;
}

Define* delete_item(Data_mgr& document, Define* parent, bool branch, Define* item)
{
    require_in_list(document, parent, branch, item);
    Removed_item removed = take_item_out(document, parent, item);
    record(document, std::make_unique<Proc_def_del>(document, parent, branch, std::move(removed.item), removed.next));
    return removed.next;
}

bool move_item(Data_mgr& document, Define* item, Define* from_parent, bool from_branch, const Def_place& to)
{
    require_in_list(document, from_parent, from_branch, item);
    require_list(document, to);
    if (to.before == item || place_is_inside(to, item) || !nesting_fits(to, item))
        return false;
    Removed_item removed = take_item_out(document, from_parent, item);
    const Def_place from{from_parent, from_branch, removed.next};
    put_item_at(document, to, removed.item);
    record(document, std::make_unique<Proc_def_move>(document, item, from, to));
    return true;
}

void edit_int(Data_mgr& document, Def_int& item, const Def_int& values)
{
    std::unique_ptr<Def_int> old_copy = item.clone();
    item.assign(values);
    record(document, std::make_unique<Proc_def_edit_int>(item, std::move(old_copy)));
}

void edit_item(Data_mgr& document, Def_fix_str& item, const Fix_str_fields& values)
{
    edit_with<Proc_def_edit_fix_str>(document, item, values);
}

void edit_item(Data_mgr& document, Def_flex_str& item, const Flex_str_fields& values)
{
    edit_with<Proc_def_edit_flex_str>(document, item, values);
}

void edit_item(Data_mgr& document, Def_null_str& item, const Null_str_fields& values)
{
    edit_with<Proc_def_edit_null_str>(document, item, values);
}

void edit_item(Data_mgr& document, Def_float& item, const Float_fields& values)
{
    edit_with<Proc_def_edit_float>(document, item, values);
}

void edit_item(Data_mgr& document, Def_bytes& item, const Bytes_fields& values)
{
    edit_with<Proc_def_edit_bytes>(document, item, values);
}

void edit_item(Data_mgr& document, Def_if& item, const If_fields& values)
{
    edit_with<Proc_def_edit_if>(document, item, values);
}

void edit_item(Data_mgr& document, Def_for& item, const For_fields& values)
{
    edit_with<Proc_def_edit_for>(document, item, values);
}

void edit_item(Data_mgr& document, Def_while& item, const While_fields& values)
{
    edit_with<Proc_def_edit_while>(document, item, values);
}

void edit_item(Data_mgr& document, Def_set_variable& item, const Set_var_fields& values)
{
    edit_with<Proc_def_edit_set_var>(document, item, values);
}

void edit_item(Data_mgr& document, Def_def_set& item, const Def_set_fields& values)
{
    edit_with<Proc_def_edit_def_set>(document, item, values);
}

void edit_item(Data_mgr& document, Def_def_ref& item, const Def_ref_fields& values)
{
    edit_with<Proc_def_edit_def_ref>(document, item, values);
}

void change_settings(Data_mgr& document, const Bcl_str& title, Byte_order byte_order)
{
    Bcl_str old_title = document.title();
    const Byte_order old_byte_order = document.byte_order();
    document.set_title(title);
    document.set_byte_order(byte_order);
    record(document,
           std::make_unique<Proc_conf_chg>(document, std::move(old_title), old_byte_order, title, byte_order));
}

} // namespace definition_edits
