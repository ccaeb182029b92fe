// The data side of the document: loading, saving and releasing the bytes, the skip
// index, and the byte changes with their renumbering.
#include <algorithm>
#include <limits>
#include <new>
#include <string>

#include "document/data_mgr.h"
#include "document/proc_data.h"
#include "document/process.h"
#include "model/component.h"
#include "model/int_decoder.h"
#include "model/limits.h"
#include "toolkit/memory/available_memory.h"
#include "toolkit/exception.h"
#include "toolkit/files/file_io.h"
#include "toolkit/memory/mapped_memory.h"
#include "toolkit/progress.h"
#include "toolkit/text/texts.h"

// The skip index finds a block by shifting and its start by masking: the two
// constants must name the same power of two.
static_assert(Data_mgr::skip_block == 1u << Data_mgr::skip_shift);

namespace {

// Advances the Shift-JIS state over one byte: a byte read inside a character ends
// it; otherwise a lead byte starts one.
bool next_sjis_state(bool in_double_byte, std::uint8_t byte)
{
    return !in_double_byte && is_sjis_lead(byte);
}

// The Shift-JIS state at the end of `bytes`, as next_sjis_state() gives it from
// `state` at their start: a byte that is no lead byte leaves the state false, and
// each lead byte turns it over, so only the run of lead bytes at the end is read.
bool sjis_state_after(std::string_view bytes, bool state)
{
    std::size_t run = 0;
    while (run < bytes.size() && is_sjis_lead(static_cast<std::uint8_t>(bytes[bytes.size() - run - 1])))
        ++run;
    const bool from_start = run == bytes.size() && state;
    return (run % 2 == 1) != from_start;
}

} // namespace

// ---- releasing and loading ----

void Data_mgr::release_data_nodes()
{
    // Components and commands borrow or own nodes: they go first, then the pool
    // drops every node at once, far faster than releasing 16-byte nodes one by one.
    // The progress counts the commands, then the data's bytes as the pool hands their
    // memory back to the system, which takes seconds for gigabytes.
    root_.reset();
    std::uint64_t done = 0;
    empty_history(data_undo_, done);
    empty_history(data_redo_, done);
    checkpoints().clear();
    const std::uint64_t bytes = size_;
    Node_pool::release_all([&](double part) {
        reporter().step(done + static_cast<std::uint64_t>(part * static_cast<double>(bytes)));
        reporter().tick();
    });
    head_ = Node_pool::allocate();
    size_ = 0;
    skip_index_.clear();
}

void Data_mgr::new_data()
{
    {
        Progress_scope scope(texts::releasing(), std::uint64_t(size_) + data_undo_.size() + data_redo_.size());
        data_path_ = File_path();
        data_modified_ = false;
        release_data_nodes();
    }
    analyze();
}

void Data_mgr::install_data(std::string_view bytes)
{
    // The progress counts the nodes' memory as the system faults it in, then the
    // bytes linked, each as much as the data's size.
    const std::uint64_t size = bytes.size();
    Progress_scope scope(texts::loading(), 2 * size);
    size_ = static_cast<std::uint32_t>(bytes.size());
    skip_index_.reserve(bytes.size() / skip_block + 1);
    Node_pool::reserve(bytes.size(), [&](double part) {
        reporter().step(static_cast<std::uint64_t>(part * static_cast<double>(size)));
        reporter().tick();
    });
    // A skip block at a time: its nodes, then its entry from the Shift-JIS state at
    // its start.
    Data_node* prev = head_;
    bool in_double_byte = false;
    for (std::size_t start = 0; start < bytes.size(); start += skip_block) {
        const std::string_view block = bytes.substr(start, skip_block);
        Data_node* last = Node_pool::append_fresh(prev, block, static_cast<std::uint32_t>(start));
        skip_index_.push_back({prev->next(), in_double_byte});
        in_double_byte = sjis_state_after(block, in_double_byte);
        prev = last;
        reporter().step(size + start + block.size());
        reporter().tick();
    }
}

