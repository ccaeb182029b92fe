#pragma once

#include <cstdint>
#include <optional>

#include "document/process.h"

class Data_mgr;

// A run of data nodes: a first node and a count, linked through their next links.
// An unlinked run keeps its first node's prev (the node before it) and its last
// node's next (the node after it), so that it can be linked back in place: the
// history undoes strictly in reverse order, so those neighbours are the same nodes
// at every undo and redo.
struct Node_run {
    Data_node* first = nullptr;
    std::uint32_t count = 0;

    [[nodiscard]] Data_node* last() const;
    // Takes the run out of the list: its neighbours are joined.
    void unlink() const;
    // Puts the run back between the neighbours it remembers.
    void link() const;
    // The node now following the run's predecessor (null at the end of the data).
    [[nodiscard]] Data_node* follower_of_predecessor() const;
    void release() const;
};

// Zero bytes inserted. Owns the run while it is undone.
class Proc_data_add : public Process {
public:
    Proc_data_add(Data_mgr& document, Data_node* first, std::uint32_t count) : document_(document), run_{first, count} {}
    ~Proc_data_add() override;
    void undo() override;
    void redo() override;
    [[nodiscard]] Data_node* place_to_show() const override;

private:
    Data_mgr& document_;
    Node_run run_;
    bool removed_ = false;
};

// Bytes deleted. Owns the run while it is done (out of the document).
class Proc_data_del : public Process {
public:
    Proc_data_del(Data_mgr& document, Data_node* first, std::uint32_t count) : document_(document), run_{first, count} {}
    ~Proc_data_del() override;
    void undo() override;
    void redo() override;
    [[nodiscard]] Data_node* place_to_show() const override;

private:
    Data_mgr& document_;
    Node_run run_;
    bool restored_ = false;
};

// A run of bytes replaced by another, possibly of another length (value and string
// changes). Owns whichever run is out of the document. `tag` is the bit position of
// a changed bit flag, if a flag was changed.
class Proc_data_edit : public Process {
public:
    Proc_data_edit(Data_mgr& document, Data_node* old_first, std::uint32_t old_count, Data_node* new_first,
                   std::uint32_t new_count, std::optional<int> tag)
        : document_(document), old_run_{old_first, old_count}, new_run_{new_first, new_count}, tag_(tag) {}
    ~Proc_data_edit() override;
    void undo() override;
    void redo() override;
    [[nodiscard]] Data_node* place_to_show() const override;
    [[nodiscard]] std::optional<int> bit_to_show() const override { return tag_; }

private:
    // Puts `in` where `out` stands, relinking runs only.
    static void swap_runs(const Node_run& out, const Node_run& in);

    Data_mgr& document_;
    Node_run old_run_;
    Node_run new_run_;
    std::optional<int> tag_;
    bool undone_ = false;
};
