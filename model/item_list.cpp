#include "model/item_list.h"

#include <algorithm>

#include "model/define.h"

void Item_list::insert(std::unique_ptr<Define> item, Define* before)
{
    auto at = before ? std::find(items_.begin(), items_.end(), before) : items_.end();
    items_.insert(at, item.get());
    (void)item.release();  // only once the list holds it
}

Removed_item Item_list::remove(Define* item)
{
    auto at = std::find(items_.begin(), items_.end(), item);
    if (at == items_.end())
        return {};
    at = items_.erase(at);
    return {std::unique_ptr<Define>(item), at == items_.end() ? nullptr : *at};
}

void Item_list::clear()
{
    // Take the items out first: a destructor never sees a half-emptied list.
    std::vector<Define*> doomed;
    doomed.swap(items_);
    for (Define* item : doomed)
        delete item;
}

std::vector<std::unique_ptr<Define>> Item_list::release_all()
{
    std::vector<Define*> items;
    items.swap(items_);
    std::vector<std::unique_ptr<Define>> released;
    released.reserve(items.size());
    for (Define* item : items)
        released.emplace_back(item);
    return released;
}

bool Item_list::contains(const Define* item) const
{
    return std::find(items_.begin(), items_.end(), item) != items_.end();
}