std::uint64_t Data_mgr::bytes_to_load(std::uint64_t size)
{
    // The file's bytes as read, in whole huge pages; the head node's block, whose
    // other slots take the first bytes, then the blocks mapped ahead for the rest,
    // two to a huge page; every block keeps one slot for its number.
    const std::uint64_t usable = Node_pool::block_nodes - 1;
    const std::uint64_t in_first = usable - 1;
    const std::uint64_t more = size > in_first ? (size - in_first + usable - 1) / usable : 0;
    const std::uint64_t blocks = 1 + (more + 1) / 2 * 2;
    const std::uint64_t skip_entries = size / skip_block + 1;
    const std::uint64_t read_buffer =
        (size + mapped_memory::huge_page_bytes - 1) / mapped_memory::huge_page_bytes * mapped_memory::huge_page_bytes;
    return read_buffer + blocks * Node_pool::block_bytes + skip_entries * sizeof(Skip_entry);
}

namespace {

// Refuses a file whose loading would not fit in the memory left, counting the
// current data's nodes as free: they are released before the new ones are made.
void refuse_unless_it_fits(const File_path& path, std::uint64_t size)
{
    const auto available = available_memory();
    if (!available)
        return;
    if (size > *available || Data_mgr::bytes_to_load(size) > *available + Node_pool::reserved_bytes())
        throw File_too_large_exception(path);
}

// Reads the file whole into `bytes`, sized to its length at open time and not yet
// faulted in: each piece of the buffer is faulted in at once just before the reads
// that fill it, so that the bar moves while the system hands out the memory.
void read_data_file(const File_path& path, mapped_memory::Buffer& bytes)
{
    Progress_scope scope(texts::loading(), bytes.size());
    File_reader file;
    file.open(path);
    std::size_t got = 0;
    std::size_t populated = 0;
    while (got < bytes.size()) {
        // Nothing of the document is touched yet: a stop leaves it as it was.
        reporter().stop_point();
        if (got == populated) {
            const std::size_t piece = std::min(mapped_memory::piece_bytes, bytes.size() - populated);
            mapped_memory::populate(bytes.data() + populated, piece);
            populated += piece;
        }
        const std::size_t n =
            file.read(bytes.data() + got, std::min<std::size_t>(Data_mgr::skip_block, populated - got));
        if (n == 0)
            break;
        got += n;
        reporter().step(got);
        reporter().tick();
    }
    // A file that grew while we read keeps the bytes it had at open time; one that
    // shrank is a read failure: its tail would silently be lost otherwise.
    if (got < bytes.size())
        throw File_read_err_exception(path);
}

// A buffer for the file's bytes as read.
std::unique_ptr<mapped_memory::Buffer> buffer_for(const File_path& path, std::uint64_t length)
{
    try {
        return std::make_unique<mapped_memory::Buffer>(static_cast<std::size_t>(length), false);
    } catch (const std::bad_alloc&) {
        throw File_too_large_exception(path);
    }
}

} // namespace

void Data_mgr::load_data(const File_path& path)
{
    // Everything that can fail happens before the document is touched.
    const auto length = file_size(path);
    if (!length)
        throw File_open_err_exception(path);
    if (*length > limits::max_data_size)
        throw File_too_large_exception(path);
    refuse_unless_it_fits(path, *length);
    const auto bytes = buffer_for(path, *length);
    read_data_file(path, *bytes);
    // The last chance to stop with the old data kept; from here on the load runs to
    // its end, and only its analysis can still be stopped (see analyze()).
    reporter().stop_point();
    try {
        {
            Progress_scope scope(texts::updating(), std::uint64_t(size_) + data_undo_.size() + data_redo_.size());
            release_data_nodes();
        }
        install_data(std::string_view(bytes->data(), bytes->size()));
    } catch (const std::bad_alloc&) {
        // The old data is gone already: leave the document empty rather than half built.
        release_data_nodes();
        data_path_ = File_path();
        data_modified_ = false;
        analyze();
        throw Out_of_memory_exception(path);
    }
    analyze();
    data_path_ = path;
    data_modified_ = false;
}

