#include "document/proc_data.h"

#include <numeric>

#include "document/data_mgr.h"

namespace {

std::uint32_t length(const Byte_pieces& pieces)
{
    return std::accumulate(pieces.begin(), pieces.end(), std::uint32_t{0},
                           [](std::uint32_t sum, const Byte_piece& piece) { return sum + piece.count; });
}

} // namespace

Proc_data_edit::Proc_data_edit(Data_mgr& document, std::uint32_t position, Byte_pieces old_bytes,
                               Byte_pieces new_bytes, std::optional<int> tag, bool follower_for_empty)
    : document_(document), position_(position), old_(std::move(old_bytes)), new_(std::move(new_bytes)), tag_(tag),
      follower_for_empty_(follower_for_empty)
{
}

Proc_data_edit::~Proc_data_edit() { Byte_store::release(undone_ ? new_ : old_); }

void Proc_data_edit::swap_in(const Byte_pieces& in)
{
    const Byte_pieces& out = &in == &old_ ? new_ : old_;
    // The pieces taken out are those put in before (joined or cut otherwise, but
    // the same bytes): keep the ones `out` already holds.
    (void)document_.exchange(position_, length(out), in);
}

void Proc_data_edit::undo()
{
    undone_ = true;
    swap_in(old_);
}

void Proc_data_edit::redo()
{
    undone_ = false;
    swap_in(new_);
}

Data_node* Proc_data_edit::place_to_show() const
{
    const Byte_pieces& in = undone_ ? old_ : new_;
    if (in.empty() && !follower_for_empty_)
        return nullptr;
    return document_.node_at(position_);
}
