#pragma once

#include <cstddef>
#include <vector>

class Define;

// An ordered list of items that owns them: destroying the list (or clear())
// destroys every item with everything it owns.
class Item_list {
public:
    Item_list() = default;
    ~Item_list() { clear(); }
    Item_list(const Item_list&) = delete;
    Item_list& operator=(const Item_list&) = delete;

    // Puts `item` directly before `before`, or at the end when `before` is null or
    // not in the list. Takes ownership.
    void insert(Define* item, Define* before);
    // Takes `item` out without destroying it (ownership passes to the caller) and
    // returns the item that now stands where it stood, or null when it was last.
    // An item that is not in the list is left alone and null is returned.
    Define* remove(Define* item);
    // Destroys every item and empties the list.
    void clear();
    // Empties the list without destroying the items; the caller takes ownership.
    std::vector<Define*> release_all();

    [[nodiscard]] bool contains(const Define* item) const;
    [[nodiscard]] std::size_t size() const { return items_.size(); }
    [[nodiscard]] bool empty() const { return items_.empty(); }
    [[nodiscard]] Define* operator[](std::size_t i) const { return items_[i]; }
    [[nodiscard]] auto begin() const { return items_.begin(); }
    [[nodiscard]] auto end() const { return items_.end(); }

private:
    std::vector<Define*> items_;
};
