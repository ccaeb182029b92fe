#include "model/item_list.h"

#include <algorithm>

#include "model/define.h"

void Item_list::insert(Define* item, Define* before)
{
    auto at = before ? std::find(items_.begin(), items_.end(), before) : items_.end();
    items_.insert(at, item);
}

Define* Item_list::remove(Define* item)
{
    auto at = std::find(items_.begin(), items_.end(), item);
    if (at == items_.end())
        return nullptr;
    at = items_.erase(at);
    return at == items_.end() ? nullptr : *at;
}

void Item_list::clear()
{
    // Take the items out first: a destructor never sees a half-emptied list.
    std::vector<Define*> doomed;
    doomed.swap(items_);
    for (Define* item : doomed)
        delete item;
}

std::vector<Define*> Item_list::release_all()
{
    std::vector<Define*> released;
    released.swap(items_);
    return released;
}

bool Item_list::contains(const Define* item) const
{
    return std::find(items_.begin(), items_.end(), item) != items_.end();
}
