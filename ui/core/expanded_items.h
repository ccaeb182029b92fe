#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <vector>

// The data tree keeps at most this many containers expanded.
constexpr std::size_t max_expanded_items = 50;

// Trims `expanded` (tree items whose containers have their children, oldest first)
// to `limit` items: while it holds more, the oldest item that is neither an ancestor
// of `selected` (nor `selected` itself) nor an ancestor of another listed item is
// dropped. Returns the dropped items, oldest first; the caller collapses them.
// `parent_of(item)` gives an item's parent, a null item at the top.
template <typename Item, typename Parent>
std::vector<Item> trim_expanded_items(std::deque<Item>& expanded, Item selected, Parent parent_of,
                                      std::size_t limit = max_expanded_items)
{
    const auto is_ancestor = [&](Item ancestor, Item item) {
        for (; item; item = parent_of(item))
            if (item == ancestor)
                return true;
        return false;
    };
    const auto may_collapse = [&](Item candidate) {
        if (is_ancestor(candidate, selected))
            return false;
        return std::none_of(expanded.begin(), expanded.end(),
                            [&](Item other) { return other != candidate && is_ancestor(candidate, other); });
    };
    std::vector<Item> dropped;
    while (expanded.size() > limit) {
        const auto oldest = std::find_if(expanded.begin(), expanded.end(), may_collapse);
        if (oldest == expanded.end())
            break;
        dropped.push_back(*oldest);
        expanded.erase(oldest);
    }
    return dropped;
}
