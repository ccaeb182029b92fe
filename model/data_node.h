#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// One byte of the data in the document's doubly linked list. Components, commands
// and views refer to bytes by Data_node pointers, so a node keeps its identity (and
// address) while bytes around it are inserted or deleted; only `position` changes.
//
// There is one node per data byte, so the node is kept to 16 bytes: the links are
// 32-bit indexes into the node pool rather than pointers.
class Data_node {
public:
    std::uint8_t value = 0;
    // Offset from the start of the data, 0-based; kept current by the document.
    std::uint32_t position = 0;

    [[nodiscard]] Data_node* next() const;
    [[nodiscard]] Data_node* prev() const;
    void set_next(const Data_node* node);
    void set_prev(const Data_node* node);

private:
    friend class Node_pool;
    std::uint32_t next_ = 0;
    std::uint32_t prev_ = 0;
};

static_assert(sizeof(Data_node) <= 16, "one node per data byte: keep it small");

// Where every Data_node lives: blocks of 65,536 nodes that never move, each aligned
// to its own size so that a node's index can be found from its address, and a free
// list for the nodes that the document and the commands release. Index 0 (the first
// slot of block 0) means "no node"; the first slot of every block holds the block's
// number instead of a node.
class Node_pool {
public:
    static constexpr unsigned block_bits = 16;
    static constexpr std::uint32_t block_nodes = 1u << block_bits;
    static constexpr std::size_t block_bytes = block_nodes * sizeof(Data_node);

    [[nodiscard]] static Data_node* at(std::uint32_t index)
    {
        return index == 0 ? nullptr : block_table_[index >> block_bits] + (index & (block_nodes - 1));
    }
    [[nodiscard]] static std::uint32_t index_of(const Data_node* node);

    // A fresh node: value 0, position 0, no links.
    [[nodiscard]] static Data_node* allocate();
    // Told the part of a long pool operation done so far, from 0 to 1.
    using Part_done = std::function<void(double part)>;

    // Maps ahead, at once and in huge pages where the system has them, the blocks
    // that `nodes` further fresh nodes take: loading data makes one node per byte.
    static void reserve(std::size_t nodes, const Part_done& done = {});
    // Fresh nodes holding `bytes`, numbered from `position` and linked in order
    // after `prev`; returns the last (`prev` when there are none). For loading
    // data: the free list must be empty, as after release_all().
    static Data_node* append_fresh(Data_node* prev, std::string_view bytes, std::uint32_t position);
    static void release(Data_node* node);
    // Releases `count` nodes from `first` along the next links.
    static void release_run(Data_node* first, std::size_t count);
    // Drops every node at once. Only for when nothing refers to any node any more.
    static void release_all(const Part_done& done = {});

    // Nodes handed out and not yet released.
    [[nodiscard]] static std::size_t live_count();
    // Bytes the pool holds from the system.
    [[nodiscard]] static std::size_t reserved_bytes();

private:
    static std::vector<Data_node*>& blocks();
    // The data of blocks(), read on every link step without a function call.
    static inline Data_node* const* block_table_ = nullptr;
};

inline Data_node* Data_node::next() const
{
    // Bytes loaded together lie in consecutive slots, and a link to the following
    // slot is then taken without the block table: the processor goes on with that
    // slot before the link is read, instead of waiting for each link in turn. (The
    // first slot of a block holds no node, so the slot after a block's last is never
    // named by a link.)
    if (next_ == 0)
        return nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(this);
    const std::uintptr_t base = address & ~(std::uintptr_t(Node_pool::block_bytes) - 1);
    const std::uint32_t own = (reinterpret_cast<const Data_node*>(base)->position << Node_pool::block_bits) |
                              static_cast<std::uint32_t>((address - base) / sizeof(Data_node));
    if (next_ == own + 1)
        return const_cast<Data_node*>(this) + 1;
    return Node_pool::at(next_);
}
inline Data_node* Data_node::prev() const { return Node_pool::at(prev_); }
inline void Data_node::set_next(const Data_node* node) { next_ = Node_pool::index_of(node); }
inline void Data_node::set_prev(const Data_node* node) { prev_ = Node_pool::index_of(node); }

// Links the run `first` ... `last` (already linked to each other) in between
// `before` and `after` (null: the end of the data). Without a run (`first` null),
// joins `before` and `after`. Only the links at the run's ends change: a run taken
// out of the list keeps its own links and can be linked back the same way.
inline void link_between(Data_node* before, Data_node* first, Data_node* last, Data_node* after)
{
    if (!first) {
        first = after;
        last = before;
    } else {
        first->set_prev(before);
        last->set_next(after);
    }
    before->set_next(first);
    if (after)
        after->set_prev(last);
}

// New free-standing nodes holding `bytes`, linked to each other (the last with no
// next); null when empty.
[[nodiscard]] Data_node* make_chain(std::string_view bytes);