void Data_mgr::save_data(const File_path& path)
{
    {
        Progress_scope scope(texts::saving(), size_);
        File_writer file;
        file.open(path);
        for (const Data_node* node = first_node(); node; node = node->next()) {
            file.put(node->value);
            reporter().step(node->position);
        }
        file.commit();
    }
    data_path_ = path;
    data_modified_ = false;
}

// ---- positions ----

Data_node* Data_mgr::node_at(std::uint32_t position) const
{
    if (position >= size_)
        return nullptr;
    Data_node* node = skip_index_[position >> skip_shift].node;
    for (std::uint32_t p = position & ~(skip_block - 1); p < position; ++p)
        node = node->next();
    return node;
}

Data_node* Data_mgr::node_after(Data_node* from, std::uint64_t count) const
{
    if (!from)
        return nullptr;
    const std::uint64_t target = std::uint64_t{from->position} + count;
    if (target >= size_)
        return nullptr;
    if ((target & (skip_block - 1)) < count)
        return node_at(static_cast<std::uint32_t>(target));
    return Walk_context::node_after(from, count);
}

Skip_entry Data_mgr::skip_entry(std::uint32_t position) const
{
    // Nothing at or past the end: no node lives there.
    if (position >= size_)
        return {};
    return skip_index_[position >> skip_shift];
}

void Data_mgr::renumber(Data_node* first_removed, std::uint32_t removed_count, Data_node* first_new,
                        std::uint32_t inserted_count)
{
    if (removed_count == 0 && inserted_count == 0)
        return;
    // The first changed position: right after the bytes the change left alone.
    // Removed nodes keep their old positions, which makes it easy to find.
    std::uint32_t first_changed;
    if (removed_count > 0) {
        first_changed = first_removed->position;
    } else {
        const Data_node* before = first_new->prev();
        first_changed = before == head_ ? 0 : before->position + 1;
    }
    size_ = size_ + inserted_count - removed_count;
    checkpoints().drop_from(first_changed);
    const std::uint32_t block_start = first_changed & ~(skip_block - 1);
    Progress_scope scope(texts::updating(), size_ - std::min(block_start, size_));

    if (removed_count == inserted_count) {
        for (std::uint32_t i = 0; i < inserted_count; ++i, first_new = first_new->next()) {
            first_new->position = first_changed + i;
            if ((first_new->position & (skip_block - 1)) == 0)
                skip_index_[first_new->position >> skip_shift].node = first_new;
        }
        renumber_same_length(node_at(first_changed), inserted_count);
    } else {
        renumber_from(first_changed, first_new);
    }
    // Entries of blocks past the new end would name released or moved nodes.
    skip_index_.resize((std::size_t{size_} + skip_block - 1) / skip_block);
}

// After a same-length replacement only the Shift-JIS phase can change: rescan from
// the block of the change until a block boundary agrees with what is stored.
void Data_mgr::renumber_same_length(Data_node* first_new, std::uint32_t count)
{
    const std::uint32_t last_new = first_new->position + count - 1;
    const std::size_t block = first_new->position >> skip_shift;
    Data_node* node = skip_index_[block].node;
    bool state = skip_index_[block].in_double_byte;
    for (;;) {
        state = next_sjis_state(state, node->value);
        node = node->next();
        if (!node)
            return;
        if ((node->position & (skip_block - 1)) == 0) {
            Skip_entry& entry = skip_index_[node->position >> skip_shift];
            if (node->position > last_new && entry.in_double_byte == state)
                return;
            entry.in_double_byte = state;
        }
    }
}

