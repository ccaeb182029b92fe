// The byte store: the file's bytes in one block, inserted bytes in blocks of their
// own, and the data's order as a piece table. The table is a treap of pieces in data
// order, each tree node knowing the bytes below it, so that a position is found from
// a piece and a piece from a position in O(log pieces); a map from each piece's first
// address finds the piece a node lies in.
#include "model/data_node.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <random>

#include "toolkit/memory/mapped_memory.h"

namespace {

struct Piece_node {
    Data_node* first = nullptr;
    std::uint32_t count = 0;
    std::uint32_t priority = 0;
    std::uint64_t total = 0;  // bytes of this subtree
    Piece_node* left = nullptr;
    Piece_node* right = nullptr;
    Piece_node* parent = nullptr;

    [[nodiscard]] std::uintptr_t first_address() const { return reinterpret_cast<std::uintptr_t>(first); }
    [[nodiscard]] Data_node* end() const { return first + count; }
};

std::uint64_t total(const Piece_node* n) { return n ? n->total : 0; }

// Recomputes the node's total and claims its children.
void update(Piece_node* n)
{
    n->total = total(n->left) + n->count + total(n->right);
    if (n->left)
        n->left->parent = n;
    if (n->right)
        n->right->parent = n;
}

void update_upwards(Piece_node* n)
{
    for (; n; n = n->parent)
        update(n);
}

Piece_node* leftmost(Piece_node* n)
{
    while (n && n->left)
        n = n->left;
    return n;
}

Piece_node* rightmost(Piece_node* n)
{
    while (n && n->right)
        n = n->right;
    return n;
}

Piece_node* successor(const Piece_node* n)
{
    if (n->right)
        return leftmost(n->right);
    while (n->parent && n->parent->right == n)
        n = n->parent;
    return n->parent;
}

Piece_node* predecessor(const Piece_node* n)
{
    if (n->left)
        return rightmost(n->left);
    while (n->parent && n->parent->left == n)
        n = n->parent;
    return n->parent;
}

std::uint64_t position_of(const Piece_node* n)
{
    std::uint64_t position = total(n->left);
    for (; n->parent; n = n->parent)
        if (n->parent->right == n)
            position += total(n->parent->left) + n->parent->count;
    return position;
}

Piece_node* merge(Piece_node* a, Piece_node* b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    if (a->priority > b->priority) {
        a->right = merge(a->right, b);
        update(a);
        return a;
    }
    b->left = merge(a, b->left);
    update(b);
    return b;
}

struct Store {
    // Every piece of the data by its first address; owns the table's nodes.
    std::map<std::uintptr_t, std::unique_ptr<Piece_node>> pieces;
    Piece_node* root = nullptr;
    std::minstd_rand priorities;
    Data_node head;
    // The file's bytes, then the blocks fresh bytes are cut from.
    std::unique_ptr<mapped_memory::Buffer> file;
    std::vector<std::unique_ptr<Data_node[]>> blocks;
    std::size_t block_bytes = 0;
    std::size_t block_used = 0;
    std::size_t fresh_bytes = 0;

    Piece_node* make(Data_node* first, std::uint32_t count)
    {
        auto node = std::make_unique<Piece_node>();
        node->first = first;
        node->count = count;
        node->total = count;
        node->priority = static_cast<std::uint32_t>(priorities());
        Piece_node* made = node.get();
        pieces.emplace(made->first_address(), std::move(node));
        return made;
    }

    void forget(Piece_node* n) { pieces.erase(n->first_address()); }

    // The piece holding `node`, or null when no piece of the data holds it.
    [[nodiscard]] Piece_node* piece_of(const Data_node* node) const
    {
        const auto address = reinterpret_cast<std::uintptr_t>(node);
        auto it = pieces.upper_bound(address);
        if (it == pieces.begin())
            return nullptr;
        --it;
        Piece_node* n = it->second.get();
        return address < reinterpret_cast<std::uintptr_t>(n->end()) ? n : nullptr;
    }

