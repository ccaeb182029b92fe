#pragma once

#include <optional>

class Data_node;
class Define;

// An undoable command. It is recorded after its creator made the change, so it
// starts "done"; redo() is only ever called after undo(). A command owns whatever it
// holds outside the document (removed items, unlinked runs of bytes) and destroys it
// with itself.
class Process {
public:
    virtual ~Process() = default;
    virtual void undo() = 0;
    virtual void redo() = 0;
    // The definition item whose row is selected after the step, or null.
    [[nodiscard]] virtual Define* item_to_select() const { return nullptr; }
    // The byte at which the changed region starts after the step, or null.
    [[nodiscard]] virtual Data_node* place_to_show() const { return nullptr; }
    // The bit position of the changed bit flag, if a flag was changed.
    [[nodiscard]] virtual std::optional<int> bit_to_show() const { return std::nullopt; }
};
