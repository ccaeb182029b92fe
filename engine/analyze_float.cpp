// The float item: reads 4 or 8 bytes.
#include "engine/walk.h"
#include "model/cmp_float.h"
#include "model/def_float.h"
#include "model/float_value.h"

Data_node* Def_float::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    walk::check_stop(cur, stop);
    Data_node* const start = cur;
    // As an integer's, the component is made before its bytes are known to be
    // there: a number cut short by the end of the data shows in the tree.
    const bool complete = walk::skip_bytes(cur, static_cast<std::uint64_t>(float_width(*this)));
    Data_node* const end = complete ? cur : nullptr;
    if (parent)
        parent->add_child(std::make_unique<Cmp_float>(this, start))->set_end(end);
    else if (Walk_watcher* watcher = walk::watcher_of(parent))
        walk::offer_made(*watcher, *this, [&] { return Cmp_float(this, start); }, end);
    if (!complete)
        throw Data_shortage{};
    walk::step_progress(cur);
    return cur;
}
