#include "model/data_node.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "toolkit/memory/mapped_memory.h"

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

struct Mapping {
    char* start = nullptr;
    std::size_t bytes = 0;
};

struct Pool_state {
    std::vector<std::uint32_t> free_list;
    std::uint32_t bump = 0;      // next never-used index; 0 = no block yet
    std::size_t live = 0;
    // Blocks mapped ahead by reserve(), taken in order before any new mapping.
    std::vector<Data_node*> spare;
    std::size_t next_spare = 0;
    // Every mapping made, unmapped whole by release_all().
    std::vector<Mapping> mappings;
};

Pool_state& state()
{
    static Pool_state s;
    return s;
}

using mapped_memory::huge_page_bytes;
static_assert(huge_page_bytes % Node_pool::block_bytes == 0, "two blocks to a huge page");

// Maps `bytes` aligned to `alignment` and records the mapping for release_all().
char* map_aligned(Pool_state& s, std::size_t bytes, std::size_t alignment, bool huge)
{
    s.mappings.reserve(s.mappings.size() + 1);  // so that recording it cannot fail
    char* start = mapped_memory::map(bytes, alignment, huge);
    s.mappings.push_back({start, bytes});
    return start;
}

// One block, when no block was mapped ahead: the edits' few nodes.
Data_node* map_block(Pool_state& s)
{
    char* block = map_aligned(s, Node_pool::block_bytes, Node_pool::block_bytes, false);
    mapped_memory::populate(block, Node_pool::block_bytes);
    return reinterpret_cast<Data_node*>(block);
}

// Starts a new block for the bump allocation of `s`.
void start_block(Pool_state& s, std::vector<Data_node*>& table)
{
    if (table.size() >= (std::size_t(1) << (32 - Node_pool::block_bits)))
        throw std::bad_alloc();
    Data_node* block = s.next_spare < s.spare.size() ? s.spare[s.next_spare++] : map_block(s);
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

void Node_pool::reserve(std::size_t nodes, const Part_done& done)
{
    Pool_state& s = state();
    const std::size_t in_block = (s.bump & (block_nodes - 1)) == 0 ? 0 : block_nodes - (s.bump & (block_nodes - 1));
    const std::size_t ahead = (s.spare.size() - s.next_spare) * (block_nodes - 1);
    if (nodes <= in_block + ahead)
        return;
    const std::size_t blocks = (nodes - in_block - ahead + block_nodes - 2) / (block_nodes - 1);
    const std::size_t bytes = (blocks * block_bytes + huge_page_bytes - 1) / huge_page_bytes * huge_page_bytes;
    s.spare.reserve(s.spare.size() + bytes / block_bytes);
    // Huge pages: a few hundred page faults per gigabyte instead of a quarter of a
    // million, which matters most where page tables are shadowed by a hypervisor.
    char* start = map_aligned(s, bytes, huge_page_bytes, true);
    mapped_memory::populate(start, bytes, [&](std::size_t populated) {
        if (done)
            done(static_cast<double>(populated) / static_cast<double>(bytes));
    });
    for (std::size_t offset = 0; offset < bytes; offset += block_bytes)
        s.spare.push_back(reinterpret_cast<Data_node*>(start + offset));
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

void Node_pool::release_all(const Part_done& done)
{
    auto& table = blocks();
    table.clear();
    block_table_ = table.data();
    Pool_state& s = state();
    std::size_t total = 0;
    for (const Mapping& mapping : s.mappings)
        total += mapping.bytes;
    std::size_t released = 0;
    for (const Mapping& mapping : s.mappings) {
        UNPOISON(mapping.start, mapping.bytes);
        mapped_memory::unmap(mapping.start, mapping.bytes, [&](std::size_t unmapped) {
            if (done)
                done(static_cast<double>(released + unmapped) / static_cast<double>(total));
        });
        released += mapping.bytes;
    }
    s.mappings.clear();
    s.spare.clear();
    s.next_spare = 0;
    s.free_list.clear();
    s.free_list.shrink_to_fit();
    s.bump = 0;
    s.live = 0;
}

std::size_t Node_pool::live_count() { return state().live; }

std::size_t Node_pool::reserved_bytes()
{
    const Pool_state& s = state();
    std::size_t mapped = 0;
    for (const Mapping& mapping : s.mappings)
        mapped += mapping.bytes;
    return mapped + s.free_list.capacity() * sizeof(std::uint32_t);
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
