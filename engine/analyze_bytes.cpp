// The byte block: its length from an expression, its bytes shown as the undefined
// bytes are, in tables made on expansion.
#include "engine/byte_run.h"
#include "engine/walk.h"
#include "model/cmp_bytes.h"
#include "model/def_bytes.h"

namespace {

walk::Byte_run bytes_run(Def_bytes& item) { return {item, item.name(), true}; }

// The byte where the replay stops, for comparing with the block's bytes.
std::uint64_t stop_position(const Data_node* stop)
{
    const Walk_context& walk = walk_context();
    return stop == &walk::end_of_data_stop ? walk.data_size() : walk.position_of(stop);
}

} // namespace

Data_node* Def_bytes::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    walk::check_stop(cur, stop);
    const Walk_context& walk = walk_context();
    const std::int64_t wanted = evaluate_count(length().view(), walk.tables().variables, walk::place_at(cur));
    const auto count = static_cast<std::uint64_t>(wanted > 0 ? wanted : 0);
    const std::uint64_t first = walk.position_of(cur);
    const bool complete = count <= walk.data_size() - first;
    // As a fixed string's, the component is made before its bytes are known to be
    // there; cut short, it runs to the end of the data.
    Data_node* const end = complete ? walk.node_after(cur, count) : nullptr;
    const std::uint32_t entry = walk::group_size_for(count, 1);
    if (parent) {
        parent->add_child(std::make_unique<Cmp_bytes>(this, cur, count, entry))->set_end(end);
    } else if (Walk_watcher* watcher = walk::watcher_of(parent); watcher && !stop) {
        Cmp_bytes watched(this, cur, count, entry);
        watched.set_end(end);
        watcher->entered(watched);
        walk::watch_byte_entries(bytes_run(*this), cur, 0, count, entry, *watcher);
        if (complete)
            watcher->left();
    } else if (stop && first < stop_position(stop) && stop_position(stop) < first + count) {
        // The replay before the expansion of one of its tables ends inside it.
        throw Data_shortage{};
    }
    if (!complete)
        throw Data_shortage{};
    walk::step_progress(end);
    return end;
}

Data_node* Def_bytes::analyze_range(Data_node* cur, Component* parent, Data_node* stop, unsigned from, unsigned to,
                                    unsigned group)
{
    const walk::Byte_run run = bytes_run(*this);
    return walk::byte_entries(run, cur, parent, stop, from, to, run.entry_size(group));
}
