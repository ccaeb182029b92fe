#include "model/data_node.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTRIX_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KESTRIX_ASAN 1
#endif

#ifdef KESTRIX_ASAN
#include <sanitizer/asan_interface.h>
// Released nodes are poisoned, so a use after release or a double release is
// reported even though the memory stays in the pool.
#define POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POISON(p, n) ((void)(p), (void)(n))
#define UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

struct Pool_state {
    std::vector<std::uint32_t> free_list;
    std::uint32_t bump = 0;      // next never-used index; 0 = no block yet
    std::size_t live = 0;
};

Pool_state& state()
{
    static Pool_state s;
    return s;
}

// Maps a block aligned to its own size, trimming the slack of a double-size mapping.
Data_node* map_block()
{
    const std::size_t size = Node_pool::block_bytes;
    void* raw = ::mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + size - 1) & ~(std::uintptr_t(size) - 1);
    if (aligned > start)
        ::munmap(raw, aligned - start);
    if (aligned + size < start + 2 * size)
        ::munmap(reinterpret_cast<void*>(aligned + size), start + 2 * size - (aligned + size));
#ifdef MADV_POPULATE_WRITE
    // Every node of a block is written soon: fault its pages in at once rather than
    // one trap per page. Older kernels refuse the advice, and the pages then come
    // one by one as before.
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_POPULATE_WRITE);
#endif
    return reinterpret_cast<Data_node*>(aligned);
}

// Starts a new block for the bump allocation of `s`.
void start_block(Pool_state& s, std::vector<Data_node*>& table)
{
    if (table.size() >= (std::size_t(1) << (32 - Node_pool::block_bits)))
        throw std::bad_alloc();
    Data_node* block = map_block();
    block->position = static_cast<std::uint32_t>(table.size());  // the header slot
    POISON(block + 1, Node_pool::block_bytes - sizeof(Data_node));
    s.bump = static_cast<std::uint32_t>(table.size()) << Node_pool::block_bits;
    table.push_back(block);
    ++s.bump;  // skip the header slot
}

} // namespace

std::vector<Data_node*>& Node_pool::blocks()
{
    static std::vector<Data_node*> table;
    return table;
}

std::uint32_t Node_pool::index_of(const Data_node* node)
{
    if (!node)
        return 0;
    const auto address = reinterpret_cast<std::uintptr_t>(node);
    const std::uintptr_t base = address & ~(std::uintptr_t(block_bytes) - 1);
    const std::uint32_t block = reinterpret_cast<const Data_node*>(base)->position;
    return (block << block_bits) | static_cast<std::uint32_t>((address - base) / sizeof(Data_node));
}

Data_node* Node_pool::allocate()
{
    Pool_state& s = state();
    std::uint32_t index;
    if (!s.free_list.empty()) {
        index = s.free_list.back();
        s.free_list.pop_back();
    } else {
        if ((s.bump & (block_nodes - 1)) == 0) {
            start_block(s, blocks());
            block_table_ = blocks().data();
        }
        index = s.bump++;
    }
    Data_node* node = at(index);
    UNPOISON(node, sizeof(Data_node));
    new (node) Data_node();
    ++s.live;
    return node;
}

Data_node* Node_pool::append_fresh(Data_node* prev, std::string_view bytes, std::uint32_t position)
{
    // The nodes come from the bump in order, a block at a time, written once each:
    // no free list, no per-node call.
    Pool_state& s = state();
    std::vector<Data_node*>& table = blocks();
    std::uint32_t prev_index = index_of(prev);
    for (const char c : bytes) {
        if ((s.bump & (block_nodes - 1)) == 0) {
            start_block(s, table);
            block_table_ = table.data();
        }
        const std::uint32_t index = s.bump++;
        Data_node* node = block_table_[index >> block_bits] + (index & (block_nodes - 1));
        UNPOISON(node, sizeof(Data_node));
        node->value = static_cast<std::uint8_t>(c);
        node->position = position++;
        node->prev_ = prev_index;
        node->next_ = 0;
        prev->next_ = index;
        prev = node;
        prev_index = index;
    }
    s.live += bytes.size();
    return prev;
}

void Node_pool::release(Data_node* node)
{
    if (!node)
        return;
#ifdef KESTRIX_ASAN
    if (__asan_address_is_poisoned(node)) {
        std::fprintf(stderr, "Node_pool: node %p released twice\n", static_cast<void*>(node));
        std::abort();
    }
#endif
    Pool_state& s = state();
    s.free_list.push_back(index_of(node));
    POISON(node, sizeof(Data_node));
    --s.live;
}

void Node_pool::release_run(Data_node* first, std::size_t count)
{
    while (count-- > 0 && first) {
        Data_node* next = first->next();
        release(first);
        first = next;
    }
}

void Node_pool::release_all()
{
    auto& table = blocks();
    for (Data_node* block : table) {
        UNPOISON(block, block_bytes);
        ::munmap(block, block_bytes);
    }
    table.clear();
    block_table_ = table.data();
    Pool_state& s = state();
    s.free_list.clear();
    s.free_list.shrink_to_fit();
    s.bump = 0;
    s.live = 0;
}

std::size_t Node_pool::live_count() { return state().live; }

std::size_t Node_pool::reserved_bytes()
{
    return blocks().size() * block_bytes + state().free_list.capacity() * sizeof(std::uint32_t);
}

Data_node* make_chain(std::string_view bytes)
{
    Data_node* first = nullptr;
    Data_node* last = nullptr;
    for (const char c : bytes) {
        Data_node* node = Node_pool::allocate();
        node->value = static_cast<std::uint8_t>(c);
        if (last) {
            last->set_next(node);
            node->set_prev(last);
        } else {
            first = node;
        }
        last = node;
    }
    return first;
}