// After a change of length every position from the change's block onward moves.
// The progress (armed by renumber) counts from the block's start.
void Data_mgr::renumber_from(std::uint32_t first_changed, Data_node* first_after_unchanged)
{
    if (!first_after_unchanged)
        return;  // the change ended the data: no byte moved
    const std::uint32_t block_start = first_changed & ~(skip_block - 1);
    Data_node* node;
    bool state;
    if (first_changed == 0) {
        node = first_node();
        state = false;
    } else if (first_changed == block_start) {
        // The change starts a block. Its entry may be missing or stale (the data may
        // have ended at this boundary), but the flag depends only on the unchanged
        // bytes before it: rescan the previous block.
        node = first_after_unchanged;
        const Skip_entry& previous = skip_index_[(block_start >> skip_shift) - 1];
        state = previous.in_double_byte;
        for (const Data_node* n = previous.node; n != node; n = n->next())
            state = next_sjis_state(state, n->value);
    } else {
        node = skip_index_[block_start >> skip_shift].node;
        state = skip_index_[block_start >> skip_shift].in_double_byte;
    }
    for (std::uint32_t position = block_start; node; node = node->next(), ++position) {
        node->position = position;
        if ((position & (skip_block - 1)) == 0) {
            const std::size_t block = position >> skip_shift;
            if (block < skip_index_.size())
                skip_index_[block] = {node, state};
            else
                skip_index_.push_back({node, state});
        }
        state = next_sjis_state(state, node->value);
        reporter().step(position - block_start);
    }
}

// ---- byte changes ----

void Data_mgr::replace_bytes(Data_node* node, std::uint32_t count, Data_node* chain, std::optional<int> tag)
{
    std::uint32_t chain_length = 0;
    Data_node* chain_last = chain;
    for (Data_node* n = chain; n; n = n->next()) {
        ++chain_length;
        chain_last = n;
    }
    // The removed run stays linked to itself and remembers its neighbours.
    if (!chain)
        return;
    Data_node* before = node ? node->prev() : (size_ ? node_at(size_ - 1) : head_);
    std::uint32_t removed = 0;
    Data_node* after = node;
    while (after && removed < count) {
        after = after->next();
        ++removed;
    }
    link_between(before, chain, chain_last, after);
    renumber(removed ? node : nullptr, removed, chain, chain_length);
    data_modified_ = true;
    record_data_command(std::make_unique<Proc_data_edit>(*this, removed ? node : nullptr, removed, chain, chain_length, tag));
}

Data_node* Data_mgr::change_value(Data_node* node, int width, std::uint32_t value, std::optional<int> tag)
{
    Data_node* chain = make_chain(int_bytes(value, width, byte_order_));
    replace_bytes(node, static_cast<std::uint32_t>(width), chain, tag);
    return chain;
}

Data_node* Data_mgr::insert_bytes(std::uint32_t position, std::uint32_t count)
{
    if (count == 0)
        return node_at(position);
    Data_node* chain = make_chain(std::string(count, '\0'));
    Data_node* after = node_at(position);
    Data_node* before = after ? after->prev() : (size_ ? node_at(size_ - 1) : head_);
    Data_node* last = chain;
    while (last->next())
        last = last->next();
    link_between(before, chain, last, after);
    renumber(nullptr, 0, chain, count);
    data_modified_ = true;
    record_data_command(std::make_unique<Proc_data_add>(*this, chain, count));
    return chain;
}

Data_node* Data_mgr::delete_bytes(std::uint32_t position, std::uint32_t count)
{
    Data_node* first = node_at(position);
    if (!first || count == 0)
        return first;
    const Node_run run{first, std::min(count, size_ - position)};
    run.unlink();
    Data_node* after = run.follower_of_predecessor();
    renumber(run.first, run.count, after, 0);
    data_modified_ = true;
    record_data_command(std::make_unique<Proc_data_del>(*this, run.first, run.count));
    return after;
}