    // Splits the tree `t` into its first `k` bytes and the rest, cutting a piece in
    // two where `k` falls inside it.
    void split(Piece_node* t, std::uint64_t k, Piece_node*& l, Piece_node*& r)
    {
        if (!t) {
            l = r = nullptr;
            return;
        }
        const std::uint64_t before = total(t->left);
        if (k <= before) {
            split(t->left, k, l, t->left);
            update(t);
            r = t;
        } else if (k >= before + t->count) {
            split(t->right, k - before - t->count, t->right, r);
            update(t);
            l = t;
        } else {
            const auto cut = static_cast<std::uint32_t>(k - before);
            Piece_node* tail = make(t->first + cut, t->count - cut);
            t->count = cut;
            Piece_node* right = t->right;
            t->right = nullptr;
            update(t);
            l = t;
            r = merge(tail, right);
        }
        if (l)
            l->parent = nullptr;
        if (r)
            r->parent = nullptr;
    }

    // Takes the leftmost piece out of `t` (not destroying it).
    static void unhook_leftmost(Piece_node*& t, Piece_node* n)
    {
        Piece_node* parent = n->parent;
        if (parent)
            parent->left = n->right;
        else
            t = n->right;
        if (n->right)
            n->right->parent = parent;
        update_upwards(parent);
    }

    // Joins the last piece of `l` and the first of `r` when they meet in memory.
    void join_seam(Piece_node* l, Piece_node*& r)
    {
        Piece_node* last = rightmost(l);
        Piece_node* first = leftmost(r);
        if (!last || !first || last->end() != first->first)
            return;
        unhook_leftmost(r, first);
        last->count += first->count;
        forget(first);
        update_upwards(last);
    }

    void clear()
    {
        pieces.clear();
        root = nullptr;
        file.reset();
        blocks.clear();
        block_bytes = block_used = fresh_bytes = 0;
    }
};

Store& store()
{
    static Store s;
    return s;
}

// Fresh bytes come from blocks of this size, or of their own size when larger.
constexpr std::size_t fresh_block_bytes = std::size_t(1) << 20;

} // namespace

const std::size_t Byte_store::bytes_per_piece = sizeof(Piece_node) + 64;  // the node and its map entry

Data_node* Byte_store::head() { return &store().head; }

void Byte_store::install(std::unique_ptr<mapped_memory::Buffer> bytes)
{
    release_all();
    Store& s = store();
    if (bytes->size() > 0)
        s.root = s.make(reinterpret_cast<Data_node*>(bytes->data()), static_cast<std::uint32_t>(bytes->size()));
    size_ = static_cast<std::uint32_t>(bytes->size());
    live_ = bytes->size();
    s.file = std::move(bytes);
}

void Byte_store::release_all()
{
    store().clear();
    size_ = 0;
    live_ = 0;
    changed();
}

Byte_piece Byte_store::fresh(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    Store& s = store();
    if (s.block_bytes - s.block_used < bytes.size()) {
        const std::size_t size = std::max(fresh_block_bytes, bytes.size());
        s.blocks.reserve(s.blocks.size() + 1);
        s.blocks.push_back(std::make_unique<Data_node[]>(size));
        s.block_bytes = size;
        s.block_used = 0;
    }
    Data_node* first = s.blocks.back().get() + s.block_used;
    std::memcpy(first, bytes.data(), bytes.size());
    s.block_used += bytes.size();
    s.fresh_bytes += bytes.size();
    live_ += bytes.size();
    return {first, static_cast<std::uint32_t>(bytes.size())};
}

void Byte_store::release(const Byte_pieces& pieces)
{
    for (const Byte_piece& piece : pieces)
        live_ -= piece.count;
}

Byte_pieces Byte_store::remove(std::uint32_t position, std::uint32_t count)
{
    Byte_pieces out;
    if (position >= size_ || count == 0)
        return out;
    count = std::min(count, size_ - position);
    Store& s = store();
    Piece_node* l;
    Piece_node* middle;
    Piece_node* r;
    s.split(s.root, position, l, middle);
    s.split(middle, count, middle, r);
    for (Piece_node* n = leftmost(middle); n; n = successor(n))
        out.push_back({n->first, n->count});
    for (const Byte_piece& piece : out)
        s.pieces.erase(reinterpret_cast<std::uintptr_t>(piece.first));
    s.join_seam(l, r);
    s.root = merge(l, r);
    if (s.root)
        s.root->parent = nullptr;
    size_ -= count;
    changed();
    return out;
}

