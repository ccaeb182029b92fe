// The three string items.

#include <algorithm>
#include <cstdint>

#include "engine/string_length.h"
#include "engine/walk.h"
#include "model/cmp_str.h"
#include "model/def_str.h"

Data_node* Def_fix_str::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    walk::check_stop(cur, stop);
    const std::uint64_t length = fixed_string_length(*this, walk_context().tables().variables, walk::place_at(cur));
    // Longer than any data: the component runs to the end, then the shortage.
    const auto held = static_cast<std::uint32_t>(std::min<std::uint64_t>(length, UINT32_MAX));
    Component* component = nullptr;
    if (parent) {
        component = parent->add_child(std::make_unique<Cmp_fix_str>(this, held, cur));
    } else if (Walk_watcher* watcher = walk::watcher_of(parent)) {
        // Made before its bytes are known to be there, as in the tree.
        walk::offer_made(*watcher, *this, [&] { return Cmp_fix_str(this, held, cur); });
    }
    if (!walk::skip_bytes(cur, length))
        throw Data_shortage{};
    if (component)
        component->set_end(cur);
    walk::step_progress(cur);
    return cur;
}

Data_node* Def_flex_str::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    walk::check_stop(cur, stop);
    Data_node* const start = cur;
    bool complete = true;
    // The prefix is unsigned whatever its width: a 4-byte length of 2^31 or more is
    // a long string, which the data simply does not hold.
    const auto length = static_cast<std::uint32_t>(walk::read_bits(cur, prefix_width(*this), walk_context().byte_order(), complete));
    if (!complete || !walk::skip_bytes(cur, length))
        throw Data_shortage{};
    if (parent) {
        auto* component = parent->add_child(std::make_unique<Cmp_flex_str>(this, length, start));
        component->set_end(cur);
    } else if (Walk_watcher* watcher = walk::watcher_of(parent)) {
        walk::offer_made(*watcher, *this, [&] { return Cmp_flex_str(this, length, start); }, cur);
    }
    walk::step_progress(cur);
    return cur;
}

Data_node* Def_null_str::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    walk::check_stop(cur, stop);
    Data_node* const start = cur;
    if (code_unit_size(encoding()) == 1) {
        while (cur && cur->value != 0)
            cur = cur->next();
        if (!cur)
            throw Data_shortage{};
        cur = cur->next();
    } else {
        // Two 0 bytes at an even offset from the start; a lone last byte is no NUL.
        for (;;) {
            const Data_node* const first = cur;
            Data_node* const second = first ? first->next() : nullptr;
            if (!second)
                throw Data_shortage{};
            cur = second->next();
            if (first->value == 0 && second->value == 0)
                break;
        }
    }
    if (parent) {
        auto* component = parent->add_child(std::make_unique<Cmp_null_str>(this, start));
        component->set_end(cur);
    } else if (Walk_watcher* watcher = walk::watcher_of(parent)) {
        walk::offer_made(*watcher, *this, [&] { return Cmp_null_str(this, start); }, cur);
    }
    walk::step_progress(cur);
    return cur;
}
