#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

class Define;

// An item taken out of a list: the item, now the caller's (null when it was not in
// the list), and the item that now stands where it stood (null when it was last).
struct Removed_item {
    std::unique_ptr<Define> item;
    Define* next = nullptr;
};

// The items of a list to walk or edit in place: the items can change, the list
// cannot (inserting and removing go through the list's owner).
using Item_span = std::span<Define* const>;

// An ordered list of items that owns them: destroying the list (or clear())
// destroys every item with everything it owns.
class Item_list {
public:
    Item_list() = default;
    ~Item_list() { clear(); }
    Item_list(const Item_list&) = delete;
    Item_list& operator=(const Item_list&) = delete;

    // Puts `item` directly before `before`, or at the end when `before` is null or
    // not in the list.
    void insert(std::unique_ptr<Define> item, Define* before);
    // Takes `item` out without destroying it and hands it to the caller with the
    // item that now stands where it stood. An item that is not in the list is left
    // alone and nothing is returned.
    [[nodiscard]] Removed_item remove(Define* item);
    // Destroys every item and empties the list.
    void clear();
    // Empties the list without destroying the items, handing them to the caller.
    [[nodiscard]] std::vector<std::unique_ptr<Define>> release_all();

    [[nodiscard]] bool contains(const Define* item) const;
    [[nodiscard]] std::size_t size() const { return items_.size(); }
    [[nodiscard]] bool empty() const { return items_.empty(); }
    // A list seen through a const reference hands out const items: views and
    // writers read the definition, only the walk and the edits change it.
    [[nodiscard]] Define* operator[](std::size_t i) { return items_[i]; }
    [[nodiscard]] const Define* operator[](std::size_t i) const { return items_[i]; }
    [[nodiscard]] Item_span items() { return items_; }
    [[nodiscard]] std::span<const Define* const> items() const { return {items_.data(), items_.size()}; }
    [[nodiscard]] auto begin() { return items().begin(); }
    [[nodiscard]] auto end() { return items().end(); }
    [[nodiscard]] auto begin() const { return items().begin(); }
    [[nodiscard]] auto end() const { return items().end(); }

private:
    std::vector<Define*> items_;  // owned: every item is deleted by clear()
};
