#include "ui/menu_items.h"

#include "ui/core/commands.h"

namespace {

std::vector<Bcl_menu_item> items_of(const std::vector<Menu_entry>& entries)
{
    std::vector<Bcl_menu_item> items;
    for (const Menu_entry& entry : entries) {
        Bcl_menu_item item;
        switch (entry.kind) {
        case Menu_entry::Kind::separator:
            item.separator = true;
            break;
        case Menu_entry::Kind::submenu:
            item.text = entry.text;
            item.children = items_of(entry.children);
            break;
        case Menu_entry::Kind::command:
            if (const Command* command = find_command(entry.id)) {
                item.id = command->id;
                item.text = command->text;
                item.key = command->key;
            }
            break;
        }
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace

std::vector<Bcl_menu_item> menu_items(std::string_view resource_name) { return items_of(menu_resource(resource_name)); }

std::vector<Bcl_accelerator> accelerator_items()
{
    std::vector<Bcl_accelerator> keys;
    for (const Accelerator& accelerator : accelerator_table())
        keys.push_back({std::string(accelerator.key), accelerator.id});
    return keys;
}
