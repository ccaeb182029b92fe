// The integer item: reads 1, 2, 4 or 8 bytes, binds its variable and its bit flags.
#include "engine/walk.h"
#include "model/cmp_int.h"
#include "model/def_int.h"

namespace {

// Binds the flag variables from `raw` and, with a parent or a watcher, makes one
// component per flag over the integer's bytes [start, end).
void bind_flags(Def_int& item, std::uint64_t raw, Component* parent, Data_node* start, Data_node* end,
                Walk_watcher* watcher = nullptr)
{
    Variable_table& variables = walk_context().tables().variables;
    Flag_fields fields(raw);
    for (const auto& flag : item.bit_flags()) {
        if (parent) {
            parent->add_child(std::make_unique<Cmp_bitflag>(flag.get(), &item, fields.shift(), raw, int_width(item), start))
                ->set_end(end);
        } else if (watcher) {
            Cmp_bitflag component(flag.get(), &item, fields.shift(), raw, int_width(item), start);
            component.set_end(end);
            watcher->made(component);
        }
        if (!flag->variable().empty())
            variables.set(flag->variable(), flag_binding(item, fields.of(*flag)));
        fields.pass(*flag);
    }
}

// Calls `use.template operator()<Kind>()` with the component class that the
// integer's display asks for.
template <typename Use>
void with_kind(const Def_int& item, Use use)
{
    switch (int_format(item)) {
    case Int_format::hexadecimal:
        use.template operator()<Cmp_hex>();
        break;
    case Int_format::signed_decimal:
        use.template operator()<Cmp_int>();
        break;
    default:
        use.template operator()<Cmp_uint>();
    }
}

} // namespace

// Returns `cur` unchanged: the integer reads the bytes and binds its flags.
Data_node* Def_bitflag::analyze(Data_node* cur, Component*, Data_node*) { return cur; }

Data_node* Def_int::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    walk::check_stop(cur, stop);
    Walk_context& walk = walk_context();
    const int width = int_width(*this);
    Data_node* const start = cur;
    Data_node* next = cur;
    bool complete = true;
    const std::uint64_t bits = walk::read_bits(next, width, walk.byte_order(), complete);
    if (!variable().empty())
        walk.tables().variables.set(variable(), int_binding(*this, bits));
    const bool flags = !bit_flags().empty();
    Data_node* const end = complete ? next : nullptr;
    if (parent) {
        with_kind(*this, [&]<typename Kind>() {
            parent->add_child(std::make_unique<Kind>(this, bits, flags, start))->set_end(end);
        });
    } else if (Walk_watcher* const watcher = walk::watcher_of(parent); watcher && !watcher->wants(*this)) {
        watcher->counted();
    } else if (watcher) {
        // Made in place: a watched walk may make one for every integer of the data.
        with_kind(*this, [&]<typename Kind>() {
            Kind component(this, bits, flags, start);
            component.set_end(end);
            if (!flags) {
                watcher->made(component);
                return;
            }
            // An integer with flags is a container: its flags follow as its children
            // (none when its bytes ran out, as its expansion then makes none).
            walk::Watched_container container(watcher, component);
            if (complete)
                bind_flags(*this, bits, nullptr, start, next, watcher);
            container.leave();
        });
    }
    if (!complete)
        throw Data_shortage{};
    // The bytes were just read: bind the flags from them instead of reading again.
    bind_flags(*this, bits, nullptr, start, next);
    walk::step_progress(next);
    return next;
}

Data_node* Def_int::analyze_range(Data_node* cur, Component* parent, Data_node*, unsigned, unsigned, unsigned)
{
    Data_node* next = cur;
    bool complete = true;
    const std::uint64_t raw = walk::read_bits(next, int_width(*this), walk_context().byte_order(), complete);
    if (!complete)
        throw Data_shortage{};
    bind_flags(*this, raw, parent, cur, next);
    return next;
}