void Byte_store::insert(std::uint32_t position, const Byte_pieces& pieces)
{
    Store& s = store();
    position = std::min(position, size_);
    Piece_node* l;
    Piece_node* r;
    s.split(s.root, position, l, r);
    Piece_node* middle = nullptr;
    std::uint64_t added = 0;
    for (const Byte_piece& piece : pieces) {
        if (piece.count == 0)
            continue;
        middle = merge(middle, s.make(piece.first, piece.count));
        added += piece.count;
    }
    // Pieces that meet in memory are one again: a deletion undone puts back the
    // piece it cut, an insertion undone leaves the two halves it parted.
    s.join_seam(l, middle);
    if (l)
        l->parent = nullptr;
    s.join_seam(middle ? rightmost(middle) : l, r);
    if (middle)
        middle->parent = nullptr;
    s.root = merge(merge(l, middle), r);
    if (s.root)
        s.root->parent = nullptr;
    size_ += static_cast<std::uint32_t>(added);
    changed();
}

Data_node* Byte_store::at(std::uint64_t position)
{
    if (position >= size_)
        return nullptr;
    if (position - cache_.position < cache_.end - cache_.first && cache_.generation == generation_)
        return reinterpret_cast<Data_node*>(cache_.first + (position - cache_.position));
    const Piece_node* n = store().root;
    std::uint64_t at = position;
    for (;;) {
        const std::uint64_t before = total(n->left);
        if (at < before) {
            n = n->left;
        } else if (at < before + n->count) {
            remember(n, n->first, n->end(), position - (at - before));
            return n->first + (at - before);
        } else {
            at -= before + n->count;
            n = n->right;
        }
    }
}

Byte_piece Byte_store::piece_at(std::uint32_t position)
{
    Data_node* node = at(position);
    if (!node)
        return {};
    return {node, static_cast<std::uint32_t>(cache_.end - reinterpret_cast<std::uintptr_t>(node))};
}

Data_node* Byte_store::after(const Data_node* from, std::uint64_t count)
{
    if (cached(from) && reinterpret_cast<std::uintptr_t>(from) + count < cache_.end)
        return const_cast<Data_node*>(from) + count;
    return at(std::uint64_t{from->position()} + count);
}

std::size_t Byte_store::reserved_bytes()
{
    const Store& s = store();
    std::size_t bytes = s.file ? s.file->size() : 0;
    for (std::size_t i = 0; i < s.blocks.size(); ++i)
        bytes += i + 1 == s.blocks.size() ? s.block_bytes : fresh_block_bytes;
    return bytes + s.pieces.size() * bytes_per_piece;
}

std::size_t Byte_store::piece_count() { return store().pieces.size(); }

void Byte_store::remember(const void* piece, const Data_node* first, const Data_node* end, std::uint64_t position)
{
    cache_ = {reinterpret_cast<std::uintptr_t>(first), reinterpret_cast<std::uintptr_t>(end),
              static_cast<std::uint32_t>(position), generation_, piece};
}

Data_node* Byte_store::next_of(const Data_node* node)
{
    Store& s = store();
    if (node == &s.head)
        return at(0);
    const bool known = cached(node);
    const Piece_node* n = known ? static_cast<const Piece_node*>(cache_.piece) : s.piece_of(node);
    if (!n)
        return nullptr;
    const std::uint64_t start = known ? cache_.position : ::position_of(n);
    if (node + 1 != n->end()) {
        remember(n, n->first, n->end(), start);
        return const_cast<Data_node*>(node) + 1;
    }
    const std::uint64_t following = start + n->count;
    n = successor(n);
    if (!n)
        return nullptr;
    remember(n, n->first, n->end(), following);
    return n->first;
}

Data_node* Byte_store::prev_of(const Data_node* node)
{
    Store& s = store();
    const bool known = cached(node);
    const Piece_node* n = known ? static_cast<const Piece_node*>(cache_.piece) : s.piece_of(node);
    if (!n)
        return nullptr;
    const std::uint64_t start = known ? cache_.position : ::position_of(n);
    if (node != n->first) {
        remember(n, n->first, n->end(), start);
        return const_cast<Data_node*>(node) - 1;
    }
    n = predecessor(n);
    if (!n)
        return &s.head;
    remember(n, n->first, n->end(), start - n->count);
    return n->end() - 1;
}

std::uint32_t Byte_store::position_of(const Data_node* node)
{
    Store& s = store();
    if (node == &s.head)
        return 0;
    const Piece_node* n = s.piece_of(node);
    if (!n)
        return size_;
    const std::uint64_t start = ::position_of(n);
    remember(n, n->first, n->end(), start);
    return static_cast<std::uint32_t>(start + static_cast<std::uint64_t>(node - n->first));
}
