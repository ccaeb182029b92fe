// The data side of the document: loading, saving and releasing the bytes, the skip
// index, and the byte changes.
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

// Whether the byte at `node` is the second byte of a Shift-JIS double-byte
// character, `state` being that of the byte `back` bytes before it. A byte that is
// no lead byte ends any character, and each lead byte after it turns the state over,
// so only the run of lead bytes just before `node` is read, at most `back` bytes.
bool sjis_state_at(const Data_node* node, std::uint32_t back, bool state)
{
    std::uint32_t run = 0;
    for (const Data_node* n = node->prev(); run < back && is_sjis_lead(n->value); n = n->prev())
        ++run;
    const bool from_start = run == back && state;
    return (run % 2 == 1) != from_start;
}

} // namespace

// ---- releasing and loading ----

void Data_mgr::release_data_nodes()
{
    // Components and commands borrow or own nodes: they go first, then the store
    // drops every byte at once. The progress counts the commands.
    root_.reset();
    std::uint64_t done = 0;
    empty_history(data_undo_, done);
    empty_history(data_redo_, done);
    checkpoints().clear();
    Byte_store::release_all();
    skip_index_.clear();
}

void Data_mgr::new_data()
{
    {
        Progress_scope scope(texts::releasing(), data_undo_.size() + data_redo_.size());
        data_path_ = File_path();
        data_modified_ = false;
        release_data_nodes();
    }
    analyze();
}

std::uint64_t Data_mgr::bytes_to_load(std::uint64_t size)
{
    // The file's bytes as read, in whole huge pages: they are the nodes. Then the
    // one piece and the skip index.
    const std::uint64_t skip_entries = size / skip_block + 1;
    const std::uint64_t read_buffer =
        (size + mapped_memory::huge_page_bytes - 1) / mapped_memory::huge_page_bytes * mapped_memory::huge_page_bytes;
    return read_buffer + Byte_store::bytes_per_piece + skip_entries * sizeof(Skip_entry);
}

namespace {

// Refuses a file whose loading would not fit in the memory left even with the
// current data released; tells whether it fits next to the current data.
bool fits_beside_current_data(const File_path& path, std::uint64_t size)
{
    const auto available = available_memory();
    if (!available)
        return true;
    if (size > *available || Data_mgr::bytes_to_load(size) > *available + Byte_store::reserved_bytes())
        throw File_too_large_exception(path);
    return Data_mgr::bytes_to_load(size) <= *available;
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
    // Everything that can fail happens before the document is touched, unless the
    // file fits only in the place of the current data.
    const auto length = file_size(path);
    if (!length)
        throw File_open_err_exception(path);
    if (*length > limits::max_data_size)
        throw File_too_large_exception(path);
    const bool beside = fits_beside_current_data(path, *length);
    if (!beside) {
        Progress_scope scope(texts::updating(), data_undo_.size() + data_redo_.size());
        data_path_ = File_path();
        data_modified_ = false;
        release_data_nodes();
    }
    try {
        auto bytes = buffer_for(path, *length);
        read_data_file(path, *bytes);
        // The file's bytes take the old data's place at once: nothing from here on
        // stops or fails half-way.
        release_data_nodes();
        skip_index_.reserve(bytes->size() / skip_block + 1);
        Byte_store::install(std::move(bytes));
        refresh_skip_index(0);
    } catch (...) {
        // Only when the old data was released first is there anything to tidy:
        // the document is left empty rather than without a tree.
        if (!beside)
            analyze();
        throw;
    }
    analyze();
    data_path_ = path;
    data_modified_ = false;
}

void Data_mgr::save_data(const File_path& path)
{
    {
        Progress_scope scope(texts::saving(), size());
        File_writer file;
        file.open(path);
        // A piece at a time, in slices small enough for the bar to move.
        constexpr std::uint32_t slice = 1u << 20;
        for (std::uint32_t position = 0; position < size();) {
            const Byte_piece piece = Byte_store::piece_at(position);
            const std::uint32_t count = std::min(piece.count, slice);
            file.write(piece.first, count);
            position += count;
            reporter().step(position);
        }
        file.commit();
    }
    data_path_ = path;
    data_modified_ = false;
}

// ---- positions ----

Data_node* Data_mgr::node_at(std::uint32_t position) const { return Byte_store::at(position); }

Data_node* Data_mgr::node_after(Data_node* from, std::uint64_t count) const
{
    return from ? Byte_store::after(from, count) : nullptr;
}

Skip_entry Data_mgr::skip_entry(std::uint32_t position) const
{
    // Nothing at or past the end: no node lives there.
    if (position >= size())
        return {};
    return skip_index_[position >> skip_shift];
}

void Data_mgr::refresh_skip_index(std::uint32_t position)
{
    const std::size_t blocks = (std::size_t{size()} + skip_block - 1) / skip_block;
    skip_index_.resize(blocks);
    for (std::size_t block = position >> skip_shift; block < blocks; ++block) {
        Data_node* node = Byte_store::at(block << skip_shift);
        const bool in_double_byte =
            block > 0 && sjis_state_at(node, skip_block, skip_index_[block - 1].in_double_byte);
        skip_index_[block] = {node, in_double_byte};
    }
}

void Data_mgr::drop_stale_checkpoints(std::uint32_t position)
{
    // The points from `position` on; with "_rest" on every point, as what it read
    // before the change depends on the data's size.
    checkpoints().drop_from(builtins().rest ? 0 : position);
}

Byte_pieces Data_mgr::exchange(std::uint32_t position, std::uint32_t count, const Byte_pieces& pieces)
{
    Byte_pieces removed = Byte_store::remove(position, count);
    Byte_store::insert(position, pieces);
    drop_stale_checkpoints(position);
    refresh_skip_index(position);
    return removed;
}

// ---- byte changes ----

void Data_mgr::replace_bytes(Data_node* node, std::uint32_t count, Byte_piece chain, std::optional<int> tag)
{
    if (chain.count == 0)
        return;
    const std::uint32_t position = node ? node->position() : size();
    Byte_pieces removed = exchange(position, count, {chain});
    data_modified_ = true;
    record_data_command(std::make_unique<Proc_data_edit>(*this, position, std::move(removed), Byte_pieces{chain}, tag));
}

Data_node* Data_mgr::change_value(Data_node* node, int width, std::uint64_t value, std::optional<int> tag)
{
    const Byte_piece chain = make_chain(int_bytes(value, width, byte_order_));
    replace_bytes(node, static_cast<std::uint32_t>(width), chain, tag);
    return chain.first;
}

Data_node* Data_mgr::insert_bytes(std::uint32_t position, std::uint32_t count)
{
    if (count == 0)
        return node_at(position);
    position = std::min(position, size());
    const Byte_piece chain = make_chain(std::string(count, '\0'));
    (void)exchange(position, 0, {chain});
    data_modified_ = true;
    record_data_command(std::make_unique<Proc_data_add>(*this, position, chain));
    return chain.first;
}

Data_node* Data_mgr::delete_bytes(std::uint32_t position, std::uint32_t count)
{
    if (position >= size() || count == 0)
        return node_at(position);
    Byte_pieces removed = exchange(position, count, {});
    data_modified_ = true;
    record_data_command(std::make_unique<Proc_data_del>(*this, position, std::move(removed)));
    return node_at(position);
}
