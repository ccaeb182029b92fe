#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace mapped_memory {
class Buffer;
}

// One byte of the data. Components, commands and views refer to bytes by Data_node
// pointers: a byte's identity is its address in the byte store (model/byte_store.cpp),
// which never moves while the data is loaded, whatever is inserted or deleted around
// it; only its position changes.
//
// A node is the byte itself: the file's bytes read into one block are its nodes, and
// inserted bytes are appended to blocks of their own. The order of the data is kept
// apart, in the store's piece table, so that a node costs one byte of memory.
class Data_node {
public:
    std::uint8_t value = 0;

    // The following and the preceding byte of the data (null past either end; the
    // first byte's predecessor is the store's head). Only for bytes in the data.
    [[nodiscard]] Data_node* next() const;
    [[nodiscard]] Data_node* prev() const;
    // Offset from the start of the data, 0-based (0 for the head). For a byte not
    // in the data (removed, or not yet inserted) the size of the data.
    [[nodiscard]] std::uint32_t position() const;
};

static_assert(sizeof(Data_node) == 1, "a node is its byte");

// Bytes lying one after another in the store's memory: a piece of the data, or bytes
// out of it (removed, or fresh and not yet inserted).
struct Byte_piece {
    Data_node* first = nullptr;
    std::uint32_t count = 0;

    [[nodiscard]] Data_node* end() const { return first + count; }
};

// Bytes out of the data in their order: what a removal hands back and an insertion
// puts in. Put back where they were taken from, they are the same bytes again.
using Byte_pieces = std::vector<Byte_piece>;

// The piece of the data a thread looked up last: bytes [first, end) at `position`
// on, valid while `generation` is the store's. Most steps stay inside one piece and
// are answered from it without the piece table.
struct Byte_store_cache {
    std::uintptr_t first = 0;
    std::uintptr_t end = 0;
    std::uint32_t position = 0;
    std::uint64_t generation = 0;
    const void* piece = nullptr;
};

// The bytes of the data, in the order a piece table gives them. There is one store
// (one document); everything is static so that a node reaches its neighbours
// without a pointer to it.
//
// Changes cost O(bytes changed + log pieces): a removal hands back the pieces the
// bytes lay in, an insertion links pieces in, and pieces that meet in memory again
// (a deletion undone, an insertion taken out) are joined back into one.
class Byte_store {
public:
    // The node before the first byte; never in a piece, never released.
    [[nodiscard]] static Data_node* head();
    [[nodiscard]] static std::uint32_t size() { return size_; }

    // The file's bytes, read whole into `bytes`, become the data: no per-byte work.
    // Drops everything before (release_all).
    static void install(std::unique_ptr<mapped_memory::Buffer> bytes);
    // Drops every byte at once. Only for when nothing refers to any node any more.
    static void release_all();

    // Fresh nodes holding `bytes`, out of the data until inserted; empty for none.
    [[nodiscard]] static Byte_piece fresh(std::string_view bytes);
    // Forgets bytes out of the data that nobody will put back. (Their memory goes
    // back with the store's at release_all.)
    static void release(const Byte_pieces& pieces);

    // Takes out up to `count` bytes from `position` and hands them over.
    [[nodiscard]] static Byte_pieces remove(std::uint32_t position, std::uint32_t count);
    // Puts `pieces` in before the byte at `position` (at the end when it is the size).
    static void insert(std::uint32_t position, const Byte_pieces& pieces);

    // The byte at `position`, or null at or past the end.
    [[nodiscard]] static Data_node* at(std::uint64_t position);
    // The bytes from `position` to the end of the piece holding it, which lie one
    // after another in memory: empty at or past the end.
    [[nodiscard]] static Byte_piece piece_at(std::uint32_t position);
    // The byte `count` bytes after `from` (a byte of the data), or null past the end.
    [[nodiscard]] static Data_node* after(const Data_node* from, std::uint64_t count);

    // Nodes handed out and not yet released: the head, the data's and those out of it.
    [[nodiscard]] static std::size_t live_count() { return live_ + 1; }
    // Bytes of memory the store holds: the nodes' blocks and the piece table.
    [[nodiscard]] static std::size_t reserved_bytes();
    [[nodiscard]] static std::size_t piece_count();
    // The bookkeeping a piece costs, for memory estimates.
    static const std::size_t bytes_per_piece;

private:
    friend class Data_node;

    [[nodiscard]] static bool cached(const Data_node* node)
    {
        const auto address = reinterpret_cast<std::uintptr_t>(node);
        return address - cache_.first < cache_.end - cache_.first && cache_.generation == generation_;
    }
    static void remember(const void* piece, const Data_node* first, const Data_node* end, std::uint64_t position);
    [[nodiscard]] static Data_node* next_of(const Data_node* node);
    [[nodiscard]] static Data_node* prev_of(const Data_node* node);
    [[nodiscard]] static std::uint32_t position_of(const Data_node* node);
    // Marks every cached piece stale.
    static void changed() { ++generation_; }

    static inline std::uint32_t size_ = 0;
    static inline std::size_t live_ = 0;
    // Starts at 1 so that an empty cache is never taken for valid.
    static inline std::uint64_t generation_ = 1;
    static inline thread_local Byte_store_cache cache_;
};

inline Data_node* Data_node::next() const
{
    const auto address = reinterpret_cast<std::uintptr_t>(this);
    if (Byte_store::cached(this) && address + 1 < Byte_store::cache_.end)
        return const_cast<Data_node*>(this) + 1;
    return Byte_store::next_of(this);
}

inline Data_node* Data_node::prev() const
{
    const auto address = reinterpret_cast<std::uintptr_t>(this);
    if (Byte_store::cached(this) && address > Byte_store::cache_.first)
        return const_cast<Data_node*>(this) - 1;
    return Byte_store::prev_of(this);
}

inline std::uint32_t Data_node::position() const
{
    if (Byte_store::cached(this))
        return Byte_store::cache_.position +
               static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this) - Byte_store::cache_.first);
    return Byte_store::position_of(this);
}

// Fresh nodes holding `bytes`, out of the data until inserted (see Byte_store).
[[nodiscard]] inline Byte_piece make_chain(std::string_view bytes) { return Byte_store::fresh(bytes); }
